#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "model/MapFile.h"

// A map in memory: the two lists as the server holds them.
struct TestMap {
    std::unique_ptr<TListaPKT> points;
    std::unique_ptr<TListaObi> objects;
    TestMap() { NewMapLists(points, objects); }

    TObiekt& Object(std::string_view code) {
        objects->AddObject(std::make_unique<TObiekt>(code, "", "", "", "", "", "", "", 0));
        return *objects->CurrentObject();
    }
    TPunkt& Point(TObiekt& o, std::string_view name, std::uint8_t flags, double x, double y,
                  float h) {
        auto p = std::make_unique<TPunkt>(name, flags, x, y, h);
        TPunkt* raw = p.get();
        points->AddPoint(std::move(p));
        o.Vertices->Add(std::make_unique<TNumer>(raw));
        return *raw;
    }
    std::vector<TObiekt*> All() const {
        std::vector<TObiekt*> all;
        for (TElement* e = objects->First(); e != nullptr; e = e->GetNext())
            all.push_back(static_cast<TObiekt*>(e));
        return all;
    }
    static std::vector<TPunkt*> PointsOf(const TObiekt& o) {
        std::vector<TPunkt*> all;
        for (TElement* e = o.Vertices->First(); e != nullptr; e = e->GetNext())
            all.push_back(static_cast<TNumer*>(e)->PointRef);
        return all;
    }
};
