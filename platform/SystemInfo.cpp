#include "platform/SystemInfo.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "platform/Cp1250.h"

namespace platform {
namespace {

struct DateFormats {
    std::string shortDate = "dd.MM.yyyy";
    std::string longTime = "HH:mm:ss";
};

DateFormats& Formats() {
    static DateFormats formats;
    return formats;
}

void AppendNumber(std::string& out, int value, std::size_t digits) {
    std::string text = std::to_string(value);
    if (text.size() < digits) text.insert(0, digits - text.size(), '0');
    out += text;
}

}  // namespace

std::string GetUserName() {
    std::vector<char> buffer(16384);
    struct passwd pw {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &pw, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_name != nullptr) {
        return Utf8ToCp1250(found->pw_name);
    }
    for (const char* variable : {"USER", "LOGNAME"}) {
        if (const char* value = std::getenv(variable); value != nullptr && *value != '\0')
            return Utf8ToCp1250(value);
    }
    return {};
}

std::string ShortDateFormat() {
    return Formats().shortDate;
}
void SetShortDateFormat(std::string_view format) {
    Formats().shortDate = format;
}
std::string LongTimeFormat() {
    return Formats().longTime;
}
void SetLongTimeFormat(std::string_view format) {
    Formats().longTime = format;
}

std::string FormatDateTime(std::string_view format, const std::tm& time) {
    std::string out;
    std::size_t i = 0;
    while (i < format.size()) {
        const char c = format[i];
        if (c == '\'') {
            const std::size_t close = format.find('\'', i + 1);
            const std::size_t stop = close == std::string_view::npos ? format.size() : close;
            out.append(format.substr(i + 1, stop - i - 1));
            i = stop == format.size() ? stop : stop + 1;
            continue;
        }
        std::size_t run = 1;
        while (i + run < format.size() && format[i + run] == c) ++run;
        const std::size_t pad = run >= 2 ? 2 : 1;
        switch (c) {
            case 'd':
                AppendNumber(out, time.tm_mday, pad);
                break;
            case 'M':
                AppendNumber(out, time.tm_mon + 1, pad);
                break;
            case 'y':
                if (run >= 3)
                    AppendNumber(out, time.tm_year + 1900, 4);
                else
                    AppendNumber(out, (time.tm_year + 1900) % 100, 2);
                break;
            case 'H':
                AppendNumber(out, time.tm_hour, pad);
                break;
            case 'h':
                AppendNumber(out, time.tm_hour % 12 == 0 ? 12 : time.tm_hour % 12, pad);
                break;
            case 'm':
                AppendNumber(out, time.tm_min, pad);
                break;
            case 's':
                AppendNumber(out, time.tm_sec, pad);
                break;
            default:
                out.append(run, c);
                break;
        }
        i += run;
    }
    return out;
}

std::string CurrentDateTimeText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    return FormatDateTime(ShortDateFormat(), local) + " " + FormatDateTime(LongTimeFormat(), local);
}

}  // namespace platform
