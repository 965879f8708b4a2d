#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Texts of the shapefile to MAP conversion, in Windows-1250, and the one way it shows them.
namespace saveasmaptexts {

const std::string& SaveDialogTitle();  // "Zapis pliku TOPOLIN"
const std::string& SaveDialogFilter();
const std::string& Generator();  // the MAP file's generator line
// "Błąd otwarcia pliku " and the table's name.
std::string OpenError(std::string_view fileName);
// The source table ends before the shapefile's records do.
std::string FewerRows(std::string_view fileName, int rows, int records);
// Rows of the link table could not be written; the message of the table component follows.
std::string LinkTableNotWritten(std::string_view fileName, std::string_view reason);

// The folder the MAP file should go into does not exist: nothing is written.
std::string FolderMissing(std::string_view folder);
// A folder, a device or a pipe in the place of the shapefile's table: no MAP file is written.
std::string TableNotRegular(std::string_view tableName, std::string_view mapName);

// The shapefile gives no object with points: no MAP file is written.
std::string NothingToWrite(std::string_view shapeName, std::string_view mapName);
// Only `read` of the `held` records of the shapefile could be read; the MAP file holds those, or,
// when they gave no object with points, was not written.
std::string RecordsLost(std::string_view shapeName, std::int64_t read, std::int64_t held,
                        std::string_view mapName, bool written);

// The files were written but could not be put in place of the older ones.
const std::string& NotPutInPlace();
// The MAP file and its companions were not put in place, and another program changed some of the
// older ones meanwhile: those were left as that program left them.
std::string MapLeftChanged(std::string_view mapName);

// A modal message box with the text and an OK button.
void Show(std::string_view text);

}  // namespace saveasmaptexts
