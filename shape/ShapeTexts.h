#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The shapefile layer's texts, in Windows-1250, and the one way it shows them to the user.
namespace shapetexts {

// "Obiekt ... bez punktów" for a geometry of the given type without points; empty for points.
const std::string& EmptyGeometry(std::int32_t shapeType);
std::string UnsupportedType(std::int32_t shapeType);
std::string UnsupportedVersion(std::string_view name, std::int32_t version);
std::string RecordReadError(std::int32_t recordNumber);
// One text for every record of a load that could not be read: the one record's, or the count and
// the first number.
std::string RecordsReadError(std::int64_t count, std::int64_t firstNumber);
const std::string& WrongRecordType();
// "Błędny typ rekordu !", or with the count when more than one record has another type.
std::string WrongRecordTypes(std::int64_t count);
// The index names records the main file cannot hold, or holds records the index does not name.
std::string IndexMismatch(std::string_view indexName);
const std::string& EmptyFileName();
std::string MissingIndex(std::string_view name);
// A folder, a device or a pipe in the place of the shapefile's .shp or .shx: nothing is read.
std::string NotRegularFile(std::string_view name);
// The same in the place of its style file, which is then neither read nor written.
std::string StyleNotRegular(std::string_view name);
std::string BadHeader(std::string_view name);
std::string WriteError(std::string_view name);
const std::string& ProgressLoading();
const std::string& ProgressSaving();
// dBase header check: the box text and the reasons.
std::string DbfNotStandard(std::string_view reason);
std::string DbfTooLong(char type, std::string_view name);
std::string DbfBadLength(char type, std::string_view name);
std::string DbfUndefinedType(char type, std::string_view name);
// Header checks: the numbers the header gives.
std::string DbfBadHeaderLength(std::int32_t length);
std::string DbfBadRecordLength(std::int32_t length);
std::string DbfBadRecordCount(std::uint32_t count);

// A modal message box with the text and an OK button.
void Show(std::string_view text);

}  // namespace shapetexts
