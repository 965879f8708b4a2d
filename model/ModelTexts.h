#pragma once

#include <string>

#include "platform/StringResources.h"

// Every text that the map model shows or writes, in Windows-1250.
namespace model_texts {

// String resources of the library's module.
inline constexpr unsigned kResFileError = 4;    // a file cannot be opened, read or written
inline constexpr unsigned kResReadError = 6;    // a read error
inline constexpr unsigned kResNotMapFile = 32;  // not a MAP file
inline constexpr unsigned kResMapTooNew = 119;  // MAP version above 8
const platform::StringTable& Resources();

const std::string& ReadErrorInLine();      // "Błąd odczytu w wierszu: "
const std::string& BadNumbersInLines();    // format of the summary of lines with bad numbers
const std::string& LineNeverEnds();        // format: a MAP line without an end; its number
const std::string& MoreThanAMapHolds();    // format: input beyond a map; the lines read
const std::string& NotRegularFile();       // format: a folder, device or pipe; its name
const std::string& ServerGenerator();      // generator name of the server's MAP files
const std::string& MissingSymbolSuffix();  // " Brak w bibliotece symboli"

}  // namespace model_texts
