#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The texts of the drawing, identification and display-style code, in Windows-1250: the style
// file's sections and keys, the dialogs' captions and the object description lines.
namespace displaytexts {

// Style file sections and keys.
const std::string& SectionPoint();  // "Punkt"
const std::string& SectionLine();   // "Linia"
const std::string& SectionArea();   // "Powierzchnia"
const std::string& SectionView();   // "Widok"
const std::string& KeyFontName();   // "Zestaw"
const std::string& KeyFontSize();   // "Wielkość"
const std::string& KeyColor();      // "Kolor"
const std::string& KeySymbol();     // "Kod"
const std::string& KeyWidth();      // "Szerokość"
const std::string& KeyStyle();      // "Styl"
const std::string& KeyMarks();      // "Markowanie"
const std::string& KeyLabels();     // "Etykiety"
const std::string& KeyField();      // "NumerPola"

// The display-parameters dialog.
const std::string& ConfigCaption();
const std::string& TabPoints();
const std::string& TabLines();
const std::string& TabAreas();
const std::string& TabLabels();
const std::string& LabelStyle();
const std::string& LabelWidth();
const std::string& LabelColor();
const std::string& LabelFill();
const std::string& FillSolid();
const std::string& FillNone();
const std::string& CheckMarks();
const std::string& CheckLabels();
const std::string& ButtonOk();
const std::string& ButtonCancel();
// The sizes offered for the symbol font.
const std::vector<std::string>& FontSizes();

// The object-information window and its lines.
const std::string& ObjectInfoCaption();
const std::string& ButtonClose();
std::string ObjectNumber(std::int32_t number);
// The type lines for a file's shape type: the type and, for areas, the area line.
std::vector<std::string> TypeLines(std::int32_t headerShapeType);
std::string MultiPointCount(std::int32_t points);
std::string LinePointCount(std::int32_t points);
std::string LinePartCount(std::int32_t parts);
std::string AreaPointCount(std::int32_t points);
std::string AreaPartCount(std::int32_t parts);
// Label of a record whose field could not be read.
const std::string& LabelError();

}  // namespace displaytexts
