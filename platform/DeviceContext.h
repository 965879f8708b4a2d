#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Device contexts: drawing surfaces behind 32-bit handles, with the pens, brushes, fonts and
// modes the system draws with. The handle table is process-wide. A surface receives every call
// together with the context's state at that moment; the recording surface keeps them for tests.
namespace platform {

using HDC = std::uint32_t;
using HGDIOBJ = std::uint32_t;
using COLORREF = std::uint32_t;  // blue, green and red bytes, red lowest

struct DcPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const DcPoint&) const = default;
};

struct DcRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    bool operator==(const DcRect&) const = default;
};

enum : int {
    PS_SOLID = 0,
    PS_DASH = 1,
    PS_DOT = 2,
    PS_DASHDOT = 3,
    PS_DASHDOTDOT = 4,
    PS_NULL = 5,
    PS_INSIDEFRAME = 6,
};
enum : int { BS_SOLID = 0, BS_NULL = 1, BS_HATCHED = 2 };
enum : int {
    HS_HORIZONTAL = 0,
    HS_VERTICAL = 1,
    HS_FDIAGONAL = 2,
    HS_BDIAGONAL = 3,
    HS_CROSS = 4,
    HS_DIAGCROSS = 5,
};
enum : int { TRANSPARENT = 1, OPAQUE = 2 };
enum : std::uint32_t {
    TA_LEFT = 0,
    TA_RIGHT = 2,
    TA_CENTER = 6,
    TA_TOP = 0,
    TA_BOTTOM = 8,
    TA_BASELINE = 24,
};
enum : int { DEFAULT_CHARSET = 1, ANSI_CHARSET = 0, SYMBOL_CHARSET = 2, EASTEUROPE_CHARSET = 238 };

struct PenInfo {
    int style = PS_SOLID;
    int width = 1;
    COLORREF color = 0;
    bool operator==(const PenInfo&) const = default;
};

struct BrushInfo {
    int style = BS_SOLID;
    COLORREF color = 0xFFFFFF;
    int hatch = 0;
    bool operator==(const BrushInfo&) const = default;
};

struct FontInfo {
    std::string name = "System";
    int height = -16;  // logical units; negative: character height
    int charset = DEFAULT_CHARSET;
    bool operator==(const FontInfo&) const = default;
};

// Everything that affects how the next call draws.
struct DcState {
    PenInfo pen;
    BrushInfo brush;
    FontInfo font;
    COLORREF textColor = 0;
    int bkMode = OPAQUE;
    std::uint32_t textAlign = TA_LEFT | TA_TOP;
    bool clipped = false;
    DcRect clip;
    DcPoint position;  // current position for LineTo
};

enum class DcOp {
    SelectObject,
    SetBkMode,
    SetTextAlign,
    SetTextColor,
    SelectClipRect,
    TextOut,
    MoveTo,
    LineTo,
    Polygon,
    Ellipse,
    SetPixel,
};

// One drawing call as it reached the surface; `state` is the context's state after the call.
struct DcCall {
    DcOp op = DcOp::MoveTo;
    std::vector<DcPoint> points;  // TextOut, MoveTo, LineTo (the end), SetPixel: one; Polygon: all
    DcRect rect;                  // Ellipse, SelectClipRect
    COLORREF color = 0;           // SetPixel, SetTextColor
    std::string text;             // TextOut, Windows-1250
    DcState state;
};

class DcSurface {
  public:
    virtual ~DcSurface() = default;
    virtual void Draw(const DcCall& call) = 0;
    // Height in pixels of the text in the given font.
    virtual int TextHeight(const FontInfo& font, std::string_view text) const;
};

// Keeps every call in order.
class RecordingSurface : public DcSurface {
  public:
    void Draw(const DcCall& call) override { calls_.push_back(call); }
    const std::vector<DcCall>& Calls() const { return calls_; }
    void Clear() { calls_.clear(); }

  private:
    std::vector<DcCall> calls_;
};

// Creates a context drawing on the given surface; 0 when none is given.
HDC CreateDC(std::unique_ptr<DcSurface> surface);
HDC CreateRecordingDC();
bool DeleteDC(HDC dc);
// The surface behind a context, or nullptr; RecordingOf casts it for tests.
DcSurface* SurfaceOf(HDC dc);
RecordingSurface* RecordingOf(HDC dc);

HGDIOBJ CreatePen(int style, int width, COLORREF color);
HGDIOBJ CreateBrush(int style, COLORREF color, int hatch);
HGDIOBJ CreateFont(int height, int charset, std::string_view name);
// Puts the object into the context and returns the one of its kind it replaces (0 on failure).
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
// Frees an object; objects selected into a context keep their attributes there. A context's
// initial objects (black pen, white brush, system font) cannot be freed.
bool DeleteObject(HGDIOBJ object);
// The number of pens, brushes and fonts alive (for leak checks in tests).
std::size_t GdiObjectCount();

int SetBkMode(HDC dc, int mode);
std::uint32_t SetTextAlign(HDC dc, std::uint32_t align);
COLORREF SetTextColor(HDC dc, COLORREF color);
// Restricts drawing to the rectangle; nullptr removes the restriction.
bool SelectClipRect(HDC dc, const DcRect* rect);

bool TextOut(HDC dc, int x, int y, std::string_view text);
// Height of the text in the selected font (0 for an unknown context).
int GetTextHeight(HDC dc, std::string_view text);
bool MoveTo(HDC dc, int x, int y);
bool LineTo(HDC dc, int x, int y);
bool Polygon(HDC dc, const DcPoint* points, int count);
bool Ellipse(HDC dc, int left, int top, int right, int bottom);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
// The current state of a context (a default state for an unknown one).
DcState StateOf(HDC dc);

}  // namespace platform
