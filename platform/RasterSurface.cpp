#include "platform/RasterSurface.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "platform/Cp1250.h"
#include "platform/FileSystem.h"

namespace platform {
namespace {

// Bitmaps are held to this size on each side, so a stray size cannot exhaust memory.
constexpr int kMaxSide = 8192;
// The family that stands in for the symbol font; it holds the dingbats the signs map to.
constexpr const char* kSymbolFamily = "DejaVu Sans";
constexpr char32_t kBullet = 0x2022;

// Wingdings 0x20..0xFF; 0 marks a code without a sign of its own in common fonts.
// clang-format off
constexpr std::array<char32_t, 224> kWingdings = {
    // 0x20
    0x0020, 0x270F, 0x2702, 0x2701, 0, 0, 0, 0, 0x260E, 0x2706, 0x2709, 0x2709, 0, 0, 0, 0,
    // 0x30
    0, 0, 0, 0, 0, 0, 0x231B, 0x2328, 0, 0, 0, 0, 0, 0, 0x2707, 0x270D,
    // 0x40
    0, 0x270C, 0, 0, 0, 0x261C, 0x261E, 0x261D, 0x261F, 0, 0x263A, 0, 0x2639, 0, 0x2620, 0,
    // 0x50
    0, 0x2708, 0x263C, 0, 0x2744, 0, 0x271E, 0, 0x2720, 0x2721, 0x262A, 0x262F, 0x0950, 0x2638,
    0x2648, 0x2649,
    // 0x60
    0x264A, 0x264B, 0x264C, 0x264D, 0x264E, 0x264F, 0x2650, 0x2651, 0x2652, 0x2653, 0x0026,
    0x0026, 0x25CF, 0x274D, 0x25A0, 0x25A1,
    // 0x70
    0x25FB, 0x2751, 0x2752, 0x2B27, 0x29EB, 0x25C6, 0x2756, 0x2B25, 0x2327, 0x2353, 0x2318,
    0x2740, 0x273F, 0x275D, 0x275E, 0x25AF,
    // 0x80
    0x24EA, 0x2460, 0x2461, 0x2462, 0x2463, 0x2464, 0x2465, 0x2466, 0x2467, 0x2468, 0x2469,
    0x24FF, 0x2776, 0x2777, 0x2778, 0x2779,
    // 0x90
    0x277A, 0x277B, 0x277C, 0x277D, 0x277E, 0x277F, 0, 0, 0, 0, 0, 0, 0, 0, 0x00B7, 0x2022,
    // 0xA0
    0x25AA, 0x25CB, 0x25EF, 0x25C9, 0x25C9, 0x25CE, 0x25CC, 0x25AA, 0x25FB, 0x2726, 0x2726,
    0x2605, 0x2736, 0x2734, 0x2739, 0x2735,
    // 0xB0
    0x2316, 0x2316, 0x27E1, 0x2311, 0, 0x272A, 0x2730, 0x25F7, 0x25F7, 0x25F7, 0x25F7, 0x25F7,
    0x25F7, 0x25F7, 0x25F7, 0x25F7,
    // 0xC0
    0x25F7, 0x25F7, 0x25F7, 0x2B8C, 0x2B8E, 0x2B8F, 0x2B8D, 0x2B88, 0x2B8A, 0x2B8B, 0x2B89,
    0x2767, 0x2767, 0x2767, 0x2767, 0x2767,
    // 0xD0
    0x2767, 0x2767, 0x2767, 0x2767, 0x2767, 0x232B, 0x2326, 0x27A2, 0x27A2, 0x27A2, 0x27A2,
    0x25C0, 0x25B6, 0x25B2, 0x25BC, 0x2190,
    // 0xE0
    0x2192, 0x2191, 0x2193, 0x2196, 0x2197, 0x2199, 0x2198, 0x2194, 0x2794, 0x2195, 0x2196,
    0x2197, 0x2199, 0x2198, 0x21E6, 0x21E6,
    // 0xF0
    0x21E8, 0x21E7, 0x21E9, 0x2B04, 0x21F3, 0x2B00, 0x2B01, 0x2B03, 0x2B02, 0x25AD, 0x25AB,
    0x2717, 0x2713, 0x2612, 0x2611, 0x229E,
};
// clang-format on

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool IsSymbolFont(std::string_view name) {
    constexpr std::string_view kSymbol = "wingdings";
    if (name.size() != kSymbol.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(name[i])) != kSymbol[i]) return false;
    return true;
}

void SetColor(cairo_t* cr, COLORREF c) {
    cairo_set_source_rgb(cr, (c & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0,
                         ((c >> 16) & 0xFF) / 255.0);
}

// The family and UTF-8 text Cairo draws for a font and a Windows-1250 text.
struct Glyphs {
    std::string family;
    std::string text;
};

Glyphs GlyphsFor(const FontInfo& font, std::string_view text) {
    Glyphs g;
    if (IsSymbolFont(font.name)) {
        g.family = kSymbolFamily;
        for (const char c : text)
            AppendUtf8(g.text, WingdingsToUnicode(static_cast<unsigned char>(c)));
    } else {
        g.family = font.name.empty() ? std::string("Sans") : font.name;
        g.text = Cp1250ToUtf8(text);
    }
    return g;
}

// Selects the font: a negative height is the character height, a positive one the cell's.
void SelectFont(cairo_t* cr, const FontInfo& font, const std::string& family) {
    cairo_select_font_face(cr, family.c_str(), CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    double size = font.height < 0 ? -static_cast<double>(font.height) : font.height * 0.8;
    if (font.height == 0) size = 13;
    cairo_set_font_size(cr, std::clamp(size, 1.0, 2000.0));
}

// An 8 × 8 tile of the hatch in the colour, transparent between the lines.
cairo_surface_t* HatchTile(int hatch, COLORREF color) {
    cairo_surface_t* tile = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 8, 8);
    cairo_surface_flush(tile);
    unsigned char* data = cairo_image_surface_get_data(tile);
    const int stride = cairo_image_surface_get_stride(tile);
    const std::uint32_t pixel =
        0xFF000000u | ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
    for (int y = 0; y < 8; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + y * stride);
        for (int x = 0; x < 8; ++x) {
            const bool h = y == 4, v = x == 4, f = x == y, b = x + y == 7;
            bool on = false;
            switch (hatch) {
                case HS_HORIZONTAL:
                    on = h;
                    break;
                case HS_VERTICAL:
                    on = v;
                    break;
                case HS_FDIAGONAL:
                    on = f;
                    break;
                case HS_BDIAGONAL:
                    on = b;
                    break;
                case HS_CROSS:
                    on = h || v;
                    break;
                case HS_DIAGCROSS:
                    on = f || b;
                    break;
                default:
                    on = false;
                    break;
            }
            row[x] = on ? pixel : 0;
        }
    }
    cairo_surface_mark_dirty(tile);
    return tile;
}

// Fills the current path with the brush; keeps the path.
void FillPath(cairo_t* cr, const BrushInfo& brush) {
    if (brush.style == BS_NULL) return;
    if (brush.style == BS_HATCHED) {
        cairo_surface_t* tile = HatchTile(brush.hatch, brush.color);
        cairo_pattern_t* pattern = cairo_pattern_create_for_surface(tile);
        cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
        cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
        cairo_set_source(cr, pattern);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(pattern);
        cairo_surface_destroy(tile);
        return;
    }
    SetColor(cr, brush.color);
    cairo_fill_preserve(cr);
}

// Strokes the current path with the pen; keeps the path.
void StrokePath(cairo_t* cr, const PenInfo& pen) {
    if (pen.style == PS_NULL) return;
    const int width = std::clamp(pen.width, 1, 1000);
    cairo_set_line_width(cr, width);
    // Pens wider than one pixel always draw solid lines.
    static const std::vector<double> dash{18, 6}, dot{3, 3}, dashDot{9, 6, 3, 6},
        dashDotDot{9, 3, 3, 3, 3, 3};
    const std::vector<double>* pattern = nullptr;
    if (width == 1) {
        switch (pen.style) {
            case PS_DASH:
                pattern = &dash;
                break;
            case PS_DOT:
                pattern = &dot;
                break;
            case PS_DASHDOT:
                pattern = &dashDot;
                break;
            case PS_DASHDOTDOT:
                pattern = &dashDotDot;
                break;
            default:
                break;
        }
    }
    if (pattern != nullptr)
        cairo_set_dash(cr, pattern->data(), static_cast<int>(pattern->size()), 0);
    else
        cairo_set_dash(cr, nullptr, 0, 0);
    SetColor(cr, pen.color);
    cairo_stroke_preserve(cr);
}

// Cairo and fontconfig keep font caches for the life of the process. They are released at its
// end when no surface is left, so that leak checkers see a clean exit.
std::atomic<int> liveSurfaces{0};

void ReleaseFontCaches() {
    if (liveSurfaces.load() != 0) return;
    cairo_debug_reset_static_data();
    FcFini();
}

void RegisterCacheRelease() {
    static std::once_flag once;
    std::call_once(once, [] { std::atexit(ReleaseFontCaches); });
}

}  // namespace

