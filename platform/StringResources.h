#pragma once

#include <cstddef>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <utility>

// String resources of a module and the safe formatting of their "%s" formats.
namespace platform {

// One module's string table: numbered texts, given in UTF-8 and kept in Windows-1250.
class StringTable {
  public:
    StringTable(std::initializer_list<std::pair<unsigned, std::string_view>> utf8Texts);

    // LoadStringA's counterpart: the text cut to bufferSize - 1 bytes; empty for an unknown id.
    std::string Load(unsigned id, std::size_t bufferSize = 256) const;

  private:
    std::map<unsigned, std::string> texts_;
};

// wvsprintfA's counterpart for texts: "%s" takes the next argument (an empty text when none is
// left), "%%" is a percent sign, anything else is copied as it stands. Arguments are never read
// as formats.
std::string FormatText(std::string_view format, std::initializer_list<std::string_view> args);

}  // namespace platform
