#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Texts of the multi-layer object, its layer list files and its layer dialog, in Windows-1250,
// and the one way they show their messages.
namespace layertexts {

// Open dialog of AddLayers.
const std::string& AddLayersFilter();
// The layer dialog.
const std::string& DialogCaption();
const std::string& SaveButton();
const std::string& SaveFilter();
const std::string& SaveDefaultExt();
const std::string& MenuSetActive();
const std::string& MenuConfigure();
const std::string& MenuToBottom();
const std::string& MenuDown();
const std::string& MenuUp();
const std::string& MenuToTop();
const std::string& MenuDelete();
// Identify.
const std::string& NotFound();
const std::string& NoActiveLayer();  // both lines, with the line break between them
// A layer list file that cannot be read or written.
std::string ListReadError(std::string_view fileName);
std::string ListWriteError(std::string_view fileName);
// A folder, a device or a pipe in the place of a layer list file: nothing is read.
std::string ListNotRegular(std::string_view fileName);
// A layer list with more lines than one list may bring in: the first `kept` were taken.
std::string ListTooLong(std::string_view fileName, std::size_t kept);

// A modal message box with the text and an OK button.
void Show(std::string_view text);

}  // namespace layertexts
