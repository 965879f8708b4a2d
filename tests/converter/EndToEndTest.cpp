// The program with the real plug-in library, on the shipped example: MAP -> SHP and SHP -> MAP in
// batch mode, the outputs read by GDAL's ogrinfo, by pyshp and by the system's own MAP reader.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>

#include "ConverterFixture.h"
#include "EndToEndFixture.h"
#include "model/MapFile.h"
#include "model/Obiekt.h"
#include "platform/FileJournal.h"
#include "platform/FolderJournal.h"
#include "tests/platform/FaultyCalls.h"
#include "tests/platform/SetFiles.h"

TEST_F(EndToEndTest, MapToShpWritesOneLayerPerCodeNamedByTheBatchConfiguration) {
    ExportExample();
    const std::string layers = Layers();
    for (const char* line : {
             "osnowa type=1 n=4 parts=[[], [], [], []]",
             "osnowa first=7470195.000,5757035.000",
             "osnowa NUMER=101|KLASA=osnowa szczegółowa kl. III|OPIS=101 osnowa szczegółowa kl. "
             "III|TPID=1",
             "slupy type=1 n=3",
             "slupy OPIS=słup SN nr 3|MATERIAL=beton|TPID=7",
             "drogi type=3 n=2 parts=[[0], [0, 3]]",
             "drogi NAZWA=ul. Łąkowa|NAWIERZCH=tłuczeń|OPIS=ul. Łąkowa -|TPID=9",
             "rowy type=3 n=1 parts=[[0, 2, 5]]",
             "rowy NAZWA=rów R-7|RODZAJ=melioracja szczegółowa|TPID=10",
             "dzialki type=5 n=3 parts=[[0, 5], [0], [0]]",
             "dzialki NUMER=123/4|OBREB=Zielonki-Parcela|WLASCICIEL=Józef Żółkiewski|TPID=11",
             "dzialki NUMER=124|OBREB=Zielonki-Parcela|WLASCICIEL=Grażyna Śliwińska|TPID=12",
             "budynki type=5 n=2",
             "budynki RODZAJ=budynek gospodarczy|KONDYGN=1 kond.|ADRES=|TPID=15",
         })
        EXPECT_TRUE(Has(layers, line)) << line << "\n" << layers;
    // Texts are no layer; the ditch went under its replacement code's name.
    for (const char* name : {"6001.shp", "7001.shp", "4302.shp", "4301.shp"})
        EXPECT_FALSE(std::filesystem::exists(scratch.Path("shp/") + name)) << name;

    const std::string summary = OgrInfo("-so -al shp/dzialki.shp");
    EXPECT_TRUE(Has(summary, "Geometry: Polygon")) << summary;
    EXPECT_TRUE(Has(summary, "Feature Count: 3")) << summary;
    EXPECT_TRUE(Has(summary, "NUMER: String (20.0)")) << summary;
    // The parcel with the pond: an outer ring and an inner one, as GDAL reads them.
    const std::string parcel = OgrInfo("-al -q -where TPID=11 shp/dzialki.shp");
    EXPECT_TRUE(Has(parcel,
                    "POLYGON ((7470200 5757100,7470200 5757180,7470290 5757180,"
                    "7470290 5757100,7470200 5757100),(7470230 5757120,"))
        << parcel;
    EXPECT_TRUE(Has(OgrInfo("-so -al shp/drogi.shp"), "Geometry: Line String"));
    EXPECT_TRUE(Has(OgrInfo("-so -al shp/osnowa.shp"), "Feature Count: 4"));
}

