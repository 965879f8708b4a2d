#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Number to text and text to number, as the run-time library of the system does them.
// Every number-to-text form uses the process-wide decimal separator (DecimalSeparator.h);
// the text-to-number conversions always take "." as the separator.
namespace platform {

// Fixed notation with `decimals` digits after the separator, right-aligned in at least `width`.
std::string FormatFixed(double value, int decimals, int width = 0);

// The general form with at most 15 significant digits: trailing zeros and a trailing separator
// dropped; fixed notation unless the magnitude is below 0.00001 or has more than 15 integer
// digits, then mantissa, "E" and the exponent (signed only when negative), as in 1.5E-7 or 1E20.
std::string FormatGeneral(double value);

// Strict integer: leading blanks, an optional sign, decimal digits and nothing after them.
std::optional<std::int32_t> StrToIntStrict(std::string_view text);

// Strict real: leading blanks, an optional sign, digits with an optional "." and digits, an
// optional exponent ("E" or "e", optional sign, digits) and nothing after. Empty text fails.
std::optional<double> StrToFloatStrict(std::string_view text);

// Reads blank-separated tokens from the middle of a line, left to right.
class LineScanner {
  public:
    explicit LineScanner(std::string_view line) : line_(line) {}

    // Skips blanks and takes the token up to the next blank; empty at the end of the line.
    std::string_view ReadToken();
    // The next token as a strict integer or real; the token is consumed even when it fails.
    std::optional<std::int32_t> ReadInteger() { return StrToIntStrict(ReadToken()); }
    std::optional<double> ReadReal() { return StrToFloatStrict(ReadToken()); }

    // Takes the next `count` characters as they stand (fewer at the end of the line).
    std::string_view Take(std::size_t count);
    // What has not been read yet.
    std::string_view Rest() const { return line_.substr(pos_); }
    bool AtEnd() const { return pos_ >= line_.size(); }

  private:
    std::string_view line_;
    std::size_t pos_ = 0;
};

}  // namespace platform
