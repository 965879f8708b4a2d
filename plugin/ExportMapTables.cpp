#include "plugin/ExportMapTables.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <exception>
#include <functional>
#include <map>
#include <memory>

#include "model/FormatSettings.h"
#include "model/PolishLetters.h"
#include "platform/BinaryFile.h"
#include "platform/DbfTable.h"
#include "platform/FileSet.h"
#include "platform/IniNames.h"
#include "platform/NumberText.h"
#include "platform/OsError.h"
#include "platform/ShortString.h"
#include "platform/SystemInfo.h"
#include "plugin/AttributeChoice.h"
#include "plugin/AttributeIds.h"
#include "plugin/ConversionSettings.h"
#include "plugin/ExportMapTexts.h"
#include "shape/DBaseFile.h"
#include "shape/ProgressFormShared.h"

namespace {

// Limits of a dBase III header: the header and record lengths are 16-bit numbers.
constexpr std::int32_t kMaxFields = (65535 - 33) / 32;
constexpr std::int32_t kMaxRecordLength = 65535 - 1;  // without the deletion flag

}  // namespace

// Runs that stay below the maximum are set at once, and once the bar wraps its positions
// repeat, so whole cycles are left out.
void ProgressAdvance(std::int64_t count) {
    TFProgressFormShared* form = ProgressForm();
    if (form == nullptr || count <= 0) return;
    const platform::ProgressWindowState& state = form->Window.State();
    if (state.step <= 0) {
        // A bar that does not move forward comes to rest within its span.
        for (; count > 0; --count) {
            const std::int32_t before = state.position;
            ProgressStep();
            if (state.position == before) break;
        }
        return;
    }
    std::map<std::int32_t, std::int64_t> afterWrap;  // position after a wrap -> steps left
    while (count > 0) {
        const std::int64_t room =
            (static_cast<std::int64_t>(state.max) - state.position) / state.step;
        if (room > 0) {
            const std::int64_t k = std::min(count, room);
            ProgressSetPosition(static_cast<std::int32_t>(state.position + k * state.step));
            count -= k;
            continue;
        }
        ProgressStep();
        --count;
        const auto [seen, fresh] = afterWrap.emplace(state.position, count);
        if (!fresh) {
            const std::int64_t period = seen->second - count;
            if (period > 0) count %= period;
            afterWrap.clear();
        }
    }
}

namespace {

// Opens the progress window for one table and closes it on every way out.
class TableProgress {
  public:
    explicit TableProgress(std::int32_t recordCount) {
        ProgressOpen(1, recordCount, 1, exporttexts::ProgressBuildingDbf());
        ProgressShow();
    }
    ~TableProgress() { ProgressClose(); }
    TableProgress(const TableProgress&) = delete;
    TableProgress& operator=(const TableProgress&) = delete;

    // Steps on to the object at this 1-based position of the map's object list.
    void ExamineUpTo(std::int64_t position) {
        ProgressAdvance(position - stepped_);
        stepped_ = std::max(stepped_, position);
    }

