#include "ShapeTestUtil.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "platform/Cp1250.h"

namespace shapetest {

TempDir::TempDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "kestrel-shape-XXXXXX").string();
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    if (::mkdtemp(buf.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    dir_ = buf.data();
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

int RunCommand(const std::string& command, std::string* output) {
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return -1;
    std::array<char, 4096> buf{};
    std::string out;
    std::size_t n = 0;
    while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0) out.append(buf.data(), n);
    const int status = ::pclose(pipe);
    if (output != nullptr) *output = out;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool ToolAvailable(const std::string& program) {
    const bool found = RunCommand("command -v " + Quote(program) + " >/dev/null 2>&1") == 0;
    if (!found)
        ADD_FAILURE() << program << " is missing: install the packages of scripts/packages.txt";
    return found;
}

std::string Quote(const std::string& text) {
    std::string q = "'";
    for (char c : text) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

platform::HeadlessUi& QuietUi() {
    platform::HeadlessUi* ui = platform::UiService::Headless();
    if (ui == nullptr) throw std::runtime_error("no headless UI");
    ui->SetEcho(false);
    ui->ClearMessages();
    return *ui;
}

std::vector<std::string> MessageTexts() {
    std::vector<std::string> texts;
    for (const auto& m : platform::UiService::Headless()->Messages())
        texts.push_back(platform::Cp1250ToUtf8(m.text));
    return texts;
}

namespace {

void FillZM(TSHPZValues& v, std::int32_t n, int seed) {
    v.ZValues.resize(static_cast<std::size_t>(n));
    v.MValues.resize(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i) {
        v.ZValues[static_cast<std::size_t>(i)] = 100.25 + seed + i * 0.5;
        v.MValues[static_cast<std::size_t>(i)] = 7.125 * (seed + 1) + i;
    }
    v.ZMin = 100.25 + seed;
    v.ZMax = 100.25 + seed + (n - 1) * 0.5;
    v.MMin = 7.125 * (seed + 1);
    v.MMax = 7.125 * (seed + 1) + n - 1;
}

void FillM(TSHPMValues& v, std::int32_t n, int seed) {
    v.MValues.resize(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i) v.MValues[static_cast<std::size_t>(i)] = 3.5 * seed - i;
    v.MMin = 3.5 * seed - (n - 1);
    v.MMax = 3.5 * seed;
}

void FillPoints(std::vector<TShpPoint>& points, int seed) {
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double a = 0.7 * static_cast<double>(i);
        points[i] = {500000.125 + 10 * seed + 3 * std::cos(a),
                     5600000.5 + 10 * seed + 3 * std::sin(a)};
    }
}

}  // namespace

std::unique_ptr<TSHPRecord> MakeRecord(std::int32_t type, std::int32_t parts,
                                       std::int32_t pointsPerPart, int seed) {
    auto record = std::make_unique<TSHPRecord>();
    record->ShapeType = type;
    record->Geometry = NewGeometryFor(type);
    const std::int32_t n = parts * pointsPerPart;
    if (auto* p = dynamic_cast<TSHPPointRecord*>(record->Geometry.get())) {
        p->X = 1000.5 + seed;
        p->Y = 2000.25 - seed;
        if (auto* m = dynamic_cast<TSHPPointMRecord*>(p)) m->M = 5.5 + seed;
        if (auto* z = dynamic_cast<TSHPPointZRecord*>(p)) {
            z->Z = 250.75 + seed;
            z->M = 9.25 + seed;
        }
    } else if (auto* mp = dynamic_cast<TSHPMultiPointRecord*>(record->Geometry.get())) {
        mp->Resize(n);
        FillPoints(mp->Points, seed);
        if (auto* m = dynamic_cast<TSHPMValues*>(mp)) FillM(*m, n, seed);
        if (auto* z = dynamic_cast<TSHPZValues*>(mp)) FillZM(*z, n, seed);
    } else if (auto* pr = dynamic_cast<TSHPPartedRecord*>(record->Geometry.get())) {
        pr->Resize(parts, n);
        for (std::int32_t i = 0; i < parts; ++i)
            pr->Parts[static_cast<std::size_t>(i)] = i * pointsPerPart;
        FillPoints(pr->Points, seed);
        if (auto* m = dynamic_cast<TSHPMValues*>(pr)) FillM(*m, n, seed);
        if (auto* z = dynamic_cast<TSHPZValues*>(pr)) FillZM(*z, n, seed);
        if (auto* patch = dynamic_cast<TSHPMultiPatchRecord*>(pr)) {
            patch->PartTypes.assign(static_cast<std::size_t>(parts) + 1, 0);
            for (std::int32_t i = 0; i < parts; ++i)
                patch->PartTypes[static_cast<std::size_t>(i)] = i == 0 ? 2 : 3;  // outer, inner
            patch->PartTypes[static_cast<std::size_t>(parts)] = n;
        }
        // Polygon rings are closed.
        if (FamilyOf(type) == ShapeFamily::Polygon) {
            for (std::int32_t i = 0; i < parts; ++i) {
                const auto first = static_cast<std::size_t>(i * pointsPerPart);
                pr->Points[first + static_cast<std::size_t>(pointsPerPart) - 1] = pr->Points[first];
            }
        }
    }
    return record;
}

std::unique_ptr<TSHPRecord> MakePolygon(const std::vector<std::vector<TShpPoint>>& rings) {
    auto record = std::make_unique<TSHPRecord>();
    record->ShapeType = 5;
    auto polygon = std::make_unique<TSHPPolygonRecord>();
    std::int32_t n = 0;
    for (const auto& r : rings) n += static_cast<std::int32_t>(r.size());
    polygon->Resize(static_cast<std::int32_t>(rings.size()), n);
    std::size_t at = 0;
    for (std::size_t i = 0; i < rings.size(); ++i) {
        polygon->Parts[i] = static_cast<std::int32_t>(at);
        for (const auto& p : rings[i]) polygon->Points[at++] = p;
    }
    record->Geometry = std::move(polygon);
    return record;
}

namespace {

std::string Num(double v) {
    if (v < -1e38) return "None";
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

template <typename T>
std::string Join(const std::vector<T>& values, std::size_t count) {
    std::string s;
    for (std::size_t i = 0; i < count && i < values.size(); ++i) {
        if (i) s += ",";
        if constexpr (std::is_same_v<T, double>) {
            s += Num(values[i]);
        } else {
            s += std::to_string(values[i]);
        }
    }
    return s;
}

}  // namespace

std::string Describe(const TShape& shape) {
    std::ostringstream out;
    for (TSHPRecord* r = shape.Records->FirstRecord(); r != nullptr;
         r = static_cast<TSHPRecord*>(r->GetNext())) {
        out << "type=" << r->ShapeType;
        std::vector<TShpPoint> pts;
        std::vector<std::int32_t> parts, partTypes;
        std::vector<double> z, m;
        TSHPGeometry* g = r->Geometry.get();
        if (auto* p = dynamic_cast<TSHPPointRecord*>(g)) {
            pts.push_back({p->X, p->Y});
            if (auto* pm = dynamic_cast<TSHPPointMRecord*>(p)) m.push_back(pm->M);
            if (auto* pz = dynamic_cast<TSHPPointZRecord*>(p)) {
                z.push_back(pz->Z);
                m.push_back(pz->M);
            }
        } else if (auto* ps = dynamic_cast<TSHPPointSet*>(g)) {
            pts = ps->Points;
            if (auto* pr = dynamic_cast<TSHPPartedRecord*>(g))
                parts.assign(pr->Parts.begin(), pr->Parts.begin() + pr->NumParts);
            if (auto* mp = dynamic_cast<TSHPMultiPatchRecord*>(g))
                partTypes.assign(mp->PartTypes.begin(), mp->PartTypes.begin() + mp->NumParts);
            if (auto* mv = dynamic_cast<TSHPMValues*>(g)) m = mv->MValues;
            if (auto* zv = dynamic_cast<TSHPZValues*>(g)) {
                z = zv->ZValues;
                m = zv->MValues;
            }
        }
        out << " parts=" << Join(parts, parts.size())
            << " partTypes=" << Join(partTypes, partTypes.size()) << " pts=";
        for (std::size_t i = 0; i < pts.size(); ++i)
            out << (i ? ";" : "") << Num(pts[i].X) << "," << Num(pts[i].Y);
        out << " z=" << Join(z, z.size()) << " m=" << Join(m, m.size()) << "\n";
    }
    return out.str();
}

std::string DescribeWithPyshp(const std::string& shpPath, std::string* error) {
    static const char* script = R"PY(
import sys, shapefile
def num(v):
    return 'None' if v is None else '%.17g' % v
r = shapefile.Reader(shp=open(sys.argv[1], 'rb'), shx=open(sys.argv[1][:-4] + '.shx', 'rb'))
out = []
for s in r.shapes():
    t = s.shapeType
    parts = list(getattr(s, 'parts', []) or []) if t not in (0, 1, 11, 21, 8, 18, 28) else []
    ptypes = list(getattr(s, 'partTypes', []) or []) if t == 31 else []
    pts = ';'.join(num(p[0]) + ',' + num(p[1]) for p in s.points)
    z = ','.join(num(v) for v in getattr(s, 'z', []) or []) if t in (11, 13, 15, 18, 31) else ''
    m = ','.join(num(v) for v in getattr(s, 'm', []) or []) if t in (11, 13, 15, 18, 31, 21, 23, 25, 28) else ''
    out.append('type=%d parts=%s partTypes=%s pts=%s z=%s m=%s' % (t, ','.join(map(str, parts)), ','.join(map(str, ptypes)), pts, z, m))
sys.stdout.write(''.join(l + '\n' for l in out))
)PY";
    TempDir dir;
    const std::string scriptPath = dir.Path("dump.py");
    {
        std::ofstream f(scriptPath);
        f << script;
    }
    std::string out;
    const int rc = RunCommand(std::string(kPython) + " " + Quote(scriptPath) + " " +
                                  Quote(shpPath) + " 2>" + Quote(dir.Path("err.txt")),
                              &out);
    if (rc != 0 && error != nullptr) {
        std::ifstream e(dir.Path("err.txt"));
        *error = std::string(std::istreambuf_iterator<char>(e), {});
    }
    return out;
}

}  // namespace shapetest
