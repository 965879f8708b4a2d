#include "model/MapWriter.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "model/MapFile.h"
#include "platform/NumberText.h"
#include "platform/ShortString.h"
#include "platform/SystemInfo.h"

namespace {

// Texts are written inside one line: line ends in them would start lines of their own.
void AppendOneLine(std::string& out, std::string_view text) {
    const std::size_t at = out.size();
    out.append(text);
    for (std::size_t i = at; i < out.size(); ++i)
        if (out[i] == '\r' || out[i] == '\n') out[i] = ' ';
}

void AppendRightAligned(std::string& out, std::string_view text, std::size_t width) {
    if (text.size() < width) out.append(width - text.size(), ' ');
    AppendOneLine(out, text);
}

}  // namespace

void MapWriter::Header(std::string_view generator, std::string_view versionText,
                       std::string_view fileName) {
    out_ += ";# Plik danych systemu TOPOLIN ver=[ " + std::to_string(version_) + ".00]\r\n";
    out_ += ";GENERATOR: ";
    AppendOneLine(out_, generator);
    out_ += " ver ";
    AppendOneLine(out_, versionText);
    out_ += "\r\n;plik->";
    AppendOneLine(out_, fileName);
    out_ += "\r\n;" + platform::CurrentDateTimeText() + "\r\n;Operator:";
    AppendOneLine(out_, platform::GetUserName());
    out_ += "\r\n;" + std::string(41, '-') + "\r\n";
}

void MapWriter::End() {
    out_ += ";KONIEC PLIKU\r\n";
    Flush();
}

std::int32_t MapWriter::Flush() {
    file_.Write(out_);
    out_.clear();
    return file_.Error();
}

void MapWriter::Object(const TObiekt& object) {
    out_ += '*';
    AppendRightAligned(out_, object.Code, 4);
    out_ += " 1 7 ";
    platform::AppendFixed(out_, object.Value, 8, 10, separator_);
    if (object.Flags & kObjectMarked) out_ += " #";
    EndLine();
    const std::string_view text =
        std::string_view(object.Text).substr(0, platform::kShortStringMax);
    if (version_ == 3 && CodeHasTextLine(object.Code)) {
        AppendOneLine(out_, text);
        EndLine();
    }

    if (version_ >= 4) Attribute("TX", text);
    static constexpr std::string_view kSlots[] = {"A1", "A2", "A3", "A4", "A5", "A6"};
    for (int slot = 0; slot < (version_ >= 4 ? 6 : 3); ++slot)
        Attribute(kSlots[slot], object.Attributes.Get(slot).substr(0, platform::kAttributeMax));
    if (version_ >= 4) {
        Attribute("KR", object.KR);
        Number("DT", object.DT);
        Number("MP", object.MP);
        Number("FA", object.FA);
    }
    if (version_ >= 7) Attribute("ID", object.Attributes.Get(6).substr(0, platform::kAttributeMax));

    for (std::int32_t index = 1; index <= 3; ++index) {
        float a, b, c;
        object.GetVector(index, a, b, c);
        if (a == 0.0f && b == 0.0f && c == 0.0f) continue;
        out_ += '!';
        char digits[12];
        const auto end = std::to_chars(digits, digits + sizeof digits, index).ptr;
        AppendRightAligned(out_, std::string_view(digits, static_cast<std::size_t>(end - digits)),
                           10);
        out_ += ' ';
        platform::AppendFixed(out_, a, 3, 12, separator_);
        out_ += ' ';
        platform::AppendFixed(out_, b, 3, 12, separator_);
        out_ += ' ';
        platform::AppendFixed(out_, c, 8, 12, separator_);
        EndLine();
    }
    for (const TElement* e = object.Vertices->First(); e != nullptr; e = e->GetNext())
        Point(*static_cast<const TNumer*>(e)->PointRef);
}

void MapWriter::Attribute(std::string_view key, std::string_view value) {
    if (value.empty()) return;
    out_ += ':';
    out_ += key;
    out_ += '[';
    AppendOneLine(out_, value);
    out_ += ']';
    EndLine();
}

void MapWriter::Number(std::string_view key, std::int32_t value) {
    if (value == 0) return;
    char digits[12];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    Attribute(key, std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

void MapWriter::Point(const TPunkt& p) {
    if (version_ <= 4) {
        out_ += ' ';
        AppendRightAligned(out_, p.Name, 10);
        out_ += ' ';
        platform::AppendFixed(out_, p.X, 3, 12, separator_);
        out_ += ' ';
        platform::AppendFixed(out_, p.Y, 3, 12, separator_);
        if (p.Flags == 7) {
            out_ += ' ';
            platform::AppendFixed(out_, p.H, 4, 12, separator_);
        }
        EndLine();
        return;
    }
    // The usual line is built in place; a coordinate beyond the fixed range takes the long way.
    char line[160];
    std::memcpy(line, (p.Flags & kPointLineGoesOn) ? "P  1 " : "P  0 ", 5);
    std::size_t n = 5;
    const double values[] = {p.X, p.Y, p.H};
    const int count = (p.Flags & kPointHasHeight) ? 3 : 2;
    for (int i = 0; i < count; ++i) {
        if (i > 0) line[n++] = ' ';
        const std::size_t written =
            std::fabs(values[i]) < 1e11
                ? platform::number_text::FixedDigits(values[i], 3, separator_, line + n)
                : 0;
        if (written == 0) return LongPoint(p);
        n += written;
    }
    if (p.Flags & kPointHasName) {
        line[n++] = ' ';
        line[n++] = ',';
        for (char c : std::string_view(p.Name)) line[n++] = (c == '\r' || c == '\n') ? ' ' : c;
    }
    line[n++] = '\r';
    line[n++] = '\n';
    out_.append(line, n);
}

void MapWriter::LongPoint(const TPunkt& p) {
    out_ += (p.Flags & kPointLineGoesOn) ? "P  1 " : "P  0 ";
    Coordinate(p.X);
    out_ += ' ';
    Coordinate(p.Y);
    if (p.Flags & kPointHasHeight) {
        out_ += ' ';
        Coordinate(p.H);
    }
    if (p.Flags & kPointHasName) {
        out_ += " ,";
        AppendOneLine(out_, p.Name);
    }
    EndLine();
}

// A coordinate of the P form: exactly 3 decimals, no filler, at most 14 significant digits.
void MapWriter::Coordinate(double value) {
    if (!std::isfinite(value) || std::fabs(value) >= 1e14) {
        // Beyond 14 integer digits there is no fixed form; the general form still reads back.
        out_ += platform::FormatGeneral(value);
        return;
    }
    if (std::fabs(value) >= 1e11) {
        char digits[32];
        const auto r =
            std::to_chars(digits, digits + sizeof digits, value, std::chars_format::scientific, 13);
        std::from_chars(digits, r.ptr, value);
    }
    platform::AppendFixed(out_, value, 3, 0, separator_);
}
