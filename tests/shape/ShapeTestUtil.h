#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/UiService.h"
#include "shape/Shape.h"
#include "shape/ShpRecord.h"

namespace shapetest {

// A folder of its own for one test; removed with everything in it at the end.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    const std::filesystem::path& Dir() const { return dir_; }

  private:
    std::filesystem::path dir_;
};

std::vector<std::uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

// Runs a shell command; returns its exit status and collects its standard output.
int RunCommand(const std::string& command, std::string* output = nullptr);
// Fails the current test unless the program is there.
bool ToolAvailable(const std::string& program);
// Debian's Python, which has the GDAL bindings and pyshp.
inline const char* kPython = "/usr/bin/python3";
std::string Quote(const std::string& text);

// The headless UI with its message list emptied and its echo off.
platform::HeadlessUi& QuietUi();
std::vector<std::string> MessageTexts();

// A record of the given type with `parts` parts of `pointsPerPart` points each, coordinates,
// Z, M and part types all different and derived from `seed`.
std::unique_ptr<TSHPRecord> MakeRecord(std::int32_t type, std::int32_t parts,
                                       std::int32_t pointsPerPart, int seed);
// A polygon record with one ring per list of (X, Y) points.
std::unique_ptr<TSHPRecord> MakePolygon(const std::vector<std::vector<TShpPoint>>& rings);

// One line per record: type, part starts, part types, X Y pairs, Z and M values, in %.17g and
// "None" for a measure without data. The same text comes from the pyshp dump script.
std::string Describe(const TShape& shape);
// The pyshp dump of a shapefile in the same form (runs kPython).
std::string DescribeWithPyshp(const std::string& shpPath, std::string* error = nullptr);

}  // namespace shapetest
