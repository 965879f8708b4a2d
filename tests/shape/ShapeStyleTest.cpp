// The display-style file beside a shapefile: defaults, round trips and hand-edited or broken
// files.
#include <gtest/gtest.h>

#include <filesystem>

#include "DisplayTestUtil.h"
#include "platform/Cp1250.h"
#include "shape/ShapeStyle.h"

using namespace displaytest;

namespace {

class ShapeStyleTest : public ::testing::Test {
  protected:
    void SetUp() override { shapetest::QuietUi(); }
    std::string Shp() const { return dir.Path("mapa.shp"); }
    std::string Tpi() const { return dir.Path("mapa.tpi"); }

    // A shape whose every style value differs from the defaults.
    static void Restyle(TShape& s, int brushStyle, int penStyle) {
        s.SymbolFont->Name = "Arial";
        s.SymbolFont->Size = 14;
        s.SymbolFont->Color = 0x0000FF;
        s.Symbol = 'l';
        s.LinePen->Width = 1;
        s.LinePen->Style = penStyle;
        s.LinePen->Color = 0x123456;
        SetBrushStyleNumber(*s.AreaBrush, brushStyle);
        s.AreaBrush->Color = 0x00FF00;
        s.Markowanie = true;
        s.Etykiety = true;
        s.NumerPola = 3;
    }

    shapetest::TempDir dir;
};

}  // namespace

TEST_F(ShapeStyleTest, WrittenAndReadBackReproducesEveryValue) {
    for (int brush = 0; brush < kBrushStyleCount; ++brush) {
        const int pen = brush % kPenStyleCount;
        {
            TShape written;
            written.FileName = Shp();
            Restyle(written, brush, pen);
        }  // freeing the shape writes its style file
        TShape read;
        read.FileName = Shp();
        read.ReadStyleFile();
        TShape expected;
        Restyle(expected, brush, pen);
        expected.FileName = Shp();
        EXPECT_EQ(*read.SymbolFont, *expected.SymbolFont) << brush;
        EXPECT_EQ(read.Symbol, "l");
        EXPECT_EQ(*read.LinePen, *expected.LinePen) << brush;
        EXPECT_EQ(*read.AreaBrush, *expected.AreaBrush) << brush;
        EXPECT_EQ(BrushStyleNumber(*read.AreaBrush), brush);
        EXPECT_TRUE(read.Markowanie);
        EXPECT_TRUE(read.Etykiety);
        EXPECT_EQ(read.NumerPola, 3);
    }
}

TEST_F(ShapeStyleTest, WritesTheTwelveKeysInTheirSectionsInWindows1250) {
    {
        TShape s;
        s.FileName = Shp();
    }
    const std::string text = platform::Cp1250ToUtf8(ReadText(Tpi()));
    EXPECT_EQ(text,
              "[Punkt]\r\nZestaw=Wingdings\r\nWielkość=8\r\nKolor=0\r\nKod={\r\n"
              "[Linia]\r\nSzerokość=1\r\nStyl=0\r\nKolor=8421504\r\n"
              "[Powierzchnia]\r\nStyl=0\r\nKolor=12632256\r\n"
              "[Widok]\r\nMarkowanie=0\r\nEtykiety=0\r\nNumerPola=-1\r\n");
}

TEST_F(ShapeStyleTest, MissingFileKeepsEverythingButTheSymbol) {
    TShape s;
    s.FileName = Shp();
    Restyle(s, 6, 2);
    s.ReadStyleFile();
    TShape expected;
    Restyle(expected, 6, 2);
    EXPECT_EQ(*s.SymbolFont, *expected.SymbolFont);
    EXPECT_EQ(*s.LinePen, *expected.LinePen);
    EXPECT_EQ(*s.AreaBrush, *expected.AreaBrush);
    EXPECT_TRUE(s.Markowanie);
    EXPECT_EQ(s.NumerPola, 3);
    EXPECT_EQ(s.Symbol, " ");
}

