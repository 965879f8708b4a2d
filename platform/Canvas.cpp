#include "platform/Canvas.h"

namespace platform {
namespace {

// The colour of a font is the context's text colour, not part of the font object.
bool SameFontObject(const TFont& a, const TFont& b) {
    return a.Name == b.Name && a.Size == b.Size && a.Charset == b.Charset;
}

}  // namespace

int TFont::Height() const {
    // Points to pixels at 96 pixels per inch, rounded as MulDiv does.
    const long long scaled = static_cast<long long>(Size) * 96;
    const long long h = (scaled >= 0 ? scaled + 36 : scaled - 36) / 72;
    return -static_cast<int>(h);
}

TCanvas::~TCanvas() {
    // Put the context's own objects back before freeing ours.
    if (pen_ != 0) {
        SelectObject(dc_, oldPen_);
        DeleteObject(pen_);
    }
    if (brush_ != 0) {
        SelectObject(dc_, oldBrush_);
        DeleteObject(brush_);
    }
    if (font_ != 0) {
        SelectObject(dc_, oldFont_);
        DeleteObject(font_);
    }
}

void TCanvas::Realise() {
    if (pen_ == 0 || !(Pen == selectedPen_)) {
        const HGDIOBJ h = CreatePen(Pen.Style, Pen.Width, Pen.Color);
        const HGDIOBJ old = SelectObject(dc_, h);
        if (pen_ != 0) {
            DeleteObject(pen_);
        } else {
            oldPen_ = old;
        }
        pen_ = h;
        selectedPen_ = Pen;
    }
    if (brush_ == 0 || !(Brush == selectedBrush_)) {
        const HGDIOBJ h = CreateBrush(Brush.Style, Brush.Color, Brush.Hatch);
        const HGDIOBJ old = SelectObject(dc_, h);
        if (brush_ != 0) {
            DeleteObject(brush_);
        } else {
            oldBrush_ = old;
        }
        brush_ = h;
        selectedBrush_ = Brush;
    }
    if (font_ == 0 || !SameFontObject(Font, selectedFont_)) {
        const HGDIOBJ h = CreateFont(Font.Height(), Font.Charset, Font.Name);
        const HGDIOBJ old = SelectObject(dc_, h);
        if (font_ != 0) {
            DeleteObject(font_);
        } else {
            oldFont_ = old;
        }
        font_ = h;
        selectedFont_ = Font;
    }
    if (Font.Color != selectedTextColor_) {
        platform::SetTextColor(dc_, Font.Color);
        selectedTextColor_ = Font.Color;
    }
}

HDC TCanvas::Handle() {
    Realise();
    return dc_;
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
    Realise();
    platform::TextOut(dc_, x, y, text);
}

int TCanvas::TextHeight(std::string_view text) {
    Realise();
    return GetTextHeight(dc_, text);
}

void TCanvas::MoveTo(int x, int y) {
    Realise();
    platform::MoveTo(dc_, x, y);
}

void TCanvas::LineTo(int x, int y) {
    Realise();
    platform::LineTo(dc_, x, y);
}

void TCanvas::Polygon(const DcPoint* points, int count) {
    Realise();
    platform::Polygon(dc_, points, count);
}

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
    Realise();
    platform::Ellipse(dc_, left, top, right, bottom);
}

void TCanvas::SetPixel(int x, int y, COLORREF color) {
    platform::SetPixel(dc_, x, y, color);
}

void TCanvas::SetTransparent(bool transparent) {
    SetBkMode(dc_, transparent ? TRANSPARENT : OPAQUE);
}

void TCanvas::SetTextAlign(std::uint32_t align) {
    platform::SetTextAlign(dc_, align);
}

void TCanvas::SetClipRect(const DcRect* rect) {
    SelectClipRect(dc_, rect);
}

}  // namespace platform
