#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "SettingsFixture.h"
#include "model/ListaObi.h"
#include "model/ListaPKT.h"
#include "shape/Shape.h"

// Shapes built in memory, the conversion's outputs read back, and the settings a conversion
// starts from (the registry's defaults).
namespace saveasmaptest {

struct Vertex {
    double x = 0, y = 0;
    float h = 0;
    std::uint8_t flags = 0;
};
struct Object {
    std::string code;
    std::int32_t lineNo = 0;
    std::uint16_t flags = 0;
    std::vector<Vertex> vertices;
};

// The objects of the list in order, with their vertices.
std::vector<Object> Objects(const TListaObi& objects);

using Ring = std::vector<TShpPoint>;

// Records of each family; coordinates as the shapefile has them (X easting).
std::unique_ptr<TSHPRecord> NullRecord();
std::unique_ptr<TSHPRecord> PointRecord(std::int32_t type, double x, double y, double zm = 0);
std::unique_ptr<TSHPRecord> MultiPointRecord(std::int32_t type, const std::vector<TShpPoint>& pts);
std::unique_ptr<TSHPRecord> PartedRecord(std::int32_t type, const std::vector<Ring>& parts);

// A shape holding the records, named like `fileName`.
std::unique_ptr<TShape> MakeShape(std::vector<std::unique_ptr<TSHPRecord>> records,
                                  const std::string& fileName = "");

// A dBase table with these fields ("NAME", type, length, decimals) and rows of texts.
struct Field {
    std::string name;
    char type;
    int length;
    int decimals = 0;
};
void WriteDbf(const std::string& name, const std::vector<Field>& fields,
              const std::vector<std::vector<std::string>>& rows);
// Every row of a table as texts, and its field names.
std::vector<std::vector<std::string>> ReadDbfRows(const std::string& name);
std::vector<std::string> DbfFieldNames(const std::string& name);

std::string ReadText(const std::string& name);
void WriteText(const std::string& name, const std::string& text);

// The registry's default conversion settings, fresh attribute slots and link settings.
void DefaultConversionSettings();

// A folder of its own, headless UI, default settings.
class ConversionTest : public SettingsTest {
  protected:
    void SetUp() override;
    void TearDown() override;
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    const std::filesystem::path& Dir() const { return dir_; }

  private:
    std::filesystem::path dir_;
};

}  // namespace saveasmaptest
