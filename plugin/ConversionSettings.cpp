#include "plugin/ConversionSettings.h"

#include <optional>
#include <string>

#include "platform/Registry.h"

TConversionSettings ConversionSettings{};

namespace {

// Code-page rows of the Polish letter table; any other number would index past the table.
constexpr std::int32_t kFirstCodePage = 1;
constexpr std::int32_t kLastCodePage = 6;
constexpr std::int32_t kDefaultCodePage = 3;  // Windows 1250

class SettingsReader {
  public:
    explicit SettingsReader(const platform::RegistryKey& key) : key_(key) {}

    bool Flag(std::string_view name, bool fallback) const {
        const auto value = key_.ReadDword(name);
        return value ? *value != 0 : fallback;
    }
    std::int32_t Number(std::string_view name, std::int32_t fallback) const {
        const auto value = key_.ReadDword(name);
        return value ? static_cast<std::int32_t>(*value) : fallback;
    }
    // A number outside low..high gives the fallback.
    std::int32_t Ranged(std::string_view name, std::int32_t fallback, std::int32_t low,
                        std::int32_t high) const {
        const std::int32_t value = Number(name, fallback);
        return value < low || value > high ? fallback : value;
    }

  private:
    const platform::RegistryKey& key_;
};

}  // namespace

void LoadConversionSettings() {
    TConversionSettings s{};
    platform::RegistryKey key;
    // A key that cannot be opened reads as empty, so every field takes its default.
    key.OpenKey(kConversionRegistryKey, true);
    const SettingsReader read(key);

    s.KNW = read.Flag("KNW", true);
    s.U45 = read.Flag("U45", true);
    s.Z54 = read.Flag("Z54", true);
    s._2XXX = read.Number("2XXX", 0);
    s._3XXX = read.Number("3XXX", 0);
    s._4XXX = read.Number("4XXX", 1);
    s._5XXX = read.Number("5XXX", 1);
    s.ATB = read.Flag("ATB", true);
    s.Point = read.Ranged("Point", 1000, 1000, 1999);
    s.Arc = read.Ranged("Arc", 4100, 4000, 4999);
    s.Polygon = read.Ranged("Polygon", 5100, 5000, 5999);
    s.Multipoint = read.Ranged("Multipoint", 4100, 4000, 4999);
    s.BTA = read.Flag("BTA", false);
    s.INI = read.Flag("INI", false);
    // The code page selects a row of the Polish letter table, so it is kept to the table's rows.
    s.PLKODY = read.Ranged("PLKODY", kDefaultCodePage, kFirstCodePage, kLastCodePage);
    s.RozbijajArc = read.Flag("RozbijajArc", false);
    s.DomykacPoligon = true;  // whatever is stored
    s.KorzystajZSym = read.Flag("KorzystajZSym", false);
    s.NazwaPlikuSHPMAP = read.Flag("NazwaPlikuSHPMAP", false);

    switch (key.GetDataType("PlikSym")) {
        case platform::RegValueType::None:
            break;  // missing: no name
        case platform::RegValueType::String:
            s.PlikSym = key.ReadString("PlikSym").value_or(std::string());
            break;
        default:
            s.PlikSym = kDefaultSymbolFile;
            break;
    }
    key.CloseKey();
    ConversionSettings = s;
}

bool SaveConversionSettings() {
    const TConversionSettings& s = ConversionSettings;
    platform::RegistryKey key;
    if (!key.OpenKey(kConversionRegistryKey, true)) return false;
    bool written = true;
    auto dword = [&](std::string_view name, std::int32_t value) {
        written = key.WriteDword(name, static_cast<std::uint32_t>(value)) && written;
    };
    auto flag = [&](std::string_view name, bool value) { dword(name, value ? 1 : 0); };

    flag("KNW", s.KNW);
    flag("U45", s.U45);
    flag("Z54", s.Z54);
    dword("2XXX", s._2XXX);
    dword("3XXX", s._3XXX);
    dword("4XXX", s._4XXX);
    dword("5XXX", s._5XXX);
    flag("ATB", s.ATB);
    dword("Point", s.Point);
    dword("Arc", s.Arc);
    dword("Polygon", s.Polygon);
    dword("Multipoint", s.Multipoint);
    flag("BTA", s.BTA);
    flag("INI", s.INI);
    dword("PLKODY", s.PLKODY);
    flag("RozbijajArc", s.RozbijajArc);
    flag("DomykacPoligon", s.DomykacPoligon);
    flag("KorzystajZSym", s.KorzystajZSym);
    flag("NazwaPlikuSHPMAP", s.NazwaPlikuSHPMAP);
    written = key.WriteString("PlikSym", s.PlikSym.View()) && written;
    key.CloseKey();
    return written;
}
