// A shapefile of each family drawn on the raster surface and saved as PNG: the pixels show the
// symbols, lines, areas with their holes painted over, and labels where they belong.
// Set KESTREL_KEEP_PNG to a file name to keep the picture for a look.
#include <gtest/gtest.h>

#include <cstdlib>

#include "DisplayTestUtil.h"
#include "platform/Cp1250.h"
#include "platform/RasterSurface.h"
#include "shape/ShapeStyle.h"

using namespace displaytest;

namespace {

const TWorldWindow kWindow{0, 0, 100, 100};
const platform::DcRect kScreen{0, 0, 400, 400};  // 4 pixels per unit, northing up

constexpr platform::COLORREF kGreen = 0x00A000, kBlue = 0xFF0000, kRed = 0x0000FF;

// Pixels of the colour in the square of the given radius around (x, y).
int CountNear(const platform::RasterSurface& s, int x, int y, int radius,
              platform::COLORREF color) {
    int n = 0;
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx) n += s.Pixel(x + dx, y + dy) == color;
    return n;
}

std::unique_ptr<TShape> Areas() {
    std::vector<std::unique_ptr<TSHPRecord>> r;
    r.push_back(
        shapetest::MakePolygon({{{10, 10}, {10, 50}, {50, 50}, {50, 10}, {10, 10}},
                                {{15, 15}, {25, 15}, {25, 25}, {15, 25}, {15, 15}}}));  // the hole
    auto shape = ShapeOf(std::move(r));
    shape->AreaBrush->Color = kGreen;
    shape->LinePen->Color = 0;
    shape->Etykiety = true;
    shape->Records->FirstRecord()->Label = platform::Utf8ToCp1250("Działka 7");
    return shape;
}

std::unique_ptr<TShape> Lines() {
    std::vector<std::unique_ptr<TSHPRecord>> r;
    r.push_back(Line({{{60, 90}, {95, 60}}, {{60, 70}, {95, 70}}}));
    auto shape = ShapeOf(std::move(r));
    *shape->LinePen = platform::TPen{kBlue, 3, platform::PS_SOLID};
    shape->Markowanie = true;
    return shape;
}

std::unique_ptr<TShape> Points() {
    std::vector<std::unique_ptr<TSHPRecord>> r;
    r.push_back(Point(70, 30));
    r.push_back(Point(85, 20));
    auto shape = ShapeOf(std::move(r));
    shape->Symbol = 'l';  // a filled circle in the symbol font
    shape->SymbolFont->Size = 20;
    shape->SymbolFont->Color = kRed;
    return shape;
}

}  // namespace

TEST(RasterDraw, EveryFamilyLandsOnItsPixels) {
    shapetest::QuietUi();
    const platform::HDC dc = platform::CreateRasterDC(400, 400);
    auto areas = Areas();
    auto lines = Lines();
    auto points = Points();
    for (TShape* shape : {areas.get(), lines.get(), points.get()})
        ASSERT_EQ(TShape::PaintShape(shape, dc, kWindow, kScreen, 0, 0), 0);
    const platform::RasterSurface& s = *platform::RasterOf(dc);

    EXPECT_EQ(s.Pixel(5, 5), 0xFFFFFFu);
    // The area's inside, and its hole, painted over because each ring is filled on its own.
    EXPECT_EQ(s.Pixel(170, 230), kGreen);
    EXPECT_EQ(s.Pixel(80, 320), kGreen);
    // Its outline in the black pen, on the left edge at E 10.
    EXPECT_EQ(s.Pixel(40, 230), 0u);
    // The label, black on the centre of the box (E 30, N 30 -> 120, 280), above the anchor.
    // Its letters are smoothed: count the dark pixels.
    auto dark = [&](int x0, int y0, int x1, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                const platform::COLORREF c = s.Pixel(x, y);
                n += (c & 0xFF) < 0x60 && ((c >> 8) & 0xFF) < 0x60 && (c >> 16) < 0x60;
            }
        return n;
    };
    EXPECT_GT(dark(90, 265, 150, 281), 30);
    EXPECT_EQ(dark(90, 282, 150, 295), 0);  // nothing below the anchor
    // The second part of the line, three pixels wide, from (240, 120) to (380, 120).
    EXPECT_EQ(s.Pixel(300, 120), kBlue);
    EXPECT_EQ(s.Pixel(300, 119), kBlue);
    EXPECT_EQ(s.Pixel(300, 123), 0xFFFFFFu);
    // A vertex mark at the first point (240, 40): white outline around the grey area brush.
    EXPECT_EQ(s.Pixel(240, 37), 0xFFFFFFu);
    // The symbols: filled circles in red, centred on their points.
    EXPECT_GT(CountNear(s, 280, 280, 3, kRed), 40);
    EXPECT_GT(CountNear(s, 340, 320, 3, kRed), 40);
    EXPECT_EQ(CountNear(s, 280, 300, 2, kRed), 0);

    shapetest::TempDir dir;
    EXPECT_TRUE(s.SavePng(dir.Path("mapa.png")));
    const auto png = shapetest::ReadBytes(dir.Path("mapa.png"));
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG");
    if (const char* keep = std::getenv("KESTREL_KEEP_PNG")) {
        EXPECT_TRUE(s.SavePng(keep));
    }
    EXPECT_FALSE(s.SavePng(dir.Path("brak/mapa.png")));
    platform::DeleteDC(dc);
}

TEST(RasterDraw, SymbolFontSignsAndClipping) {
    EXPECT_EQ(platform::WingdingsToUnicode('l'), U'\u25CF');
    EXPECT_EQ(platform::WingdingsToUnicode('n'), U'\u25A0');
    EXPECT_EQ(platform::WingdingsToUnicode('{'), U'\u2740');
    EXPECT_EQ(platform::WingdingsToUnicode(0x05), U'\u2022');

    // Drawing leaves the right and bottom screen edges alone, as the clip asks.
    const platform::HDC dc = platform::CreateRasterDC(50, 50);
    std::vector<std::unique_ptr<TSHPRecord>> r;
    r.push_back(shapetest::MakePolygon({{{-10, -10}, {-10, 200}, {200, 200}, {200, -10}}}));
    auto shape = ShapeOf(std::move(r));
    shape->AreaBrush->Color = kGreen;
    TShape::PaintShape(shape.get(), dc, {0, 0, 100, 100}, {0, 0, 40, 40}, 0, 0);
    const platform::RasterSurface& s = *platform::RasterOf(dc);
    EXPECT_EQ(s.Pixel(10, 10), kGreen);
    EXPECT_EQ(s.Pixel(38, 38), kGreen);
    EXPECT_EQ(s.Pixel(39, 10), 0xFFFFFFu);
    EXPECT_EQ(s.Pixel(10, 39), 0xFFFFFFu);
    EXPECT_EQ(s.Pixel(45, 45), 0xFFFFFFu);
    EXPECT_EQ(s.Pixel(-1, 5), 0xFFFFFFu);
    platform::DeleteDC(dc);
    // A stray size is held to what memory allows.
    platform::RasterSurface huge(1 << 30, -5);
    EXPECT_EQ(huge.Width(), 8192);
    EXPECT_EQ(huge.Height(), 1);
}
