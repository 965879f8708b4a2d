// The display-style file and the labels of a shape. Until their readers and writers arrive a
// shape keeps the defaults it was built with and writes no style file.
#include "shape/Shape.h"

void TShape::ReadStyleFile() {}

void TShape::WriteStyleFile() {}

void TShape::ReadLabelsFromDbf() {}
