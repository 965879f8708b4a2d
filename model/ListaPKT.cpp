#include "model/ListaPKT.h"

#include <cmath>

#include "model/PlaneGeometry.h"

TPunkt::TPunkt(std::string_view Name, std::uint8_t Flags, double X, double Y, float H)
    : Name(Name), Flags(Flags), H(H), X(X), Y(Y) {}

void TPunkt::Move(double DX, double DY) {
    X += DX;
    Y += DY;
}

void TPunkt::SetXY(double NewX, double NewY) {
    X = NewX;
    Y = NewY;
}

void TPunkt::GetXY(double& OutX, double& OutY) const {
    OutX = X;
    OutY = Y;
}

void TPunkt::Rotate(double X0, double Y0, double Angle) {
    const double dx = X - X0;
    const double dy = Y - Y0;
    double a = Azimuth(dy, dx);
    a = a + Angle;
    const double d = Hypot(dx, dy);
    X = X0 + d * std::cos(a);
    Y = Y0 + d * std::sin(a);
}

void TPunkt::SwapXY() {
    const double x = X;
    X = Y;
    Y = x;
}

bool TListaPKT::AddPoint(std::unique_ptr<TPunkt> point) {
    const TPunkt& p = *point;
    GoLast();
    Add(std::move(point));
    if (Count() == 1) {
        PadMaxX = p.X + 1;
        PadMinX = p.X - 1;
        PadMaxY = p.Y + 1;
        PadMinY = p.Y - 1;
        PadMaxH = p.H + 1;
        PadMinH = p.H - 1;
        MinX = MaxX = p.X;
        MinY = MaxY = p.Y;
        return true;
    }
    if (p.X < MinX) MinX = p.X;
    if (p.Y < MinY) MinY = p.Y;
    if (p.X > MaxX) MaxX = p.X;
    if (p.Y > MaxY) MaxY = p.Y;
    if (p.X < PadMinX) PadMinX = p.X;
    if (p.Y < PadMinY) PadMinY = p.Y;
    if (p.H < PadMinH) PadMinH = p.H;
    if (p.X > PadMaxX) PadMaxX = p.X;
    if (p.Y > PadMaxY) PadMaxY = p.Y;
    if (p.H > PadMaxH) PadMaxH = p.H;
    return true;
}

bool TListaPKT::DeletePoint() {
    return TakeCurrent() != nullptr;
}
