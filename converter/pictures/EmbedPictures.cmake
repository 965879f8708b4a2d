# Writes a C++ source that holds PNG pictures as bytes: the toolbar's normal and hot pictures.
#   cmake -DNORMAL=a.png,b.png -DHOT=a-hot.png,b-hot.png -DOUTPUT=file.cpp -P EmbedPictures.cmake
# Empty lists give a toolbar without pictures.
function(picture_list out files)
    set(body "")
    string(REPLACE "," ";" files "${files}")
    foreach(file IN LISTS files)
        file(READ "${file}" hex HEX)
        string(REGEX REPLACE "(..)" "\\\\x\\1" escaped "${hex}")
        file(SIZE "${file}" size)
        string(APPEND body "        std::string(\"${escaped}\", ${size}),\n")
    endforeach()
    set(${out} "${body}" PARENT_SCOPE)
endfunction()

picture_list(normal "${NORMAL}")
picture_list(hot "${HOT}")
file(WRITE "${OUTPUT}.tmp" "// Generated from converter/pictures/*.svg; do not edit.
#include \"converter/ToolbarPictures.h\"

platform::ImageList ToolbarImages() {
    return {60, 60, {
${normal}    }};
}

platform::ImageList ToolbarHotImages() {
    return {60, 60, {
${hot}    }};
}
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
