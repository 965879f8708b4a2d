#include "platform/IniFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/Cp1250.h"
#include "platform/IniProfileText.h"
#include "tests/platform/ScratchFolder.h"

using namespace platform;

namespace {

std::string Read(std::string_view text, std::string_view section, std::string_view key) {
    return IniProfileRead(text, section, key).value_or("<none>");
}

std::string Write(std::string_view text, std::string_view section, std::string_view key,
                  std::string_view value) {
    return IniProfileWrite(text, section, key, value).value_or("<refused>");
}

}  // namespace

TEST(IniProfileText, ReadsKeysAsWindowsDoes) {
    const std::string text = Utf8ToCp1250(
        "orphan=before any section\r\n"
        "[Punkt]\r\n"
        "; Kolor=comment\r\n"
        "  Zestaw =  Wingdings  \r\n"
        "Wielkość=12\r\n"
        "Kod=\"x\"\r\n"
        "Quote='\r\n"
        "NoEquals\r\n"
        "Zestaw=second\r\n"
        "[ Linia ]\n"
        "Styl=2\r"
        "[punkt]\r\n"
        "Kolor=ignored, only the first section counts\r\n");
    EXPECT_EQ(Read(text, "PUNKT", "zestaw"), "Wingdings");
    EXPECT_EQ(Read(text, "Punkt", Utf8ToCp1250("WIELKOŚĆ")), "12");
    EXPECT_EQ(Read(text, "Punkt", "Kod"), "x");
    EXPECT_EQ(Read(text, "Punkt", "Quote"), "'");
    EXPECT_EQ(Read(text, "Punkt", "Kolor"), "<none>");
    EXPECT_EQ(Read(text, "Punkt", "NoEquals"), "<none>");
    EXPECT_EQ(Read(text, "Linia", "Styl"), "2");
    EXPECT_EQ(Read(text, "Brak", "Styl"), "<none>");
    EXPECT_EQ(Read(text, "", "orphan"), "<none>");
    EXPECT_TRUE(IniProfileHasSection(text, "LINIA"));
    EXPECT_FALSE(IniProfileHasSection(text, "Powierzchnia"));
}

TEST(IniProfileText, WriteChangesOnlyItsKey) {
    const std::string text =
        "; style of a layer\r\n"
        "[Punkt]\r\n"
        "  Zestaw = Arial ; old\r\n"
        "Kolor=255\r\n"
        "\r\n"
        "[Linia]\r\n"
        "Styl=1\r\n";
    // An existing key is rewritten in place, its spelling and line end kept.
    EXPECT_EQ(Write(text, "punkt", "ZESTAW", "Wingdings"),
              "; style of a layer\r\n[Punkt]\r\n  Zestaw =Wingdings\r\nKolor=255\r\n\r\n"
              "[Linia]\r\nStyl=1\r\n");
    // A new key goes after the last line of its section, before the blank line.
    EXPECT_EQ(Write(text, "Punkt", "Kod", "#"),
              "; style of a layer\r\n[Punkt]\r\n  Zestaw = Arial ; old\r\nKolor=255\r\nKod=#\r\n"
              "\r\n[Linia]\r\nStyl=1\r\n");
    // A new section goes at the end.
    EXPECT_EQ(Write(text, "Widok", "Etykiety", "1"), text + "[Widok]\r\nEtykiety=1\r\n");
    // LF files get LF lines; a last line without its end gets one first.
    EXPECT_EQ(Write("[A]\nx=1", "A", "y", "2"), "[A]\nx=1\ny=2\n");
    EXPECT_EQ(Write("[A]\nx=1", "B", "y", "2"), "[A]\nx=1\n[B]\ny=2\n");
    EXPECT_EQ(Write("", "General", "KNW", "1"), "[General]\r\nKNW=1\r\n");
    // Windows-1250 bytes go through unchanged.
    const std::string polish = Utf8ToCp1250("Łódź");
    EXPECT_EQ(Read(Write(text, "Punkt", "Zestaw", polish), "Punkt", "Zestaw"), polish);
}

TEST(IniProfileText, WriteRefusesWhatCannotStandInALine) {
    EXPECT_EQ(Write("", "", "k", "v"), "<refused>");
    EXPECT_EQ(Write("", "s", " ", "v"), "<refused>");
    EXPECT_EQ(Write("", "s", "k", "line\r\nbreak"), "<refused>");
    EXPECT_EQ(Write("", "s]", "k", "v"), "<refused>");
    EXPECT_EQ(Write("", "s", "a=b", "v"), "<refused>");
    EXPECT_EQ(Write("", "s", ";k", "v"), "<refused>");
    EXPECT_EQ(Write("", "s", "[k", "v"), "<refused>");
    EXPECT_EQ(Write("", "s", "k", std::string("nul\0here", 8)), "<refused>");
}

TEST(IniProfileText, BadInputGivesDefaultsWithoutCrashing) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage.push_back(static_cast<char>((i * 131 + 7) % 256));
    EXPECT_EQ(Read(garbage, "Punkt", "Kolor"), "<none>");
    std::string nul("[S]\nk\0ey=1\nkey=2\n", 17);
    EXPECT_EQ(Read(nul, "S", "key"), "2");
    const std::string longLine =
        "[S]\nkey=" + std::string(100000, 'v') + "\n" + std::string(100000, '[') + "\nother=1\n";
    EXPECT_EQ(Read(longLine, "S", "key").size(), 100000u);
    EXPECT_EQ(Read(longLine, "S", "other"), "<none>");  // the long '[' line opened a section
    EXPECT_EQ(Read("[S", "S", "k"), "<none>");
    EXPECT_EQ(Read("[S]\n=v\n", "S", ""), "<none>");
}

