// Test data for the whole-process MAP -> SHP figures:
//   export_tool generate POINTS CODES DIR
// writes into DIR (which must exist)
//   map.map      POINTS points in objects of 10 vertices over CODES codes: half of the codes are
//                lines (4000 on), half closed areas (5000 on), each object with A1, A2 and a text
//   config.ini   a batch configuration naming every code's layer and giving it three field rules
//                (A1 C25, A2 C25, TX C60) and TPID
//   csv/         the same features for the peer: one CSV per layer (WKT geometry in easting,
//                northing order, the same fields and TPID) with a .csvt giving the field types
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "model/MapFile.h"
#include "platform/UiService.h"

namespace {

constexpr int kVertices = 10;

std::string LayerName(int code) {
    return std::string("w").append(std::to_string(code));
}

int CodeOf(int codeIndex) {
    // Alternately a line code and an area code.
    return (codeIndex % 2 == 0 ? 4000 : 5000) + codeIndex / 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5 || std::string(argv[1]) != "generate") {
        std::fprintf(stderr, "usage: export_tool generate POINTS CODES DIR\n");
        return 2;
    }
    const int objects = std::atoi(argv[2]) / kVertices;
    const int codes = std::atoi(argv[3]);
    const std::string dir = argv[4];
    if (objects <= 0 || codes < 1 || codes > 2000) {
        std::fprintf(stderr, "export_tool: POINTS >= 10 and CODES 1..2000\n");
        return 2;
    }
    platform::UiService::Headless()->SetEcho(false);
    std::filesystem::create_directories(dir + "/csv");

    std::FILE* config = std::fopen((dir + "/config.ini").c_str(), "w");
    if (config == nullptr) return 1;
    std::fprintf(config, "[OPCJE]\nTPID=1\n[WARSTWY]\n");
    for (int c = 0; c < codes; ++c)
        std::fprintf(config, "%d=%s\n", CodeOf(c), LayerName(CodeOf(c)).c_str());
    std::vector<std::FILE*> csv(static_cast<std::size_t>(codes));
    for (int c = 0; c < codes; ++c) {
        std::fprintf(config, "[%d]\nA1=!C25:0$A1\nA2=!C25:0$A2\nTX=!C60:0$TXT\n", CodeOf(c));
        const std::string stem = dir + "/csv/" + LayerName(CodeOf(c));
        std::FILE* types = std::fopen((stem + ".csvt").c_str(), "w");
        if (types == nullptr) return 1;
        std::fputs("WKT,String(25),String(25),String(60),Integer(10)\n", types);
        std::fclose(types);
        csv[static_cast<std::size_t>(c)] = std::fopen((stem + ".csv").c_str(), "w");
        if (csv[static_cast<std::size_t>(c)] == nullptr) return 1;
        std::fputs("WKT,A1,A2,TX,TPID\n", csv[static_cast<std::size_t>(c)]);
    }
    std::fclose(config);

    std::unique_ptr<TListaPKT> points;
    std::unique_ptr<TListaObi> list;
    NewMapLists(points, list);
    for (int i = 0; i < objects; ++i) {
        const int c = i % codes;
        const int code = CodeOf(c);
        const bool area = code >= 5000;
        const std::string a1 = std::to_string(100 + i % 900) + "/" + std::to_string(i % 7 + 1);
        const std::string text = "obiekt " + std::to_string(i);
        auto object = std::make_unique<TObiekt>(std::to_string(code), a1, "Zielonki", "", "", "",
                                                "", text, 0);
        TObiekt& o = *object;
        list->AddObject(std::move(object));
        const double n0 = 5500000.0 + (i % 1000) * 20.0;
        const double e0 = 7400000.0 + (i / 1000) * 20.0;
        std::string wkt = area ? "\"POLYGON ((" : "\"LINESTRING (";
        TPunkt* first = nullptr;
        for (int k = 0; k < kVertices; ++k) {
            double n = n0 + std::round(std::cos(k * 0.6) * 500.0) / 100.0;
            double e = e0 + std::round(std::sin(k * 0.6) * 500.0) / 100.0;
            if (area && k == kVertices - 1) {
                // The ring closes on its first point itself.
                o.Vertices->Add(std::make_unique<TNumer>(first));
                n = first->X;
                e = first->Y;
            } else {
                auto p = std::make_unique<TPunkt>("", 12, n, e, 0.0f);
                TPunkt* raw = p.get();
                points->AddPoint(std::move(p));
                o.Vertices->Add(std::make_unique<TNumer>(raw));
                if (k == 0) first = raw;
            }
            char pair[64];
            std::snprintf(pair, sizeof pair, "%s%.2f %.2f", k ? "," : "", e, n);
            wkt += pair;
        }
        wkt += area ? "))\"" : ")\"";
        std::fprintf(csv[static_cast<std::size_t>(c)], "%s,%s,Zielonki,%s,%d\n", wkt.c_str(),
                     a1.c_str(), text.c_str(), i + 1);
    }
    for (std::FILE* f : csv) std::fclose(f);
    std::int32_t result = 0;
    WriteMapFile("bench", "1.30", 7, dir + "/map.map", false, points.get(), list.get(), result);
    return result == 0 ? 0 : 1;
}