char32_t WingdingsToUnicode(unsigned char code) {
    if (code < 0x20) return kBullet;
    const char32_t c = kWingdings[static_cast<std::size_t>(code - 0x20)];
    return c == 0 ? kBullet : c;
}

struct RasterSurface::Cairo {
    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;
    ~Cairo() {
        if (cr != nullptr) cairo_destroy(cr);
        if (surface != nullptr) cairo_surface_destroy(surface);
    }
};

RasterSurface::RasterSurface(int width, int height)
    : width_(std::clamp(width, 1, kMaxSide)),
      height_(std::clamp(height, 1, kMaxSide)),
      cairo_(std::make_unique<Cairo>()) {
    RegisterCacheRelease();
    ++liveSurfaces;
    cairo_->surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width_, height_);
    cairo_->cr = cairo_create(cairo_->surface);
    cairo_set_source_rgb(cairo_->cr, 1, 1, 1);
    cairo_paint(cairo_->cr);
    // The screen's drawing has no smoothed edges; texts keep theirs.
    cairo_set_antialias(cairo_->cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_line_cap(cairo_->cr, CAIRO_LINE_CAP_BUTT);
    cairo_set_fill_rule(cairo_->cr, CAIRO_FILL_RULE_EVEN_ODD);
}

RasterSurface::~RasterSurface() {
    cairo_.reset();
    --liveSurfaces;
}

