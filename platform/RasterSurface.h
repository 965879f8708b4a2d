#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/DeviceContext.h"

// A device-context surface that paints into a bitmap with Cairo, for a person to look at: the
// bitmap starts white and can be saved as PNG. Pens, brushes (hatches included), fonts, text
// alignment, the transparent or opaque text background and the clip rectangle are honoured as
// the context hands them over. Texts arrive in Windows-1250; a font the machine lacks is drawn
// with a near one, and the symbol font "Wingdings" with the Unicode signs its characters stand
// for.
namespace platform {

class RasterSurface : public DcSurface {
  public:
    RasterSurface(int width, int height);
    ~RasterSurface() override;
    RasterSurface(const RasterSurface&) = delete;
    RasterSurface& operator=(const RasterSurface&) = delete;

    void Draw(const DcCall& call) override;
    int TextHeight(const FontInfo& font, std::string_view text) const override;

    int Width() const { return width_; }
    int Height() const { return height_; }
    // The colour of a pixel (0x00BBGGRR); white outside the bitmap.
    COLORREF Pixel(int x, int y) const;
    // Writes the bitmap as PNG; false when it cannot.
    bool SavePng(const std::string& fileName) const;

  private:
    struct Cairo;

    int width_;
    int height_;
    std::unique_ptr<Cairo> cairo_;
};

// A context drawing on a new raster surface of the given size.
HDC CreateRasterDC(int width, int height);
// The raster surface behind a context, or nullptr.
RasterSurface* RasterOf(HDC dc);

// The Unicode character a "Wingdings" character code stands for (a bullet for a code without
// a sign of its own).
char32_t WingdingsToUnicode(unsigned char code);

}  // namespace platform
