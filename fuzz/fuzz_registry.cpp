// Registry file parser: any input either is rejected or parses into a document whose written form
// reads back to the same document, keeps every value and every unreadable line, and accepts new
// values without losing any.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/RegistryFile.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto document = platform::RegistryDocument::Parse(text);
    if (!document) return 0;

    const std::string once = document->Format();
    auto again = platform::RegistryDocument::Parse(once);
    Check(again.has_value());
    Check(again->Format() == once);
    Check(again->ValueCount() == document->ValueCount());
    Check(again->VerbatimLineCount() == document->VerbatimLineCount());

    // Writing values adds to the document and takes nothing away.
    const std::string key = "Software\\Lumatek\\Fuzz";
    document->SetValue(key, platform::RegistryValue{"Text", platform::RegValueType::String, 0,
                                                    std::string(text.substr(0, 64))});
    document->SetValue(
        key, platform::RegistryValue{
                 "Count", platform::RegValueType::Dword, static_cast<std::uint32_t>(size), {}});
    const std::size_t values = document->ValueCount();
    Check(values >= again->ValueCount());
    auto written = platform::RegistryDocument::Parse(document->Format());
    Check(written.has_value());
    Check(written->ValueCount() == values);
    Check(written->VerbatimLineCount() == again->VerbatimLineCount());
    const platform::RegistryValue* stored = written->FindValue(key, "text");
    Check(stored && stored->type == platform::RegValueType::String &&
          stored->text == text.substr(0, 64));
    const platform::RegistryValue* count = written->FindValue(key, "COUNT");
    Check(count && count->dword == static_cast<std::uint32_t>(size));
    return 0;
}
