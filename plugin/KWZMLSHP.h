#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/KWZPrototyp.h"
#include "plugin/LayerList.h"

// The multi-layer object: an ordered list of shapefile layers, each with its own single-file
// server object. It draws the visible layers one over the other in list order, identifies in
// the active layer and reports the union of the layers' boxes. The host calls its five
// operations by place; none of them lets an exception out.
// No virtual operation may be added here: place N must stay slot N of TKWZMLPrototyp's table.
class TKWZMLSHP : public TKWZMLPrototyp {
  public:
    TKWZMLSHP();
    // Frees Layers with every layer and its server object.
    ~TKWZMLSHP() override;

    /* 0 */ bool AddLayers() override;
    /* 1 */ bool ConfigureLayers() override;
    /* 2 */ bool Draw(std::uint32_t DC, double WorldMinX, double WorldMinY, double WorldMaxX,
                      double WorldMaxY, std::int32_t ScreenLeft, std::int32_t ScreenTop,
                      std::int32_t ScreenRight, std::int32_t ScreenBottom, std::uint8_t Flag,
                      std::int32_t Param) override;
    /* 3 */ bool Identify(double X, double Y, double Tolerance, std::uint8_t Show) override;
    /* 4 */ bool GetExtent(double* MinX, double* MinY, double* MaxX, double* MaxY) override;

    // Appends the layers that the chosen files give, in the given order: a shapefile (".shp",
    // any case) gives one visible layer, a layer list (".spr") one layer per line; other names
    // give nothing. A layer is added whether its shapefile opens or not.
    void AddFiles(const std::vector<std::string>& fileNames);
    // Appends a layer for the file, opened in its own server object.
    void AddLayer(const std::string& fileName, bool visible);

    std::unique_ptr<TLayerList> Layers;

  private:
    void AddListFile(const std::string& fileName);
};
