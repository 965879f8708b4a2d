#include "plugin/SaveAsMapTransfer.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <exception>
#include <vector>

#include "model/ListaObi.h"
#include "platform/DbfTable.h"
#include "platform/FileSet.h"
#include "platform/FileSystem.h"
#include "platform/OsError.h"
#include "platform/ShortString.h"
#include "platform/SystemInfo.h"
#include "plugin/AttributeChoice.h"
#include "plugin/ConversionSettings.h"
#include "plugin/SaveAsMapBatch.h"
#include "plugin/SaveAsMapLinkTable.h"
#include "plugin/SaveAsMapProgress.h"
#include "plugin/SaveAsMapTexts.h"
#include "plugin/SaveAsMapValues.h"
#include "plugin/UBTA.h"
#include "shape/BatchConfig.h"
#include "shape/DBaseFile.h"

namespace {

using platform::DbfTable;

int CurrentYear() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_year + 1900;
}

// Opens a table; false (with the message shown) when it cannot.
bool OpenTable(DbfTable& table, const std::string& name, DbfTable::Mode mode,
               const std::string& shownName) {
    try {
        table.Open(name, mode);
        return true;
    } catch (const std::exception&) {
        saveasmaptexts::Show(saveasmaptexts::OpenError(shownName));
        return false;
    }
}

// Puts the source on the 0-based row; false when the table has no such row.
bool GoToRow(DbfTable& table, int row) {
    if (row < 0 || row >= table.RecordCount()) return false;
    if (table.RecNo() < 0 || table.RecNo() > row) table.First();
    while (table.RecNo() < row) table.Next();
    return true;
}

// A field's text as a paired attribute gets it: dates in the short date format, everything else
// as the table component gives it.
std::string SlotFieldText(const DbfTable& table, int index) {
    std::string text = table.FieldText(index);
    if (table.Field(index).type == 'D')
        text = DbfDateAsShortDate(text, platform::ShortDateFormat());
    return text;
}

class Transfer {
  public:
    Transfer(const DbfTransferJob& job, DbfTable& source, DbfTable& link, int tpidIndex,
             ConversionProgress& progress)
        : job_(job),
          source_(source),
          link_(link),
          tpidIndex_(tpidIndex),
          linkFileName_(FileNameOnly(LinkTableName(job.MapName))),
          datePicture_(platform::ShortDateFormat()),
          currentYear_(CurrentYear()),
          progress_(progress) {}

    // Every object in list order; throws when a row cannot be read or written.
    void Run() {
        TListaObi& objects = job_.Objects;
        objects.GoFirst();
        for (TObiekt* object = objects.CurrentObject(); object != nullptr;) {
            progress_.Step();
            Object(*object);
            link_.Post();
            object = objects.Next() ? objects.CurrentObject() : nullptr;
        }
    }

    bool MissedRows() const { return missedRows_; }

  private:
    void Object(TObiekt& object) {
        // The source row is the object's record; several objects of one record share it.
        const bool hasRow = GoToRow(source_, object.LineNo - 1);
        if (!hasRow) missedRows_ = true;
        if (job_.Batch != nullptr) object.Code = platform::Cut(LinkSettings.KOD.View(), 4);
        if (ConversionSettings.BTA) PairedAttributes(object, hasRow);
        if (LinkSettings.TXTLink) {
            object.SetAttribute(LinkSettings.ATR, std::to_string(object.LineNo));
            object.SetAttribute(
                kAttrTX, "@" + linkFileName_ + " $TPID=$A" + std::to_string(LinkSettings.TPIDID));
        }
        link_.Append();
        if (hasRow) {
            for (int i = 0; i < source_.FieldCount(); ++i) {
                try {
                    link_.SetFieldText(i, source_.FieldText(i));
                } catch (const platform::DbfError&) {
                    // A value the link table's field does not take is left blank.
                }
            }
        }
        try {
            link_.SetFieldInteger(tpidIndex_, object.LineNo);
        } catch (const platform::DbfError&) {
            // A TPID field of the source that holds no number stays blank.
        }
    }

