#include "model/MapReader.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <iterator>
#include <limits>
#include <optional>
#include <string>

#include "model/MapFile.h"
#include "model/ModelTexts.h"
#include "platform/NumberText.h"
#include "platform/StringResources.h"
#include "platform/UiService.h"

namespace {

using platform::LineScanner;

// A line that cannot be handled at all: it ends the reading with 255.
struct LineFailure {};

// The attribute line keys, the attribute each sets and the first version that has it.
struct AttributeKey {
    std::string_view key;
    std::int32_t id;
    int since;
};
constexpr AttributeKey kAttributeKeys[] = {
    {"A1", kAttrA1, 3}, {"A2", kAttrA2, 3}, {"A3", kAttrA3, 3}, {"A4", kAttrA4, 3},
    {"A5", kAttrA5, 3}, {"A6", kAttrA6, 3}, {"TX", kAttrTX, 4}, {"KR", kAttrKR, 4},
    {"DT", kAttrDT, 4}, {"MP", kAttrMP, 4}, {"FA", kAttrFA, 4}, {"ID", kAttrID, 7}};

// A number that a single holds; out-of-range values count as not converting.
std::optional<float> ToSingle(std::optional<double> value) {
    if (!value || std::fabs(*value) > std::numeric_limits<float>::max()) return std::nullopt;
    return static_cast<float>(*value);
}

// The text without its spaces, in `buffer` (as long as the text at least).
std::string_view WithoutSpaces(std::string_view text, char* buffer) {
    std::size_t n = 0;
    for (char c : text)
        if (c != ' ') buffer[n++] = c;
    return {buffer, n};
}

// The rest of a P line (before its name) without its spaces, converted strictly: the usual
// rest, a number between spaces or nothing at all, is read in place.
std::optional<double> Height(std::string_view rest) {
    const char* p = rest.data();
    const char* const end = p + rest.size();
    while (p < end && platform::number_text::IsBlank(*p)) ++p;
    if (p == end) return std::nullopt;
    double value = 0.0;
    if (const char* q = platform::number_text::ReadPlainDecimal(p, end, value)) {
        while (q < end && *q == ' ') ++q;
        if (q == end) return value;
    }
    char squeezed[platform::TextFileReader::kLineMax];
    return platform::StrToFloatStrict(WithoutSpaces(rest, squeezed));
}

}  // namespace

void MapReader::Bound(platform::TextFileReader& file) {
    file.SetLimits(UINT64_MAX, kLineBytesMax);
}

MapReader::MapReader(platform::TextFileReader& file, int version, bool selectAll, TListaPKT& points,
                     TListaObi& objects)
    : file_(file), version_(version), selectAll_(selectAll), points_(points), objects_(objects) {}

std::int32_t MapReader::Run() {
    std::string_view line;
    bool full = false;
    while (file_.ReadLineView(line)) {
        if (lineCounter_ == std::numeric_limits<std::int32_t>::max()) {
            full = true;
            break;
        }
        ++lineCounter_;
        try {
            HandleLine(line);
        } catch (const std::exception&) {
            return LineFailed();
        } catch (const LineFailure&) {
            return LineFailed();
        }
    }
    using Limit = platform::TextFileReader::Limit;
    if (file_.LimitReached() == Limit::Line) {
        platform::MessageBox(
            0,
            platform::FormatText(model_texts::LineNeverEnds(), {std::to_string(lineCounter_ + 2)}),
            "", platform::MB_OK | platform::MB_ICONWARNING);
        return kMapReadFailed;
    }
    if (full) {
        platform::MessageBox(0,
                             platform::FormatText(model_texts::MoreThanAMapHolds(),
                                                  {std::to_string(lineCounter_ + 1)}),
                             "", platform::MB_OK | platform::MB_ICONWARNING);
        return kMapReadFailed;
    }
    return file_.Error();
}

std::int32_t MapReader::LineFailed() const {
    platform::MessageBox(0, model_texts::ReadErrorInLine() + std::to_string(lineCounter_ + 1), "",
                         platform::MB_OK);
    return kMapReadFailed;
}

void MapReader::Finish() {
    // Objects read now have their extents already; any that were in the list before get theirs.
    for (TElement* e = objects_.First(); e != nullptr && e != firstRead_; e = e->GetNext())
        static_cast<TObiekt*>(e)->ComputeExtent();
    points_.GoFirst();
    objects_.GoFirst();
    objects_.Added = 0;
    objects_.LastAdded = nullptr;
}

void MapReader::HandleLine(std::string_view line) {
    if (line.empty()) return;
    switch (line[0]) {
        case ' ':
            OldFormPoint(line);
            break;
        case 'P':
            PFormPoint(line);
            break;
        case '*':
            ObjectHeader(line);
            break;
        case ':':
            Attribute(line);
            break;
        case '!':
            Vector(line);
            break;
        default:
            break;  // comments, "L" lines and anything unknown
    }
}

