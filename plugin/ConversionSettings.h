#pragma once

#include <cstdint>
#include <string_view>

#include "plugin/PackedShortString.h"

// The library-wide conversion options, shared by every server object of the loaded library.
// Loaded from the current user's registry when the library is loaded and whenever the settings
// dialog opens (UConfigConv.h); saved only when that dialog is confirmed.

inline constexpr std::string_view kConversionRegistryKey =
    "Software\\Lumatek\\tpserver\\arcview\\konwersja";

// Symbol file name given when the stored name is not a string value.
inline constexpr std::string_view kDefaultSymbolFile = "TOPOLIN.SYM";

// The registry values are named after the fields; the four code-group fields "2XXX".."5XXX" get a
// leading underscore here because a name cannot start with a digit.
struct [[gnu::packed]] TConversionSettings {
    std::int32_t _2XXX;              // export geometry of codes 2xxx: 0 point, 1 line
    std::int32_t _3XXX;              // the same for codes 3xxx
    std::int32_t _4XXX;              // kept, shown and saved only
    std::int32_t _5XXX;              // export geometry of codes 5xxx: 0 line, 1 polygon
    bool ATB;                        // every attribute field goes into the exported dBase file
    std::int32_t Point;              // object code of imported point records, 1000..1999
    std::int32_t Arc;                // object code of imported line records, 4000..4999
    std::int32_t Polygon;            // object code of imported polygon records, 5000..5999
    std::int32_t Multipoint;         // object code of imported multipoint records, 4000..4999
    bool BTA;                        // dBase fields are copied into object attributes on import
    bool KNW;                        // one shapefile per object code, layers named as codes
    bool U45;                        // kind 4 and 5 objects with at most one point are dropped
    bool Z54;                        // unclosed kind 5 objects become kind 4
    bool DomykacPoligon;             // always true after loading; kept, shown and saved only
    std::int32_t PLKODY;             // code page of Polish letters in dBase text, 1..6
    bool INI;                        // per-shapefile ".cc" settings are used
    bool RozbijajArc;                // one map object per part of an imported multi-part line
    bool NazwaPlikuSHPMAP;           // the import asks for the MAP file name
    bool KorzystajZSym;              // export file names come from the symbol file
    PackedShortString<255> PlikSym;  // that symbol file
};
static_assert(sizeof(TConversionSettings) == 302, "the settings record is packed");

extern TConversionSettings ConversionSettings;

// Fills ConversionSettings from the registry, creating the key when missing. A value that is
// missing, of another type or out of range gives the field its default; a registry that cannot
// be read gives every default.
void LoadConversionSettings();

// Writes every field of ConversionSettings to the registry. False when any value could not be
// written (an unreadable registry file is never overwritten).
bool SaveConversionSettings();
