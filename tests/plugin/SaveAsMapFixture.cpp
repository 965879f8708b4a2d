#include "SaveAsMapFixture.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "platform/DbfTable.h"
#include "plugin/AttributeChoice.h"
#include "plugin/ConversionSettings.h"
#include "shape/DBaseFile.h"

namespace saveasmaptest {

std::vector<Object> Objects(const TListaObi& objects) {
    std::vector<Object> out;
    for (const TElement* e = objects.First(); e != nullptr; e = e->GetNext()) {
        const auto& o = *static_cast<const TObiekt*>(e);
        Object obj{o.Code, o.LineNo, o.Flags, {}};
        for (const TElement* v = o.Vertices->First(); v != nullptr; v = v->GetNext()) {
            const TPunkt& p = *static_cast<const TNumer*>(v)->PointRef;
            obj.vertices.push_back({p.X, p.Y, p.H, p.Flags});
        }
        out.push_back(std::move(obj));
    }
    return out;
}

std::unique_ptr<TSHPRecord> NullRecord() {
    auto r = std::make_unique<TSHPRecord>();
    r->ShapeType = 0;
    r->Geometry = NewGeometryFor(0);
    return r;
}

std::unique_ptr<TSHPRecord> PointRecord(std::int32_t type, double x, double y, double zm) {
    auto r = std::make_unique<TSHPRecord>();
    r->ShapeType = type;
    r->Geometry = NewGeometryFor(type);
    auto* g = dynamic_cast<TSHPPointRecord*>(r->Geometry.get());
    g->X = x;
    g->Y = y;
    if (auto* z = dynamic_cast<TSHPPointZRecord*>(g)) z->Z = zm;
    if (auto* m = dynamic_cast<TSHPPointMRecord*>(g)) m->M = zm;
    return r;
}

std::unique_ptr<TSHPRecord> MultiPointRecord(std::int32_t type, const std::vector<TShpPoint>& pts) {
    auto r = std::make_unique<TSHPRecord>();
    r->ShapeType = type;
    r->Geometry = NewGeometryFor(type);
    auto* g = dynamic_cast<TSHPMultiPointRecord*>(r->Geometry.get());
    g->Resize(static_cast<std::int32_t>(pts.size()));
    for (std::size_t i = 0; i < pts.size(); ++i) g->Points[i] = pts[i];
    return r;
}

std::unique_ptr<TSHPRecord> PartedRecord(std::int32_t type, const std::vector<Ring>& parts) {
    auto r = std::make_unique<TSHPRecord>();
    r->ShapeType = type;
    r->Geometry = NewGeometryFor(type);
    auto* g = dynamic_cast<TSHPPartedRecord*>(r->Geometry.get());
    std::size_t total = 0;
    for (const Ring& p : parts) total += p.size();
    g->Resize(static_cast<std::int32_t>(parts.size()), static_cast<std::int32_t>(total));
    std::size_t at = 0;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        g->Parts[k] = static_cast<std::int32_t>(at);
        for (const TShpPoint& p : parts[k]) g->Points[at++] = p;
    }
    return r;
}

std::unique_ptr<TShape> MakeShape(std::vector<std::unique_ptr<TSHPRecord>> records,
                                  const std::string& fileName) {
    auto shape = std::make_unique<TShape>();
    shape->FileName = fileName;
    std::int32_t n = 1;
    for (auto& r : records) {
        r->RecordNumber = n++;
        shape->Records->AddRecord(std::move(r));
    }
    return shape;
}

void WriteDbf(const std::string& name, const std::vector<Field>& fields,
              const std::vector<std::vector<std::string>>& rows) {
    std::int32_t length = 0;
    for (const Field& f : fields) length += f.length;
    {
        auto file =
            TSimpleDBFile::CreateNew(name, 3, static_cast<std::int32_t>(fields.size()), 0, length);
        ASSERT_TRUE(file->IsOpen());
        for (const Field& f : fields)
            file->AddField(f.name, f.type, static_cast<std::uint8_t>(f.length),
                           static_cast<std::uint8_t>(f.decimals));
    }
    platform::DbfTable table;
    table.Open(name, platform::DbfTable::Mode::Append);
    for (const auto& row : rows) {
        table.Append();
        for (std::size_t i = 0; i < row.size(); ++i)
            table.SetFieldText(static_cast<int>(i), row[i]);
        table.Post();
    }
    table.Close();
}

std::vector<std::vector<std::string>> ReadDbfRows(const std::string& name) {
    platform::DbfTable table;
    table.Open(name, platform::DbfTable::Mode::ReadShared);
    std::vector<std::vector<std::string>> rows;
    for (table.First(); !table.Eof(); table.Next()) {
        std::vector<std::string> row;
        for (int i = 0; i < table.FieldCount(); ++i) row.push_back(table.FieldText(i));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<std::string> DbfFieldNames(const std::string& name) {
    platform::DbfTable table;
    table.Open(name, platform::DbfTable::Mode::ReadShared);
    std::vector<std::string> names;
    for (int i = 0; i < table.FieldCount(); ++i) names.push_back(table.Field(i).name);
    return names;
}

std::string ReadText(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteText(const std::string& name, const std::string& text) {
    std::ofstream(name, std::ios::binary) << text;
}

void DefaultConversionSettings() {
    ConversionSettings = TConversionSettings{};
    ConversionSettings.Point = 1000;
    ConversionSettings.Arc = 4100;
    ConversionSettings.Polygon = 5100;
    ConversionSettings.Multipoint = 4100;
    ConversionSettings.PLKODY = 3;
    ConversionSettings.KNW = true;
    ConversionSettings.U45 = true;
    ConversionSettings.Z54 = true;
    ConversionSettings.DomykacPoligon = true;
    ConversionSettings.ATB = true;
    InitAttributeSlots();
}

void ConversionTest::SetUp() {
    SettingsTest::SetUp();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    // Parameterised tests have a "/" in their names.
    std::string name = std::string("kestrel-shp2map-") + std::to_string(::getpid()) + "-" +
                       info->test_suite_name() + "-" + info->name();
    std::replace(name.begin(), name.end(), '/', '_');
    dir_ = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    DefaultConversionSettings();
}

void ConversionTest::TearDown() {
    std::error_code ec;
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(dir_, ec);
    SettingsTest::TearDown();
}

}  // namespace saveasmaptest