TEST_F(EndToEndTest, ShpToMapWritesTheParcelsBackWithTheirAttributes) {
    ExportExample();
    const ProgramRun run =
        Pontra("SHP=shp/dzialki.shp CFG=zielonki.ini MAP=dzialki.map ACTION=SHP2MAP");
    ASSERT_EQ(run.status, 0) << run.output;

    std::unique_ptr<TListaPKT> points;
    std::unique_ptr<TListaObi> objects;
    NewMapLists(points, objects);
    std::int32_t result = -1;
    ReadMapFile(scratch.Path("dzialki.map"), false, *points, *objects, result);
    ASSERT_EQ(result, 0);
    ASSERT_EQ(objects->Count(), 3);
    const char* numbers[] = {"123/4", "124", "125/1"};
    const std::int32_t rings[] = {2, 1, 1};
    const std::int32_t vertices[] = {10, 5, 6};
    int i = 0;
    for (TElement* e = objects->First(); e; e = e->GetNext(), ++i) {
        const auto& object = static_cast<const TObiekt&>(*e);
        EXPECT_EQ(object.Code, "5101");  // KOD of the configuration's [dzialki.shp]
        std::string a1, a3;
        object.GetAttribute(1, a1, 255);
        EXPECT_EQ(a1, numbers[i]);
        std::string starts, coords;
        std::int32_t count = 0;
        EXPECT_EQ(object.BuildAreaCoordText(starts, coords, count), rings[i]) << i;
        EXPECT_EQ(count, vertices[i]) << i;
        if (i == 0) {
            object.GetAttribute(3, a3, 255);
            EXPECT_EQ(a3, platform::Utf8ToCp1250("Józef Żółkiewski"));
        }
    }
    // The map's northing first: the first parcel starts at the corner it was drawn from.
    const auto* first = static_cast<const TPunkt*>(points->First());
    EXPECT_NEAR(first->X, 5757100.0, 1e-6);
    EXPECT_NEAR(first->Y, 7470200.0, 1e-6);
    // The link table beside the MAP file: the shapefile's fields and TPID.
    const std::string link = OgrInfo("-so -al map_dzialki.dbf");
    EXPECT_TRUE(Has(link, "Feature Count: 3")) << link;
    EXPECT_TRUE(Has(link, "TPID: ")) << link;
}

// Polish letters in the output folder, the map's name and the layer names: the files on disk have
// UTF-8 names, GDAL reads them, and the MAP file and the messages carry the names right.
TEST_F(EndToEndTest, PolishLettersInTheFolderTheMapAndTheLayerNames) {
    std::string ini = ReadFileBytes(scratch.Path("zielonki.ini"));
    for (const std::string from : {"=dzialki", "[dzialki.shp]"}) {
        const std::size_t at = ini.find(from);
        ASSERT_NE(at, std::string::npos);
        ini[at + from.find("dzialki") + 4] = '\xB3';  // the Windows-1250 letter l-stroke
    }
    WriteFileBytes(scratch.Path("wsad.ini"), ini);
    std::filesystem::copy_file(scratch.Path("zielonki.map"), scratch.Path("mapa łąki.map"));
    std::filesystem::create_directory(scratch.Path("wyniki ćwiczeń"));

    ProgramRun run =
        Pontra("'MAP=mapa łąki.map' CFG=wsad.ini 'SHPDIR=wyniki ćwiczeń' ACTION=MAP2SHP");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(std::filesystem::exists(scratch.Path("wyniki ćwiczeń/działki.dbf")));
    EXPECT_TRUE(Has(OgrInfo("-so -al 'wyniki ćwiczeń/działki.shp'"), "Feature Count: 3"));

    run = Pontra(
        "'SHP=wyniki ćwiczeń/działki.shp' CFG=wsad.ini "
        "'MAP=wyniki ćwiczeń/działki.map' ACTION=SHP2MAP");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(std::filesystem::exists(scratch.Path("wyniki ćwiczeń/map_działki.dbf")));
    const std::string map = ReadFileBytes(scratch.Path("wyniki ćwiczeń/działki.map"));
    EXPECT_TRUE(Has(map, ";plik->" + platform::Utf8ToCp1250("wyniki ćwiczeń/działki.map\r\n")));
    EXPECT_TRUE(Has(map, "*5101"));  // the configuration's section for the layer was found

    run = Pontra("'MAP=brak łąki.map' CFG=wsad.ini 'SHPDIR=wyniki ćwiczeń' ACTION=MAP2SHP");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Has(run.output, "Błąd dostępu do pliku brak łąki.map")) << run.output;
}

