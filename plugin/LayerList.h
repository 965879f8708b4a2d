#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "plugin/SHPLayer.h"

// The multi-layer object's string list: items of a text (the layer's file name without its
// folder) and the layer, which the list owns. Item 0 is drawn first, the last item on top.
// Indexes outside the list are ignored by every operation that changes it.
class TLayerList {
  public:
    int Count() const { return static_cast<int>(items_.size()); }
    bool Empty() const { return items_.empty(); }
    // The item's text and layer; empty text and nullptr outside the list.
    const std::string& Strings(int index) const;
    TSHPLayer* Objects(int index) const;

    void AddObject(std::string text, std::unique_ptr<TSHPLayer> layer);
    // Removes the item and destroys its layer (whose server object writes its style file).
    void Delete(int index);
    // Moves the item at `from` to the place `to`; the items between shift by one.
    void Move(int from, int to);
    void Exchange(int a, int b);

  private:
    bool Inside(int index) const { return index >= 0 && index < Count(); }

    struct Item {
        std::string text;
        std::unique_ptr<TSHPLayer> layer;
    };
    std::vector<Item> items_;
};

// The file name without its folder; both '\' and '/' end a folder.
std::string LayerDisplayName(std::string_view fileName);
// The extension with its dot, in upper case (".SHP"); empty when the name has none.
std::string UpperFileExt(std::string_view fileName);
