#include "platform/FileSystem.h"
#include "platform/SystemInfo.h"

#include <gtest/gtest.h>

#include "platform/StringResources.h"
#include "tests/platform/TempFolder.h"

using namespace platform;

TEST(SystemInfo, DateAndTimePictures) {
    std::tm t{};
    t.tm_year = 2024 - 1900;
    t.tm_mon = 2;
    t.tm_mday = 5;
    t.tm_hour = 14;
    t.tm_min = 7;
    t.tm_sec = 9;
    EXPECT_EQ(FormatDateTime("dd.MM.yyyy", t), "05.03.2024");
    EXPECT_EQ(FormatDateTime("HH:mm:ss", t), "14:07:09");
    EXPECT_EQ(FormatDateTime("d/M/yy h:m 'godz.'", t), "5/3/24 2:7 godz.");
    EXPECT_EQ(ShortDateFormat(), "dd.MM.yyyy");
    EXPECT_EQ(LongTimeFormat(), "HH:mm:ss");
    SetShortDateFormat("yyyy-MM-dd");
    const std::string now = CurrentDateTimeText();
    SetShortDateFormat("dd.MM.yyyy");
    ASSERT_EQ(now.size(), 19u);
    EXPECT_EQ(now[4], '-');
    EXPECT_EQ(now[13], ':');
}

TEST(SystemInfo, UserAndFolders) {
    EXPECT_FALSE(GetUserName().empty());
    TempFolder dir;
    EXPECT_TRUE(DirectoryExists(dir.Path()));
    EXPECT_FALSE(DirectoryExists(dir / "missing"));
    EXPECT_FALSE(DirectoryExists(""));
    TempFolder::WriteBytes(dir / "file", "x");
    EXPECT_FALSE(DirectoryExists(dir / "file"));
    EXPECT_TRUE(DirectoryExists(GetCurrentDirectory()));
}

TEST(StringResources, LoadCutsToTheBufferAndFormatIsSafe) {
    const StringTable table{{4, "Błąd pliku %s"}, {5, "0123456789"}};
    EXPECT_EQ(table.Load(4),
              "B\xB3\xB9"
              "d pliku %s");
    EXPECT_EQ(table.Load(5, 4), "012");
    EXPECT_EQ(table.Load(6), "");
    EXPECT_EQ(FormatText("Plik %s: %d%% %s", {"a%s%n.map"}), "Plik a%s%n.map: %d% ");
}