// A disk that fills up while a layer is written keeps that layer's older files whole.
TEST_F(EndToEndTest, AFullDiskKeepsTheOlderLayerWhole) {
    if (::geteuid() != 0) GTEST_SKIP() << "mounting a small file system needs root";
    const std::string small = scratch.Path("shp");
    std::filesystem::create_directory(small);
    if (RunInFolder(scratch.Path(), "mount -t tmpfs -o size=1m kestrel-test shp").status != 0)
        GTEST_SKIP() << "no tmpfs can be mounted here";
    struct Unmount {
        std::string folder;
        ~Unmount() { RunInFolder(folder, "umount shp"); }
    } unmount{scratch.Path()};

    ASSERT_EQ(Pontra("map=zielonki.map cfg=zielonki.ini shpdir=shp action=map2shp").status, 0);
    std::map<std::string, std::string> before;
    for (const auto& e : std::filesystem::directory_iterator(small))
        before[e.path().filename()] = ReadFileBytes(e.path());
    // Ten thousand parcels: more than the file system holds.
    std::string big = ";# Plik danych systemu TOPOLIN ver=[ 7.00]\r\n";
    for (int i = 0; i < 10000; ++i) {
        const std::string x = std::to_string(5757000 + i), y = std::to_string(7470000 + i);
        big += "*5101 1 7 0.00000000\r\n:A1[" + std::to_string(i) + "]\r\n";
        for (const char* corner : {"0 0", "0 1", "1 1", "1 0", "0 0"})
            big += "P  0 " + x + ".00" + corner[0] + " " + y + ".00" + corner[2] + "\r\n";
    }
    WriteFileBytes(scratch.Path("duza.map"), big + ";KONIEC PLIKU\r\n");

    const ProgramRun run = Pontra("MAP=duza.map CFG=zielonki.ini SHPDIR=shp ACTION=MAP2SHP");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_TRUE(Has(run.output, "dzialki")) << run.output;
    std::map<std::string, std::string> after;
    for (const auto& e : std::filesystem::directory_iterator(small))
        after[e.path().filename()] = ReadFileBytes(e.path());
    EXPECT_TRUE(after == before);  // every file as it was, and nothing left beside them
}

