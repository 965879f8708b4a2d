#pragma once

// The library's number-format object: reads and sets the process-wide decimal separator that every
// number-to-text conversion uses. It holds no state of its own; the separator is the process's.
class TFormatSettings {
  public:
    char GetDecimalSeparator() const;
    void SetDecimalSeparator(char Separator) const;
};

// The one instance of the library.
inline constexpr TFormatSettings GlobalNumberFormat{};
