#include "platform/Registry.h"

#include "FaultyCalls.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using namespace std::string_literals;

using namespace platform;
namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

// Points the registry at a fresh file in a temporary folder for the length of a test.
class RegistryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const char* old = std::getenv("KESTREL_REGISTRY_FILE")) saved_ = old;
        dir_ = fs::temp_directory_path() /
               ("kestrel-reg-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        file_ = dir_ / "registry.reg";
        ::setenv("KESTREL_REGISTRY_FILE", file_.c_str(), 1);
    }
    void TearDown() override {
        if (saved_) {
            ::setenv("KESTREL_REGISTRY_FILE", saved_->c_str(), 1);
        } else {
            ::unsetenv("KESTREL_REGISTRY_FILE");
        }
        fs::remove_all(dir_);
    }
    std::size_t FilesInDir() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
    }

    fs::path dir_, file_;
    std::optional<std::string> saved_;
};

}  // namespace

TEST_F(RegistryTest, ValuesRoundTripThroughTheFile) {
    RegistryKey key;
    ASSERT_TRUE(key.OpenKey("Software\\Lumatek\\tpserver\\arcview\\konwersja", true));
    const std::string text = "C:\\mapy\\\"\xA3\xF3\x64\x9F\"\nline2";
    EXPECT_TRUE(key.WriteDword("Point", 1000));
    EXPECT_TRUE(key.WriteDword("Max", 0xFFFFFFFF));
    EXPECT_TRUE(key.WriteString("PlikSym", text));
    EXPECT_TRUE(key.WriteString("", "default"));
    key.CloseKey();
    EXPECT_FALSE(key.ReadDword("Point"));  // closed

    RegistryKey again;  // a new key reads what the file holds; names ignore case
    ASSERT_TRUE(again.OpenKey("SOFTWARE\\lumatek\\TPSERVER\\ArcView\\Konwersja", false));
    EXPECT_EQ(again.ReadDword("point"), 1000u);
    EXPECT_EQ(again.ReadDword("MAX"), 0xFFFFFFFFu);
    EXPECT_EQ(again.ReadString("pliksym"), text);
    EXPECT_EQ(again.ReadString(""), "default");
    EXPECT_EQ(again.GetDataType("Point"), RegValueType::Dword);
    EXPECT_EQ(again.GetDataType("Nothing"), RegValueType::None);
    EXPECT_FALSE(again.ReadString("Point"));  // wrong type reads as missing
    EXPECT_FALSE(again.ReadDword("PlikSym"));

    EXPECT_TRUE(again.WriteDword("POINT", 1001));  // replaces, keeps the first spelling
    const std::string file = ReadFile(file_);
    EXPECT_EQ(file.rfind("REGEDIT4\n", 0), 0u);
    EXPECT_NE(file.find("[HKEY_CURRENT_USER\\Software\\Lumatek\\tpserver\\arcview\\konwersja]\n"
                        "\"Point\"=dword:000003e9\n"),
              std::string::npos);
    EXPECT_EQ(FilesInDir(), 1u);  // no temporary file left behind
}

// The file is replaced as every file is: through a link where it leads, keeping its
// permissions, leaving nothing beside it.
TEST_F(RegistryTest, ALinkedFileIsReplacedWhereItLeadsWithItsPermissions) {
    fs::create_directories(dir_ / "real");
    const fs::path real = dir_ / "real" / "settings.reg";
    WriteFile(real, "REGEDIT4\n");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(real, file_);
    RegistryKey key;
    ASSERT_TRUE(key.OpenKey("Software\\Lumatek", true));
    EXPECT_TRUE(key.WriteDword("A", 1));
    EXPECT_TRUE(fs::is_symlink(file_));
    EXPECT_NE(ReadFile(real).find("\"A\"=dword:00000001"), std::string::npos);
    EXPECT_EQ(fs::status(real).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(FilesInDir(), 2u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "real"), fs::directory_iterator()), 1);
}

// A read-only file is read and left as it is, also when root runs the program (as CI does); the
// run says once that it saved nothing.
TEST_F(RegistryTest, AReadOnlyFileIsReadAndKeptWithOneNotice) {
    const std::string text = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\A]\n\"N\"=dword:00000007\n";
    using fs::perms;
    const std::pair<perms, const char*> files[] = {
        {perms::owner_read, "owner.reg"},
        {perms::owner_read | perms::group_read | perms::others_read, "everyone.reg"},
    };
    for (const auto& [mode, name] : files) {
        SCOPED_TRACE(name);
        file_ = dir_ / name;
        ::setenv("KESTREL_REGISTRY_FILE", file_.c_str(), 1);
        WriteFile(file_, text);
        fs::permissions(file_, mode);
        RegistryKey key;
        testing::internal::CaptureStderr();
        ASSERT_TRUE(key.OpenKey("Software\\A", true));
        EXPECT_EQ(key.ReadDword("N"), 7u);
        EXPECT_FALSE(key.WriteDword("N", 8));
        EXPECT_FALSE(key.WriteDword("M", 1));
        EXPECT_FALSE(key.OpenKey("Software\\B", true));
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "kestrel: plik ustawień " + file_.string() +
                      " nie daje się zapisać; ustawienia nie zostały zapisane\n");
        EXPECT_EQ(ReadFile(file_), text);
        EXPECT_EQ(FilesInDir(), 1u);
        fs::remove(file_);
    }
}

