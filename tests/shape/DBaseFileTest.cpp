// dBase III headers: creating, opening, reading and checking field descriptors.
#include <gtest/gtest.h>

#include "ShapeTestUtil.h"
#include "shape/DBaseFile.h"

using namespace shapetest;

namespace {

TDBFFieldDescriptor Descriptor(const std::string& name, char type, std::uint8_t length) {
    TDBFFieldDescriptor d{};
    std::copy(name.begin(), name.end(), d.begin());
    d[11] = static_cast<std::uint8_t>(type);
    d[16] = length;
    return d;
}

}  // namespace

TEST(DBaseFile, CreateNewWritesHeaderDescriptorsAndMarks) {
    TempDir dir;
    {
        auto dbf = TSimpleDBFile::CreateNew(dir.Path("warstwa.shp"), 3, 3, 0, 30);
        EXPECT_EQ(dbf->FileName(), dir.Path("warstwa.dbf"));
        EXPECT_TRUE(dbf->IsOpen());
        EXPECT_TRUE(dbf->AddField("KOD", 'C', 4, 0));
        EXPECT_TRUE(dbf->AddField("WYSOKOSC_AB", 'N', 18, 3));
        EXPECT_TRUE(dbf->AddField("PRZEKROCZONA_NAZWA", 'D', 8, 0));
        EXPECT_FALSE(dbf->IsOpen());
        EXPECT_FALSE(dbf->AddField("CZWARTE", 'C', 1, 0));
    }
    const auto b = ReadBytes(dir.Path("warstwa.dbf"));
    ASSERT_EQ(b.size(), 130u);
    EXPECT_EQ(b[0], 3);
    EXPECT_EQ(b[1], 99);
    EXPECT_EQ(b[2], 12);
    EXPECT_EQ(b[3], 31);
    EXPECT_EQ(b[4] | b[5] | b[6] | b[7], 0);
    EXPECT_EQ(b[8] | (b[9] << 8), 129);
    EXPECT_EQ(b[10] | (b[11] << 8), 31);
    for (int i = 12; i < 32; ++i) EXPECT_EQ(b[static_cast<std::size_t>(i)], 0) << i;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[32])), "KOD");
    EXPECT_EQ(b[32 + 11], 'C');
    EXPECT_EQ(b[32 + 16], 4);
    // An 11-character name fills its area without a terminator.
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[64]), 11), "WYSOKOSC_AB");
    EXPECT_EQ(b[64 + 11], 'N');
    EXPECT_EQ(b[64 + 17], 3);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[96]), 11), "PRZEKROCZON");
    EXPECT_EQ(b[128], 0x0D);
    EXPECT_EQ(b[129], 0x1A);
}

TEST(DBaseFile, TableWithFewerFieldsThanDeclaredStaysOpenUntilDestroyed) {
    TempDir dir;
    WriteBytes(dir.Path("t.dbf"), std::vector<std::uint8_t>(500, 0x55));  // replaced
    auto dbf = TSimpleDBFile::CreateNew(dir.Path("t.dbf"), 3, 0, 0, 0);
    EXPECT_TRUE(dbf->IsOpen());
    EXPECT_FALSE(dbf->Complete());
    // The older table stays whole while the new one is written.
    EXPECT_EQ(ReadBytes(dir.Path("t.dbf")).size(), 500u);
    dbf.reset();
    const auto b = ReadBytes(dir.Path("t.dbf"));
    ASSERT_EQ(b.size(), 32u);
    EXPECT_EQ(b[8], 33);
    EXPECT_EQ(b[10], 1);
}