// What a script sees: the exit status and one clean line or paragraph per message.
TEST_F(EndToEndTest, ExitStatusesAndMessagesTellScriptsWhatHappened) {
    // Shapefiles to convert back, from the four points: one without records, one whose index
    // names 2 of its 4, one whose index is its header alone, one of a single record cut short,
    // one with a broken record after those its index names, and one with padding after them.
    std::filesystem::create_directory(scratch.Path("src"));
    ASSERT_EQ(Pontra("MAP=zielonki.map CFG=zielonki.ini SHPDIR=src ACTION=MAP2SHP").status, 0);
    const std::string shp = ReadFileBytes(scratch.Path("src/osnowa.shp"));
    const std::string shx = ReadFileBytes(scratch.Path("src/osnowa.shx"));
    const char* kSources[] = {"pusty", "krotki", "bezindeksu", "urwany", "ogon"};
    for (const char* name : kSources) {
        std::filesystem::copy_file(scratch.Path("src/osnowa.dbf"),
                                   scratch.Path("src/") + name + ".dbf");
    }
    std::string header = shp.substr(0, 100);
    header[24] = header[25] = header[26] = 0;
    header[27] = 50;  // the file length in words: the header alone
    const std::map<std::string, std::pair<std::string, std::string>> sources = {
        {"pusty", {header, header}},
        {"krotki", {shp, shx.substr(0, 100 + 2 * 8)}},
        {"bezindeksu", {shp, shx.substr(0, 100)}},
        {"urwany", {shp.substr(0, 100 + 16), shx.substr(0, 100 + 8)}},
        {"ogon", {shp + std::string("\0\0\0\5\0\0\0\12", 8), shx}},
        {"dopelniony", {shp + std::string(3, '\0'), shx}},
    };
    for (const auto& [name, files] : sources) {
        WriteFileBytes(scratch.Path("src/" + name + ".shp"), files.first);
        WriteFileBytes(scratch.Path("src/" + name + ".shx"), files.second);
    }
    // The style a failed conversion leaves as it was.
    const std::string style = "[Punkt]\r\nKolor=255\r\n";
    WriteFileBytes(scratch.Path("src/krotki.tpi"), style);
    std::filesystem::create_directory(scratch.Path("shp"));
    WriteFileBytes(scratch.Path("plik"), "x");
    WriteFileBytes(scratch.Path("napisy.map"),
                   ";# Plik danych systemu TOPOLIN ver=[ 7.00]\r\n*7001 1 7 0.00000000\r\n"
                   "P  0 5.000 6.000\r\n;KONIEC PLIKU\r\n");
    const struct {
        const char* arguments;
        int status;
        const char* message;
    } cases[] = {
        {"MAP=brak.map CFG=zielonki.ini SHPDIR=shp ACTION=MAP2SHP", 1,
         "Błąd dostępu do pliku brak.map"},
        {"MAP=zielonki.map CFG=zielonki.ini SHPDIR=plik/shp ACTION=MAP2SHP", 1,
         "Nie można zapisać plików w folderze plik/shp"},
        {"MAP=zielonki.map CFG=zielonki.ini SHPDIR=brak/shp ACTION=MAP2SHP", 1,
         "Brak folderu do zapisu plików SHP: brak/shp"},
        {"MAP=napisy.map CFG=zielonki.ini SHPDIR=shp ACTION=MAP2SHP", 1,
         "Mapa napisy.map nie ma obiektów o kodach od 1000 do 5999: nie zapisano plików SHP"},
        {"SHP=src/pusty.shp CFG=zielonki.ini MAP=pusty.map ACTION=SHP2MAP", 1,
         "Plik src/pusty.shp nie ma obiektów z punktami: nie zapisano pliku pusty.map"},
        // What could be read is written, and the script learns that it is not all.
        {"SHP=src/krotki.shp CFG=zielonki.ini MAP=krotki.map ACTION=SHP2MAP", 1,
         "Odczytano tylko 2 z 4 rekordów pliku src/krotki.shp; plik krotki.map zawiera tylko "
         "odczytane obiekty"},
        {"SHP=src/ogon.shp CFG=zielonki.ini MAP=ogon.map ACTION=SHP2MAP", 1,
         "Odczytano tylko 4 z 5 rekordów pliku src/ogon.shp; plik ogon.map zawiera tylko "
         "odczytane obiekty"},
        {"SHP=src/dopelniony.shp CFG=zielonki.ini MAP=dopelniony.map ACTION=SHP2MAP", 0, ""},
        {"SHP=src/bezindeksu.shp CFG=zielonki.ini MAP=bezindeksu.map ACTION=SHP2MAP", 1,
         "Odczytano tylko 0 z 4 rekordów pliku src/bezindeksu.shp; nie zapisano pliku "
         "bezindeksu.map"},
        {"SHP=src/urwany.shp CFG=zielonki.ini MAP=urwany.map ACTION=SHP2MAP", 1,
         "Odczytano tylko 0 z 1 rekordów pliku src/urwany.shp; nie zapisano pliku urwany.map"},
        {"SHP=shp/brak.shp CFG=zielonki.ini MAP=brak.map ACTION=SHP2MAP", 1,
         "Brak pliku shp: shp/brak.shp"},
        {"MAP=zielonki.map CFG=zielonki.ini SHPDIR=shp ACTION=MAP2SZP", 2,
         "Nieznana akcja (dozwolone MAP2SHP i SHP2MAP): MAP2SZP"},
        {"map=zielonki.map cfg=zielonki.ini action=map2shp", 2, "brak: SHPDIR=\nUżycie"},
        {"", 2, "Kod wyjścia:\n  0  konwersja zakończona"},
        {"--help", 0, "ACTION=SHP2MAP"},
        // Without the configuration file the layers are named by their codes, after a warning.
        {"MAP=zielonki.map CFG=brak.ini SHPDIR=shp ACTION=MAP2SHP", 0,
         "Brak pliku konfiguracji; konwersja z ustawieniami domyślnymi: brak.ini"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(std::filesystem::is_empty(scratch.Path("shp"))) << c.arguments;
        const ProgramRun run = Pontra(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments << "\n" << run.output;
        EXPECT_TRUE(Has(run.output, c.message)) << c.arguments << "\n" << run.output;
        EXPECT_FALSE(Has(run.output, "\r")) << run.output;
        EXPECT_FALSE(Has(run.output, "[]")) << run.output;
    }
    for (const char* name :
         {"1001.shp", "1105.shp", "4101.shp", "4302.shp", "5101.shp", "5201.shp", "5101.dbf"})
        EXPECT_TRUE(std::filesystem::exists(scratch.Path("shp/") + name)) << name;
    for (const char* name : {"pusty.map", "bezindeksu.map", "urwany.map"})
        EXPECT_FALSE(std::filesystem::exists(scratch.Path(name))) << name;
    const std::string partial = ReadFileBytes(scratch.Path("krotki.map"));
    EXPECT_EQ(std::count(partial.begin(), partial.end(), '*'), 2);  // the two objects read
    // Nothing new beside the shapefiles of the failed conversions.
    EXPECT_EQ(ReadFileBytes(scratch.Path("src/krotki.tpi")), style);
    for (const char* name : kSources)
        EXPECT_EQ(std::filesystem::exists(scratch.Path("src/") + name + ".tpi"),
                  std::string(name) == "krotki")
            << name;
}

// Names are never cut: one longer than 255 characters is refused with a message naming it, and
// nothing is written under it; one that fits is written whole. The folders keep every component
// of these names short enough for any file system.
TEST_F(EndToEndTest, NamesOfMoreThan255CharactersAreRefusedNotCut) {
    const std::string refused = "Za długa nazwa (ponad 255 znaków): ";
    for (const char* folder : {"src", "shp", "out"})
        std::filesystem::create_directory(scratch.Path(folder));
    ASSERT_EQ(Pontra("MAP=zielonki.map CFG=zielonki.ini SHPDIR=src ACTION=MAP2SHP").status, 0);
    for (const char* ext : {".shp", ".shx"})  // without its table: no map_ table
        std::filesystem::copy_file(scratch.Path("src/osnowa") + ext, scratch.Path("src/bez") + ext);

    // Layers shp/<name>.shp of 254, 255 and 256 characters.
    const std::string w(246, 'w'), x(247, 'x'), y(248, 'y');
    WriteFileBytes(scratch.Path("dlugie.ini"),
                   "[WARSTWY]\r\n1001=" + w + "\r\n1105=" + x + "\r\n4101=" + y + "\r\n");
    ProgramRun run = Pontra("MAP=zielonki.map CFG=dlugie.ini SHPDIR=shp ACTION=MAP2SHP");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Has(run.output, refused + "shp/" + y + ".shp")) << run.output;
    for (const std::string& layer : {w, x})
        for (const char* ext : {".shp", ".shx", ".dbf", ".tpi"})
            EXPECT_TRUE(std::filesystem::exists(scratch.Path("shp/" + layer + ext)));
    for (const auto& e : std::filesystem::directory_iterator(scratch.Path("shp")))
        EXPECT_NE(e.path().filename().string()[0], 'y') << e.path();  // nor under a name cut short

    // MAP files of 255 and 256 characters, then link tables of 255 and 256.
    const std::string fits(247, 'm'), table(243, 't');
    const struct {
        std::string shp, map, refusedName;
    } cases[] = {
        {"bez", "out/" + fits + ".map", ""},
        {"bez", "out/" + fits + "m.map", "out/" + fits + "m.map"},
        {"osnowa", "out/" + table + ".map", ""},
        {"osnowa", "out/" + table + "t.map", "out/map_" + table + "t.dbf"},
    };
    for (const auto& c : cases) {
        run = Pontra("SHP=src/" + c.shp + ".shp CFG=zielonki.ini MAP=" + c.map + " ACTION=SHP2MAP");
        EXPECT_EQ(run.status, c.refusedName.empty() ? 0 : 1) << c.map << run.output;
        EXPECT_EQ(Has(run.output, refused + c.refusedName), !c.refusedName.empty()) << run.output;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.Path("out")), {}), 3);

    // The batch configuration, whose name the library would have to cut.
    const std::string cfg(256, 'c');
    run = Pontra("MAP=zielonki.map CFG=" + cfg + " SHPDIR=out ACTION=MAP2SHP");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Has(run.output, refused + cfg)) << run.output;
}

