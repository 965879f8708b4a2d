#pragma once

#include <string>
#include <string_view>

// Messages of the conversion settings and attribute choice dialogs, in Windows-1250, and the one
// way they are shown to the user.
namespace settingstexts {

const std::string& DataError();            // a code in the settings dialog is no number
const std::string& RegistryWriteError();   // the settings could not be stored
const std::string& TpidOnlyInA1ToA6();     // link ticked, but TPID paired with no A attribute
const std::string& TpidWithoutTextLink();  // TPID paired, but the link is not ticked

// A modal message box with the text and an OK button.
void Show(std::string_view text);

}  // namespace settingstexts
