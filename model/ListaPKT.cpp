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
    GoLast();
    TPunkt* p = point.get();
    Add(std::move(point));
    Widen(*p);
    return true;
}

bool TListaPKT::DeletePoint() {
    return TakeCurrent() != nullptr;
}
