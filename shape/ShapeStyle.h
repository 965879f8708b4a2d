#pragma once

#include <cstdint>
#include <string>

#include "platform/Canvas.h"

// Pen and brush styles as the style file and the display dialog number them, and the label
// options the dialog edits.

// Brush styles: 0 solid, 1 clear, 2 horizontal, 3 vertical, 4 forward diagonal, 5 backward
// diagonal, 6 cross, 7 diagonal cross hatch.
inline constexpr int kBrushStyleCount = 8;
// Pen styles 0..6 are the device context's own numbers (solid to inside frame).
inline constexpr int kPenStyleCount = 7;

int BrushStyleNumber(const platform::TBrush& brush);
// A number outside 0..7 leaves the brush as it is.
void SetBrushStyleNumber(platform::TBrush& brush, int number);

// The style file of a shapefile: its full path with the extension ".tpi"; empty for an empty
// name.
std::string StyleFileName(const std::string& shapeFileName);

#pragma pack(push, 1)
// Vertex marks, labels and the attribute field of the labels (-1 for none), packed as the
// dialog keeps them.
struct TLabelOptions {
    std::uint8_t Markowanie = 0;
    std::uint8_t Etykiety = 0;
    std::int32_t NumerPola = -1;
};
#pragma pack(pop)
static_assert(sizeof(TLabelOptions) == 6);
