#include "plugin/AttributeChoice.h"

#include "platform/Cp1250.h"
#include "platform/Registry.h"
#include "plugin/AttributeIds.h"

TDbfAttributeChoice DbfAttributeChoice{};
TAttributeSlots AttributeSlots{};
TLinkSettings LinkSettings{};

void LoadDbfAttributeChoice() {
    platform::RegistryKey key;
    key.OpenKey(kAttributeRegistryKey, true);  // when it fails every value reads as missing
    TDbfAttributeChoice choice{};
    for (const DbfAttributeField& f : kDbfAttributeFields) {
        const auto value = key.ReadDword(f.name);
        choice.*f.field = value ? *value != 0 : true;
    }
    key.CloseKey();
    DbfAttributeChoice = choice;
}

bool SaveDbfAttributeChoice() {
    platform::RegistryKey key;
    if (!key.OpenKey(kAttributeRegistryKey, true)) return false;
    bool written = true;
    for (const DbfAttributeField& f : kDbfAttributeFields)
        written = key.WriteDword(f.name, DbfAttributeChoice.*f.field ? 1 : 0) && written;
    key.CloseKey();
    return written;
}

void InitAttributeSlots() {
    struct Initial {
        std::int32_t nr;
        const char* label;
    };
    static constexpr std::array<Initial, kAttributeSlotCount> kInitial = {{
        {attr::A1, "Atrybut 1"},
        {attr::A2, "Atrybut 2"},
        {attr::A3, "Atrybut 3"},
        {attr::A4, "Atrybut 4"},
        {attr::A5, "Atrybut 5"},
        {attr::A6, "Atrybut 6"},
        {attr::TX, "Uwagi"},
        {attr::DT, "DATA"},
        {attr::KR, "KEM"},
        {attr::MP, "Metoda pozyskania"},
        {attr::FA, "Wypelnienie"},
    }};
    LinkSettings = TLinkSettings{};
    AttributeSlots = TAttributeSlots{};
    for (std::size_t i = 0; i < kAttributeSlotCount; ++i) {
        AttributeSlots[i].NR = kInitial[i].nr;
        AttributeSlots[i].Label = platform::Utf8ToCp1250(kInitial[i].label);
    }
}

void FindLinkAttribute() {
    LinkSettings.ATR = 0;
    LinkSettings.TPIDID = 0;
    for (const TAttributeSlot& slot : AttributeSlots) {
        if (slot.DBF.View() != kTpidField) continue;
        const std::int32_t nr = slot.NR;
        if (nr == attr::A1 || nr == attr::A2 || nr == attr::A3) {
            LinkSettings.ATR = nr;
            LinkSettings.TPIDID = nr;
            return;
        }
        if (nr == attr::A4 || nr == attr::A5 || nr == attr::A6) {
            LinkSettings.ATR = nr;
            LinkSettings.TPIDID = nr - (attr::A4 - 4);  // A4..A6 are 11..13
            return;
        }
    }
}
