#include "plugin/KWZMLSHP.h"

#include <algorithm>
#include <cmath>

#include "platform/FileDialog.h"
#include "platform/FileSystem.h"
#include "platform/Form.h"
#include "platform/ShortString.h"
#include "plugin/LayerListFile.h"
#include "plugin/LayerListTexts.h"
#include "plugin/UMConfig.h"

// Every place catches at its own boundary: the host cannot take an exception. What a place
// returns after one is its failure value.

TKWZMLSHP::TKWZMLSHP() : Layers(std::make_unique<TLayerList>()) {}

// The layers go with the list: each frees its server object, whose shape writes its style file.
TKWZMLSHP::~TKWZMLSHP() = default;

void TKWZMLSHP::AddLayer(const std::string& fileName, bool visible) {
    auto layer = std::make_unique<TSHPLayer>();
    layer->FileName = platform::Cut(fileName);
    layer->Open();  // a shapefile that does not open still gives a layer, drawing nothing
    layer->Visible = visible;
    std::string text = LayerDisplayName(layer->FileName);
    Layers->AddObject(std::move(text), std::move(layer));
}

void TKWZMLSHP::AddListFile(const std::string& fileName) {
    const LayerListReadResult list = ReadLayerListFile(fileName);
    if (list.Error != 0) {
        // A folder, a device or a pipe in the list's place is refused as it is opened.
        layertexts::Show(platform::NotRegularFile(fileName) ? layertexts::ListNotRegular(fileName)
                                                            : layertexts::ListReadError(fileName));
        return;
    }
    for (const LayerListEntry& entry : list.Entries) AddLayer(entry.FileName, entry.Visible);
    if (list.Truncated) layertexts::Show(layertexts::ListTooLong(fileName, kLayerListMaxLines));
}

void TKWZMLSHP::AddFiles(const std::vector<std::string>& fileNames) {
    if (!Layers) Layers = std::make_unique<TLayerList>();
    for (const std::string& name : fileNames) {
        const std::string ext = UpperFileExt(name);
        if (ext == ".SHP") {
            AddLayer(name, true);
        } else if (ext == ".SPR") {
            AddListFile(name);
        }
    }
}

bool TKWZMLSHP::AddLayers() try {
    platform::OpenDialog dialog;
    dialog.Filter = layertexts::AddLayersFilter();
    dialog.Options |= platform::ofAllowMultiSelect;
    if (dialog.Execute()) AddFiles(dialog.Files);
    return false;
} catch (...) {
    return false;
}

bool TKWZMLSHP::ConfigureLayers() try {
    if (!Layers || Layers->Empty()) return false;
    auto form = platform::CreateForm<TFMConfig>();
    form->SetLayers(ActiveLayer, Layers.get());
    if (form->ShowModal() == platform::mrOk) {
        int active = -1;
        form->GetLayers(active);  // the very list the dialog edited
        ActiveLayer = active;
    }
    return false;
} catch (...) {
    return false;
}

bool TKWZMLSHP::Draw(std::uint32_t DC, double WorldMinX, double WorldMinY, double WorldMaxX,
                     double WorldMaxY, std::int32_t ScreenLeft, std::int32_t ScreenTop,
                     std::int32_t ScreenRight, std::int32_t ScreenBottom, std::uint8_t Flag,
                     std::int32_t Param) try {
    if (!Layers || Layers->Empty()) return false;
    for (int i = 0; i < Layers->Count(); ++i) {
        TSHPLayer* layer = Layers->Objects(i);
        if (!layer || !layer->Visible || !layer->View) continue;
        layer->View->Draw(DC, WorldMinX, WorldMinY, WorldMaxX, WorldMaxY, ScreenLeft, ScreenTop,
                          ScreenRight, ScreenBottom, Flag, Param);
    }
    return true;
} catch (...) {
    return false;
}

bool TKWZMLSHP::Identify(double X, double Y, double Tolerance, std::uint8_t Show) try {
    const int count = Layers ? Layers->Count() : 0;
    if (ActiveLayer < 0 || ActiveLayer >= count) {
        if (Show) layertexts::Show(layertexts::NoActiveLayer());
        return false;
    }
    TSHPLayer* layer = Layers->Objects(ActiveLayer);
    const bool found = layer && layer->View && layer->View->Identify(X, Y, Tolerance, Show);
    if (Show && !found) layertexts::Show(layertexts::NotFound());
    return found;
} catch (...) {
    return false;
}

// A layer whose shapefile holds no points (or did not open) leaves the box it is given as it
// was: such a layer adds nothing to the union. The box starts as NaN, so an untouched box is
// told apart from any real one. Hidden layers count as well.
bool TKWZMLSHP::GetExtent(double* MinX, double* MinY, double* MaxX, double* MaxY) try {
    if (!Layers || Layers->Empty()) return false;
    if (!MinX || !MinY || !MaxX || !MaxY) return false;
    bool any = false;
    double result[4] = {};
    for (int i = 0; i < Layers->Count(); ++i) {
        TSHPLayer* layer = Layers->Objects(i);
        if (!layer || !layer->View) continue;
        double box[4] = {NAN, NAN, NAN, NAN};
        if (!layer->View->GetExtent(&box[0], &box[1], &box[2], &box[3])) continue;
        if (std::isnan(box[0]) || std::isnan(box[1]) || std::isnan(box[2]) || std::isnan(box[3]))
            continue;
        if (!any) {
            std::copy(box, box + 4, result);
            any = true;
            continue;
        }
        result[0] = std::min(result[0], box[0]);
        result[1] = std::min(result[1], box[1]);
        result[2] = std::max(result[2], box[2]);
        result[3] = std::max(result[3], box[3]);
    }
    if (any) {
        *MinX = result[0];
        *MinY = result[1];
        *MaxX = result[2];
        *MaxY = result[3];
    }
    return true;
} catch (...) {
    return false;
}