// A journal planted in a folder in the very form a run writes, naming files there with what
// somebody who did not write them can know: the program's three ways of writing there (layers
// into it, the settings beside a shapefile in it, a MAP file into it) leave it and every file it
// names as they were, and say so.
TEST_F(EndToEndTest, AJournalPlantedInAFolderChangesNothingThere) {
    ExportExample();
    const std::string shp = scratch.Path("shp");
    for (const char* name : {"notes.map", "notes.dbf", "notes.cc"})
        WriteFileBytes(shp + "/" + name, name);
    const std::string token = "0123456789abcdef";
    const std::string planted = platform::TemporaryName("notes.map", token, 1);
    WriteFileBytes(shp + "/" + planted, "planted");
    platform::FileIdentity guessed = Seen(shp + "/notes.dbf");
    guessed.nanoseconds = (guessed.nanoseconds + 1) % 1'000'000'000;
    const std::string journal = platform::JournalName(token);
    WriteFileBytes(shp + "/" + journal,
                   platform::JournalHeader(token) +
                       platform::RenamesRecord(
                           {{planted, Seen(shp + "/" + planted), "notes.map", guessed, "", 0},
                            {"", {}, "notes.dbf", guessed, "", 0}}));
    auto snapshot = [&] {
        std::map<std::string, std::string> files;
        for (const std::string& name :
             std::vector<std::string>{"notes.map", "notes.dbf", "notes.cc", planted, journal})
            files[name] = ReadFileBytes(shp + "/" + name);
        return files;
    };
    const auto before = snapshot();
    for (const char* command :
         {"map=zielonki.map cfg=zielonki.ini shpdir=shp action=map2shp",
          "shp=shp/dzialki.shp cfg=zielonki.ini map=dzialki.map action=shp2map",
          "shp=shp/drogi.shp cfg=zielonki.ini map=shp/drogi.map action=shp2map"}) {
        const ProgramRun run = Pontra(command);
        EXPECT_EQ(run.status, 0) << command << run.output;
        EXPECT_TRUE(Has(run.output, journal)) << command << run.output;
        EXPECT_EQ(snapshot(), before) << command;
    }
    EXPECT_TRUE(std::filesystem::exists(shp + "/drogi.map"));
}

