#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "plugin/KWZArcView.h"

// One layer of the multi-layer object: a shapefile with its own single-file server object.
class TSHPLayer {
  public:
    // A layer with a new, empty server object.
    TSHPLayer();
    // A layer over the given server object (a test puts one that records its calls).
    explicit TSHPLayer(std::unique_ptr<TKWZArcView> view);
    // Frees View, which writes the display-style file of its shape.
    ~TSHPLayer();
    TSHPLayer(const TSHPLayer&) = delete;
    TSHPLayer& operator=(const TSHPLayer&) = delete;

    // Opens FileName in View (View.OpenFile) and returns its load result; 255 without a view or
    // when the name cannot be handed over.
    std::int32_t Open();

    std::string FileName;  // full name of the .shp, at most 255 characters
    bool Visible = false;
    std::unique_ptr<TKWZArcView> View;
};