TEST(DBaseFile, OpenExistingReadsCountsAndHandsOutDescriptors) {
    TempDir dir;
    {
        auto dbf = TSimpleDBFile::CreateNew(dir.Path("a.dbf"), 3, 2, 7, 14);
        dbf->AddField("A", 'C', 10, 0);
        dbf->AddField("B", 'N', 4, 1);
    }
    std::int32_t fields = 0, records = 0, length = 0;
    auto dbf = TSimpleDBFile::OpenExisting(dir.Path("a.dbf"), fields, records, length);
    EXPECT_TRUE(dbf->IsOpen());
    EXPECT_EQ(fields, 2);
    EXPECT_EQ(records, 7);
    EXPECT_EQ(length, 15);
    TDBFFieldDescriptor d{};
    ASSERT_TRUE(dbf->ReadFieldDescriptor(d));
    EXPECT_EQ(d[0], 'A');
    ASSERT_TRUE(dbf->ReadFieldDescriptor(d));
    EXPECT_EQ(d[11], 'N');
    EXPECT_EQ(d[17], 1);
    // Past the end the descriptor comes back zeroed.
    ASSERT_TRUE(dbf->ReadFieldDescriptor(d));
    ASSERT_TRUE(dbf->ReadFieldDescriptor(d));
    EXPECT_EQ(d, TDBFFieldDescriptor{});

    for (auto [headerLength, expected] :
         {std::pair{33, 0}, {97, 2}, {96, 1}, {2, 0}, {64, 0}, {-200, -7}}) {
        auto bytes = ReadBytes(dir.Path("a.dbf"));
        bytes[8] = static_cast<std::uint8_t>(headerLength & 0xFF);
        bytes[9] = static_cast<std::uint8_t>((headerLength >> 8) & 0xFF);
        WriteBytes(dir.Path("h.dbf"), bytes);
        auto h = TSimpleDBFile::OpenExisting(dir.Path("h.dbf"), fields, records, length);
        EXPECT_EQ(fields, expected) << headerLength;
    }

    auto missing = TSimpleDBFile::OpenExisting(dir.Path("none.dbf"), fields, records, length);
    EXPECT_FALSE(missing->IsOpen());
    EXPECT_EQ(fields + records + length, 0);
    EXPECT_FALSE(missing->ReadFieldDescriptor(d));
}

TEST(DBaseFile, CheckWarnsOutsideTheDbaseLimitsAndAlwaysGoesOn) {
    QuietUi();
    TempDir dir;
    std::int32_t f = 0, r = 0, l = 0;
    auto dbf = TSimpleDBFile::OpenExisting(dir.Path("x.dbf"), f, r, l);
    EXPECT_TRUE(dbf->CheckFieldDescriptor(Descriptor("OPIS", 'C', 254)));
    EXPECT_TRUE(dbf->CheckFieldDescriptor(Descriptor("NOTATKA", 'M', 200)));
    EXPECT_TRUE(dbf->CheckFieldDescriptor(Descriptor("D8", 'D', 8)));
    EXPECT_TRUE(MessageTexts().empty());
    EXPECT_TRUE(dbf->CheckFieldDescriptor(Descriptor("OPIS", 'C', 255)));
    EXPECT_TRUE(dbf->CheckFieldDescriptor(Descriptor("DATA", 'D', 10)));
    EXPECT_TRUE(dbf->CheckFieldDescriptor(Descriptor("ILE", 'N', 21)));
    EXPECT_TRUE(dbf->CheckFieldDescriptor(Descriptor("TAK", 'L', 2)));
    EXPECT_TRUE(dbf->CheckFieldDescriptor(Descriptor("ABCDEFGHIJK", 'X', 5)));
    const std::string head = "Plik DBF niezgodny ze standardem dBase III+\n\r";
    EXPECT_EQ(MessageTexts(),
              (std::vector<std::string>{head + "Zbyt dlugie pole typu <C> w <OPIS>",
                                        head + "Niepoprawna dlugosc pola typu <D> w <DATA>",
                                        head + "Niepoprawna dlugosc pola typu <N> w <ILE>",
                                        head + "Niepoprawna dlugosc pola typu <L> w <TAK>",
                                        head + "Niezdefiniowany typ pola <X> ABCDEFGHIJK"}));
}
