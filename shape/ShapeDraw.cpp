// Drawing a whole shapefile on a device context: the records, then the vertex marks and the
// labels when they are switched on.
#include "platform/Canvas.h"
#include "shape/Shape.h"

namespace {

constexpr platform::COLORREF kMarkColor = 0xFFFFFF;
constexpr platform::COLORREF kLabelColor = 0x000000;
constexpr int kMarkRadius = 3;

}  // namespace

std::int32_t TShape::PaintShape(TShape* shape, platform::HDC dc, const TWorldWindow& window,
                                const platform::DcRect& screen, std::uint8_t unusedByte,
                                std::int32_t unusedInt) {
    if (shape == nullptr) return -1;
    return shape->DrawShape(dc, window, screen, unusedByte, unusedInt);
}

std::int32_t TShape::DrawShape(platform::HDC dc, const TWorldWindow& window,
                               const platform::DcRect& screen, std::uint8_t /*unusedByte*/,
                               std::int32_t /*unusedInt*/) {
    const platform::DcState before = platform::StateOf(dc);
    {
        platform::TCanvas canvas(dc);
        canvas.Pen = *LinePen;
        canvas.Brush = *AreaBrush;
        canvas.Font = *SymbolFont;
        canvas.SetTransparent(true);
        canvas.SetTextAlign(platform::TA_CENTER | platform::TA_BOTTOM);
        const platform::DcRect clip{screen.left, screen.top, screen.right - 1, screen.bottom - 1};
        canvas.SetClipRect(&clip);

        // The walks go through the list's cursor, which ends on the last record, so the next
        // search starts with the first.
        Records->GoFirst();
        if (Records->Count() > 0) {
            do {
                Records->CurrentRecord()->DrawShapeRecord(canvas, window, Symbol, screen);
            } while (Records->Next());
        }

        if (Markowanie && Records->Count() > 0) {
            canvas.Pen.Color = kMarkColor;
            canvas.Pen.Style = platform::PS_SOLID;
            Records->GoFirstVertex();
            do {
                double x = 0, y = 0;
                if (!Records->GetCurrentVertex(x, y)) continue;
                std::int32_t sx = 0, sy = 0;
                WorldToScreen(window, screen, sx, sy, y, x);
                canvas.Ellipse(sx - kMarkRadius, sy - kMarkRadius, sx + kMarkRadius,
                               sy + kMarkRadius);
            } while (Records->NextVertex());
        }

        if (Etykiety && Records->Count() > 0) {
            canvas.Pen.Color = kLabelColor;
            canvas.Font.Color = kLabelColor;
            canvas.Font.Name = "Arial";
            Records->GoFirst();
            do {
                const TSHPRecord* r = Records->CurrentRecord();
                TSHPShapeGeometry* shape = r->Shape();
                double xmin = 0, ymin = 0, xmax = 0, ymax = 0;
                // A null record, or one without points, has no place for a label.
                if (shape == nullptr || !shape->ComputeBox(true, xmin, ymin, xmax, ymax)) continue;
                std::int32_t sx = 0, sy = 0;
                WorldToScreen(window, screen, sx, sy, (ymin + ymax) / 2, (xmin + xmax) / 2);
                canvas.TextOut(sx, sy, r->Label);
            } while (Records->Next());
        }

        canvas.SetClipRect(before.clipped ? &before.clip : nullptr);
    }
    return 0;
}
