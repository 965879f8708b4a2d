#pragma once

#include <string>
#include <string_view>

// Texts of the MAP to shapefile export, in Windows-1250, and the one way its messages reach the
// user.
namespace exporttexts {

// "Błąd odczytu pliku symboli !!!", a line feed, a carriage return and the file name.
std::string SymbolFileError(std::string_view fileName);
const std::string& ChooseFolderCaption();
const std::string& ProgressBuildingDbf();
// "Błąd ", the field name, a blank and the value the table refused.
std::string FieldError(std::string_view field, std::string_view value);
// The output folder is not there.
std::string FolderMissing(std::string_view folder);
// The output folder cannot be written (a file stands in its place or on its way, or it is not
// open to the user).
std::string FolderNotWritable(std::string_view folder);
// The attribute table could not be written; any older table of that name is kept.
std::string TableWriteError(std::string_view fileName);
// The fields do not fit a dBase III header (a field of length 0, too many fields, or rows
// longer than the format allows).
std::string TableLayoutError(std::string_view fileName);

// A layer name that would not name a file in the output folder (empty, "." or "..", or with a
// path separator): the code's objects go to the layer named by the code.
std::string LayerNameRefused(std::string_view code, std::string_view name);
// Codes that share a layer name must give it records of one shape type and the same table
// fields: this code's objects go to the layer named by the code.
std::string LayerNameTaken(std::string_view code, std::string_view name);
// Neither the layer name nor the code can take this code's objects: they are not written.
std::string LayerNotWritten(std::string_view code, std::string_view name);
// A layer's files could not be put in place; the older files of the layer are kept.
std::string LayerWriteError(std::string_view fileName);
// The same, where another program changed a file of the layer meanwhile: those files were left
// as that program left them, not given back their older versions.
std::string LayerLeftChanged(std::string_view fileName);
// Areas of a layer whose outline has fewer than three distinct points are no polygons: they were
// written as records without geometry, keeping their rows in the table.
std::string AreasWithoutRing(std::string_view fileName, int count);
// The map has no object that goes into a shapefile (codes first to last): nothing written.
std::string NothingToExport(std::string_view mapName, int first, int last);

// A modal message box with the text and an OK button.
void Show(std::string_view text);

}  // namespace exporttexts
