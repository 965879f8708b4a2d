#include "plugin/FileSettings.h"

#include <cstdint>
#include <string_view>

#include "platform/BinaryFile.h"
#include "platform/IniFile.h"
#include "plugin/AttributeChoice.h"
#include "plugin/ConversionSettings.h"
#include "plugin/KWZArcView.h"
#include "plugin/ServerTexts.h"

namespace {

constexpr std::string_view kGeneral = "General";
constexpr std::string_view kLink = "BTAPAR";

std::string SlotSection(std::size_t index) {
    return std::string(kLink) + std::to_string(index);
}

// Only a regular file that can be opened counts; anything else is treated as no file at all, so
// that an unreadable file cannot reset the settings to their defaults. A folder, a device or a
// pipe in its place is refused as it is opened, and said.
bool ReadableFile(const std::string& name) {
    platform::BinaryFile file;
    if (file.Open(name, platform::BinaryFile::Mode::Read)) return true;
    if (platform::NotRegularFile(name))
        servertexts::Show(servertexts::FileSettingsNotRegular(name));
    return false;
}

class Reader {
  public:
    explicit Reader(const std::string& fileName) : ini_(fileName) {}

    bool Flag(std::string_view section, std::string_view key, bool fallback) const {
        return ini_.ReadInteger(section, key, fallback ? 1 : 0) != 0;
    }
    std::int32_t Number(std::string_view key, std::int32_t fallback) const {
        return ini_.ReadInteger(kGeneral, key, fallback);
    }
    // A code outside low..high gives the fallback.
    std::int32_t Code(std::string_view key, std::int32_t fallback, std::int32_t low,
                      std::int32_t high) const {
        const std::int32_t value = Number(key, fallback);
        return value < low || value > high ? fallback : value;
    }
    std::string Text(std::string_view section, std::string_view key) const {
        return ini_.ReadString(section, key, "");
    }
    std::int32_t Integer(std::string_view section, std::string_view key) const {
        return ini_.ReadInteger(section, key, 0);
    }

  private:
    platform::IniFile ini_;
};

}  // namespace

std::string FileSettingsName(std::string_view shapeFileName) {
    if (shapeFileName.empty()) return {};
    return platform::ChangeFileExt(shapeFileName, ".cc");
}

void ReadFileSettings(const TKWZArcView& Server) {
    if (!Server.Shape) return;
    ReadFileSettingsFrom(FileSettingsName(Server.Shape->FileName));
}

bool WriteFileSettings(const TKWZArcView& Server) {
    return WriteFileSettingsTo(Server.Shape ? FileSettingsName(Server.Shape->FileName) : "");
}

void ReadFileSettingsFrom(const std::string& settingsFile) {
    if (settingsFile.empty() || !ReadableFile(settingsFile)) return;
    const Reader read(settingsFile);

    // The file's own defaults and ranges: Polygon 5000 and Multipoint 1000..1999 differ from
    // the registry's.
    TConversionSettings& s = ConversionSettings;
    s.KNW = read.Flag(kGeneral, "KNW", true);
    s.U45 = read.Flag(kGeneral, "U45", true);
    s.Z54 = read.Flag(kGeneral, "Z54", true);
    s._2XXX = read.Number("2XXX", 0);
    s._3XXX = read.Number("3XXX", 0);
    s._4XXX = read.Number("4XXX", 1);
    s._5XXX = read.Number("5XXX", 1);
    s.ATB = read.Flag(kGeneral, "ATB", true);
    s.Point = read.Code("Point", 1000, 1000, 1999);
    s.Arc = read.Code("Arc", 4100, 4000, 4999);
    s.Polygon = read.Code("Polygon", 5000, 5000, 5999);
    s.Multipoint = read.Code("Multipoint", 1000, 1000, 1999);
    s.BTA = read.Flag(kGeneral, "BTA", false);

    LinkSettings.TXTLink = read.Flag(kLink, "TXTLink", false);
    for (std::size_t i = 0; i < kAttributeSlotCount; ++i) {
        const std::string section = SlotSection(i);
        TAttributeSlot& slot = AttributeSlots[i];
        slot.NR = read.Integer(section, "NR");
        slot.Label = read.Text(section, "ATR");  // both cut to 255 by the record
        slot.DBF = read.Text(section, "DBF");
    }
    FindLinkAttribute();
}

bool WriteFileSettingsTo(const std::string& settingsFile) {
    // Every key in one replacement of the file: a failure leaves the old file whole.
    std::vector<platform::IniWrite> writes;
    auto text = [&](std::string_view section, std::string_view key, std::string_view value) {
        writes.push_back({std::string(section), std::string(key), std::string(value)});
    };
    auto flag = [&](std::string_view section, std::string_view key, bool value) {
        text(section, key, value ? "1" : "0");
    };
    auto number = [&](std::string_view section, std::string_view key, std::int32_t value) {
        text(section, key, std::to_string(value));
    };

    const TConversionSettings& s = ConversionSettings;
    flag(kGeneral, "KNW", s.KNW);
    flag(kGeneral, "U45", s.U45);
    flag(kGeneral, "Z54", s.Z54);
    flag(kGeneral, "BTA", s.BTA);
    flag(kGeneral, "ATB", s.ATB);
    number(kGeneral, "2XXX", s._2XXX);
    number(kGeneral, "3XXX", s._3XXX);
    number(kGeneral, "4XXX", s._4XXX);
    number(kGeneral, "5XXX", s._5XXX);
    number(kGeneral, "Point", s.Point);
    number(kGeneral, "Arc", s.Arc);
    number(kGeneral, "Polygon", s.Polygon);
    number(kGeneral, "Multipoint", s.Multipoint);
    flag(kLink, "TXTLink", LinkSettings.TXTLink);
    for (std::size_t i = 0; i < kAttributeSlotCount; ++i) {
        const std::string section = SlotSection(i);
        const TAttributeSlot& slot = AttributeSlots[i];
        number(section, "NR", slot.NR);
        text(section, "ATR", slot.Label.View());
        text(section, "DBF", slot.DBF.View());
    }
    const bool written =
        !settingsFile.empty() && platform::IniFile(settingsFile).WriteStrings(writes);
    if (!written)
        servertexts::Show(platform::NotRegularFile(settingsFile)
                              ? servertexts::FileSettingsNotRegular(settingsFile)
                              : servertexts::FileSettingsWriteError(settingsFile));
    return written;
}
