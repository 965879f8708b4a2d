#pragma once

#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gmock/gmock.h>

#include "SettingsFixture.h"
#include "model/ListaObi.h"
#include "model/ListaPKT.h"
#include "model/Symbols.h"
#include "platform/Cursor.h"
#include "plugin/AttributeChoice.h"
#include "plugin/ConversionSettings.h"
#include "plugin/ExportMapFiles.h"
#include "plugin/SettingsUnits.h"
#include "shape/Shape.h"

// A map built in memory, and the export run on it under the settings of each test.
class ExportTest : public SettingsTest {
  protected:
    void SetUp() override {
        SettingsTest::SetUp();
        InitializeSettingsUnits();  // the defaults of an empty registry
        out_ = std::filesystem::path(RegistryFile()).parent_path() / "out";
        std::filesystem::create_directories(out_);
        folder = out_.string();
        platform::SetScreenCursor(platform::crDefault);
    }

    // A vertex: northing, easting and the point's flag byte (12: the line goes on).
    struct V {
        double x, y;
        std::uint8_t flags = 12;
    };

    TObiekt* Add(const std::string& code, const std::vector<V>& vertices) {
        auto object = std::make_unique<TObiekt>(code, "", "", "", "", "", "", "", 0);
        for (const V& v : vertices) {
            points->AddPoint(std::make_unique<TPunkt>("", v.flags, v.x, v.y, 0.0f));
            object->Vertices->Add(std::make_unique<TNumer>(points->CurrentPoint()));
        }
        TObiekt* raw = object.get();
        objects->AddObject(std::move(object));
        return raw;
    }

    // The seven objects: three points 1000, two lines 4100, a closed area 5100, a text 7000.
    void SevenObjects() {
        Add("1000", {{5000100, 7000200}});
        Add("4100", {{10, 20}, {11, 21}, {12, 20}});
        Add("1000", {{5000101, 7000201}});
        Add("5100", {{0, 0}, {0, 10}, {10, 10}, {0, 0}});
        Add("7000", {{1, 1}});
        Add("4100", {{30, 40}, {31, 41}});
        Add("1000", {{5000102, 7000202}});
    }

    bool Export() {
        return ExportMapFiles(TMapExport{points.get(), objects.get(), shape, symbols, batch,
                                         batchFile, folder, mapFile});
    }

    std::string Out(const std::string& name) const { return (out_ / name).string(); }
    bool Exists(const std::string& name) const { return std::filesystem::exists(out_ / name); }
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(out_))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    static std::string ReadFile(const std::string& name) {
        std::ifstream in(name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    static std::string Run(const std::string& command) {
        std::string output;
        FILE* pipe = ::popen(command.c_str(), "r");
        if (pipe == nullptr) return output;
        std::array<char, 4096> buffer{};
        std::size_t n = 0;
        while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
            output.append(buffer.data(), n);
        ::pclose(pipe);
        return output;
    }

    // pyshp's reading of a shapefile set, one line per item:
    //   type T count N | field NAME T LEN DEC | shape TYPE parts P,.. points X Y;.. | row V|V|..
    // Texts are read byte for byte (Latin-1), other bytes than printable ASCII as \xNN.
    static std::string Pyshp(const std::string& shp) {
        static const char* kScript = R"PY(
import sys, shapefile
r = shapefile.Reader(sys.argv[1], encoding='latin1')
print('type', r.shapeType, 'count', len(r))
for f in r.fields[1:]:
    print('field', f[0], f[1], f[2], f[3])
def text(v):
    if v is None: return 'None'
    if isinstance(v, str):
        return ''.join(c if 32 <= ord(c) < 127 else '\\x%02x' % ord(c) for c in v)
    if hasattr(v, 'isoformat'): return v.isoformat()
    return str(v)
for s in r.shapes():
    pts = ';'.join('%.17g %.17g' % (p[0], p[1]) for p in s.points)
    print('shape', s.shapeType, 'parts', ','.join(str(p) for p in s.parts), 'points', pts)
for rec in r.records():
    print('row', '|'.join(text(v) for v in rec))
)PY";
        const std::string script = (std::filesystem::temp_directory_path() /
                                    ("kestrel-pyshp-" + std::to_string(::getpid()) + ".py"))
                                       .string();
        std::ofstream(script) << kScript;
        std::string output = Run("/usr/bin/python3 " + script + " '" + shp + "' 2>&1");
        std::filesystem::remove(script);
        return output;
    }

    // ogrinfo's summary of a layer (feature count, geometry, field definitions).
    static std::string OgrInfo(const std::string& shp) {
        return Run("ogrinfo -ro -so -al '" + shp + "' 2>&1");
    }

    static std::vector<std::string> Lines(const std::string& text, const std::string& prefix) {
        std::vector<std::string> lines;
        std::size_t at = 0;
        while (at < text.size()) {
            std::size_t end = text.find('\n', at);
            if (end == std::string::npos) end = text.size();
            std::string line = text.substr(at, end - at);
            if (line.rfind(prefix, 0) == 0) lines.push_back(line);
            at = end + 1;
        }
        return lines;
    }

    // The rows of a pyshp reading, without their "row " prefix.
    static std::vector<std::string> Rows(const std::string& text) {
        std::vector<std::string> rows = Lines(text, "row ");
        for (std::string& row : rows) row.erase(0, 4);
        return rows;
    }

    std::unique_ptr<TListaPKT> points = std::make_unique<TListaPKT>();
    std::unique_ptr<TListaObi> objects = std::make_unique<TListaObi>();
    std::unique_ptr<TShape> shape = std::make_unique<TShape>();
    std::unique_ptr<TListaSYM> symbols = std::make_unique<TListaSYM>();
    bool batch = false;
    std::string batchFile;
    std::string folder;
    std::string mapFile;

  private:
    std::filesystem::path out_;
};
