#pragma once

#include <string>
#include <string_view>

#include "platform/DeviceContext.h"

// The toolkit's drawing objects on top of a device context: a pen, a brush and a font with
// plain attributes, and a canvas that realises them in the context just before it draws.
namespace platform {

struct TPen {
    COLORREF Color = 0;  // black
    int Width = 1;
    int Style = PS_SOLID;
    bool operator==(const TPen&) const = default;
};

struct TBrush {
    COLORREF Color = 0xFFFFFF;  // white
    int Style = BS_SOLID;
    int Hatch = 0;
    bool operator==(const TBrush&) const = default;
};

struct TFont {
    std::string Name = "MS Sans Serif";
    int Size = 8;  // points
    COLORREF Color = 0;
    int Charset = DEFAULT_CHARSET;
    bool operator==(const TFont&) const = default;
    // The height in logical units at 96 pixels per inch (negative: character height).
    int Height() const;
};

// A canvas draws on a context it does not own. The pen, brush and font are created in the context
// when something is drawn after they changed, and freed when replaced or when the canvas ends.
class TCanvas {
  public:
    explicit TCanvas(HDC dc) : dc_(dc) {}
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TPen Pen;
    TBrush Brush;
    TFont Font;

    // The context with the current pen, brush and font selected into it.
    HDC Handle();
    void TextOut(int x, int y, std::string_view text);
    int TextHeight(std::string_view text);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polygon(const DcPoint* points, int count);
    void Ellipse(int left, int top, int right, int bottom);
    void SetPixel(int x, int y, COLORREF color);
    void SetTransparent(bool transparent);
    void SetTextAlign(std::uint32_t align);
    // Restricts drawing to the rectangle; nullptr removes the restriction.
    void SetClipRect(const DcRect* rect);

  private:
    void Realise();

    HDC dc_;
    HGDIOBJ pen_ = 0, brush_ = 0, font_ = 0;
    HGDIOBJ oldPen_ = 0, oldBrush_ = 0, oldFont_ = 0;
    TPen selectedPen_;
    TBrush selectedBrush_;
    TFont selectedFont_;
    COLORREF selectedTextColor_ = 0;
};

}  // namespace platform