void RasterSurface::Draw(const DcCall& call) {
    cairo_t* cr = cairo_->cr;
    const DcState& s = call.state;
    cairo_save(cr);
    if (s.clipped) {
        // The clip rectangle leaves out its right and bottom edges.
        cairo_rectangle(cr, s.clip.left, s.clip.top, std::max(0, s.clip.right - s.clip.left),
                        std::max(0, s.clip.bottom - s.clip.top));
        cairo_clip(cr);
    }
    // Pixel centres, so that one-pixel lines cover whole pixels.
    auto at = [](int v) { return v + 0.5; };
    switch (call.op) {
        case DcOp::LineTo:
            if (call.points.size() == 2) {
                cairo_move_to(cr, at(call.points[0].x), at(call.points[0].y));
                cairo_line_to(cr, at(call.points[1].x), at(call.points[1].y));
                StrokePath(cr, s.pen);
            }
            break;
        case DcOp::Polygon:
            if (!call.points.empty()) {
                cairo_move_to(cr, at(call.points[0].x), at(call.points[0].y));
                for (std::size_t i = 1; i < call.points.size(); ++i)
                    cairo_line_to(cr, at(call.points[i].x), at(call.points[i].y));
                cairo_close_path(cr);
                FillPath(cr, s.brush);
                StrokePath(cr, s.pen);
            }
            break;
        case DcOp::Ellipse: {
            const DcRect& r = call.rect;
            const double w = r.right - r.left, h = r.bottom - r.top;
            if (w > 0 && h > 0) {
                cairo_save(cr);
                cairo_translate(cr, r.left + w / 2, r.top + h / 2);
                cairo_scale(cr, w / 2, h / 2);
                cairo_new_path(cr);
                cairo_arc(cr, 0, 0, 1, 0, 2 * 3.14159265358979323846);
                cairo_restore(cr);
                FillPath(cr, s.brush);
                StrokePath(cr, s.pen);
            }
            break;
        }
        case DcOp::SetPixel:
            if (!call.points.empty()) {
                cairo_rectangle(cr, call.points[0].x, call.points[0].y, 1, 1);
                SetColor(cr, call.color);
                cairo_fill(cr);
            }
            break;
        case DcOp::TextOut:
            if (!call.points.empty() && !call.text.empty()) {
                const Glyphs g = GlyphsFor(s.font, call.text);
                SelectFont(cr, s.font, g.family);
                cairo_font_extents_t fe;
                cairo_font_extents(cr, &fe);
                cairo_text_extents_t te;
                cairo_text_extents(cr, g.text.c_str(), &te);
                double x = call.points[0].x;
                double y = call.points[0].y;
                if ((s.textAlign & TA_CENTER) == TA_CENTER)
                    x -= te.x_advance / 2;
                else if ((s.textAlign & TA_CENTER) == TA_RIGHT)
                    x -= te.x_advance;
                if ((s.textAlign & TA_BASELINE) == TA_BASELINE) {
                } else if ((s.textAlign & TA_BASELINE) == TA_BOTTOM) {
                    y -= fe.descent;
                } else {
                    y += fe.ascent;
                }
                if (s.bkMode == OPAQUE) {
                    cairo_rectangle(cr, x, y - fe.ascent, te.x_advance, fe.ascent + fe.descent);
                    cairo_set_source_rgb(cr, 1, 1, 1);
                    cairo_fill(cr);
                }
                SetColor(cr, s.textColor);
                cairo_move_to(cr, x, y);
                cairo_show_text(cr, g.text.c_str());
            }
            break;
        default:
            break;
    }
    cairo_new_path(cr);
    cairo_restore(cr);
}