TEST_F(ShapeStyleTest, BadValuesGiveTheCurrentOnesAndOtherContentIsKept) {
    const std::string longLine(100000, 'x');
    WriteText(Tpi(), "[Inne]\r\nklucz=zostaje\r\n" + std::string("\x01\xff garbage\r\n") +
                         "[Punkt]\r\nZestaw=" + longLine + "\r\nKod=" + longLine + "\r\n" +
                         platform::Utf8ToCp1250("Wielkość=duża\r\n") +
                         "Kolor=12abc\r\n[Linia]\r\n" + platform::Utf8ToCp1250("Szerokość") +
                         "=99999999999999\r\nStyl=7\r\nKolor=\r\n[Powierzchnia]\r\nStyl=-1\r\n"
                         "[Widok]\r\nMarkowanie=tak\r\nEtykiety=2\r\nNumerPola=" +
                         longLine + "\r\n");
    TShape s;
    s.FileName = Shp();
    s.ReadStyleFile();
    // Texts are held to their limits; numbers that do not parse or fall outside their range
    // leave the current values.
    EXPECT_EQ(s.SymbolFont->Name, std::string(31, 'x'));
    EXPECT_EQ(s.Symbol, std::string(255, 'x'));
    EXPECT_EQ(s.SymbolFont->Size, 8);
    EXPECT_EQ(s.SymbolFont->Color, 0u);
    EXPECT_EQ(s.LinePen->Width, 1);
    EXPECT_EQ(s.LinePen->Style, 0);
    EXPECT_EQ(s.LinePen->Color, 0x808080u);
    EXPECT_EQ(BrushStyleNumber(*s.AreaBrush), 0);
    EXPECT_FALSE(s.Markowanie);
    EXPECT_TRUE(s.Etykiety);  // any number but 0 is on
    EXPECT_EQ(s.NumerPola, -1);

    s.Symbol = "n";
    s.WriteStyleFile();
    const std::string text = ReadText(Tpi());
    EXPECT_EQ(text.rfind("[Inne]\r\nklucz=zostaje\r\n\x01\xff garbage\r\n", 0), 0u);
    TShape again;
    again.FileName = Shp();
    again.ReadStyleFile();
    EXPECT_EQ(again.Symbol, "n");
    EXPECT_EQ(again.SymbolFont->Name, std::string(31, 'x'));
}

TEST_F(ShapeStyleTest, GarbageFilesGiveTheDefaults) {
    for (const std::string& junk :
         {std::string(5000, '\0'), std::string("[[[[\r\n===\r\n]]]"), std::string(200000, '[')}) {
        WriteText(Tpi(), junk);
        TShape s;
        s.ReadStyleFile();  // no name yet: no file at all
        s.FileName = Shp();
        EXPECT_NO_THROW(s.ReadStyleFile());
        TShape fresh;
        EXPECT_EQ(*s.SymbolFont, *fresh.SymbolFont);
        EXPECT_EQ(*s.LinePen, *fresh.LinePen);
        EXPECT_EQ(*s.AreaBrush, *fresh.AreaBrush);
        EXPECT_EQ(s.NumerPola, -1);
        s.FileName.clear();  // leave the junk for the next round
    }
    // A file the profile reader refuses (a folder in its place) gives the defaults too.
    std::filesystem::remove(Tpi());
    std::filesystem::create_directory(Tpi());
    TShape s;
    s.FileName = Shp();
    s.ReadStyleFile();
    EXPECT_EQ(s.NumerPola, -1);
    EXPECT_EQ(s.Symbol, " ");
}

TEST_F(ShapeStyleTest, AFileThatIsNoShapefileIsToldSoAndGetsNoStyleFile) {
    // A map chosen by mistake, and an attribute table beside a shapefile with a style of its own.
    WriteText(dir.Path("plan.map"), "MAP 7\r\n" + std::string(120, 'x'));
    WriteText(dir.Path("drogi.dbf"), std::string(32, ' ') + "NAZWA" + std::string(90, ' '));
    const std::string style = "[Inne]\r\nklucz=zostaje\r\n";
    WriteText(dir.Path("drogi.tpi"), style);
    for (const char* name : {"plan.map", "drogi.dbf"}) {
        shapetest::QuietUi();
        {
            TShape s;
            EXPECT_EQ(TShape::OpenShape(&s, dir.Path(name)), kShapeUnsupportedType) << name;
        }
        ASSERT_EQ(shapetest::MessageTexts().size(), 1u) << name;
        EXPECT_EQ(shapetest::MessageTexts()[0].rfind("Nieobslugiwany typ danych ", 0), 0u);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.Path("plan.tpi")));
    EXPECT_EQ(ReadText(dir.Path("drogi.tpi")), style);
}

TEST_F(ShapeStyleTest, AShapeWithoutAFileNameWritesNoStyleFile) {
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(dir.Dir());
    { TShape s; }
    std::filesystem::current_path(before);
    EXPECT_TRUE(std::filesystem::is_empty(dir.Dir()));
    EXPECT_EQ(StyleFileName(""), "");
    EXPECT_EQ(StyleFileName("/a/b/c.shp"), "/a/b/c.tpi");
}
