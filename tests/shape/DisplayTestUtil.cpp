#include "DisplayTestUtil.h"

#include <fstream>
#include <iterator>

#include "platform/DbfTable.h"
#include "shape/DBaseFile.h"

namespace displaytest {

std::unique_ptr<TSHPRecord> Point(double x, double y) {
    auto r = std::make_unique<TSHPRecord>();
    r->ShapeType = 1;
    auto g = std::make_unique<TSHPPointRecord>();
    g->X = x;
    g->Y = y;
    r->Geometry = std::move(g);
    return r;
}

std::unique_ptr<TSHPRecord> Line(const std::vector<std::vector<TShpPoint>>& parts) {
    auto r = std::make_unique<TSHPRecord>();
    r->ShapeType = 3;
    auto g = std::make_unique<TSHPArcRecord>();
    std::int32_t n = 0;
    for (const auto& p : parts) n += static_cast<std::int32_t>(p.size());
    g->Resize(static_cast<std::int32_t>(parts.size()), n);
    std::size_t k = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        g->Parts[i] = static_cast<std::int32_t>(k);
        for (const TShpPoint& p : parts[i]) g->Points[k++] = p;
    }
    r->Geometry = std::move(g);
    return r;
}

std::unique_ptr<TSHPRecord> Null() {
    auto r = std::make_unique<TSHPRecord>();
    r->ShapeType = 0;
    r->Geometry = NewGeometryFor(0);
    return r;
}

std::unique_ptr<TShape> ShapeOf(std::vector<std::unique_ptr<TSHPRecord>> records,
                                const std::string& fileName) {
    auto shape = std::make_unique<TShape>();
    for (auto& r : records) shape->Records->AddRecord(std::move(r));
    shape->RebuildHeader();
    shape->FileName = fileName;
    return shape;
}

void WriteTable(const std::string& shapeFile, const std::vector<std::string>& fields,
                const std::vector<std::vector<std::string>>& rows) {
    {
        auto dbf = TSimpleDBFile::CreateNew(shapeFile, 3, static_cast<std::int32_t>(fields.size()),
                                            0, static_cast<std::int32_t>(20 * fields.size()));
        for (const std::string& f : fields) dbf->AddField(f, 'C', 20, 0);
    }
    platform::DbfTable table;
    table.Open(platform::ChangeFileExt(shapeFile, ".dbf"), platform::DbfTable::Mode::Append);
    for (const auto& row : rows) {
        table.Append();
        for (std::size_t i = 0; i < row.size(); ++i)
            table.SetFieldText(static_cast<int>(i), row[i]);
        table.Post();
    }
    table.Close();
}

std::vector<std::string> Labels(const TShape& shape) {
    std::vector<std::string> labels;
    for (auto* r = shape.Records->FirstRecord(); r != nullptr;
         r = static_cast<TSHPRecord*>(r->GetNext()))
        labels.push_back(r->Label);
    return labels;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

}  // namespace displaytest
