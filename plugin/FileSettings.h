#pragma once

#include <string>
#include <string_view>

class TKWZArcView;

// The per-shapefile conversion settings file: the shapefile's name with the extension ".cc", a
// private-profile INI with the conversion options ("General") and the pairing of dBase fields
// with map attributes ("BTAPAR", "BTAPAR0".."BTAPAR10"). Reading fills ConversionSettings,
// LinkSettings and AttributeSlots; nothing here touches the registry.

// The settings file of a shapefile: drogi.shp gives drogi.cc; empty for an empty name.
std::string FileSettingsName(std::string_view shapeFileName);

// Reads the settings file of the server's open shapefile. A missing or unreadable file changes
// nothing (a folder, a device or a pipe in its place is said); a missing key, or a value that is
// no number, gives that field its default.
void ReadFileSettings(const TKWZArcView& Server);
// Writes the settings into the settings file of the server's open shapefile, keeping any other
// content of an existing file. False, after a message box naming the file, when it cannot be
// written (or the server has no shapefile name to derive it from).
bool WriteFileSettings(const TKWZArcView& Server);

// The same for a settings file given by its own name.
void ReadFileSettingsFrom(const std::string& settingsFile);
bool WriteFileSettingsTo(const std::string& settingsFile);
