#include "model/MapWriter.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "model/MapFile.h"
#include "platform/NumberText.h"
#include "platform/ShortString.h"
#include "platform/SystemInfo.h"

MapWriter::MapWriter(platform::TextFileWriter& file, std::int32_t version, char separator)
    : file_(file),
      version_(version),
      separator_(separator),
      buffer_(std::make_unique_for_overwrite<char[]>(kPieceBytes)) {}

void MapWriter::Flush() {
    file_.Write(std::string_view(buffer_.get(), used_));
    used_ = 0;
}

void MapWriter::Put(std::string_view text) {
    while (!text.empty()) {
        char* at = Room(1);
        const std::size_t n = std::min(text.size(), kPieceBytes - used_);
        std::memcpy(at, text.data(), n);
        used_ += n;
        text.remove_prefix(n);
    }
}

// Texts are written inside one line: line ends in them would start lines of their own.
void MapWriter::PutOneLine(std::string_view text, std::size_t width) {
    for (std::size_t pad = text.size(); pad < width; ++pad) Put(' ');
    while (!text.empty()) {
        char* at = Room(1);
        const std::size_t n = std::min(text.size(), kPieceBytes - used_);
        for (std::size_t i = 0; i < n; ++i)
            at[i] = (text[i] == '\r' || text[i] == '\n') ? ' ' : text[i];
        used_ += n;
        text.remove_prefix(n);
    }
}

void MapWriter::Header(std::string_view generator, std::string_view versionText,
                       std::string_view fileName) {
    Put(";# Plik danych systemu TOPOLIN ver=[ " + std::to_string(version_) + ".00]\r\n");
    Put(";GENERATOR: ");
    PutOneLine(generator);
    Put(" ver ");
    PutOneLine(versionText);
    Put("\r\n;plik->");
    PutOneLine(fileName);
    Put("\r\n;" + platform::CurrentDateTimeText() + "\r\n;Operator:");
    PutOneLine(platform::GetUserName());
    Put("\r\n;" + std::string(41, '-') + "\r\n");
}

void MapWriter::End() {
    Put(";KONIEC PLIKU\r\n");
    Flush();
}

void MapWriter::Object(const TObiekt& object) {
    Put('*');
    PutOneLine(object.Code, 4);
    Put(" 1 7 ");
    Fixed(object.Value, 8, 10);
    if (object.Flags & kObjectMarked) Put(" #");
    EndLine();
    const std::string_view text =
        std::string_view(object.Text).substr(0, platform::kShortStringMax);
    if (version_ == 3 && CodeHasTextLine(object.Code)) {
        PutOneLine(text);
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
        Put("!         ");
        Put(static_cast<char>('0' + index));
        Put(' ');
        Fixed(a, 3, 12);
        Put(' ');
        Fixed(b, 3, 12);
        Put(' ');
        Fixed(c, 8, 12);
        EndLine();
    }
    for (const TElement* e = object.Vertices->First(); e != nullptr; e = e->GetNext())
        Point(*static_cast<const TNumer*>(e)->PointRef);
}

void MapWriter::Attribute(std::string_view key, std::string_view value) {
    if (value.empty()) return;
    Put(':');
    Put(key);
    Put('[');
    PutOneLine(value);
    Put(']');
    EndLine();
}

void MapWriter::Number(std::string_view key, std::int32_t value) {
    if (value == 0) return;
    char digits[12];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    Attribute(key, std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

void MapWriter::Fixed(double value, int decimals, int width) {
    number_.clear();
    platform::AppendFixed(number_, value, decimals, width, separator_);
    Put(number_);
}

void MapWriter::Point(const TPunkt& p) {
    if (version_ <= 4) {
        Put(' ');
        PutOneLine(p.Name, 10);
        Put(' ');
        Fixed(p.X, 3, 12);
        Put(' ');
        Fixed(p.Y, 3, 12);
        if (p.Flags == 7) {
            Put(' ');
            Fixed(p.H, 4, 12);
        }
        EndLine();
        return;
    }
    // The usual line is built in place; a coordinate beyond the fixed range takes the long way.
    char* const line = Room(160);
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
    used_ += n;
}

void MapWriter::LongPoint(const TPunkt& p) {
    Put((p.Flags & kPointLineGoesOn) ? "P  1 " : "P  0 ");
    Coordinate(p.X);
    Put(' ');
    Coordinate(p.Y);
    if (p.Flags & kPointHasHeight) {
        Put(' ');
        Coordinate(p.H);
    }
    if (p.Flags & kPointHasName) {
        Put(" ,");
        PutOneLine(p.Name);
    }
    EndLine();
}

// A coordinate of the P form: exactly 3 decimals, no filler, at most 14 significant digits.
void MapWriter::Coordinate(double value) {
    if (!std::isfinite(value) || std::fabs(value) >= 1e14) {
        // Beyond 14 integer digits there is no fixed form; the general form still reads back.
        Put(platform::FormatGeneral(value));
        return;
    }
    if (std::fabs(value) >= 1e11) {
        char digits[32];
        const auto r =
            std::to_chars(digits, digits + sizeof digits, value, std::chars_format::scientific, 13);
        std::from_chars(digits, r.ptr, value);
    }
    Fixed(value, 3, 0);
}
