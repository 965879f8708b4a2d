#include "plugin/SaveAsMapBatch.h"

#include <string>

#include "platform/IniMemoryFile.h"
#include "plugin/AttributeChoice.h"
#include "plugin/ConversionSettings.h"

namespace {

constexpr std::string_view kDefaultSection = "DEFAULT";

}  // namespace

void ReadBatchLinkSettings(const platform::IniMemoryFile* ini, std::string_view shapeFileName) {
    static const platform::IniMemoryFile kEmpty = platform::IniMemoryFile::FromText("");
    const platform::IniMemoryFile& file = ini != nullptr ? *ini : kEmpty;
    const std::string_view section =
        file.SectionExists(shapeFileName) ? shapeFileName : kDefaultSection;

    LinkSettings.KOD = file.ReadString(section, "KOD", "5000");
    LinkSettings.ATR = file.ReadInteger(section, "ATR", 0);
    LinkSettings.TPIDID = file.ReadInteger(section, "TPIDID", 0);
    LinkSettings.TXTLink = file.ReadInteger(section, "TXTLink", 0) != 0;
    for (TAttributeSlot& slot : AttributeSlots) {
        const std::string key = std::to_string(slot.NR);
        std::string field = file.ReadString(kDefaultSection, key, "");
        if (section != kDefaultSection) field = file.ReadString(section, key, field);
        slot.DBF = field;
    }
    ConversionSettings.BTA = true;
}
