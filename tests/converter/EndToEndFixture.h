#pragma once

// The program with the real plug-in library, run in batch mode in a scratch folder that holds the
// shipped example and a registry of its own.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ConverterFixture.h"

inline const std::string kPontra = KESTREL_BIN_DIR "/pontra";

// Every layer the example's batch configuration writes, with its records' types, parts and rows,
// as pyshp reads them (texts in Windows-1250, printed in UTF-8).
inline constexpr const char* kDescribeLayers = R"(
import glob, os, sys, shapefile
for path in sorted(glob.glob(os.path.join(sys.argv[1], '*.shp'))):
    stem = os.path.splitext(os.path.basename(path))[0]
    r = shapefile.Reader(path, encoding='cp1250')
    shapes = r.shapes()
    print(stem, 'type=%d n=%d parts=%s' % (r.shapeType, len(r), [list(s.parts) for s in shapes]))
    print(stem, 'first=%.3f,%.3f' % tuple(shapes[0].points[0]))
    for rec in r.records():
        print(stem, '|'.join('%s=%s' % (f[0], v) for f, v in zip(r.fields[1:], rec)))
)";

class EndToEndTest : public ConverterTest {
  protected:
    void SetUp() override {
        ConverterTest::SetUp();
        for (const char* name : {"zielonki.map", "zielonki.sym", "zielonki.ini"})
            std::filesystem::copy_file(KESTREL_SOURCE_DIR "/examples/" + std::string(name),
                                       scratch.Path(name));
        // As the main job runs it: dBase fields copied into attributes on the way back, and the
        // tables' letters those of the MAP file.
        WriteFileBytes(scratch.Path("registry.reg"),
                       "REGEDIT4\r\n\r\n"
                       "[HKEY_CURRENT_USER\\Software\\Lumatek\\tpserver\\arcview\\konwersja]\r\n"
                       "\"BTA\"=dword:00000001\r\n\"PLKODY\"=dword:00000001\r\n");
    }

    // The program (by default the one built), ended when it runs longer than `seconds`.
    ProgramRun Pontra(const std::string& arguments, const std::string& program = kPontra,
                      int seconds = 60) {
        // No display: a command line without a whole conversion ends with the usage text.
        return RunInFolder(scratch.Path(),
                           "env -u DISPLAY -u WAYLAND_DISPLAY 'KESTREL_REGISTRY_FILE=" +
                               scratch.Path("registry.reg") + "' '" + program + "' " + arguments,
                           seconds);
    }

    void ExportExample() {
        std::filesystem::create_directory(scratch.Path("shp"));
        const ProgramRun run =
            Pontra("map=zielonki.map cfg=zielonki.ini shpdir=shp action=map2shp");
        ASSERT_EQ(run.status, 0) << run.output;
    }

    std::string Layers() {
        WriteFileBytes(scratch.Path("describe.py"), kDescribeLayers);
        const ProgramRun run = RunInFolder(scratch.Path(), "/usr/bin/python3 describe.py shp");
        EXPECT_EQ(run.status, 0) << run.output;
        return run.output;
    }

    std::string OgrInfo(const std::string& arguments) {
        return RunInFolder(scratch.Path(), "ogrinfo -ro " + arguments).output;
    }
};

inline bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}
