#include "model/KWZPrototypTP.h"

#include <exception>

#include "model/MapFile.h"
#include "model/ModelTexts.h"
#include "model/TextHandles.h"
#include "platform/NumberText.h"

TKWZPrototypTP::TKWZPrototypTP() : Objects(nullptr), Points(std::make_unique<TListaPKT>()) {
    Objects = std::make_unique<TListaObi>();
}

TKWZPrototypTP::~TKWZPrototypTP() {
    // Vertices refer to points: the objects go first.
    Objects.reset();
    Points.reset();
}

bool TKWZPrototypTP::LoadMap(KwzHandle FileName) try {
    // The name whole: the reader refuses one that does not fit, as the writer does.
    const std::string name = GlobalToStr(FileName);
    NewMapLists(Points, Objects);
    std::int32_t result = 0;
    ReadMapFile(name, false, *Points, *Objects, result);
    if (result != 0) return false;
    this->FileName = name;
    return true;
} catch (...) {
    // Both lists exist whatever failed: NewMapLists makes them before anything else can fail.
    if (!Points) Points = std::make_unique<TListaPKT>();
    if (!Objects) Objects = std::make_unique<TListaObi>();
    return false;
}

bool TKWZPrototypTP::SaveMap(KwzHandle FileName) try {
    const std::string name = GlobalToStr(FileName);
    const std::string versionText = platform::FormatFixed(1.3, 2);
    std::int32_t result = 0;
    WriteMapFile(model_texts::ServerGenerator(), versionText, 7, name, false, Points.get(),
                 Objects.get(), result);
    if (result != 0) return false;
    this->FileName = name;
    return true;
} catch (...) {
    return false;
}

bool TKWZPrototypTP::Clear() try {
    Objects.reset();
    Points = std::make_unique<TListaPKT>();
    Objects = std::make_unique<TListaObi>();
    return true;
} catch (...) {
    if (!Points) Points = std::make_unique<TListaPKT>();
    if (!Objects) Objects = std::make_unique<TListaObi>();
    return true;
}
