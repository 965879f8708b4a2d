#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "model/Lista.h"

// The host's symbol library: for each object code a symbol name and the drawing primitives the
// symbol is made of, read from a .sym file.

struct TElementSymboluRec {
    char Kind = ' ';
    std::array<double, 6> P{};  // P1..P6 in file order
};

// One drawing primitive of a symbol.
class TElementSymbolu : public TElement {
  public:
    explicit TElementSymbolu(const TElementSymboluRec& record) : Kind(record.Kind), P(record.P) {}
    char Kind;
    std::array<double, 6> P;  // P[0] is P1
};

// A symbol's primitives in file order.
class TListaElementowSymbolu : public ListOf<TElementSymbolu> {};

struct TSymbolRec {
    std::string Code;  // at most 4 characters
    std::string Name;  // at most 255 characters
};

class TSymbol : public TElement {
  public:
    explicit TSymbol(const TSymbolRec& record);
    std::string Code;
    std::string Name;
    std::unique_ptr<TListaElementowSymbolu> Elements;
};

// The symbols in file order; the list owns them.
class TListaSYM : public ListOf<TSymbol> {
  public:
    // True with the first symbol of Code (cut to 4) current. A code that is not a whole number
    // from 1000 to 7999 finds nothing.
    bool FindSymbol(std::string_view Code);
    // A name fit for a file name: the symbol's name (or Code and a note that the library lacks
    // it) in plain letters, trimmed, with every character other than a digit or an ASCII letter
    // turned into "_".
    void SymbolFileName(std::string_view Code, std::string& Name);
    // Zeroes the parameters that the export does not use, by object class and primitive kind.
    void ResetSymbolParams();

    TSymbol* CurrentSymbol() const { return static_cast<TSymbol*>(CurrentItem()); }
};

// Reads the symbol file and appends its symbols to Symbols (created when missing). Result 255
// for an empty name (silently), otherwise 0 or an error number, which is shown to the user.
void ReadSymbolFile(std::string_view FileName, std::unique_ptr<TListaSYM>& Symbols,
                    std::int32_t& Result);
