// The display and query places of the single-file server object: the display dialog (0),
// drawing (3), snapping to a vertex (7) and identifying an object (8). Positions, tolerances and
// world windows cross in the host's axes, northing first, which is the order the shape's
// drawing and searches take them in.
#include "plugin/KWZArcView.h"

// No result of its own: 0.
std::int32_t TKWZArcView::ConfigureDisplay(std::uint32_t ParentWindow) try {
    TShape::EditDisplay(Shape.get(), ParentWindow);
    return 0;
} catch (...) {
    return 0;
}

// The world window is lowest northing, lowest easting, highest northing, highest easting; the
// flag byte and the last integer are handed on unused. -1 without a shape.
std::int32_t TKWZArcView::Draw(std::uint32_t DC, double WorldMinX, double WorldMinY,
                               double WorldMaxX, double WorldMaxY, std::int32_t ScreenLeft,
                               std::int32_t ScreenTop, std::int32_t ScreenRight,
                               std::int32_t ScreenBottom, std::uint8_t Flag,
                               std::int32_t Param) try {
    const TWorldWindow window{WorldMinX, WorldMinY, WorldMaxX, WorldMaxY};
    const platform::DcRect screen{ScreenLeft, ScreenTop, ScreenRight, ScreenBottom};
    return TShape::PaintShape(Shape.get(), DC, window, screen, Flag, Param);
} catch (...) {
    return -1;
}

// X is the northing (the shapefile's Y), Y the easting; the vertex found comes back the same
// way. The outputs are written only when a vertex was found.
bool TKWZArcView::FindNearestPoint(double X, double Y, double Tolerance, double* FoundX,
                                   double* FoundY) try {
    if (!Shape || !FoundX || !FoundY) return false;
    double n = 0, e = 0;
    if (!Shape->SnapToVertex(X, Y, Tolerance, n, e)) return false;
    *FoundX = n;
    *FoundY = e;
    return true;
} catch (...) {
    return false;
}

bool TKWZArcView::Identify(double X, double Y, double Tolerance, std::uint8_t Show) try {
    return Shape ? Shape->Identify(Show != 0, X, Y, Tolerance) : false;
} catch (...) {
    return false;
}
