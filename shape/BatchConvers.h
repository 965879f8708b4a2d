#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The attributes A1 to A6 of one map object, as a batch rule's template reads them.
using TBatchAttributes = std::array<std::string, 6>;

// One dBase field rule of a batch configuration: the field's name, its dBase definition taken
// from the head of the rule ("!N10:2": type letter, length, ':' and decimals) and the template
// that builds the field's value from an object's attributes and text.
//
// A template is a sequence of tokens, each starting with '#' or '$':
//   #n          the character with the code n modulo 256 (nothing when n is no whole number)
//   $A1..$A6    the attribute; $TXT the text handed in
//   $SRC.KEY    from the source's value, what follows " KEY=": a bracketed text without its
//               brackets, else the text up to the next blank; nothing when " KEY=" is absent
//   $other      nothing
// Source names compare case-sensitively; text before the first token gives nothing.
class TBatchConvers {
  public:
    // Both texts are cut to 255 characters; then the head is taken out of the template.
    TBatchConvers(std::string_view fieldName, std::string_view fieldTemplate);

    // Removes the head (from the first '!' up to the next '#' or '$') from the template and
    // takes the field definition from it. A number that is not whole, or that does not fit the
    // one byte a dBase field descriptor holds it in, keeps the value before.
    void ParseHead();

    void GetFieldDef(std::string& fieldName, char& fieldType, std::int32_t& length,
                     std::int32_t& decimals) const;

    // The template's tokens evaluated in order and joined.
    std::string Expand(const TBatchAttributes& attributes, std::string_view text) const;

    const std::string& FieldName() const { return fieldName_; }
    const std::string& Template() const { return template_; }

  private:
    std::string fieldName_;
    std::string template_;
    char fieldType_ = 'C';
    std::int32_t length_ = 100;
    std::int32_t decimals_ = 0;
};

// The value of one template token (starting with '#' or '$'); see TBatchConvers.
std::string ExpandBatchToken(std::string_view token, const TBatchAttributes& attributes,
                             std::string_view text);

// The part of `value` that follows a blank, `key` and '=': a text in brackets without them
// (to the end when the ']' is missing), else the text up to the next blank; empty when the
// blank, key and '=' do not occur.
std::string BatchKeyedValue(std::string_view value, std::string_view key);
