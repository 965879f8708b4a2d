#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// How a dBase value becomes the text of a map object's attribute.

// Polish letters from code page `fromPage` to page 1; CR LF and a lone LF each become one blank,
// a lone CR is dropped; blanks and control characters at both ends are trimmed.
std::string AttributeValueText(std::string_view value, int fromPage);

// The date a text gives under a short date picture (the order of d, M and y in the picture, its
// first other character as separator): three numbers; a year of one or two digits falls in the
// hundred years from 50 before `currentYear`. Nothing for a text that is no real date.
struct CalendarDate {
    int year = 0, month = 0, day = 0;
};
std::optional<CalendarDate> ParseShortDate(std::string_view text, std::string_view picture,
                                           int currentYear);

// The MS-DOS date and time of midnight of the date in one 32-bit integer (year - 1980 in bits
// 25-31, month in 21-24, day in 16-20, time 0); nothing for a year outside 1980..2107, which the
// packed form cannot hold.
std::optional<std::int32_t> PackedFileDate(const CalendarDate& date);

// The DT value of a date text: the decimal text of its packed date, or the text unchanged when
// it is no date the packed form can hold.
std::string DateAttributeText(std::string_view text, std::string_view picture, int currentYear);

// A dBase date (YYYYMMDD) in the short date picture; other texts unchanged.
std::string DbfDateAsShortDate(std::string_view text, std::string_view picture);
