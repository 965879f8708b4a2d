#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "model/Lista.h"
#include "model/MapArena.h"
#include "model/ShortText.h"

// The map's named points and the point list that owns them. Objects refer to points through
// their vertices, so one point can serve several objects.

// Bits of TPunkt::Flags.
inline constexpr std::uint8_t kPointHasHeight = 1;
inline constexpr std::uint8_t kPointHasName = 2;
inline constexpr std::uint8_t kPointFromFile = 4;
inline constexpr std::uint8_t kPointLineGoesOn = 8;

class TPunkt : public TArenaElement<TPunkt> {
  public:
    // The name is cut to 10 characters; the other fields are stored as given.
    TPunkt(std::string_view Name, std::uint8_t Flags, double X, double Y, float H);

    // Plain operations: a point carries no table of virtual ones (nothing overrides them), which
    // keeps it at 48 bytes.
    void SetFlags(std::uint8_t Bits) { Flags |= Bits; }
    void ClearFlags(std::uint8_t Bits) { Flags &= static_cast<std::uint8_t>(~Bits); }
    void Move(double DX, double DY);
    void SetXY(double NewX, double NewY);
    void GetXY(double& OutX, double& OutY) const;
    // Turns the point about (X0, Y0) by Angle radians, from the X axis towards the Y axis.
    void Rotate(double X0, double Y0, double Angle);
    void SwapXY();

    ShortText<10> Name;
    std::uint8_t Flags;
    float H;   // height; 0 when the point has none
    double X;  // northing
    double Y;  // easting
};

class TListaPKT : public ListOf<TPunkt> {
  public:
    // Destroys the elements before the storage they live in.
    ~TListaPKT() override { DestroyElements(); }

    // A new point as the constructor makes it, in the list's own storage and not yet added. It
    // must not outlive the list.
    std::unique_ptr<TPunkt> NewPoint(std::string_view Name, std::uint8_t Flags, double X, double Y,
                                     float H) {
        if (!arena_) arena_ = std::make_unique<MapArena>();
        return MakeInArena<TPunkt>(*arena_, Name, Flags, X, Y, H);
    }

    // Appends at the tail, makes the point current and widens both boxes. Always true.
    virtual bool AddPoint(std::unique_ptr<TPunkt> point);
    // NewPoint and AddPoint in one: the readers' way, a million times a map.
    TPunkt* AddNewPoint(std::string_view Name, std::uint8_t Flags, double X, double Y, float H) {
        std::unique_ptr<TPunkt> point = NewPoint(Name, Flags, X, Y, H);
        TPunkt* p = point.release();
        Link(p);
        Widen(*p);
        return p;
    }
    // Removes the current point and frees it; false when the list is empty.
    virtual bool DeletePoint();

    TPunkt* CurrentPoint() const { return static_cast<TPunkt*>(CurrentItem()); }

    // Exact box and padded box (the padding of 1 exists only around the first point). The boxes
    // only grow: deleting points does not shrink them.
    double MaxX = 0.0;
    double MaxY = 0.0;
    double PadMaxX = 0.0;
    double PadMinX = 0.0;
    double MinX = 0.0;
    double MinY = 0.0;
    double PadMaxY = 0.0;
    double PadMinY = 0.0;
    double PadMaxH = 0.0;
    double PadMinH = 0.0;

  private:
    // Widens both boxes by the point just appended; the first point sets them.
    void Widen(const TPunkt& p) {
        if (Count() == 1) {
            PadMaxX = p.X + 1;
            PadMinX = p.X - 1;
            PadMaxY = p.Y + 1;
            PadMinY = p.Y - 1;
            PadMaxH = p.H + 1;
            PadMinH = p.H - 1;
            MinX = MaxX = p.X;
            MinY = MaxY = p.Y;
            return;
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
    }

    std::unique_ptr<MapArena> arena_;
};
