#include "model/ListaObi.h"

#include "platform/ShortString.h"

std::unique_ptr<TObiekt> TListaObi::NewObject(std::string_view Code, std::int32_t LineNo) {
    MapArena& arena = Arena();
    return MakeInArena<TObiekt>(arena, Code, LineNo, MakeInArena<TListaNr>(arena));
}

bool TListaObi::DeleteObject() {
    TElement* removed = CurrentItem();
    if (!TakeCurrent()) return false;
    if (removed == LastAdded) LastAdded = nullptr;
    Modified = 1;
    return true;
}

bool TListaObi::AddObject(std::unique_ptr<TObiekt> object) {
    TObiekt* raw = object.get();
    Add(std::move(object));
    Added = 1;
    LastAdded = raw;
    Modified = 1;
    return true;
}

void TListaObi::ClearFlagsAll(std::uint16_t Bits) {
    if (Count() == 0) return;
    GoFirst();
    do {
        CurrentObject()->ClearFlags(Bits);
    } while (Next());
}

std::int32_t TListaObi::MarkByCode(std::string_view Code) {
    const std::string_view code = Code.substr(0, platform::kCodeMax);
    std::int32_t marked = 0;
    if (Count() == 0) return 0;
    GoFirst();
    do {
        TObiekt* o = CurrentObject();
        if (o->Code == code) {
            o->SetFlags(kObjectMarked);
            ++marked;
        }
    } while (Next());
    return marked;
}