// A disk that confirms nothing: the settings are not saved, and said so once, with nothing left
// beside them. One that confirms the file but not the folder afterwards: they are saved, and the
// notice says only that the folder was not confirmed.
TEST_F(RegistryTest, FlushesThatFailAreToldAsTheyAre) {
    for (const bool onlyAfter : {false, true}) {
        RegistryKey key;
        ASSERT_TRUE(key.OpenKey("Software\\A", true));
        int folderFlushes = 0;
        Inject(Meddling(Fault::Call::Any, EIO, [&](Fault::Call call, const std::string&) {
            if (call == Fault::Call::FolderFlush) ++folderFlushes;
            if (onlyAfter) return call == Fault::Call::FolderFlush && folderFlushes > 1;
            return call == Fault::Call::FolderFlush || call == Fault::Call::FileFlush;
        }));
        testing::internal::CaptureStderr();
        const bool written = key.WriteDword(onlyAfter ? "Later" : "First", 5);
        ClearFault();
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(written, onlyAfter);
        EXPECT_EQ(said.find("nie zostały zapisane") != std::string::npos, !onlyAfter) << said;
        EXPECT_EQ(said.find(dir_.string() + "\n") != std::string::npos, onlyAfter) << said;
        EXPECT_EQ(ReadFile(file_).find("Later") != std::string::npos, onlyAfter);
        // The next save finds the folder in order.
        EXPECT_TRUE(key.WriteDword("Next", 1));
        EXPECT_EQ(FilesInDir(), 1u) << onlyAfter;
    }
}

TEST_F(RegistryTest, KeysOpenOnlyWhenTheyExistUnlessCreated) {
    // A fresh machine's configuration folder does not exist yet.
    file_ = dir_ / "config" / "kestrel" / "registry.reg";
    ::setenv("KESTREL_REGISTRY_FILE", file_.c_str(), 1);
    RegistryKey key;
    EXPECT_FALSE(key.OpenKey("Software\\Lumatek", false));
    EXPECT_FALSE(fs::exists(dir_ / "config"));  // a failed open writes nothing
    ASSERT_TRUE(key.OpenKey("Software\\Lumatek\\Pixora\\Folder", true));
    EXPECT_TRUE(fs::exists(file_));
    EXPECT_TRUE(key.OpenKey("software\\LUMATEK", false));  // a parent of a stored key
    EXPECT_TRUE(key.OpenKey("\\Software\\Lumatek\\", false));
    EXPECT_FALSE(key.OpenKey("Software\\\\Lumatek", true));
    EXPECT_FALSE(key.OpenKey("Software\nX", true));
    EXPECT_FALSE(key.IsOpen());
    EXPECT_FALSE(key.WriteDword("x", 1));
}

TEST_F(RegistryTest, AFileThatIsNotARegistryIsNeitherReadNorReplaced) {
    const std::string garbage = "my thesis\nchapter 1\n\0\x01\x02 binary"s;
    WriteFile(file_, garbage);
    RegistryKey key;
    EXPECT_FALSE(key.OpenKey("Software\\Lumatek", true));
    EXPECT_FALSE(key.OpenKey("", false));
    EXPECT_FALSE(key.WriteString("x", "y"));
    EXPECT_EQ(ReadFile(file_), garbage);
    EXPECT_EQ(FilesInDir(), 1u);
}

