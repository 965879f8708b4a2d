#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "model/ListaObi.h"
#include "model/ListaPKT.h"
#include "shape/Shape.h"

// Shapefile records built from map objects, for the MAP to shapefile export. An object's kind is
// the first character of its code; the conversion settings choose the geometry of kinds 2, 3
// and 5. Coordinates go out with the axes swapped when asked: record X is the point's Y
// (easting), record Y its X (northing).

enum class ObjectGeometry {
    None,        // not exported (kinds other than 1 to 5)
    Point,       // the first vertex
    Line,        // one part holding every vertex
    PartedLine,  // every vertex, a new part after each vertex that ends one (kind 4)
    Polygon,     // the rings of the object's area outline (kind 5)
};

// The geometry the object becomes under the current conversion settings.
ObjectGeometry GeometryOfObject(const TObiekt& object);

// The shape type of the object's record: 0 for the null shape RecordFromObject makes of an
// object without the vertices its geometry needs (for a polygon, an outline of three distinct
// points).
std::int32_t RecordTypeOf(const TObiekt& object, ObjectGeometry geometry);

// The record of one object with record number and content length 0; nullptr for ObjectGeometry
// None. An object without vertices whose geometry needs one (point, parted line, polygon)
// becomes a null shape, so that it keeps its row in the attribute table; so does an area whose
// outline has fewer than three distinct points. A one-part line without vertices is a line of no
// points. A vertex that repeats the one before it is one vertex. Every ring of a polygon is
// closed, its last point the same as its first; its outer rings run clockwise and its holes
// counter-clockwise in easting/northing, whatever their sense in the map.
std::unique_ptr<TSHPRecord> RecordFromObject(const TObiekt& object, ObjectGeometry geometry,
                                             bool SwapAxes);

// Appends the records of the given objects in their order (those of no exported kind are
// skipped), marks the shape as built from map objects and rebuilds its header, which a fresh
// shape of null records gives the type of its first object's geometry. The per-code export hands
// in one code's objects at a time.
void AppendObjectRecords(TShape& shape, std::span<TObiekt* const> objects, bool SwapAxes);

// Creates an empty shape when Shape holds none, then returns its ObjectsToShape.
std::int32_t BuildShapeFromObjects(std::unique_ptr<TShape>& Shape, TListaPKT* Points,
                                   TListaObi* Objects, bool OnlyMarked, bool SwapAxes);

// A coordinate as the area outline text carries it: rounded to 15 significant digits. A value
// that is not finite is kept as it is.
double RoundTo15Digits(double value);
