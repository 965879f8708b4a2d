#pragma once

#include <ctime>
#include <string>
#include <string_view>

// What the system asks of the machine and its user: the user's name, the date and time in the
// user's formats. Folders and the current directory are the file system's (FileSystem.h).
namespace platform {

// GetUserNameA's counterpart: the login name of the current user, in Windows-1250; empty when
// it cannot be found.
std::string GetUserName();

// The process-wide date and time formats (Windows-style pictures: d, dd, M, MM, yy, yyyy, H, HH,
// h, hh, m, mm, s, ss; text in single quotes and every other character stand as written).
// Defaults: "dd.MM.yyyy" and "HH:mm:ss".
std::string ShortDateFormat();
void SetShortDateFormat(std::string_view format);
std::string LongTimeFormat();
void SetLongTimeFormat(std::string_view format);

// Formats a broken-down time with a picture as above.
std::string FormatDateTime(std::string_view format, const std::tm& time);

// The current local date and time: short date, a blank, long time.
std::string CurrentDateTimeText();

}  // namespace platform
