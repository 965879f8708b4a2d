#include "shape/ShpRecords.h"

#include "shape/ShpIo.h"

namespace {

TSHPRecord* NextOf(const TSHPRecord* r) {
    return static_cast<TSHPRecord*>(r->GetNext());
}

}  // namespace

std::int64_t TSHPRecords::LayoutRecords() {
    std::int64_t offset = 100;
    std::int64_t total = 0;
    std::int32_t i = 0;
    for (TSHPRecord* r = FirstRecord(); r != nullptr; r = NextOf(r)) {
        ++i;
        const std::int64_t size = r->LayoutBytes();
        r->RecordNumber = SwapInt32(i);
        r->IndexOffset = SwapInt32(static_cast<std::int32_t>(offset / 2));
        r->ContentLength = SwapInt32(static_cast<std::int32_t>(size / 2));
        r->IndexLength = r->ContentLength;
        offset += size + 8;
        total += size + 8;
    }
    GoLast();
    return total;
}

std::int32_t TSHPRecords::GetBox(double& Xmin, double& Ymin, double& Xmax, double& Ymax) {
    bool first = true;
    for (TSHPRecord* r = FirstRecord(); r != nullptr; r = NextOf(r)) {
        TSHPShapeGeometry* shape = r->Shape();
        if (shape != nullptr && shape->ComputeBox(first, Xmin, Ymin, Xmax, Ymax)) first = false;
    }
    return 0;
}

void TSHPRecords::StartVertices(TSHPRecord* record) {
    if (TSHPShapeGeometry* shape = record->Shape()) shape->First();
}

bool TSHPRecords::GoFirstVertex() {
    GoFirst();
    if (TSHPRecord* r = CurrentRecord()) StartVertices(r);
    return true;
}

bool TSHPRecords::NextVertex() {
    TSHPRecord* r = CurrentRecord();
    if (r != nullptr) {
        TSHPShapeGeometry* shape = r->Shape();
        if (shape != nullptr && shape->Next()) return true;
    }
    if (r == nullptr || !Next()) return false;
    StartVertices(CurrentRecord());
    return true;
}

bool TSHPRecords::GetCurrentVertex(double& X, double& Y) {
    TSHPRecord* r = CurrentRecord();
    if (r == nullptr || r->IsNull()) {
        X = 0;
        Y = 0;
        return false;
    }
    TSHPShapeGeometry* shape = r->Shape();
    return shape != nullptr && shape->GetVertex(X, Y);
}

bool TSHPRecords::SetCurrentVertex(double X, double Y) {
    TSHPRecord* r = CurrentRecord();
    if (r == nullptr) return false;
    if (r->IsNull()) return true;
    TSHPShapeGeometry* shape = r->Shape();
    return shape != nullptr && shape->SetVertex(X, Y);
}

void TSHPRecords::Advance() {
    if (CurrentItem() == nullptr || !Next()) GoFirst();
}

bool TSHPRecords::SnapToVertex(double& N, double& E, double queryN, double queryE,
                               double tolerance) {
    if (Count() == 0) return false;
    Advance();
    SetMarked(CurrentItem());
    do {
        TSHPShapeGeometry* shape = CurrentRecord()->Shape();
        if (shape != nullptr && shape->SnapVertex(N, E, queryN, queryE, tolerance)) return true;
        Advance();
    } while (CurrentItem() != Marked());
    SetMarked(nullptr);
    return false;
}

bool TSHPRecords::FindObjectAt(double queryN, double queryE, double tolerance) {
    if (Count() == 0) return false;
    Advance();
    SetMarked(CurrentItem());
    do {
        TSHPShapeGeometry* shape = CurrentRecord()->Shape();
        if (shape != nullptr && shape->HitTest(queryN, queryE, tolerance)) {
            SetMarked(CurrentItem());
            return true;
        }
        Advance();
    } while (CurrentItem() != Marked());
    SetMarked(nullptr);
    return false;
}

std::int32_t TSHPRecords::MarkedIndex() {
    if (MarkedValid() == 0) return 0;
    GoFirst();
    std::int32_t count = 0;
    if (CurrentItem() == nullptr) return 0;
    do {
        ++count;
        if (CurrentItem() == Marked()) return count;
    } while (Next());
    return 0;
}