int RasterSurface::TextHeight(const FontInfo& font, std::string_view text) const {
    cairo_t* cr = cairo_->cr;
    cairo_save(cr);
    const Glyphs g = GlyphsFor(font, text);
    SelectFont(cr, font, g.family);
    cairo_font_extents_t fe;
    cairo_font_extents(cr, &fe);
    cairo_restore(cr);
    return static_cast<int>(fe.ascent + fe.descent + 0.5);
}

COLORREF RasterSurface::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0xFFFFFF;
    cairo_surface_flush(cairo_->surface);
    const unsigned char* data = cairo_image_surface_get_data(cairo_->surface);
    const int stride = cairo_image_surface_get_stride(cairo_->surface);
    const std::uint32_t argb = *reinterpret_cast<const std::uint32_t*>(data + y * stride + x * 4);
    // The bitmap is opaque, so its premultiplied colours are the colours.
    return ((argb >> 16) & 0xFF) | (argb & 0xFF00) | ((argb & 0xFF) << 16);
}

bool RasterSurface::SavePng(const std::string& fileName) const {
    cairo_surface_flush(cairo_->surface);
    return cairo_surface_write_to_png(cairo_->surface, OsName(fileName).c_str()) ==
           CAIRO_STATUS_SUCCESS;
}

HDC CreateRasterDC(int width, int height) {
    return CreateDC(std::make_unique<RasterSurface>(width, height));
}

RasterSurface* RasterOf(HDC dc) {
    return dynamic_cast<RasterSurface*>(SurfaceOf(dc));
}

}  // namespace platform
