#pragma once

#include <string>
#include <string_view>

// Texts of the exports, the server object and the about box, in Windows-1250, and the one way
// the server shows its messages.
namespace servertexts {

const std::string& Description();  // the library's description, also the about box's title line
const std::string& FileMask();     // open-dialog filter of the files the server opens
const std::string& AboutCaption();
const std::string& AboutVersion();  // the version label's text, the number follows
const std::string& AboutModuleUsed();
const std::string& AboutModuleName();
const std::string& Ok();
// A per-file settings file that cannot be written.
std::string FileSettingsWriteError(std::string_view fileName);
// A folder, a device or a pipe in the place of a per-file settings file, which is then neither
// read nor written.
std::string FileSettingsNotRegular(std::string_view fileName);
// An output folder that cannot be created.
std::string FolderCreateError(std::string_view folder);
// The one-call conversion: a shapefile name it cannot write to (empty, or the MAP file itself).
std::string ShapeNameInvalid(std::string_view fileName);
// The one-call conversion: the outside transformation library cannot be bound.
const std::string& TransformLibraryMissing();
// Says that a conversion ended by a failure nothing else reported (no memory left, say). Never
// throws, so that a place can call it from its last catch.
void ShowConversionInterrupted() noexcept;

// A modal message box with the text and an OK button.
void Show(std::string_view text);

}  // namespace servertexts
