#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "plugin/PackedShortString.h"

// How map attributes and dBase fields meet, library-wide:
// - DbfAttributeChoice: the attributes that become fields of a dBase file exported from a map
//   when not every attribute goes there; kept in the registry, edited with TFATB (UATB.h);
// - AttributeSlots and LinkSettings: the pairs of map attribute and dBase field, and the link
//   options, of a shapefile to MAP conversion; edited with TFBTA (UBTA.h), never stored in the
//   registry.

inline constexpr std::string_view kAttributeRegistryKey =
    "Software\\Lumatek\\tpserver\\arcview\\AtrybutyDBF";

// The dBase field that holds a record's number in a link table.
inline constexpr std::string_view kTpidField = "TPID";

struct [[gnu::packed]] TDbfAttributeChoice {
    bool KOD;  // object code
    bool A1;
    bool A2;
    bool A3;
    bool A4;
    bool A5;
    bool A6;
    bool TXT;   // object text (TX)
    bool DATA;  // date (DT)
    bool KEM;
    bool MP;
    bool FA;
};
static_assert(sizeof(TDbfAttributeChoice) == 12, "twelve one-byte choices");

// The fields of DbfAttributeChoice with their registry value names, in registry order.
struct DbfAttributeField {
    std::string_view name;
    bool TDbfAttributeChoice::*field;
};
inline constexpr std::array<DbfAttributeField, 12> kDbfAttributeFields = {{
    {"KOD", &TDbfAttributeChoice::KOD},
    {"A1", &TDbfAttributeChoice::A1},
    {"A2", &TDbfAttributeChoice::A2},
    {"A3", &TDbfAttributeChoice::A3},
    {"A4", &TDbfAttributeChoice::A4},
    {"A5", &TDbfAttributeChoice::A5},
    {"A6", &TDbfAttributeChoice::A6},
    {"TXT", &TDbfAttributeChoice::TXT},
    {"DATA", &TDbfAttributeChoice::DATA},
    {"KEM", &TDbfAttributeChoice::KEM},
    {"MP", &TDbfAttributeChoice::MP},
    {"FA", &TDbfAttributeChoice::FA},
}};

struct [[gnu::packed]] TLinkSettings {
    PackedShortString<255> KOD;  // object code a batch configuration forces on every object
    std::int32_t ATR;            // attribute that receives the source record number; 0 none
    std::int32_t TPIDID;         // 1..6: the attribute A1..A6 holding the dBase TPID; 0 none
    bool TXTLink;                // the link text goes into the object's text
};
static_assert(sizeof(TLinkSettings) == 265, "the link record is packed");

struct [[gnu::packed]] TAttributeSlot {
    std::int32_t NR;               // map attribute id
    PackedShortString<255> Label;  // shown in the pairing dialog
    PackedShortString<255> DBF;    // paired dBase field; empty: the slot is not used
};
static_assert(sizeof(TAttributeSlot) == 516, "the slot record is packed");

inline constexpr std::size_t kAttributeSlotCount = 11;
using TAttributeSlots = std::array<TAttributeSlot, kAttributeSlotCount>;

extern TDbfAttributeChoice DbfAttributeChoice;
extern TAttributeSlots AttributeSlots;
extern TLinkSettings LinkSettings;

// Reads the twelve choices from the registry, creating the key when missing; a value that is
// missing or not a DWORD (or a registry that cannot be read) gives true.
void LoadDbfAttributeChoice();
// Writes the twelve choices. False when any could not be written.
bool SaveDbfAttributeChoice();

// The slots' initial attributes and labels; LinkSettings and every DBF cleared.
void InitAttributeSlots();

// ATR and TPIDID from the first slot paired with the field "TPID" (exact case) whose attribute
// is one of A1..A6; both 0 when there is none.
void FindLinkAttribute();
