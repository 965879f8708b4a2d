#pragma once

#include <memory>
#include <string>

#include "model/KWZPrototyp.h"
#include "model/ListaObi.h"
#include "model/ListaPKT.h"

// The base of the single-file server: it holds a map (object list and point list, both always
// present) and implements loading, saving and clearing it.
class TKWZPrototypTP : public TKWZPrototyp {
  public:
    TKWZPrototypTP();
    ~TKWZPrototypTP() override;

    // Reads the MAP file named by the handle in place of the current map; true on success.
    bool LoadMap(KwzHandle FileName) override;
    // Writes the whole map as a version 7 MAP file; true on success.
    bool SaveMap(KwzHandle FileName) override;
    // Replaces both lists by empty ones; always true.
    bool Clear() override;

    std::unique_ptr<TListaObi> Objects;
    std::unique_ptr<TListaPKT> Points;
    std::string FileName;  // the last MAP file loaded or saved successfully
};