TEST_F(RegistryTest, DamagedLinesSurviveARewrite) {
    const std::string damaged =
        "REGEDIT4\n"
        "; comment before the keys\n"
        "[HKEY_CURRENT_USER\\Software\\A]\n"
        "\"Good\"=dword:00000007\n"
        "\"Bad\"=dword:xyz\n"
        "garbled line\n"
        "\"Bin\"=hex:01,02,\\\n"
        "  03,04\n"
        "[HKEY_LOCAL_MACHINE\\Software\\A]\n"
        "\"Machine\"=dword:00000001\n"
        "[HKEY_CURRENT_USER\\Software\\B\n"
        "\"Lost\"=\"header broken\"\n"
        "[HKEY_CURRENT_USER\\Software\\C]\n"
        "\"Trunc";  // a file cut off in the middle of a line
    WriteFile(file_, damaged);
    RegistryKey key;
    ASSERT_TRUE(key.OpenKey("Software\\A", false));
    EXPECT_EQ(key.ReadDword("Good"), 7u);
    EXPECT_EQ(key.GetDataType("Bad"), RegValueType::Other);
    EXPECT_EQ(key.GetDataType("Bin"), RegValueType::Other);
    EXPECT_FALSE(key.OpenKey("Software\\B", false));  // its header cannot be read

    ASSERT_TRUE(key.OpenKey("Software\\C", true));
    EXPECT_TRUE(key.WriteString("New", "value"));
    const std::string rewritten = ReadFile(file_);
    for (const char* kept :
         {"; comment before the keys", "\"Good\"=dword:00000007", "\"Bad\"=dword:xyz",
          "garbled line", "\"Bin\"=hex:01,02,\\", "  03,04", "[HKEY_LOCAL_MACHINE\\Software\\A]",
          "\"Machine\"=dword:00000001", "[HKEY_CURRENT_USER\\Software\\B",
          "\"Lost\"=\"header broken\"", "\"Trunc", "\"New\"=\"value\""}) {
        EXPECT_NE(rewritten.find(kept), std::string::npos) << kept;
    }
    // A value of an unused type is replaced when written.
    ASSERT_TRUE(key.OpenKey("Software\\A", false));
    EXPECT_TRUE(key.WriteDword("Bad", 3));
    EXPECT_EQ(key.ReadDword("Bad"), 3u);
}

TEST_F(RegistryTest, AnUnreadableFileFailsWithoutDamage) {
    fs::create_directories(file_);  // a folder where the file should be
    RegistryKey key;
    EXPECT_FALSE(key.OpenKey("Software", true));
    EXPECT_TRUE(fs::is_directory(file_));

    fs::remove(file_);
    ASSERT_EQ(::mkfifo(file_.c_str(), 0600), 0);  // a pipe nobody writes to: never waited for
    EXPECT_FALSE(key.OpenKey("Software", true));
    EXPECT_TRUE(fs::is_fifo(file_));

    fs::remove(file_);
    const std::string huge = "REGEDIT4\n" + std::string(5 * 1024 * 1024, ';');
    WriteFile(file_, huge);  // far beyond any registry of the system: not read, not replaced
    EXPECT_FALSE(key.OpenKey("Software", true));
    EXPECT_EQ(fs::file_size(file_), huge.size());

    WriteFile(file_, "");  // an empty file is an empty registry
    EXPECT_TRUE(key.OpenKey("Software", true));
    EXPECT_TRUE(key.WriteDword("x", 1));
}

TEST(RegistryFilePath, EnvironmentChoosesThePlace) {
    std::vector<std::pair<const char*, std::optional<std::string>>> saved;
    for (const char* name : {"KESTREL_REGISTRY_FILE", "XDG_CONFIG_HOME", "HOME"}) {
        const char* value = std::getenv(name);
        saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }
    ::setenv("KESTREL_REGISTRY_FILE", "/tmp/x.reg", 1);
    ::setenv("XDG_CONFIG_HOME", "/tmp/cfg", 1);
    EXPECT_EQ(RegistryFilePath(), fs::path("/tmp/x.reg"));
    ::unsetenv("KESTREL_REGISTRY_FILE");
    EXPECT_EQ(RegistryFilePath(), fs::path("/tmp/cfg/kestrel/registry.reg"));
    ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("HOME", "/home/ala", 1);
    EXPECT_EQ(RegistryFilePath(), fs::path("/home/ala/.config/kestrel/registry.reg"));
    for (const auto& [name, value] : saved) {
        if (value) {
            ::setenv(name, value->c_str(), 1);
        } else {
            ::unsetenv(name);
        }
    }
}

TEST(RegistryDocument, FormatIsStableAndMergesDuplicates) {
    const auto doc = RegistryDocument::Parse(
        "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n"
        "[hkey_current_user\\K]\r\n\"a\"=\"1\"\r\n  \"B\" = dword:2A \r\n"
        "[HKEY_CURRENT_USER\\k]\r\n\"A\"=\"2\"\r\n@=\"d\\x09\"\r\n");
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->ValueCount(), 3u);
    EXPECT_EQ(doc->FindValue("K", "a")->text, "2");  // the later one wins
    EXPECT_EQ(doc->FindValue("K", "b")->dword, 42u);
    EXPECT_EQ(doc->FindValue("k", "")->text, "d\t");
    const std::string once = doc->Format();
    EXPECT_EQ(once,
              "Windows Registry Editor Version 5.00\n\n"
              "[HKEY_CURRENT_USER\\K]\n\"a\"=\"2\"\n\"B\"=dword:0000002a\n@=\"d\\x09\"\n\n");
    EXPECT_EQ(RegistryDocument::Parse(once)->Format(), once);
    EXPECT_FALSE(RegistryDocument::Parse("[HKEY_CURRENT_USER\\K]\n"));  // no header
    EXPECT_TRUE(RegistryDocument::Parse("\n \n"));                      // blank: empty
}
