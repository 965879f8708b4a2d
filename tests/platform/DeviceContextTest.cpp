#include "platform/DeviceContext.h"

#include <gtest/gtest.h>

#include "platform/Canvas.h"

using namespace platform;

TEST(DeviceContext, RecordsEveryCallWithTheStateItDrewWith) {
    const HDC dc = CreateRecordingDC();
    ASSERT_NE(dc, 0u);
    const HGDIOBJ pen = CreatePen(PS_DASH, 3, 0x00FF00);
    const HGDIOBJ brush = CreateBrush(BS_HATCHED, 0x0000FF, HS_CROSS);
    const HGDIOBJ font = CreateFont(-13, EASTEUROPE_CHARSET, "Arial");
    const HGDIOBJ stockPen = SelectObject(dc, pen);
    EXPECT_NE(stockPen, 0u);
    EXPECT_NE(SelectObject(dc, brush), 0u);
    EXPECT_NE(SelectObject(dc, font), 0u);
    EXPECT_FALSE(DeleteObject(stockPen));
    const HGDIOBJ pen2 = CreatePen(PS_SOLID, 1, 0);
    EXPECT_EQ(SelectObject(dc, pen2), pen);
    EXPECT_EQ(SelectObject(dc, pen), pen2);
    EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
    SetTextAlign(dc, TA_CENTER | TA_BOTTOM);
    const DcRect clip{1, 2, 30, 40};
    SelectClipRect(dc, &clip);
    EXPECT_EQ(GetTextHeight(dc, "Ag"), 13);
    TextOut(dc, 5, 6, "napis");
    MoveTo(dc, 1, 1);
    LineTo(dc, 9, 9);
    const DcPoint tri[] = {{0, 0}, {4, 0}, {0, 4}};
    Polygon(dc, tri, 3);
    Ellipse(dc, 0, 0, 8, 8);
    SetPixel(dc, 3, 3, 0x123456);
    SelectClipRect(dc, nullptr);

    const auto& calls = RecordingOf(dc)->Calls();
    ASSERT_EQ(calls.size(), 15u);
    const DcCall& text = calls[8];
    EXPECT_EQ(text.op, DcOp::TextOut);
    EXPECT_EQ(text.text, "napis");
    EXPECT_EQ(text.state.pen, (PenInfo{PS_DASH, 3, 0x00FF00}));
    EXPECT_EQ(text.state.brush, (BrushInfo{BS_HATCHED, 0x0000FF, HS_CROSS}));
    EXPECT_EQ(text.state.font, (FontInfo{"Arial", -13, EASTEUROPE_CHARSET}));
    EXPECT_EQ(text.state.bkMode, TRANSPARENT);
    EXPECT_EQ(text.state.textAlign, TA_CENTER | TA_BOTTOM);
    EXPECT_TRUE(text.state.clipped);
    EXPECT_EQ(text.state.clip, clip);
    EXPECT_EQ(calls[10].points, (std::vector<DcPoint>{{1, 1}, {9, 9}}));
    EXPECT_EQ(calls[11].points.size(), 3u);
    EXPECT_EQ(calls[12].rect, (DcRect{0, 0, 8, 8}));
    EXPECT_EQ(calls[13].color, 0x123456u);
    EXPECT_FALSE(StateOf(dc).clipped);

    // A deleted pen stays what it was in the context that holds it.
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_FALSE(DeleteObject(pen));
    EXPECT_EQ(StateOf(dc).pen.width, 3);
    EXPECT_EQ(SelectObject(dc, pen), 0u);
    for (HGDIOBJ o : {brush, font, pen2}) DeleteObject(o);
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_FALSE(DeleteDC(dc));
    EXPECT_FALSE(TextOut(dc, 0, 0, "x"));
    EXPECT_EQ(RecordingOf(dc), nullptr);
}

TEST(DeviceContext, CanvasRealisesOnlyWhatChanged) {
    const HDC dc = CreateRecordingDC();
    {
        TCanvas canvas(dc);
        canvas.Pen.Color = 0x808080;
        canvas.MoveTo(0, 0);
        canvas.LineTo(1, 1);  // nothing changed in between
        canvas.Pen.Width = 2;
        canvas.Font.Color = 0xFF;
        canvas.TextOut(3, 3, "a");
        canvas.SetTransparent(true);
        canvas.SetTextAlign(TA_CENTER | TA_BOTTOM);
    }
    const auto& calls = RecordingOf(dc)->Calls();
    int selects = 0;
    for (const auto& c : calls) selects += c.op == DcOp::SelectObject;
    // Pen, brush and font at first, the new pen later, and the context's own three at the end.
    EXPECT_EQ(selects, 3 + 1 + 3);
    const DcCall* text = nullptr;
    for (const auto& c : calls)
        if (c.op == DcOp::TextOut) text = &c;
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->state.pen.width, 2);
    EXPECT_EQ(text->state.textColor, 0xFFu);
    EXPECT_EQ(text->state.font.height, -11);       // 8 points at 96 pixels per inch
    EXPECT_EQ(calls.back().state.pen, PenInfo{});  // the context's own objects are back
    DeleteDC(dc);
}
