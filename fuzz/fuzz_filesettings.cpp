// A shapefile's conversion-settings file (.cc) as opening the shapefile reads it when the
// settings come from such files: every object code must fall in its range, every text in its
// length, and the numbers must survive writing and reading the file again.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "fuzz/FuzzFolder.h"
#include "platform/UiService.h"
#include "plugin/AttributeChoice.h"
#include "plugin/ConversionSettings.h"
#include "plugin/FileSettings.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

struct Numbers {
    std::int32_t codes[4];
    bool flags[6];
    std::int32_t groups[4];
    std::int32_t slots[kAttributeSlotCount];
    std::int32_t atr, tpid;

    static Numbers Now() {
        const TConversionSettings& s = ConversionSettings;
        Numbers n{{s.Point, s.Arc, s.Polygon, s.Multipoint},
                  {s.KNW, s.U45, s.Z54, s.BTA, s.ATB, LinkSettings.TXTLink},
                  {s._2XXX, s._3XXX, s._4XXX, s._5XXX},
                  {},
                  LinkSettings.ATR,
                  LinkSettings.TPIDID};
        for (std::size_t i = 0; i < kAttributeSlotCount; ++i) n.slots[i] = AttributeSlots[i].NR;
        return n;
    }
    bool operator==(const Numbers&) const = default;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const FuzzFolder folder("fuzz-cc");
    platform::UiService::Headless()->SetEcho(false);
    platform::UiService::Headless()->ClearMessages();
    InitAttributeSlots();
    ReadFileSettingsFrom(folder.Write("in.cc", data, size));
    const TConversionSettings& s = ConversionSettings;
    Check(s.Point >= 1000 && s.Point <= 1999 && s.Multipoint >= 1000 && s.Multipoint <= 1999);
    Check(s.Arc >= 4000 && s.Arc <= 4999 && s.Polygon >= 5000 && s.Polygon <= 5999);
    for (const TAttributeSlot& slot : AttributeSlots)
        Check(slot.Label.View().size() <= 255 && slot.DBF.View().size() <= 255);

    const Numbers read = Numbers::Now();
    std::error_code ignored;
    std::filesystem::remove(folder.Path("out.cc"), ignored);
    if (!WriteFileSettingsTo(folder.Path("out.cc"))) return 0;
    InitAttributeSlots();
    ReadFileSettingsFrom(folder.Path("out.cc"));
    Check(Numbers::Now() == read);
    return 0;
}
