#pragma once

#include <string>
#include <vector>

// The geoid parameter file "geoida.bin" beside the executable, read into a table of named
// points when the library loads. Records of 33 bytes, no header, little-endian: name length
// (0-8), eight name bytes (Windows-1250), three doubles.

struct TNPoint {
    TNPoint(double V1, double V2, double V3) : Values{V1, V2, V3} {}
    double Values[3];
};

struct TGeoidEntry {
    std::string Name;
    TNPoint Point;
};

inline constexpr std::size_t kGeoidRecordSize = 33;

// In file order, duplicates kept; empty when the file could not be opened.
extern std::vector<TGeoidEntry>& GeoidList;
// The path of the file last read, kept for the error message (at most 255 characters).
std::string& GeoidPath();

// The folder of the running executable followed by "/geoida.bin", cut to 255 characters.
std::string DefaultGeoidPath();
// Fills GeoidList from the file: 0 when it was opened, -1 when it cannot be (a folder, a device
// or a pipe in its place is refused at once, never waited for). A length byte above 8 names all
// eight bytes; a read error ends the reading.
int LoadGeoidFile(const std::string& Path);
int LoadGeoid();

// Loads from the default path and tells the user when the file cannot be opened.
void InitGeoid();
void DoneGeoid();