// Run in this process, so that the file calls can be replaced: a folder whose entries cannot be
// flushed (network and shared folders refuse to) takes both maps of one command line. A flush
// that fails with an error once the layers are in place is said and counted against the exit
// status, and the next map still goes in; the next run there finds nothing left to do.
TEST_F(EndToEndTest, AFolderThatCannotBeFlushedTakesBothMapsOfOneCommandLine) {
    std::filesystem::copy_file(scratch.Path("zielonki.map"), scratch.Path("druga.map"));
    for (const int error : {EINVAL, EIO}) {
        const std::string out = scratch.Path("out" + std::to_string(error));
        std::filesystem::create_directory(out);
        const int unconfirmed = platform::UnconfirmedFlushes();
        Inject(Fault{Fault::Call::FolderFlush, 0, Fault::Action::Fail, error, true});
        ::testing::internal::CaptureStderr();
        {
            auto app =
                Start({"MAP=" + scratch.Path("zielonki.map"), "CFG=" + scratch.Path("zielonki.ini"),
                       "SHPDIR=" + out, "ACTION=MAP2SHP", "MAP=" + scratch.Path("druga.map")},
                      KESTREL_BIN_DIR "/lib32/Kestrel.so");
            EXPECT_FALSE(app->Form1().FBatchFailed());
        }
        ClearFault();
        const std::string said = ::testing::internal::GetCapturedStderr();
        // Said, and counted for the exit status, only where a flush failed with an error.
        EXPECT_EQ(platform::UnconfirmedFlushes() > unconfirmed, error == EIO) << said;
        EXPECT_EQ(Has(said, out), error == EIO) << said;
        for (const char* layer : {"dzialki", "drogi", "osnowa"})
            EXPECT_TRUE(std::filesystem::exists(out + "/" + layer + ".dbf")) << layer;
        ASSERT_EQ(Pontra("map=druga.map cfg=zielonki.ini shpdir=" + out + " action=map2shp").status,
                  0);
        for (const auto& entry : std::filesystem::directory_iterator(out))
            EXPECT_FALSE(entry.path().filename().string().starts_with(".")) << entry.path();
    }
}