  private:
    std::int64_t stepped_ = 0;
};

bool LayoutFits(const std::vector<TExportField>& fields) {
    if (static_cast<std::int32_t>(fields.size()) > kMaxFields) return false;
    std::int64_t length = 0;
    for (const TExportField& f : fields) {
        if (f.Length < 1 || f.Length > 255 || f.Decimals < 0 || f.Decimals > 255) return false;
        length += f.Length;
    }
    return length <= kMaxRecordLength;
}

std::int32_t RecordLength(const std::vector<TExportField>& fields) {
    std::int32_t length = 0;
    for (const TExportField& f : fields) length += f.Length;
    return length;
}

// Sets one field of the row being appended; a value the table refuses is reported with the
// field's name and the row goes on.
template <class Set>
void SetOrReport(std::string_view field, std::string_view value, Set&& set) {
    try {
        set();
    } catch (const platform::DbfError&) {
        exporttexts::Show(exporttexts::FieldError(field, value));
    }
}

using RowWriter = std::function<void(platform::DbfTable&, const TExportRow&)>;

// Header and rows, in the current file set; a table without fields holds nothing and is not
// written. A failure fails the set, so the shapefile beside the table keeps its old files too.
bool WriteTable(const std::string& dbfName, const std::vector<TExportField>& fields,
                std::span<const TExportRow> rows, std::int32_t recordCount, std::int32_t examined,
                const RowWriter& writeRow) {
    TableProgress progress(recordCount);
    if (fields.empty()) return true;
    platform::FileSet set;
    if (!LayoutFits(fields)) {
        set.Fail(platform::kErrorInvalidData);
        exporttexts::Show(exporttexts::TableLayoutError(dbfName));
        return false;
    }
    bool written = false;
    {
        auto header = TSimpleDBFile::CreateNew(dbfName, 3, static_cast<std::int32_t>(fields.size()),
                                               0, RecordLength(fields));
        for (const TExportField& f : fields)
            header->AddField(f.Name, f.Type, static_cast<std::uint8_t>(f.Length),
                             static_cast<std::uint8_t>(f.Decimals));
        written = header->Complete();
    }
    if (written) {
        try {
            platform::DbfTable table;
            table.Open(dbfName, platform::DbfTable::Mode::Append);
            for (const TExportRow& row : rows) {
                progress.ExamineUpTo(row.TPID);
                table.Append();
                writeRow(table, row);
                table.Post();
            }
            progress.ExamineUpTo(examined);
            table.Close();
        } catch (const std::exception&) {
            written = false;
        }
    }
    if (written) written = set.Commit() == 0;
    if (!written) {
        set.Fail(platform::kErrorWriteFault);
        exporttexts::Show(exporttexts::TableWriteError(dbfName));
    }
    return written;
}

std::string Converted(std::string_view text) {
    std::string result;
    ConvertPolishLetters(text, kPageMazovia, ConversionSettings.PLKODY, result);
    return result;
}

std::string Attribute(const TObiekt& object, std::int32_t id) {
    std::string value;
    object.GetAttribute(id, value, 255);
    return value;
}

// Trim's idea of blanks: spaces and control characters.
std::string TrimBlanks(std::string_view text) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return std::string(text);
}

// The plain fields, in table order.
enum class PlainValue { Code, Text, Integer, Date, Tpid };
struct PlainField {
    const char* name;
    char type;
    std::int32_t length;
    bool TDbfAttributeChoice::*choice;  // nullptr: always present
    std::int32_t attribute;
    PlainValue value;
};
constexpr PlainField kPlainFields[] = {
    {"KOD", 'C', 4, &TDbfAttributeChoice::KOD, 0, PlainValue::Code},
    {"A1", 'C', 25, &TDbfAttributeChoice::A1, attr::A1, PlainValue::Text},
    {"A2", 'C', 25, &TDbfAttributeChoice::A2, attr::A2, PlainValue::Text},
    {"A3", 'C', 30, &TDbfAttributeChoice::A3, attr::A3, PlainValue::Text},
    {"A4", 'C', 30, &TDbfAttributeChoice::A4, attr::A4, PlainValue::Text},
    {"A5", 'C', 30, &TDbfAttributeChoice::A5, attr::A5, PlainValue::Text},
    {"A6", 'C', 30, &TDbfAttributeChoice::A6, attr::A6, PlainValue::Text},
    {"TX", 'C', 200, &TDbfAttributeChoice::TXT, attr::TX, PlainValue::Text},
    {"KEM", 'C', 100, &TDbfAttributeChoice::KEM, attr::KR, PlainValue::Text},
    {"MP", 'N', 4, &TDbfAttributeChoice::MP, attr::MP, PlainValue::Integer},
    {"FA", 'N', 10, &TDbfAttributeChoice::FA, attr::FA, PlainValue::Integer},
    {"DT", 'D', 8, &TDbfAttributeChoice::DATA, attr::DT, PlainValue::Date},
    {"TPID", 'N', 10, nullptr, 0, PlainValue::Tpid},
};

std::vector<const PlainField*> PresentPlainFields(bool withFA) {
    std::vector<const PlainField*> present;
    for (const PlainField& f : kPlainFields) {
        if (!withFA && f.attribute == attr::FA) continue;
        if (f.choice == nullptr || ConversionSettings.ATB || DbfAttributeChoice.*f.choice)
            present.push_back(&f);
    }
    return present;
}

