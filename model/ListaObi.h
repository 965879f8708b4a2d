#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "model/Lista.h"
#include "model/MapArena.h"
#include "model/Obiekt.h"

// The map's objects in file order; the list owns them.
class TListaObi : public ListOf<TObiekt> {
  public:
    // Destroys the elements before the storage they live in.
    ~TListaObi() override { DestroyElements(); }

    // A new object (code cut to 4, no attributes or text, an empty vertex list) and a new vertex,
    // in the list's own storage and not yet added anywhere. Both must not outlive the list.
    std::unique_ptr<TObiekt> NewObject(std::string_view Code, std::int32_t LineNo);
    std::unique_ptr<TNumer> NewVertex(TPunkt* point) {
        if (!vertexArena_) vertexArena_ = std::make_unique<MapArena>();
        return MakeInArena<TNumer>(*vertexArena_, point);
    }

    // Removes the current object and frees it; false when empty.
    virtual bool DeleteObject();
    // Appends at the tail and makes the object current. Always true.
    virtual bool AddObject(std::unique_ptr<TObiekt> object);

    void ClearFlagsAll(std::uint16_t Bits);
    // Marks every object whose code equals Code (cut to 4) exactly; returns how many.
    std::int32_t MarkByCode(std::string_view Code);

    TObiekt* CurrentObject() const { return static_cast<TObiekt*>(CurrentItem()); }

    std::uint8_t Added = 0;
    std::uint8_t Modified = 0;
    TObiekt* LastAdded = nullptr;

  private:
    MapArena& Arena() {
        if (!arena_) arena_ = std::make_unique<MapArena>();
        return *arena_;
    }

    std::unique_ptr<MapArena> arena_;
    // Vertices apart from the objects and their lists, which then lie one after the other: walks
    // over the objects (freeing them as well) read memory in order.
    std::unique_ptr<MapArena> vertexArena_;
};