// A number in the middle of a line did not convert. The line's point or vector is left out, an
// object header keeps the value 0, and reading goes on; the lines are reported together once the
// file has been read.
void MapReader::BadNumber() {
    if (badLines_++ == 0) firstBadLine_ = lineCounter_ + 1;
}

TObiekt& MapReader::CurrentObject() {
    if (current_ == nullptr) throw LineFailure{};
    return *current_;
}

void MapReader::AddPoint(TObiekt& object, std::string_view name, std::uint8_t flags, double x,
                         double y, float h) {
    TPunkt* raw = points_.AddNewPoint(name, flags, x, y, h);
    object.Vertices->Add(objects_.NewVertex(raw));
    object.ExtendExtent(*raw, object.Vertices->Count() == 1);
}

void MapReader::OldFormPoint(std::string_view line) {
    TObiekt& object = CurrentObject();
    LineScanner scan(line);
    scan.Take(1);
    char name[10];
    const std::string_view squeezed = WithoutSpaces(scan.Take(10), name);
    const auto x = scan.ReadReal();
    const auto y = scan.ReadReal();
    if (!x || !y) return BadNumber();
    const auto h = ToSingle(platform::StrToFloatStrict(scan.Rest()));
    AddPoint(object, squeezed, h ? 7 : 6, *x, *y, h.value_or(0.0f));
}

void MapReader::PFormPoint(std::string_view line) {
    TObiekt& object = CurrentObject();
    LineScanner scan(line);
    scan.Take(1);
    std::int32_t n = 0;
    double x = 0.0, y = 0.0;
    // All three tokens are read, in order, whether or not one fails.
    const bool hasN = scan.ReadInteger(n);
    const bool hasX = scan.ReadReal(x);
    const bool hasY = scan.ReadReal(y);
    if (!hasN || !hasX || !hasY) return BadNumber();
    std::string_view rest = scan.Rest();
    char name[10];
    std::string_view squeezed;
    std::uint8_t flags = kPointFromFile;
    if (n == 1) flags |= kPointLineGoesOn;
    if (const std::size_t comma = rest.find(','); comma != std::string_view::npos) {
        squeezed = WithoutSpaces(rest.substr(comma + 1, 10), name);
        rest = rest.substr(0, comma);
        flags |= kPointHasName;
    }
    const auto h = ToSingle(Height(rest));
    if (h) flags |= kPointHasHeight;
    AddPoint(object, squeezed, flags, x, y, h.value_or(0.0f));
}

void MapReader::ObjectHeader(std::string_view line) {
    LineScanner scan(line);
    scan.Take(1);
    const std::string_view code = scan.Take(4);
    const auto kind = scan.ReadInteger();
    const auto ignored = scan.ReadReal();
    const auto value = ToSingle(scan.ReadReal());
    const std::string_view rest = scan.Rest();
    const bool marked = !rest.empty() && rest.back() == '#';
    if (!kind || !ignored || !value) BadNumber();

    std::unique_ptr<TObiekt> object = objects_.NewObject(code, lineCounter_);
    // Reading the text line ends the header line's view, so it comes after the code is kept.
    if (version_ == 3 && CodeHasTextLine(code)) {
        std::string_view text;
        file_.ReadLineView(text);
        object->SetText(text);
    }
    if (selectAll_ || marked) object->SetFlags(kObjectMarked);
    TObiekt* raw = object.get();
    objects_.AddObject(std::move(object));
    raw->Value = value.value_or(0.0f);
    current_ = raw;
    if (firstRead_ == nullptr) firstRead_ = raw;
}

void MapReader::Attribute(std::string_view line) {
    TObiekt& object = CurrentObject();
    const std::string_view key = line.substr(1, 2);
    const std::string_view value =
        line.size() > 4 ? line.substr(4, line.size() - 5) : std::string_view();
    const auto* known = std::find_if(std::begin(kAttributeKeys), std::end(kAttributeKeys),
                                     [&](const AttributeKey& k) { return k.key == key; });
    if (known == std::end(kAttributeKeys) || version_ < known->since) return;
    const std::int32_t id = known->id;
    if (id == kAttrTX)
        object.SetText(value);
    else
        object.SetAttribute(id, value);
}

void MapReader::Vector(std::string_view line) {
    TObiekt& object = CurrentObject();
    LineScanner scan(line);
    scan.Take(1);
    const auto index = scan.ReadInteger();
    const auto a = ToSingle(scan.ReadReal());
    const auto b = ToSingle(scan.ReadReal());
    const auto c = ToSingle(platform::StrToFloatStrict(scan.Rest()));
    if (!index || !a || !b || !c) return BadNumber();
    object.SetVector(*index, *a, *b, *c);
}