TEST(IniFile, ReadsAndWritesAFileThroughATemporaryFile) {
    ScratchFolder folder;
    const std::string name = folder.Path("drogi.cc");
    IniFile ini(name);
    EXPECT_EQ(ini.ReadString("General", "KNW", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadInteger("General", "KNW", 7), 7);
    EXPECT_FALSE(ini.SectionExists("General"));

    ASSERT_TRUE(ini.WriteInteger("General", "KNW", 1));
    ASSERT_TRUE(ini.WriteString("General", "Point", " 1200 "));
    ASSERT_TRUE(ini.WriteString("BTAPAR0", "ATR", "bad number"));
    ASSERT_TRUE(ini.WriteInteger("BTAPAR0", "NR", -3));
    EXPECT_EQ(ReadBytes(name),
              "[General]\r\nKNW=1\r\nPoint= 1200 \r\n[BTAPAR0]\r\nATR=bad number\r\nNR=-3\r\n");
    EXPECT_EQ(ini.ReadInteger("general", "point", 0), 1200);
    EXPECT_EQ(ini.ReadInteger("BTAPAR0", "NR", 0), -3);
    EXPECT_EQ(ini.ReadInteger("BTAPAR0", "ATR", 5), 5);
    EXPECT_TRUE(ini.SectionExists("btapar0"));

    // The old content is kept around the written key; no temporary file stays behind.
    WriteBytes(name, "; kept\n[General]\nKNW=0\nextra line\n");
    ASSERT_TRUE(ini.WriteString("General", "KNW", "1"));
    EXPECT_EQ(ReadBytes(name), "; kept\n[General]\nKNW=1\nextra line\n");
    int files = 0;
    for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(folder.Path())) ++files;
    EXPECT_EQ(files, 1);

    // The file keeps its permissions.
    ::chmod(name.c_str(), 0600);
    ASSERT_TRUE(ini.WriteString("General", "U45", "0"));
    struct stat info {};
    ASSERT_EQ(::stat(name.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST(IniFile, ManyKeysAreWrittenAllOrNone) {
    ScratchFolder folder;
    const std::string name = folder.Path("dzialki.cc");
    WriteBytes(name, "; kept\r\n[General]\r\nKNW=0\r\n");
    IniFile ini(name);
    ASSERT_TRUE(ini.WriteStrings(
        {{"General", "KNW", "1"}, {"General", "U45", "0"}, {"Link", "TXTLink", "1"}}));
    EXPECT_EQ(ReadBytes(name), "; kept\r\n[General]\r\nKNW=1\r\nU45=0\r\n[Link]\r\nTXTLink=1\r\n");

    // One key that cannot stand in a line refuses the whole set; the file stays as it was.
    const std::string before = ReadBytes(name);
    EXPECT_FALSE(ini.WriteStrings({{"General", "KNW", "0"}, {"General", "bad=key", "1"}}));
    EXPECT_EQ(ReadBytes(name), before);

    // A new file gets what the keys written one by one would give it.
    const std::vector<IniWrite> writes = {{" Punkt ", "Kod", "{"},
                                          {"Linia", " Styl ", "0"},
                                          {"PUNKT", "kod", " }"},
                                          {"Punkt", "Kolor", "255"},
                                          {"linia", "Kolor", "8"}};
    IniFile together(folder.Path("together.tpi"));
    IniFile oneByOne(folder.Path("one-by-one.tpi"));
    ASSERT_TRUE(together.WriteStrings(writes));
    for (const IniWrite& w : writes) ASSERT_TRUE(oneByOne.WriteString(w.section, w.key, w.value));
    EXPECT_EQ(ReadBytes(folder.Path("together.tpi")), ReadBytes(folder.Path("one-by-one.tpi")));
    EXPECT_FALSE(together.WriteStrings({{"A", "k", "v"}, {"A", "[k", "v"}}, true));
}

TEST(IniFile, UnusableFilesGiveDefaultsAndLoseNothing) {
    ScratchFolder folder;
    // A folder in place of the file: reads give defaults, writes fail, the folder stays.
    const std::string dir = folder.Path("style.tpi");
    std::filesystem::create_directory(dir);
    IniFile onDir(dir);
    EXPECT_EQ(onDir.ReadString("Punkt", "Kod", "d"), "d");
    EXPECT_FALSE(onDir.WriteString("Punkt", "Kod", "x"));
    EXPECT_TRUE(std::filesystem::is_directory(dir));
    // A missing folder: the write fails.
    EXPECT_FALSE(IniFile(folder.Path("missing/x.tpi")).WriteString("Punkt", "Kod", "x"));
    // A refused value leaves the file as it was.
    const std::string name = folder.Path("x.tpi");
    WriteBytes(name, "[Punkt]\r\nKod=a\r\n");
    EXPECT_FALSE(IniFile(name).WriteString("Punkt", "Kod", "a\nb"));
    EXPECT_EQ(ReadBytes(name), "[Punkt]\r\nKod=a\r\n");
    // A file larger than any profile file is not read and not replaced.
    const std::string big = folder.Path("big.ini");
    WriteBytes(big, "[S]\nk=v\n" + std::string(IniFile::kMaxFileSize, ';'));
    EXPECT_EQ(IniFile(big).ReadString("S", "k", "d"), "d");
    EXPECT_FALSE(IniFile(big).WriteString("S", "k", "w"));
    EXPECT_EQ(std::filesystem::file_size(big), IniFile::kMaxFileSize + 8);
}