void WritePlainField(platform::DbfTable& table, int index, const PlainField& field,
                     const TExportRow& row) {
    const TObiekt& object = *row.Object;
    switch (field.value) {
        case PlainValue::Code:
            return SetOrReport(field.name, object.Code,
                               [&] { table.SetFieldText(index, object.Code); });
        case PlainValue::Text: {
            const std::string value = Converted(Attribute(object, field.attribute));
            return SetOrReport(field.name, value, [&] { table.SetFieldText(index, value); });
        }
        case PlainValue::Integer: {
            const std::int32_t value =
                platform::StrToIntStrict(Attribute(object, field.attribute)).value_or(0);
            return SetOrReport(field.name, std::to_string(value),
                               [&] { table.SetFieldInteger(index, value); });
        }
        case PlainValue::Date: {
            const std::string text = Attribute(object, field.attribute);
            if (text.empty() || text == "0") return;
            const auto packed = platform::StrToIntStrict(text);
            if (!packed) return;
            // A number that is no valid packed date leaves the field empty.
            const auto date = PackedDateText(static_cast<std::uint32_t>(*packed));
            if (!date) return;
            return SetOrReport(field.name, *date, [&] { table.SetFieldText(index, *date); });
        }
        case PlainValue::Tpid:
            return SetOrReport(field.name, std::to_string(row.TPID),
                               [&] { table.SetFieldInteger(index, row.TPID); });
    }
}

bool LeapYear(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

bool ValidDate(int year, int month, int day) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    return day <= kDays[month - 1] + ((month == 2 && LeapYear(year)) ? 1 : 0);
}

std::string IsoDate(int year, int month, int day) {
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    return text;
}

}  // namespace

std::optional<std::string> PackedDateText(std::uint32_t packed) {
    const std::uint32_t date = packed >> 16;
    const std::uint32_t time = packed & 0xFFFF;
    const int year = 1980 + static_cast<int>(date >> 9);
    const int month = static_cast<int>((date >> 5) & 0x0F);
    const int day = static_cast<int>(date & 0x1F);
    const int hour = static_cast<int>(time >> 11);
    const int minute = static_cast<int>((time >> 5) & 0x3F);
    const int second = static_cast<int>(time & 0x1F) * 2;
    if (!ValidDate(year, month, day) || hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    return IsoDate(year, month, day);
}

std::optional<std::string> DateFromText(std::string_view text, std::string_view picture) {
    // The order of day, month and year in the picture.
    std::string order;
    for (char c : picture) {
        const char part = c == 'd' || c == 'D'   ? 'd'
                          : c == 'M' || c == 'm' ? 'm'
                          : c == 'y' || c == 'Y' ? 'y'
                                                 : 0;
        if (part != 0 && order.find(part) == std::string::npos) order.push_back(part);
    }
    if (order.size() != 3) order = "dmy";
    std::vector<long> numbers;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] < '0' || text[i] > '9') {
            ++i;
            continue;
        }
        long n = 0;
        std::size_t digits = 0;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits)
            n = digits < 9 ? n * 10 + (text[i] - '0') : n;
        if (digits > 9) return std::nullopt;
        numbers.push_back(n);
    }
    long day = 0, month = 0, year = 0;
    if (numbers.size() == 3) {
        for (std::size_t k = 0; k < 3; ++k)
            (order[k] == 'd' ? day : order[k] == 'm' ? month : year) = numbers[k];
    } else if (numbers.size() == 2) {
        std::size_t k = 0;
        for (char part : order) {
            if (part == 'y') continue;
            (part == 'd' ? day : month) = numbers[k++];
        }
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        year = local.tm_year + 1900;
    } else {
        return std::nullopt;
    }
    if (year < 100) year += 2000;
    if (!ValidDate(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day)))
        return std::nullopt;
    return IsoDate(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day));
}

std::vector<TExportField> PlainFields(bool withFA) {
    std::vector<TExportField> fields;
    for (const PlainField* f : PresentPlainFields(withFA))
        fields.push_back({f->name, f->type, f->length, 0});
    return fields;
}

