// The eight exports of Kestrel.so, with C linkage under their own names. Everything else of the
// library is hidden (Kestrel.exports). No exception leaves an export: each returns its failure
// value instead. Texts go out as global memory handles that the receiver frees.
#include <cstdint>
#include <memory>

#include "model/KWZPrototyp.h"
#include "model/TextHandles.h"
#include "platform/Form.h"
#include "plugin/AboutSHP.h"
#include "plugin/KWZArcView.h"
#include "plugin/KWZMLSHP.h"
#include "plugin/KonwersjaPliku.h"
#include "plugin/ServerTexts.h"

#define KESTREL_EXPORT extern "C" [[gnu::visibility("default")]]

// One-call conversion of a MAP file into one shapefile of geographic coordinates
// (plugin/KonwersjaPliku.h): 0 when the shapefile was written, -1 otherwise.
KESTREL_EXPORT std::int32_t Konwersja_Pliku_SHP_MAP(std::uint32_t MapName, std::uint32_t ShpName,
                                                    std::int32_t SourceSystem) noexcept try {
    return KonwersjaPlikuShpMap(MapName, ShpName, SourceSystem);
} catch (...) {
    return -1;
}

// A new multi-layer object without layers; the caller destroys it through its virtual
// destructor. Nil when it cannot be created.
KESTREL_EXPORT TKWZMLPrototyp* NewKWZMLObject() noexcept try {
    return std::make_unique<TKWZMLSHP>().release();
} catch (...) {
    return nullptr;
}

// A new single-file server object; the caller destroys it through its virtual destructor. Nil
// when it cannot be created.
KESTREL_EXPORT TKWZPrototyp* NewKWZObject() noexcept try {
    return std::make_unique<TKWZArcView>().release();
} catch (...) {
    return nullptr;
}

// Shows the about box modally. No result of its own: 0.
KESTREL_EXPORT std::int32_t About() noexcept try {
    auto form = platform::CreateForm<TAboutSHP>();
    form->ShowModal();
    return 0;
} catch (...) {
    return 0;
}

KESTREL_EXPORT std::uint32_t GetMask() noexcept try {
    return StrToGlobal(servertexts::FileMask());
} catch (...) {
    return 0;
}

KESTREL_EXPORT std::uint32_t GetDescription() noexcept try {
    return StrToGlobal(servertexts::Description());
} catch (...) {
    return 0;
}

KESTREL_EXPORT std::int32_t GetFunction() noexcept {
    return 7;
}

KESTREL_EXPORT std::int32_t GetVersion() noexcept {
    return 0;
}
