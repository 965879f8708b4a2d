# Writes a C++ source that holds PNG pictures as bytes, each named after its file without the
# extension, and the window back end's look-up of them by name.
#   cmake -DPICTURES=a.png,a-hot.png -DOUTPUT=file.cpp -P EmbedPictures.cmake
string(REPLACE "," ";" files "${PICTURES}")
set(table "")
foreach(file IN LISTS files)
    get_filename_component(name "${file}" NAME_WE)
    file(READ "${file}" hex HEX)
    string(REGEX REPLACE "(..)" "\\\\x\\1" escaped "${hex}")
    file(SIZE "${file}" size)
    string(APPEND table "        {\"${name}\", std::string_view(\"${escaped}\", ${size})},\n")
endforeach()
file(WRITE "${OUTPUT}.tmp" "// Generated from platform/qt/pictures/*.svg; do not edit.
#include \"platform/qt/BuiltInPictures.h\"

#include <utility>

namespace platform::qt {

std::string_view BuiltInPicture(std::string_view name) {
    static constexpr std::pair<std::string_view, std::string_view> kPictures[] = {
${table}    };
    for (const auto& [known, png] : kPictures)
        if (known == name) return png;
    return {};
}

}  // namespace platform::qt
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