bool WritePlainTable(const std::string& dbfName, std::span<const TExportRow> rows,
                     std::int32_t recordCount, std::int32_t examined, bool withFA) {
    const std::vector<const PlainField*> present = PresentPlainFields(withFA);
    return WriteTable(dbfName, PlainFields(withFA), rows, recordCount, examined,
                      [&](platform::DbfTable& table, const TExportRow& row) {
                          for (std::size_t i = 0; i < present.size(); ++i)
                              WritePlainField(table, static_cast<int>(i), *present[i], row);
                      });
}

std::vector<TExportField> BatchFields(TBatchConfig& config, std::string_view code) {
    config.ReadFieldRules(code);
    std::vector<TExportField> fields;
    for (const TBatchConvers& rule : config.Rules()) {
        TExportField f;
        rule.GetFieldDef(f.Name, f.Type, f.Length, f.Decimals);
        fields.push_back(std::move(f));
    }
    if (config.ReadOptionTPID(1) == 1) fields.push_back({"TPID", 'N', 10, 0});
    return fields;
}

bool SameFields(const std::vector<TExportField>& a, const std::vector<TExportField>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const TExportField& x, const TExportField& y) {
                          return platform::IniNamesEqual(x.Name, y.Name) && x.Type == y.Type &&
                                 x.Length == y.Length && x.Decimals == y.Decimals;
                      });
}

bool WriteBatchTable(const std::string& dbfName, const std::vector<TExportField>& fields,
                     std::span<const TExportRow> rows, std::int32_t recordCount,
                     std::int32_t examined) {
    std::vector<TBatchConfig*> configs;
    for (const TExportRow& row : rows) {
        if (row.Batch != nullptr &&
            std::find(configs.begin(), configs.end(), row.Batch) == configs.end())
            configs.push_back(row.Batch);
    }
    for (TBatchConfig* config : configs) config->ConnectExternalTable();

    // Each rule's value goes to the field made for it, by position: the header keeps at most
    // 11 characters of a name, so a longer rule name would name no field of the table.
    const std::string picture = platform::ShortDateFormat();
    return WriteTable(
        dbfName, fields, rows, recordCount, examined,
        [&](platform::DbfTable& table, const TExportRow& row) {
            TBatchConfig& config = *row.Batch;
            const std::vector<TBatchConvers>& rules = config.Rules();
            const TObiekt& object = *row.Object;
            const TBatchAttributes attributes = {
                Attribute(object, attr::A1), Attribute(object, attr::A2),
                Attribute(object, attr::A3), Attribute(object, attr::A4),
                Attribute(object, attr::A5), Attribute(object, attr::A6)};
            const std::string external =
                config.LookupExternal(attributes, Attribute(object, attr::TX));
            GlobalNumberFormat.SetDecimalSeparator('.');
            for (std::size_t i = 0; i < rules.size() && i < fields.size(); ++i) {
                const int index = static_cast<int>(i);
                const std::string name = TrimBlanks(rules[i].FieldName());
                const std::string value =
                    platform::Cut(TrimBlanks(Converted(rules[i].Expand(attributes, external))));
                switch (fields[i].Type) {
                    case 'C':
                        SetOrReport(name, value, [&] { table.SetFieldText(index, value); });
                        break;
                    case 'D': {
                        if (value.empty()) break;
                        const auto date = DateFromText(value, picture);
                        if (!date) {
                            exporttexts::Show(exporttexts::FieldError(name, value));
                            break;
                        }
                        SetOrReport(name, value, [&] { table.SetFieldText(index, *date); });
                        break;
                    }
                    case 'F':
                    case 'N':
                        if (value.empty()) break;
                        SetOrReport(name, value, [&] { table.SetFieldText(index, value); });
                        break;
                    default:
                        break;
                }
            }
            if (rules.size() < fields.size()) {
                const int index = static_cast<int>(rules.size());
                SetOrReport("TPID", std::to_string(row.TPID),
                            [&] { table.SetFieldInteger(index, row.TPID); });
            }
        });
}
