#include "plugin/SettingsUnits.h"

#include "plugin/AttributeChoice.h"
#include "plugin/ConversionSettings.h"

void InitializeSettingsUnits() {
    LoadConversionSettings();
    LoadDbfAttributeChoice();
    InitAttributeSlots();
}

// The records own nothing; clearing them only makes a later load start as a first one would.
void FinalizeSettingsUnits() {
    AttributeSlots = TAttributeSlots{};
    LinkSettings = TLinkSettings{};
    DbfAttributeChoice = TDbfAttributeChoice{};
    ConversionSettings = TConversionSettings{};
}
