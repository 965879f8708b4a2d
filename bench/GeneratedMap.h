#pragma once

// The map the MAP benchmarks share: objects of 10 points each, alternately lines and areas, each
// with an attribute and an identifier, points named and with heights as a survey has them.
#include <memory>
#include <string>

#include "model/MapFile.h"

namespace bench {

inline constexpr int kPointsPerObject = 10;

struct MapLists {
    std::unique_ptr<TListaPKT> points;
    std::unique_ptr<TListaObi> objects;
    MapLists() { NewMapLists(points, objects); }
};

// A map of `points` points (a multiple of 10).
inline MapLists GenerateMap(int points) {
    MapLists map;
    for (int i = 0; i < points / kPointsPerObject; ++i) {
        auto object = std::make_unique<TObiekt>(i % 2 ? "4101" : "5002", "atrybut", "", "", "", "",
                                                "", "", 0);
        object->SetAttribute(kAttrID, "ID-" + std::to_string(i));
        TObiekt& o = *object;
        map.objects->AddObject(std::move(object));
        for (int j = 0; j < kPointsPerObject; ++j) {
            const double x = 5700000.0 + i * 1.25 + j * 0.125;
            const double y = 7400000.0 + i * 0.75 - j * 0.375;
            auto p = std::make_unique<TPunkt>(std::string("P").append(std::to_string(j)),
                                              j % 3 ? 15 : 12, x, y, static_cast<float>(j));
            TPunkt* raw = p.get();
            map.points->AddPoint(std::move(p));
            o.Vertices->Add(std::make_unique<TNumer>(raw));
        }
    }
    return map;
}

// Writes a generated map of `points` points as version 7; returns the writer's result.
inline std::int32_t WriteGeneratedMap(int points, const std::string& path) {
    const MapLists map = GenerateMap(points);
    std::int32_t result = 0;
    WriteMapFile("bench", "1.30", 7, path, false, map.points.get(), map.objects.get(), result);
    return result;
}

}  // namespace bench
