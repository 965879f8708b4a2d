// Neutral stand-ins for the places that hand on to the drawing, snapping, identification and
// display dialog, until that layer is wired in: each changes nothing and returns what a call
// that did nothing returns. This file goes when it arrives.
#include "plugin/KWZArcView.h"

std::int32_t TKWZArcView::ConfigureDisplay(std::uint32_t ParentWindow) {
    (void)ParentWindow;
    return 0;
}

// Draws nothing.
std::int32_t TKWZArcView::Draw(std::uint32_t DC, double WorldMinX, double WorldMinY,
                               double WorldMaxX, double WorldMaxY, std::int32_t ScreenLeft,
                               std::int32_t ScreenTop, std::int32_t ScreenRight,
                               std::int32_t ScreenBottom, std::uint8_t Flag, std::int32_t Param) {
    (void)DC, (void)WorldMinX, (void)WorldMinY, (void)WorldMaxX, (void)WorldMaxY;
    (void)ScreenLeft, (void)ScreenTop, (void)ScreenRight, (void)ScreenBottom, (void)Flag;
    (void)Param;
    return 0;
}

// Finds no vertex; the found coordinates are not written.
bool TKWZArcView::FindNearestPoint(double X, double Y, double Tolerance, double* FoundX,
                                   double* FoundY) {
    (void)X, (void)Y, (void)Tolerance, (void)FoundX, (void)FoundY;
    return false;
}

// Hits no object.
bool TKWZArcView::Identify(double X, double Y, double Tolerance, std::uint8_t Show) {
    (void)X, (void)Y, (void)Tolerance, (void)Show;
    return false;
}
