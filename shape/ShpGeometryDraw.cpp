// Drawing the geometry families on a canvas through the world-to-screen mapping.
#include <cmath>
#include <limits>

#include "shape/ShpGeometry.h"

namespace {

// Nearest integer, halves to even, held to the int32 range (NaN gives 0).
std::int64_t RoundHeld(long double v) {
    if (std::isnan(v)) return 0;
    constexpr long double lo = std::numeric_limits<std::int32_t>::min();
    constexpr long double hi = std::numeric_limits<std::int32_t>::max();
    if (v < lo) return static_cast<std::int64_t>(lo);
    if (v > hi) return static_cast<std::int64_t>(hi);
    return static_cast<std::int64_t>(std::nearbyintl(v));
}

std::int32_t Held(std::int64_t v) {
    constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(v < lo ? lo : v > hi ? hi : v);
}

platform::DcPoint ToScreen(const TWorldWindow& window, const platform::DcRect& screen,
                           const TShpPoint& p) {
    std::int32_t sx = 0, sy = 0;
    WorldToScreen(window, screen, sx, sy, p.Y, p.X);
    return {sx, sy};
}

}  // namespace

void WorldToScreen(const TWorldWindow& window, const platform::DcRect& screen, std::int32_t& SX,
                   std::int32_t& SY, double N, double E) {
    const long double dx = static_cast<long double>(E) - window[1];
    const long double dy = static_cast<long double>(N) - window[0];
    const long double sx =
        dx * (static_cast<long double>(screen.right) - screen.left) / (window[3] - window[1]);
    const long double sy =
        dy * (static_cast<long double>(screen.bottom) - screen.top) / (window[2] - window[0]);
    SX = Held(screen.left + RoundHeld(sx));
    SY = Held(screen.bottom - RoundHeld(sy));
}

void TSHPPointRecord::DrawGeometry(platform::TCanvas& canvas, const TWorldWindow& window,
                                   std::string_view symbol, const platform::DcRect& screen) {
    std::int32_t sx = 0, sy = 0;
    WorldToScreen(window, screen, sx, sy, Y, X);
    // The text is aligned on its bottom edge: half its height down centres it on the point.
    const int h = canvas.TextHeight(symbol);
    canvas.TextOut(sx, Held(static_cast<std::int64_t>(sy) + h / 2), symbol);
}

void TSHPMultiPointRecord::DrawGeometry(platform::TCanvas& canvas, const TWorldWindow& window,
                                        std::string_view symbol, const platform::DcRect& screen) {
    const std::int32_t n = PointCount();
    for (std::int32_t i = 0; i < n; ++i) {
        const platform::DcPoint s = ToScreen(window, screen, Points[static_cast<std::size_t>(i)]);
        canvas.TextOut(s.x, s.y, symbol);
        canvas.SetPixel(s.x, s.y, canvas.Pen.Color);
    }
}

void TSHPArcRecord::DrawGeometry(platform::TCanvas& canvas, const TWorldWindow& window,
                                 std::string_view /*symbol*/, const platform::DcRect& screen) {
    const std::int32_t n = PointCount();
    const std::int32_t parts = PartCount();
    std::int32_t part = 0;
    for (std::int32_t i = 0; i < n; ++i) {
        const platform::DcPoint s = ToScreen(window, screen, Points[static_cast<std::size_t>(i)]);
        bool starts = false;
        while (part < parts && Parts[static_cast<std::size_t>(part)] <= i) {
            starts = starts || Parts[static_cast<std::size_t>(part)] == i;
            ++part;
        }
        if (starts) {
            canvas.MoveTo(s.x, s.y);
        } else {
            canvas.LineTo(s.x, s.y);
        }
    }
}

void TSHPPolygonRecord::DrawGeometry(platform::TCanvas& canvas, const TWorldWindow& window,
                                     std::string_view /*symbol*/, const platform::DcRect& screen) {
    const std::int32_t parts = PartCount();
    std::vector<platform::DcPoint> ring(static_cast<std::size_t>(PointCount()) + 1);
    for (std::int32_t i = 0; i < parts; ++i) {
        std::int32_t start = 0, end = 0;
        PartRange(i, start, end);
        if (end <= start) continue;
        std::size_t count = 0;
        for (std::int32_t k = start; k < end; ++k)
            ring[count++] = ToScreen(window, screen, Points[static_cast<std::size_t>(k)]);
        const TShpPoint& first = Points[static_cast<std::size_t>(start)];
        const TShpPoint& last = Points[static_cast<std::size_t>(end - 1)];
        if (last.X != first.X || last.Y != first.Y) ring[count++] = ring[0];
        // Each ring is filled on its own, so holes are painted over.
        platform::Polygon(canvas.Handle(), ring.data(), static_cast<int>(count));
    }
}
