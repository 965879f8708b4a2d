#pragma once

#include <string>

// Every text that the transformation module shows or keeps, in Windows-1250.
namespace transform_texts {

const std::string& GeoidReadError();         // "Błąd odczytu parametrów geoidy !\n\r"
const std::string& GeoidNotRegular();        // the same for a folder, a device or a pipe
const std::string& OutOfMemory();            // "Brak pamięci"
const std::string& CorrectionTooLarge();     // the 1965 correction failed on the output side
const std::string& ProjectionName(int row);  // names of the projection table, rows 0-6

}  // namespace transform_texts
