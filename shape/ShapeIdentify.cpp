// Snapping to vertices, identifying the object at a position with its description and attribute
// row, and the labels taken from the attribute table.
#include "platform/DbfTable.h"
#include "platform/ShortString.h"
#include "platform/UiService.h"
#include "shape/DisplayTexts.h"
#include "shape/Shape.h"
#include "shape/UObjPar.h"

namespace {

namespace dt = displaytexts;

// The attribute table of a shapefile, open for reading. Throws platform::DbfError.
void OpenAttributes(platform::DbfTable& table, const std::string& shapeFileName) {
    table.Open(platform::ChangeFileExt(shapeFileName, ".dbf"),
               platform::DbfTable::Mode::ReadShared);
}

// A table error is shown to the user and goes no further: these operations run under the
// host's calls, which no exception may cross.
void ShowTableError(const platform::DbfError& error) {
    platform::MessageBox(0, error.what(), "", platform::MB_OK | platform::MB_ICONERROR);
}

// The count lines of the description, by the file's shape type; a record whose geometry is not
// of that family gives none.
void AddCountLines(std::vector<std::string>& lines, std::int32_t headerType,
                   const TSHPRecord* record) {
    const TSHPGeometry* geometry = record != nullptr ? record->Geometry.get() : nullptr;
    switch (FamilyOf(headerType)) {
        case ShapeFamily::MultiPoint:
            if (const auto* set = dynamic_cast<const TSHPMultiPointRecord*>(geometry))
                lines.push_back(dt::MultiPointCount(set->NumPoints));
            break;
        case ShapeFamily::Line:
            if (const auto* line = dynamic_cast<const TSHPPartedRecord*>(geometry)) {
                lines.push_back(dt::LinePointCount(line->NumPoints));
                lines.push_back(dt::LinePartCount(line->NumParts));
            }
            break;
        case ShapeFamily::Polygon:
            if (const auto* area = dynamic_cast<const TSHPPartedRecord*>(geometry)) {
                lines.push_back(dt::AreaPointCount(area->NumPoints));
                lines.push_back(dt::AreaPartCount(area->NumParts));
            }
            break;
        default:
            break;
    }
}

}  // namespace

bool TShape::SnapToVertex(double N, double E, double tolerance, double& outN, double& outE) {
    if (Records->Count() == 0) return false;
    double n = 0, e = 0;
    if (!Records->SnapToVertex(n, e, N, E, tolerance)) return false;
    outN = n;
    outE = e;
    return true;
}

bool TShape::Identify(bool show, double N, double E, double tolerance) {
    if (Records->Count() == 0) return false;
    const bool found = Records->FindObjectAt(N, E, tolerance);
    if (found && show) ShowObjectInfo();
    return found;
}

void TShape::ShowObjectInfo() {
    const std::int32_t number = Records->MarkedIndex();
    const TSHPRecord* record = Records->MarkedValid() != 0 ? Records->MarkedRecord() : nullptr;
    std::vector<std::string> lines{dt::ObjectNumber(number)};
    for (std::string& line : dt::TypeLines(HeaderShapeType())) lines.push_back(std::move(line));
    AddCountLines(lines, HeaderShapeType(), record);

    try {
        platform::DbfTable table;
        OpenAttributes(table, FileName);
        table.First();
        for (std::int32_t i = 1; i < number; ++i) table.Next();
        for (int f = 0; f < table.FieldCount(); ++f)
            lines.push_back(
                platform::Cut(platform::Cut(table.Field(f).name) + " = " + table.FieldText(f)));
    } catch (const platform::DbfError& error) {
        ShowTableError(error);
        return;
    }

    auto form = platform::CreateForm<TFObjPar>();
    form->ListBox1.SetItems(std::move(lines));
    form->ShowModal();
}

void TShape::ReadLabelsFromDbf() {
    if (!Etykiety || Records->Count() == 0) return;
    platform::DbfTable table;
    try {
        OpenAttributes(table, FileName);
        table.First();
    } catch (const platform::DbfError& error) {
        ShowTableError(error);
        return;
    }
    // Rows and records pair by order; past the last row the records keep getting its value.
    Records->GoFirst();
    do {
        TSHPRecord* record = Records->CurrentRecord();
        try {
            record->Label = platform::Cut(table.FieldText(NumerPola));
        } catch (const platform::DbfError&) {
            record->Label = dt::LabelError();
        }
        try {
            table.Next();
        } catch (const platform::DbfError& error) {
            // A table that cannot be read on keeps its last row for the rest, as a short one.
            ShowTableError(error);
            break;
        }
    } while (Records->Next());
}
