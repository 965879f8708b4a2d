#pragma once

#include <string_view>

namespace platform::qt {

// A picture the window back end carries for the programs' toolbars, as PNG bytes: drawn as SVG in
// platform/qt/pictures/ and built into the back end, so that a window shows every picture whichever
// way the program that opens it was built. Each is named after its SVG file, with "-hot" for the
// one under the mouse; empty for a name the back end does not know.
std::string_view BuiltInPicture(std::string_view name);

}  // namespace platform::qt
