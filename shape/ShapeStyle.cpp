// The display-style file beside a shapefile: read when the shapefile is opened, written when it
// is saved or freed. Only the keys below are touched; the rest of the file stays as it is.
#include "shape/ShapeStyle.h"

#include <string>
#include <vector>

#include "platform/BinaryFile.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/ShortString.h"
#include "shape/DisplayTexts.h"
#include "shape/Shape.h"
#include "shape/ShapeTexts.h"

namespace {

namespace dt = displaytexts;

// A font name fits the 31 characters a font face name can hold.
constexpr std::size_t kFontNameMax = 31;

// Ranges a value must fall in to be taken from the file; anything outside counts like a value
// that does not parse, and the current value stays. They keep a hand-edited file from asking for
// fonts or pens no screen can draw.
constexpr std::int32_t kFontSizeMin = 1, kFontSizeMax = 1638;
constexpr std::int32_t kPenWidthMin = 0, kPenWidthMax = 100;

std::int32_t ReadInRange(const platform::IniFile& ini, const std::string& section,
                         const std::string& key, std::int32_t current, std::int32_t low,
                         std::int32_t high) {
    const std::int32_t value = ini.ReadInteger(section, key, current);
    return value < low || value > high ? current : value;
}

platform::COLORREF ReadColor(const platform::IniFile& ini, const std::string& section,
                             platform::COLORREF current) {
    // Colours are written as signed decimal integers (system colours are negative).
    return static_cast<platform::COLORREF>(
        ini.ReadInteger(section, dt::KeyColor(), static_cast<std::int32_t>(current)));
}

bool ReadFlag(const platform::IniFile& ini, const std::string& key, bool current) {
    return ini.ReadInteger(dt::SectionView(), key, current ? 1 : 0) != 0;
}

}  // namespace

int BrushStyleNumber(const platform::TBrush& brush) {
    if (brush.Style == platform::BS_NULL) return 1;
    if (brush.Style == platform::BS_HATCHED && brush.Hatch >= platform::HS_HORIZONTAL &&
        brush.Hatch <= platform::HS_DIAGCROSS)
        return brush.Hatch + 2;
    return 0;
}

void SetBrushStyleNumber(platform::TBrush& brush, int number) {
    if (number < 0 || number >= kBrushStyleCount) return;
    if (number == 0) {
        brush.Style = platform::BS_SOLID;
        brush.Hatch = 0;
    } else if (number == 1) {
        brush.Style = platform::BS_NULL;
        brush.Hatch = 0;
    } else {
        brush.Style = platform::BS_HATCHED;
        brush.Hatch = number - 2;
    }
}

std::string StyleFileName(const std::string& shapeFileName) {
    if (shapeFileName.empty()) return {};
    return platform::ChangeFileExt(platform::ExpandFileName(shapeFileName), ".tpi");
}

void TShape::ReadStyleFile() {
    // A shape without a file name has no style file; only the symbol is reset, as for a missing
    // file. A folder, a device or a pipe in the style file's place counts as none, and is said for
    // a shape that loaded (freeing the shape writes nothing there either).
    const std::string name = StyleFileName(FileName);
    const bool refused = !name.empty() && platform::NotRegularFile(name);
    if (refused && !notLoaded_) shapetexts::Show(shapetexts::StyleNotRegular(name));
    const platform::IniFile ini(name);
    const bool any = !name.empty() && !refused;
    auto text = [&](const std::string& section, const std::string& key, const std::string& def) {
        return any ? ini.ReadString(section, key, def) : def;
    };

    const std::string& point = dt::SectionPoint();
    SymbolFont->Name =
        platform::Cut(text(point, dt::KeyFontName(), SymbolFont->Name), kFontNameMax);
    if (any) {
        SymbolFont->Size = ReadInRange(ini, point, dt::KeyFontSize(), SymbolFont->Size,
                                       kFontSizeMin, kFontSizeMax);
        SymbolFont->Color = ReadColor(ini, point, SymbolFont->Color);
    }
    Symbol = platform::Cut(text(point, dt::KeySymbol(), " "));

    if (!any) return;
    const std::string& line = dt::SectionLine();
    LinePen->Width =
        ReadInRange(ini, line, dt::KeyWidth(), LinePen->Width, kPenWidthMin, kPenWidthMax);
    LinePen->Style = ReadInRange(ini, line, dt::KeyStyle(), LinePen->Style, 0, kPenStyleCount - 1);
    LinePen->Color = ReadColor(ini, line, LinePen->Color);

    const std::string& area = dt::SectionArea();
    SetBrushStyleNumber(*AreaBrush,
                        ReadInRange(ini, area, dt::KeyStyle(), BrushStyleNumber(*AreaBrush), 0,
                                    kBrushStyleCount - 1));
    AreaBrush->Color = ReadColor(ini, area, AreaBrush->Color);

    Markowanie = ReadFlag(ini, dt::KeyMarks(), Markowanie);
    Etykiety = ReadFlag(ini, dt::KeyLabels(), Etykiety);
    NumerPola = ini.ReadInteger(dt::SectionView(), dt::KeyField(), NumerPola);
}

void TShape::WriteStyleFile() {
    WriteStyle(false);
}

void TShape::WriteStyle(bool keepSame) {
    // Without a file name there is nowhere beside the data to write to.
    const std::string name = StyleFileName(FileName);
    if (name.empty()) return;
    auto number = [](std::int64_t value) { return std::to_string(value); };
    const std::string& point = dt::SectionPoint();
    const std::string& line = dt::SectionLine();
    const std::string& area = dt::SectionArea();
    const std::string& view = dt::SectionView();
    const std::vector<platform::IniWrite> writes = {
        {point, dt::KeyFontName(), SymbolFont->Name},
        {point, dt::KeyFontSize(), number(SymbolFont->Size)},
        {point, dt::KeyColor(), number(static_cast<std::int32_t>(SymbolFont->Color))},
        {point, dt::KeySymbol(), Symbol},
        {line, dt::KeyWidth(), number(LinePen->Width)},
        {line, dt::KeyStyle(), number(LinePen->Style)},
        {line, dt::KeyColor(), number(static_cast<std::int32_t>(LinePen->Color))},
        {area, dt::KeyStyle(), number(BrushStyleNumber(*AreaBrush))},
        {area, dt::KeyColor(), number(static_cast<std::int32_t>(AreaBrush->Color))},
        {view, dt::KeyMarks(), number(Markowanie ? 1 : 0)},
        {view, dt::KeyLabels(), number(Etykiety ? 1 : 0)},
        {view, dt::KeyField(), number(NumerPola)},
    };
    // All keys in one replacement of the file. When one of them cannot stand in the file (a
    // symbol with a line break, say), the others are still written one by one. Failures are not
    // reported: the style file is a convenience, and this runs when a shape is freed, where
    // nobody could act on a message. Only a folder, a device or a pipe in its place, which no
    // key can go into, is said when the style is saved (when the shape is freed, with keepSame,
    // the user was told as it was read).
    platform::IniFile ini(name);
    if (ini.WriteStrings(writes, keepSame)) return;
    if (platform::NotRegularFile(name)) {
        if (!keepSame) shapetexts::Show(shapetexts::StyleNotRegular(name));
        return;
    }
    for (const platform::IniWrite& write : writes)
        ini.WriteString(write.section, write.key, write.value);
}
