#include "plugin/SHPLayer.h"

#include <utility>

#include "model/TextHandles.h"
#include "platform/GlobalMemory.h"

TSHPLayer::TSHPLayer() : View(std::make_unique<TKWZArcView>()) {}

TSHPLayer::TSHPLayer(std::unique_ptr<TKWZArcView> view) : View(std::move(view)) {}

TSHPLayer::~TSHPLayer() = default;

// The name crosses as a text handle, as it would from the host; the layer frees its own handle.
std::int32_t TSHPLayer::Open() {
    if (!View) return kShapeFileMissing;
    View->HoldsTableForConversion = false;  // a layer is drawn and identified, never converted
    struct OwnedHandle {
        HostTextHandle value;
        ~OwnedHandle() { platform::GlobalFree(value); }
    } name{StrToGlobal(FileName)};
    if (name.value == 0) return kShapeFileMissing;
    return View->OpenFile(name.value);
}
