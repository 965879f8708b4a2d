// The coordinate texts that the shapefile export builds from line and area objects.
#include "model/FormatSettings.h"
#include "model/Obiekt.h"
#include "model/PlaneGeometry.h"
#include "platform/NumberText.h"

namespace {

constexpr double kRingTolerance = 1e-8;

const TPunkt* PointOf(const TElement* e) {
    return static_cast<const TNumer*>(e)->PointRef;
}

void Write(std::string& coords, const TPunkt* p) {
    coords += platform::FormatGeneral(p->X);
    coords += ',';
    coords += platform::FormatGeneral(p->Y);
    coords += ';';
}

bool Closes(const TPunkt* p, const TPunkt* start) {
    return Hypot(p->X - start->X, p->Y - start->Y) <= kRingTolerance;
}

}  // namespace

std::int32_t TObiekt::BuildLineCoordText(std::string& PartStarts, std::string& Coords,
                                         std::int32_t& Count) const {
    GlobalNumberFormat.SetDecimalSeparator('.');
    PartStarts.clear();
    Coords.clear();
    Count = 0;
    if (!HasVertices()) return 0;
    std::int32_t parts = 1;
    const TElement* e = Vertices->First();
    Write(Coords, PointOf(e));
    PartStarts = "0,";
    Count = 1;
    for (e = e->GetNext(); e != nullptr; e = e->GetNext()) {
        const TPunkt* p = PointOf(e);
        Write(Coords, p);
        ++Count;
        if (p->Flags < 12 && e->GetNext() != nullptr) {
            PartStarts += std::to_string(Count) + ",";
            ++parts;
        }
    }
    return parts;
}

std::int32_t TObiekt::BuildAreaCoordText(std::string& PartStarts, std::string& Coords,
                                         std::int32_t& Count) const {
    GlobalNumberFormat.SetDecimalSeparator('.');
    PartStarts.clear();
    Coords.clear();
    Count = 0;
    if (!HasVertices()) return 0;
    const TElement* e = Vertices->First();
    const TPunkt* ringStart = PointOf(e);
    Write(Coords, ringStart);
    PartStarts = "0,";
    Count = 1;
    std::int32_t rings = 1;
    bool closed = false;  // the current ring has closed; the next vertex opens a new one
    for (e = e->GetNext(); e != nullptr; e = e->GetNext()) {
        const TPunkt* p = PointOf(e);
        if (closed) {
            // Open the next ring: written, its position noted, not tested for closing.
            ringStart = p;
            Write(Coords, p);
            PartStarts += std::to_string(Count) + ",";
            ++Count;
            ++rings;
            closed = false;
            continue;
        }
        Write(Coords, p);
        ++Count;
        if (Closes(p, ringStart)) {
            closed = true;
            // After the second ring and every later one, the link vertex back to the first ring
            // follows: skip it.
            if (rings >= 2 && e->GetNext() != nullptr) e = e->GetNext();
        }
    }
    return rings;
}
