#include "model/MapFile.h"

#include <charconv>
#include <cmath>
#include <exception>
#include <limits>
#include <optional>

#include "model/FormatSettings.h"
#include "model/MapReader.h"
#include "model/ModelTexts.h"
#include "platform/NumberText.h"
#include "platform/OsError.h"
#include "platform/ShortString.h"
#include "platform/StringResources.h"
#include "platform/SystemInfo.h"
#include "platform/TextFile.h"
#include "platform/UiService.h"

namespace {

constexpr std::size_t kResourceBuffer = 40;
constexpr char kEndLine[] = ";KONIEC PLIKU";

void ShowResourceBox(unsigned resource, std::string_view fileName) {
    const std::string format = model_texts::Resources().Load(resource, kResourceBuffer);
    platform::MessageBox(0, platform::FormatText(format, {fileName}), "",
                         platform::MB_OK | platform::MB_ICONWARNING);
}

// The header's version, or the reader's result for a header it refuses.
// A version field that does not convert cleanly is taken as "not a MAP header" (254): nothing of
// such a file is read.
std::int32_t HeaderVersion(const std::string& header, int& version) {
    if (header.empty() || header[0] != ';') return kMapNotMapFile;
    std::size_t at = header.find("ver");
    if (at == std::string::npos) at = header.find("VER");
    if (at == std::string::npos) return kMapNotMapFile;
    const std::string_view field =
        at + 5 < header.size() ? std::string_view(header).substr(at + 5, 5) : std::string_view();
    const auto number = platform::StrToFloatStrict(field);
    if (!number || *number < 3.0) return kMapNotMapFile;
    if (*number >= 9.0) return kMapTooNew;
    version = static_cast<int>(*number);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Writing

// Texts are written inside one line: line ends in them would start lines of their own.
std::string OneLine(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        if (c == '\r' || c == '\n') c = ' ';
    return result;
}

std::string RightAligned(std::string_view text, std::size_t width) {
    std::string result;
    if (text.size() < width) result.assign(width - text.size(), ' ');
    result.append(text);
    return result;
}

// A coordinate of the P form: exactly 3 decimals, no filler, at most 14 significant digits.
void AppendCoordinate(std::string& out, double value) {
    if (!std::isfinite(value) || std::fabs(value) >= 1e14) {
        // Beyond 14 integer digits there is no fixed form; the general form still reads back.
        out += platform::FormatGeneral(value);
        return;
    }
    if (std::fabs(value) >= 1e11) {
        char digits[32];
        const auto r =
            std::to_chars(digits, digits + sizeof digits, value, std::chars_format::scientific, 13);
        std::from_chars(digits, r.ptr, value);
    }
    char buffer[64];
    const auto r =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
    std::string_view text(buffer, static_cast<std::size_t>(r.ptr - buffer));
    if (text.size() > 1 && text[0] == '-' && text.find_first_of("123456789") == std::string::npos)
        text.remove_prefix(1);  // no "-0.000"
    out.append(text);
}

std::string HeaderLine(std::int32_t version) {
    return ";# Plik danych systemu TOPOLIN ver=[ " + std::to_string(version) + ".00]";
}

void WriteAttributes(platform::TextFileWriter& file, const TObiekt& object, std::int32_t version) {
    auto line = [&](std::string_view key, std::string_view value) {
        if (value.empty()) return;
        file.WriteLine(":" + std::string(key) + "[" + OneLine(value) + "]");
    };
    std::string value;
    if (version >= 4) {
        object.GetText(value, 255);
        line("TX", value);
    }
    static constexpr std::pair<std::int32_t, std::string_view> kSlots[] = {
        {kAttrA1, "A1"}, {kAttrA2, "A2"}, {kAttrA3, "A3"},
        {kAttrA4, "A4"}, {kAttrA5, "A5"}, {kAttrA6, "A6"}};
    for (const auto& [id, key] : kSlots) {
        if (version < 4 && id > kAttrA3) break;
        object.GetAttribute(id, value, 85);
        line(key, value);
    }
    if (version >= 4) {
        line("KR", object.KR);
        for (const auto& [number, key] :
             {std::pair{object.DT, "DT"}, std::pair{object.MP, "MP"}, std::pair{object.FA, "FA"}}) {
            if (number != 0) line(key, std::to_string(number));
        }
    }
    if (version >= 7) {
        object.GetAttribute(kAttrID, value, 85);
        line("ID", value);
    }
}

std::string PointLine(const TPunkt& p, std::int32_t version) {
    std::string out;
    if (version <= 4) {
        out = " " + RightAligned(OneLine(p.Name), 10) + " " + platform::FormatFixed(p.X, 3, 12) +
              " " + platform::FormatFixed(p.Y, 3, 12);
        if (p.Flags == 7) out += " " + platform::FormatFixed(p.H, 4, 12);
        return out;
    }
    out = (p.Flags & kPointLineGoesOn) ? "P  1 " : "P  0 ";
    AppendCoordinate(out, p.X);
    out += ' ';
    AppendCoordinate(out, p.Y);
    if (p.Flags & kPointHasHeight) {
        out += ' ';
        AppendCoordinate(out, p.H);
    }
    if (p.Flags & kPointHasName) out += " ," + OneLine(p.Name);
    return out;
}

// Writes one object; returns the first write error during it.
std::int32_t WriteObject(platform::TextFileWriter& file, const TObiekt& object,
                         std::int32_t version) {
    std::string header = "*" + RightAligned(OneLine(object.Code), 4) + " 1 7 " +
                         platform::FormatFixed(object.Value, 8, 10);
    if (object.Flags & kObjectMarked) header += " #";
    file.WriteLine(header);
    if (version == 3 && CodeHasTextLine(object.Code)) {
        std::string text;
        object.GetText(text, 255);
        file.WriteLine(OneLine(text));
    }
    WriteAttributes(file, object, version);
    for (std::int32_t index = 1; index <= 3; ++index) {
        float a, b, c;
        object.GetVector(index, a, b, c);
        if (a == 0.0f && b == 0.0f && c == 0.0f) continue;
        file.WriteLine("!" + RightAligned(std::to_string(index), 10) + " " +
                       platform::FormatFixed(a, 3, 12) + " " + platform::FormatFixed(b, 3, 12) +
                       " " + platform::FormatFixed(c, 8, 12));
    }
    for (const TElement* e = object.Vertices->First(); e != nullptr; e = e->GetNext())
        file.WriteLine(PointLine(*static_cast<const TNumer*>(e)->PointRef, version));
    return file.Error();
}

}  // namespace

// ---------------------------------------------------------------------------------------------
std::string RemoveSpaces(std::string_view Text) {
    std::string result;
    result.reserve(Text.size());
    for (char c : Text)
        if (c != ' ') result += c;
    return result;
}

void NewMapLists(std::unique_ptr<TListaPKT>& Points, std::unique_ptr<TListaObi>& Objects) {
    Objects.reset();
    Points.reset();
    Points = std::make_unique<TListaPKT>();
    Objects = std::make_unique<TListaObi>();
}

void ShowFileResult(std::int16_t Result, std::string_view FileName) {
    if (Result == 0) return;
    ShowResourceBox(
        Result == kMapReadFailed ? model_texts::kResReadError : model_texts::kResFileError,
        FileName);
}

void ReadMapFile(std::string_view FileName, bool SelectAll, TListaPKT& Points, TListaObi& Objects,
                 std::int32_t& Result) {
    const std::string name = platform::Cut(FileName);
    if (name.empty()) {
        Result = kMapReadFailed;
        return;
    }
    platform::TextFileReader file;
    Result = file.Open(name);
    if (Result == 0) {
        MapReader::Bound(file);
        std::string header;
        file.ReadLine(header);
        int version = 0;
        if (file.Error() != 0) {
            Result = file.Error();
        } else if (const std::int32_t refused = HeaderVersion(header, version); refused != 0) {
            file.Close();
            Result = refused;
            ShowResourceBox(
                refused == kMapTooNew ? model_texts::kResMapTooNew : model_texts::kResNotMapFile,
                name);
            return;
        } else {
            MapReader reader(file, version, SelectAll, Points, Objects);
            Result = reader.Run();
            reader.Finish();
            if (reader.BadLines() > 0) {
                platform::MessageBox(0,
                                     platform::FormatText(model_texts::BadNumbersInLines(),
                                                          {name, std::to_string(reader.BadLines()),
                                                           std::to_string(reader.FirstBadLine())}),
                                     "", platform::MB_OK | platform::MB_ICONWARNING);
            }
        }
        const std::int32_t closed = file.Close();
        if (Result == 0) Result = closed;
    }
    ShowFileResult(static_cast<std::int16_t>(Result), name);
}

void WriteMapFile(std::string_view Generator, std::string_view VersionText, std::int32_t Version,
                  std::string_view FileName, bool OnlyMarked, TListaPKT* Points, TListaObi* Objects,
                  std::int32_t& Result) {
    Result = 0;
    if (Points == nullptr || Objects == nullptr || Points->Count() == 0 || Objects->Count() == 0)
        return;
    // Only versions 3 to 8 have a format; anything else is refused before a file is touched.
    if (Version < 3 || Version > 8) {
        Result = platform::kErrorInvalidParameter;
        return;
    }
    const std::string name = platform::Cut(FileName);
    platform::TextFileWriter file;
    Result = file.Create(name);
    if (Result != 0) return;

    const char savedSeparator = GlobalNumberFormat.GetDecimalSeparator();
    GlobalNumberFormat.SetDecimalSeparator('.');
    Points->GoFirst();
    Objects->GoFirst();
    file.WriteLine(HeaderLine(Version));
    file.WriteLine(";GENERATOR: " + OneLine(Generator) + " ver " + OneLine(VersionText));
    file.WriteLine(";plik->" + OneLine(name));
    file.WriteLine(";" + platform::CurrentDateTimeText());
    file.WriteLine(";Operator:" + OneLine(platform::GetUserName()));
    file.WriteLine(";" + std::string(41, '-'));
    for (const TElement* e = Objects->First(); e != nullptr && Result == 0; e = e->GetNext()) {
        const auto& object = *static_cast<const TObiekt*>(e);
        if (!object.HasVertices()) continue;
        if (OnlyMarked && !(object.Flags & kObjectMarked)) continue;
        Result = WriteObject(file, object, Version);
    }
    file.WriteLine(kEndLine);
    GlobalNumberFormat.SetDecimalSeparator(savedSeparator);

    // Closed before the result is shown, so that an error of the last writes is reported too;
    // a failed close leaves the old file in place.
    const std::int32_t closed = file.Close();
    if (Result == 0) Result = closed;
    ShowFileResult(static_cast<std::int16_t>(Result), name);
}
