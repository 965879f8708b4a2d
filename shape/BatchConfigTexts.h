#pragma once

#include <string>
#include <string_view>

// The batch configuration's messages, in Windows-1250, and how it shows them.
namespace batchtexts {

// "Blad polaczenia " and the database path.
std::string ConnectionFailed(std::string_view databasePath);
// "ID rekordu " + id + " nie jest poprawny".
std::string BadRecordId(std::string_view id);
// A configuration that is no text, or larger than any real one: the defaults are taken instead.
std::string NotText(std::string_view fileName);
std::string TooLarge(std::string_view fileName);
// A folder, a device or a pipe in the place of the configuration (the defaults are taken
// instead), or of the external database it names.
std::string NotRegular(std::string_view fileName);
std::string DatabaseNotRegular(std::string_view databasePath);

// A modal message box with the text and an OK button.
void Show(std::string_view text);

}  // namespace batchtexts
