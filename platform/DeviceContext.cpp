#include "platform/DeviceContext.h"

#include <cstdlib>
#include <map>
#include <mutex>
#include <variant>

namespace platform {
namespace {

struct Context {
    DcState state;
    std::unique_ptr<DcSurface> surface;
    HGDIOBJ pen = 0;
    HGDIOBJ brush = 0;
    HGDIOBJ font = 0;
};

using GdiObject = std::variant<PenInfo, BrushInfo, FontInfo>;

// The process-wide handle table. Handles of contexts and objects share one counter, so a handle
// never names two things.
struct Table {
    std::mutex mutex;
    std::uint32_t next = 0x100;
    std::map<HDC, Context> contexts;
    std::map<HGDIOBJ, GdiObject> objects;
    // The objects a new context starts with; they are never freed.
    HGDIOBJ stockPen = 0, stockBrush = 0, stockFont = 0;

    Table() {
        stockPen = next++;
        objects.emplace(stockPen, PenInfo{});
        stockBrush = next++;
        objects.emplace(stockBrush, BrushInfo{});
        stockFont = next++;
        objects.emplace(stockFont, FontInfo{});
    }
};

Table& TheTable() {
    static Table table;
    return table;
}

Context* Find(Table& t, HDC dc) {
    auto it = t.contexts.find(dc);
    return it == t.contexts.end() ? nullptr : &it->second;
}

HGDIOBJ AddObject(GdiObject object) {
    Table& t = TheTable();
    std::lock_guard lock(t.mutex);
    const HGDIOBJ h = t.next++;
    t.objects.emplace(h, std::move(object));
    return h;
}

// Builds a call carrying the state and hands it to the surface.
void Emit(Context& c, DcCall call) {
    call.state = c.state;
    c.surface->Draw(call);
}

}  // namespace

int DcSurface::TextHeight(const FontInfo& font, std::string_view /*text*/) const {
    // The recording surface has no glyphs: the character height of the font is the line height.
    const int h = std::abs(font.height);
    return h == 0 ? 16 : h;
}

HDC CreateDC(std::unique_ptr<DcSurface> surface) {
    if (!surface) return 0;
    Table& t = TheTable();
    std::lock_guard lock(t.mutex);
    const HDC h = t.next++;
    Context c;
    c.surface = std::move(surface);
    c.pen = t.stockPen;
    c.brush = t.stockBrush;
    c.font = t.stockFont;
    t.contexts.emplace(h, std::move(c));
    return h;
}

HDC CreateRecordingDC() {
    return CreateDC(std::make_unique<RecordingSurface>());
}

bool DeleteDC(HDC dc) {
    Table& t = TheTable();
    std::lock_guard lock(t.mutex);
    return t.contexts.erase(dc) == 1;
}

DcSurface* SurfaceOf(HDC dc) {
    Table& t = TheTable();
    std::lock_guard lock(t.mutex);
    Context* c = Find(t, dc);
    return c ? c->surface.get() : nullptr;
}

RecordingSurface* RecordingOf(HDC dc) {
    return dynamic_cast<RecordingSurface*>(SurfaceOf(dc));
}

HGDIOBJ CreatePen(int style, int width, COLORREF color) {
    return AddObject(PenInfo{style, width, color});
}

HGDIOBJ CreateBrush(int style, COLORREF color, int hatch) {
    return AddObject(BrushInfo{style, color, hatch});
}

HGDIOBJ CreateFont(int height, int charset, std::string_view name) {
    return AddObject(FontInfo{std::string(name), height, charset});
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    Table& t = TheTable();
    std::lock_guard lock(t.mutex);
    Context* c = Find(t, dc);
    auto it = t.objects.find(object);
    if (c == nullptr || it == t.objects.end()) return 0;
    HGDIOBJ previous = 0;
    if (const auto* pen = std::get_if<PenInfo>(&it->second)) {
        c->state.pen = *pen;
        previous = c->pen;
        c->pen = object;
    } else if (const auto* brush = std::get_if<BrushInfo>(&it->second)) {
        c->state.brush = *brush;
        previous = c->brush;
        c->brush = object;
    } else {
        c->state.font = std::get<FontInfo>(it->second);
        previous = c->font;
        c->font = object;
    }
    DcCall call;
    call.op = DcOp::SelectObject;
    Emit(*c, std::move(call));
    return previous;
}

bool DeleteObject(HGDIOBJ object) {
    Table& t = TheTable();
    std::lock_guard lock(t.mutex);
    if (object == t.stockPen || object == t.stockBrush || object == t.stockFont) return false;
    return t.objects.erase(object) == 1;
}

std::size_t GdiObjectCount() {
    Table& t = TheTable();
    std::lock_guard lock(t.mutex);
    return t.objects.size();
}

int SetBkMode(HDC dc, int mode) {
    Table& t = TheTable();
    std::lock_guard lock(t.mutex);
    Context* c = Find(t, dc);
    if (c == nullptr) return 0;
    const int old = c->state.bkMode;
    c->state.bkMode = mode;
    DcCall call;
    call.op = DcOp::SetBkMode;
    Emit(*c, std::move(call));
    return old;
}

std::uint32_t SetTextAlign(HDC dc, std::uint32_t align) {
    Table& t = TheTable();
    std::lock_guard lock(t.mutex);
    Context* c = Find(t, dc);
    if (c == nullptr) return 0;
    const std::uint32_t old = c->state.textAlign;
    c->state.textAlign = align;
    DcCall call;
    call.op = DcOp::SetTextAlign;
    Emit(*c, std::move(call));
    return old;
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
    Table& t = TheTable();
    std::lock_guard lock(t.mutex);
    Context* c = Find(t, dc);
    if (c == nullptr) return 0;
    const COLORREF old = c->state.textColor;
    c->state.textColor = color;
    DcCall call;
    call.op = DcOp::SetTextColor;
    call.color = color;
    Emit(*c, std::move(call));
    return old;
}

bool SelectClipRect(HDC dc, const DcRect* rect) {
    Table& t = TheTable();
    std::lock_guard lock(t.mutex);
    Context* c = Find(t, dc);
    if (c == nullptr) return false;
    c->state.clipped = rect != nullptr;
    c->state.clip = rect ? *rect : DcRect{};
    DcCall call;
    call.op = DcOp::SelectClipRect;
    call.rect = c->state.clip;
    Emit(*c, std::move(call));
    return true;
}

bool TextOut(HDC dc, int x, int y, std::string_view text) {
    Table& t = TheTable();
    std::lock_guard lock(t.mutex);
    Context* c = Find(t, dc);
    if (c == nullptr) return false;
    DcCall call;
    call.op = DcOp::TextOut;
    call.points.push_back({x, y});
    call.text.assign(text);
    Emit(*c, std::move(call));
    return true;
}

int GetTextHeight(HDC dc, std::string_view text) {
    Table& t = TheTable();
    std::lock_guard lock(t.mutex);
    Context* c = Find(t, dc);
    if (c == nullptr) return 0;
    return c->surface->TextHeight(c->state.font, text);
}

bool MoveTo(HDC dc, int x, int y) {
    Table& t = TheTable();
    std::lock_guard lock(t.mutex);
    Context* c = Find(t, dc);
    if (c == nullptr) return false;
    c->state.position = {x, y};
    DcCall call;
    call.op = DcOp::MoveTo;
    call.points.push_back({x, y});
    Emit(*c, std::move(call));
    return true;
}

bool LineTo(HDC dc, int x, int y) {
    Table& t = TheTable();
    std::lock_guard lock(t.mutex);
    Context* c = Find(t, dc);
    if (c == nullptr) return false;
    DcCall call;
    call.op = DcOp::LineTo;
    call.points.push_back(c->state.position);
    call.points.push_back({x, y});
    c->state.position = {x, y};
    Emit(*c, std::move(call));
    return true;
}

bool Polygon(HDC dc, const DcPoint* points, int count) {
    if (points == nullptr || count < 2) return false;
    Table& t = TheTable();
    std::lock_guard lock(t.mutex);
    Context* c = Find(t, dc);
    if (c == nullptr) return false;
    DcCall call;
    call.op = DcOp::Polygon;
    call.points.assign(points, points + count);
    Emit(*c, std::move(call));
    return true;
}

bool Ellipse(HDC dc, int left, int top, int right, int bottom) {
    Table& t = TheTable();
    std::lock_guard lock(t.mutex);
    Context* c = Find(t, dc);
    if (c == nullptr) return false;
    DcCall call;
    call.op = DcOp::Ellipse;
    call.rect = {left, top, right, bottom};
    Emit(*c, std::move(call));
    return true;
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
    Table& t = TheTable();
    std::lock_guard lock(t.mutex);
    Context* c = Find(t, dc);
    if (c == nullptr) return 0xFFFFFFFF;
    DcCall call;
    call.op = DcOp::SetPixel;
    call.points.push_back({x, y});
    call.color = color;
    Emit(*c, std::move(call));
    return color;
}

DcState StateOf(HDC dc) {
    Table& t = TheTable();
    std::lock_guard lock(t.mutex);
    Context* c = Find(t, dc);
    return c ? c->state : DcState{};
}

}  // namespace platform