    // A field that cannot be read gives an empty value; a name the source lacks stands for
    // itself as a constant.
    void PairedAttributes(TObiekt& object, bool hasRow) {
        for (const TAttributeSlot& slot : AttributeSlots) {
            if (slot.DBF.Empty()) continue;
            std::string value;
            const int index = source_.FieldIndex(slot.DBF.View());
            if (index < 0) {
                value = slot.DBF.Str();
            } else if (!hasRow) {
                continue;
            } else {
                try {
                    value = SlotFieldText(source_, index);
                } catch (const platform::DbfError&) {
                    value.clear();
                }
            }
            if (slot.NR == kAttrDT) value = DateAttributeText(value, datePicture_, currentYear_);
            object.SetAttribute(slot.NR, AttributeValueText(value, ConversionSettings.PLKODY));
        }
    }

    const DbfTransferJob& job_;
    DbfTable& source_;
    DbfTable& link_;
    int tpidIndex_;
    std::string linkFileName_;
    std::string datePicture_;
    int currentYear_;
    ConversionProgress& progress_;
    bool missedRows_ = false;
};

}  // namespace

bool TransferDbf(const DbfTransferJob& job) {
    const std::string linkName = LinkTableName(job.MapName);
    if (!platform::NameFits(linkName)) return false;
    // A link table named like the source (map_x.shp converted to x.map) would replace the
    // shapefile's own table.
    if (platform::SameFile(job.SourceName, linkName)) {
        saveasmaptexts::Show(saveasmaptexts::OpenError(linkName));
        return false;
    }
    // A header that contradicts itself would have its rows read from the wrong bytes.
    if (!TSimpleDBFile::CheckHeader(job.SourceName)) return false;
    // The link table waits in the conversion's file set and takes the older one's place only
    // with the MAP file; on its own, it is put in place when all its rows are written.
    platform::FileSet files;
    DbfTable source;
    if (!OpenTable(source, job.SourceName, DbfTable::Mode::ReadShared, job.SourceName))
        return false;
    LinkTableLayout layout;
    if (!platform::FileWritable(job.SourceName)) {
        std::vector<platform::DbfFieldDef> fields;
        for (int i = 0; i < source.FieldCount(); ++i) fields.push_back(source.Field(i));
        LinkTableLayoutFromFields(fields, layout);
    } else if (!ReadLinkTableLayout(job.SourceName, layout) ||
               static_cast<int>(layout.Fields.size()) != source.FieldCount()) {
        saveasmaptexts::Show(saveasmaptexts::OpenError(job.SourceName));
        return false;
    }

    DbfTable link;
    if (!CreateLinkTable(linkName, layout)) {
        files.Fail(platform::kErrorWriteFault);
        saveasmaptexts::Show(saveasmaptexts::OpenError(linkName));
        return false;
    }
    if (!OpenTable(link, linkName, DbfTable::Mode::Append, linkName)) {
        files.Fail(platform::kErrorWriteFault);
        return false;
    }

    if (job.Batch == nullptr) {
        std::vector<std::string> names;
        for (int i = 0; i < link.FieldCount(); ++i) names.push_back(link.Field(i).name);
        EditDbfToAttributes(names);
    }

    const int tpidIndex = layout.TpidIndex >= 0 ? layout.TpidIndex : source.FieldCount();
    std::string failure;
    bool missedRows = false;
    {
        ConversionProgress progress(job.Objects.Count());
        Transfer transfer(job, source, link, tpidIndex, progress);
        try {
            if (job.Batch != nullptr) {
                ReadBatchLinkSettings(job.Batch->IniImage(), FileNameOnly(job.ShapeName));
            }
            transfer.Run();
            link.Close();
        } catch (const std::exception& e) {
            failure = e.what();
        }
        missedRows = transfer.MissedRows();
    }
    const int sourceRows = source.RecordCount();
    source.Close();
    try {
        link.Close();
    } catch (const std::exception& e) {
        if (failure.empty()) failure = e.what();
    }
    if (failure.empty() && files.Commit() != 0) failure = saveasmaptexts::NotPutInPlace();
    if (!failure.empty()) {
        // Neither the link table nor the MAP file that would point to it is written.
        files.Fail(platform::kErrorWriteFault);
        saveasmaptexts::Show(saveasmaptexts::LinkTableNotWritten(linkName, failure));
        return false;
    }
    if (missedRows) {
        saveasmaptexts::Show(
            saveasmaptexts::FewerRows(job.SourceName, sourceRows, job.ShapeRecordCount));
    }
    return true;
}
