#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "model/AttributeBlock.h"
#include "model/HeapText.h"
#include "model/Lista.h"
#include "model/ListaPKT.h"
#include "model/ShortText.h"
#include "model/VectorSlots.h"

// A coded map object: its vertices refer to shared points of the map's point list, and it carries
// a value, a flag word, an extent, the host's attributes and up to three vectors.

// One vertex of an object; it refers to its point and never owns it.
class TNumer : public TArenaElement<TNumer> {
  public:
    explicit TNumer(TPunkt* point) : PointRef(point) {}
    TPunkt* PointRef;
};

// An object's vertices in drawing order. Destroying it frees the vertices, never their points.
class TListaNr : public ListOf<TNumer> {
  public:
    // Copies the fields of the current vertex's point; the list must not be empty. Always true.
    bool GetCurrentVertex(std::string& Name, double& X, double& Y, float& H,
                          std::uint8_t& Flags) const;
    // Removes the current vertex and frees it (not its point); false when empty.
    virtual bool DeleteVertex();

    TNumer* CurrentVertex() const { return static_cast<TNumer*>(CurrentItem()); }
};

// Attribute ids of SetAttribute and GetAttribute.
enum : std::int32_t {
    kAttrA1 = 1,
    kAttrA2 = 2,
    kAttrA3 = 3,
    kAttrTX = 4,
    kAttrKR = 5,
    kAttrDT = 6,
    kAttrMP = 7,
    kAttrFA = 8,
    kAttrA4 = 11,
    kAttrA5 = 12,
    kAttrA6 = 13,
    kAttrID = 20,
};

// The flag of TObiekt::Flags that marks an object for selective writing and export.
inline constexpr std::uint16_t kObjectMarked = 8;

class TObiekt : public TArenaElement<TObiekt> {
  public:
    // Code cut to 4, attributes A1..A6 to 85; Flags 3, Value 0, an empty vertex list.
    TObiekt(std::string_view Code, std::string_view A1, std::string_view A2, std::string_view A3,
            std::string_view A4, std::string_view A5, std::string_view A6, std::string_view Text,
            std::int32_t LineNo);
    // An object with the code (cut to 4) and line number, no attributes or text, and the given
    // (empty) vertex list.
    TObiekt(std::string_view Code, std::int32_t LineNo, std::unique_ptr<TListaNr> Vertices);

    void SetFlags(std::uint16_t Bits) { Flags |= Bits; }
    void ClearFlags(std::uint16_t Bits) { Flags &= static_cast<std::uint16_t>(~Bits); }
    std::uint16_t GetFlags() const { return Flags; }

    // Ids of the table above; 9 and 10 are ignored. A DT, MP or FA text that is not a whole
    // number keeps the old value.
    void SetAttribute(std::int32_t Id, std::string_view Value);
    // The attribute's text cut to MaxLen; empty for ids outside the table.
    void GetAttribute(std::int32_t Id, std::string& Value, std::int32_t MaxLen) const;
    void GetText(std::string& Result, std::int32_t MaxLen) const;
    void SetText(std::string_view NewText);
    // Index 1..3; a triple of zeros removes the vector.
    void SetVector(std::int32_t Index, float A, float B, float C);
    void GetVector(std::int32_t Index, float& A, float& B, float& C) const;
    bool HasVertices() const { return Vertices && Vertices->Count() > 0; }
    void ComputeExtent();
    // Widens the extent by a vertex's point; the first vertex sets it.
    void ExtendExtent(const TPunkt& Point, bool First) {
        const auto x = static_cast<float>(Point.X);
        const auto y = static_cast<float>(Point.Y);
        if (First) {
            MinX = MaxX = x;
            MinY = MaxY = y;
            MinH = MaxH = Point.H;
            return;
        }
        MinX = std::min(MinX, x);
        MaxX = std::max(MaxX, x);
        MinY = std::min(MinY, y);
        MaxY = std::max(MaxY, y);
        MinH = std::min(MinH, Point.H);
        MaxH = std::max(MaxH, Point.H);
    }

    // Coordinate texts for the shapefile export: Coords gets "X,Y;" per written vertex and
    // PartStarts the 0-based positions where parts (rings) begin, each followed by ",".
    // Both return the number of parts; an object without vertices gives empty texts, Count 0 and 0.
    std::int32_t BuildLineCoordText(std::string& PartStarts, std::string& Coords,
                                    std::int32_t& Count) const;
    std::int32_t BuildAreaCoordText(std::string& PartStarts, std::string& Coords,
                                    std::int32_t& Count) const;

    // The fields are laid out so that an object takes 120 bytes: a map holds one per few points.
    ShortText<4> Code;
    std::uint16_t Flags = 3;
    float Value = 0.0f;
    float MinX = 0.0f, MinY = 0.0f, MaxX = 0.0f, MaxY = 0.0f, MinH = 0.0f, MaxH = 0.0f;
    std::int32_t LineNo = 0;
    std::int32_t FA = -1;
    std::int32_t DT = 0;
    std::int32_t MP = 0;
    std::unique_ptr<TListaNr> Vertices;
    // A1, A2, A3, A4, A5, A6, ID; allocated the first time an attribute is set.
    AttributeBlock Attributes;
    HeapText KR;
    HeapText Text;  // TX; empty when the object has none
    VectorSlots Vectors;
};
