// A pipe nobody writes to, or a folder, where the program reads a file: refused at once with a
// message naming it, never waited for, and nothing is written in its place. Every run is bounded,
// so that a program that waits fails the test instead of holding it up: the program is killed
// after a while, and what runs in this process runs in a child that an alarm ends.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "ConverterFixture.h"
#include "EndToEndFixture.h"
#include "platform/FileSystem.h"
#include "tests/host/TestHost.h"

namespace {

// Long enough for a run under the sanitizers, short enough for a run that waits to fail soon.
constexpr int kSeconds = 20;

// Runs `work` in a child process, which an alarm ends after kSeconds: its text, with status 0, or
// -1 when it did not end by itself.
ProgramRun InChild(const std::function<std::string()>& work) {
    ProgramRun run;
    int fds[2];
    if (::pipe(fds) != 0) return run;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        ::alarm(kSeconds);
        platform::WriteToDescriptor(fds[1], work());
        ::_exit(0);
    }
    ::close(fds[1]);
    char buffer[4096];
    for (ssize_t got; (got = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        run.output.append(buffer, static_cast<std::size_t>(got));
    ::close(fds[0]);
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid)
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

bool IsPipe(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode);
}

}  // namespace

TEST_F(EndToEndTest, WhatIsNoRegularFileIsRefusedAtOnceAndNamed) {
    // The settings of every row, ending in the section of the conversion settings.
    const std::string registry = ReadFileBytes(scratch.Path("registry.reg"));
    ExportExample();  // shp/: the parcels, copied into the folder of each row that converts back
    for (int i = 1; i <= 8; ++i)
        std::filesystem::create_directory(scratch.Path("out" + std::to_string(i)));
    auto parcels = [&](const std::string& folder) {
        std::filesystem::create_directories(scratch.Path(folder));
        for (const char* ext : {".shp", ".shx", ".dbf"})
            std::filesystem::copy_file(scratch.Path("shp/dzialki") + ext,
                                       scratch.Path(folder + "/dzialki") + ext);
    };
    auto settings = [&](const std::string& values) {
        WriteFileBytes(scratch.Path("registry.reg"), registry + values);
    };
    auto batch = [&](const std::string& arguments) {
        return [this, arguments] { return Pontra(arguments, kPontra, kSeconds); };
    };
    // The program in a folder of its own, beside a pipe in the geoid table's place; the plug-in
    // library is the one built.
    const std::string alone = scratch.Path("alone");
    std::filesystem::create_directory(alone);
    std::filesystem::copy_file(kPontra, alone + "/pontra");
    std::filesystem::create_directory_symlink(KESTREL_BIN_DIR "/lib32", alone + "/lib32");
    // A list of layers opened by the multi-layer object, as the host program opens one.
    auto layerList = [this] {
        return InChild([this] {
            ::setenv("KESTREL_REGISTRY_FILE", scratch.Path("registry.reg").c_str(), 1);
            const testhost::KestrelLibrary library;
            boxes->ClearMessages();
            const testhost::ServerObject object = library.NewKWZMLObject();
            forms->QueueFiles({scratch.Path("warstwy.spr")});
            object.Call<bool>(0);  // add layers
            std::string said;
            for (const std::string& text : MessageTexts()) said += text + "\n";
            return said;
        });
    };
    const std::string cfgWithDatabase = ReadFileBytes(scratch.Path("zielonki.ini")) +
                                        "\r\n[1001]\r\n!EXTERNALTABLE=baza.mdb!T!ID=$A1\r\n";

    const struct {
        std::string place;  // what stands where the file is read: a pipe unless it ends in '/'
        std::function<void()> prepare;
        std::function<ProgramRun()> run;
        int status;
        std::string message;
        std::string notWritten;  // a file the refusal leaves unwritten
    } rows[] = {
        {"potok.map", [] {}, batch("MAP=potok.map CFG=zielonki.ini SHPDIR=out1 ACTION=MAP2SHP"), 1,
         "Plik potok.map nie jest zwykłym plikiem", "out1/dzialki.shp"},
        {"folder.map/", [] {}, batch("MAP=folder.map CFG=zielonki.ini SHPDIR=out2 ACTION=MAP2SHP"),
         1, "Plik folder.map nie jest zwykłym plikiem", "out2/dzialki.shp"},
        // A configuration that cannot be read gives the defaults: layers named by their codes.
        {"potok.ini", [] {}, batch("MAP=zielonki.map CFG=potok.ini SHPDIR=out3 ACTION=MAP2SHP"), 0,
         "Plik konfiguracji potok.ini nie jest zwykłym plikiem - przyjęto ustawienia domyślne",
         "out3/dzialki.shp"},
        {"folder.ini/", [] {}, batch("MAP=zielonki.map CFG=folder.ini SHPDIR=out4 ACTION=MAP2SHP"),
         0, "Plik konfiguracji folder.ini nie jest zwykłym plikiem - przyjęto ustawienia domyślne",
         "out4/dzialki.shp"},
        {"potok.sym",
         [&] { settings("\"KorzystajZSym\"=dword:00000001\r\n\"PlikSym\"=\"potok.sym\"\r\n"); },
         batch("MAP=zielonki.map CFG=zielonki.ini SHPDIR=out5 ACTION=MAP2SHP"), 1,
         "Plik potok.sym nie jest zwykłym plikiem", "out5/dzialki.shp"},
        // The layer is written; its style file is not.
        {"out6/dzialki.tpi", [] {},
         batch("MAP=zielonki.map CFG=zielonki.ini SHPDIR=out6 ACTION=MAP2SHP"), 0,
         "Plik stylu " + scratch.Path("out6/dzialki.tpi") + " nie jest zwykłym plikiem", ""},
        {"baza.mdb", [&] { WriteFileBytes(scratch.Path("baza.ini"), cfgWithDatabase); },
         batch("MAP=zielonki.map CFG=baza.ini SHPDIR=out7 ACTION=MAP2SHP"), 0,
         "Plik bazy danych baza.mdb nie jest zwykłym plikiem", ""},
        {"alone/geoida.bin", [] {},
         [&] {
             return Pontra("MAP=zielonki.map CFG=zielonki.ini SHPDIR=out8 ACTION=MAP2SHP",
                           alone + "/pontra", kSeconds);
         },
         0, "Plik parametrów geoidy nie jest zwykłym plikiem !\n" + alone + "/geoida.bin", ""},
        {"potok.shp", [] {}, batch("SHP=potok.shp CFG=zielonki.ini MAP=potok.map ACTION=SHP2MAP"),
         1, "Plik potok.shp nie jest zwykłym plikiem: nie wczytano go", ""},
        {"r1/dzialki.shx",
         [&] {
             parcels("r1");
             std::filesystem::remove(scratch.Path("r1/dzialki.shx"));
         },
         batch("SHP=r1/dzialki.shp CFG=zielonki.ini MAP=r1.map ACTION=SHP2MAP"), 1,
         "Plik r1/dzialki.shx nie jest zwykłym plikiem: nie wczytano go", "r1.map"},
        {"r2/dzialki.dbf",
         [&] {
             parcels("r2");
             std::filesystem::remove(scratch.Path("r2/dzialki.dbf"));
         },
         batch("SHP=r2/dzialki.shp CFG=zielonki.ini MAP=r2.map ACTION=SHP2MAP"), 1,
         "Tabela r2/dzialki.dbf nie jest zwykłym plikiem: nie zapisano pliku r2.map", "r2.map"},
        // The map is written without the style beside the shapefile.
        {"r3/dzialki.tpi", [&] { parcels("r3"); },
         batch("SHP=r3/dzialki.shp CFG=zielonki.ini MAP=r3.map ACTION=SHP2MAP"), 0,
         "Plik stylu " + scratch.Path("r3/dzialki.tpi") + " nie jest zwykłym plikiem", ""},
        // The settings beside the shapefile: written with the map by default, read with it when
        // the settings say so.
        {"r4/dzialki.cc", [&] { parcels("r4"); },
         batch("SHP=r4/dzialki.shp CFG=zielonki.ini MAP=r4.map ACTION=SHP2MAP"), 1,
         "Plik ustawień r4/dzialki.cc nie jest zwykłym plikiem", "r4.map"},
        {"r5/dzialki.cc",
         [&] {
             parcels("r5");
             settings("\"INI\"=dword:00000001\r\n");
         },
         batch("SHP=r5/dzialki.shp CFG=zielonki.ini MAP=r5.map ACTION=SHP2MAP"), 0,
         "Plik ustawień r5/dzialki.cc nie jest zwykłym plikiem", ""},
        {"warstwy.spr", [] {}, layerList, 0,
         "Lista warstw " + scratch.Path("warstwy.spr") + " nie jest zwykłym plikiem", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.place);
        WriteFileBytes(scratch.Path("registry.reg"), registry);
        row.prepare();
        const bool folder = row.place.back() == '/';
        const std::string place = scratch.Path(row.place);
        if (folder) {
            std::filesystem::create_directory(place);
        } else {
            ASSERT_EQ(::mkfifo(place.c_str(), 0600), 0);
        }
        const ProgramRun run = row.run();
        EXPECT_EQ(run.status, row.status) << run.output;
        EXPECT_TRUE(Has(run.output, row.message)) << run.output;
        EXPECT_FALSE(Has(run.output, "Brak pliku")) << run.output;
        // Nothing took the place of the pipe or the folder, and nothing was written after the
        // refusal.
        EXPECT_TRUE(folder ? std::filesystem::is_directory(place) : IsPipe(place));
        if (!row.notWritten.empty()) {
            EXPECT_FALSE(std::filesystem::exists(scratch.Path(row.notWritten)));
        }
    }
}
