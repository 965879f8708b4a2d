#pragma once

#include <cstdint>
#include <memory>

#include "model/Lista.h"
#include "model/MapArena.h"
#include "shape/ShpRecord.h"

// The records of one shapefile, in file order; the list owns them. Its cursor is the record
// cursor of the walks below; Marked remembers where the last circular search started or what it
// found.
class TSHPRecords : public ListOf<TSHPRecord> {
  public:
    TSHPRecord* CurrentRecord() const { return static_cast<TSHPRecord*>(CurrentItem()); }
    TSHPRecord* FirstRecord() const { return static_cast<TSHPRecord*>(First()); }
    TSHPRecord* MarkedRecord() const { return static_cast<TSHPRecord*>(Marked()); }
    void AddRecord(std::unique_ptr<TSHPRecord> record) { Add(std::move(record)); }

    // Destroys the records before the storage they live in.
    ~TSHPRecords() override { DestroyElements(); }
    // A new empty record, and the storage for its geometry, which the list owns: a file of many
    // small records is held in a few large blocks. Neither may outlive the list.
    std::unique_ptr<TSHPRecord> NewRecord() { return MakeInArena<TSHPRecord>(Storage()); }
    MapArena& Storage() {
        if (!storage_) storage_ = std::make_unique<MapArena>();
        return *storage_;
    }

    // Numbers the records and sets their header and index fields in file order (big-endian);
    // returns the bytes of all records, headers included. The cursor ends on the last record.
    std::int64_t LayoutRecords();
    // Union of the boxes of all records with points (shapefile order); the outputs keep their
    // values when no record has points.
    std::int32_t GetBox(double& Xmin, double& Ymin, double& Xmax, double& Ymax);

    bool GoFirstVertex();
    bool NextVertex();
    bool GetCurrentVertex(double& X, double& Y);
    bool SetCurrentVertex(double X, double Y);

    // Circular searches from the record after the current one (host order).
    bool SnapToVertex(double& N, double& E, double queryN, double queryE, double tolerance);
    bool FindObjectAt(double queryN, double queryE, double tolerance);
    // 1-based position of the marked record, 0 when none; moves the cursor.
    std::int32_t MarkedIndex();

  private:
    void Advance();
    std::unique_ptr<MapArena> storage_;
    static void StartVertices(TSHPRecord* record);
};
