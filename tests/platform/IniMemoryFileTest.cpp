#include "platform/IniMemoryFile.h"

#include <gtest/gtest.h>

#include "platform/Cp1250.h"
#include "tests/platform/ScratchFolder.h"

using namespace platform;

TEST(IniMemoryFile, KeepsTheLinesOfASectionInFileOrder) {
    const std::string text = Utf8ToCp1250(
        "stray=before any section\r\n"
        "[OPCJE]\r\n"
        "TPID = 0\r\n"
        "PL=2\r\n"
        "[1000]\r\n"
        "; a comment\r\n"
        "\r\n"
        "  NAZWA = !C40:0$A1#32$A2  \r\n"
        "!EXTERNALTABLE=/data/baza.mdb!Klienci!ID=$A2\n"
        "line without equals\r"
        "ULICA=$TXT.ULICA\r\n"
        "[Warstwy]\r\n"
        "1000=Punkty kontrolne\r\n"
        "[1000]\r\n"
        "ŁĄKA=!C10\r\n");
    IniMemoryFile ini = IniMemoryFile::FromText(text);
    EXPECT_EQ(ini.ReadSectionValues("1000"),
              (std::vector<std::string>{
                  "NAZWA=!C40:0$A1#32$A2", "!EXTERNALTABLE=/data/baza.mdb!Klienci!ID=$A2",
                  "line without equals", "ULICA=$TXT.ULICA", Utf8ToCp1250("ŁĄKA=!C10")}));
    EXPECT_EQ(ini.ReadInteger("opcje", "tpid", 1), 0);
    EXPECT_EQ(ini.ReadInteger("OPCJE", "PL", 3), 2);
    EXPECT_EQ(ini.ReadInteger("OPCJE", "missing", 3), 3);
    EXPECT_EQ(ini.ReadString("WARSTWY", "1000", "1000"), "Punkty kontrolne");
    EXPECT_EQ(ini.ReadString("WARSTWY", "2000", "2000"), "2000");
    EXPECT_EQ(ini.ReadString("1000", Utf8ToCp1250("łąka"), ""), "!C10");
    EXPECT_TRUE(ini.SectionExists("warstwy"));
    EXPECT_FALSE(ini.SectionExists("ZAMIANA"));
    EXPECT_TRUE(ini.ReadSectionValues("ZAMIANA").empty());
    EXPECT_EQ(ini.ReadString("", "stray", "d"), "d");
}

TEST(IniMemoryFile, ReadsAFileOnceAndMissingFilesAreEmpty) {
    ScratchFolder folder;
    const std::string name = folder.Path("batch.ini");
    WriteBytes(name, "[ZAMIANA]\n5101=5102\n");
    IniMemoryFile ini(name);
    WriteBytes(name, "[ZAMIANA]\n5101=9999\n");
    EXPECT_EQ(ini.ReadString("ZAMIANA", "5101", "5101"), "5102");
    IniMemoryFile missing(folder.Path("none.ini"));
    EXPECT_FALSE(missing.SectionExists("ZAMIANA"));
    EXPECT_EQ(missing.ReadString("ZAMIANA", "5101", "5101"), "5101");
    IniMemoryFile onFolder(folder.Path());
    EXPECT_FALSE(onFolder.SectionExists("ZAMIANA"));
}

TEST(IniMemoryFile, BadInputGivesDefaultsWithoutCrashing) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage.push_back(static_cast<char>((i * 97 + 13) % 256));
    IniMemoryFile g = IniMemoryFile::FromText(garbage);
    EXPECT_EQ(g.ReadInteger("OPCJE", "TPID", 1), 1);

    const std::string longValue(100000, 'x');
    IniMemoryFile l = IniMemoryFile::FromText("[S]\nk=" + longValue + "\n[" +
                                              std::string(100000, 'y') + "\nn=12abc\n");
    EXPECT_EQ(l.ReadString("S", "k", ""), longValue);
    EXPECT_EQ(l.ReadInteger("S", "n", 4), 4);  // the unclosed '[' line is a plain line of S

    IniMemoryFile n = IniMemoryFile::FromText(std::string("[S\0]\nk\0=1\n[T]\nk=2\n", 18));
    EXPECT_EQ(n.ReadInteger("T", "k", 0), 2);
    EXPECT_EQ(n.ReadInteger("S", "k", 0), 0);
    EXPECT_EQ(n.ReadString(std::string("S\0", 2), std::string("k\0", 2), "d"), "1");

    IniMemoryFile empty = IniMemoryFile::FromText("[]\n=\n[ ]\n");
    EXPECT_EQ(empty.ReadSectionValues(""), (std::vector<std::string>{"="}));
}
