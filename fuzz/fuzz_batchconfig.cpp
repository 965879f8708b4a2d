// Reads arbitrary bytes as a batch configuration: the first line names the object code, the rest
// is the file, refused as a whole when it is no text. Every lookup, the field rules of the code and
// their expansion must hold their limits and never fail; every line is also taken as a rule
// template on its own.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/FuzzFolder.h"
#include "platform/UiService.h"
#include "shape/BatchConfig.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

void CheckRule(const TBatchConvers& rule, const TBatchAttributes& attributes,
               const std::string& text) {
    std::string name;
    char type = 0;
    std::int32_t length = 0, decimals = 0;
    rule.GetFieldDef(name, type, length, decimals);
    Check(name.size() <= 255 && rule.Template().size() <= 255);
    Check(length >= 0 && length <= 255 && decimals >= 0 && decimals <= 255);
    Check(rule.Template().find('!') == std::string::npos ||
          rule.Template().find('!') > rule.Template().find_first_of("#$"));
    const std::string value = rule.Expand(attributes, text);
    // Every token gives at most one source's value or one character.
    const std::size_t longest = std::max<std::size_t>(text.size(), 300);
    Check(value.size() <= rule.Template().size() * longest);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (auto* ui = platform::UiService::Headless()) {
        ui->SetEcho(false);
        ui->ClearMessages();
    }
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t newline = input.find('\n');
    const std::string code = input.substr(0, std::min<std::size_t>(newline, 300));
    const std::string file = newline == std::string::npos ? "" : input.substr(newline + 1);
    static const FuzzFolder folder("fuzz-batchconfig");
    const std::string path =
        folder.Write("in.ini", reinterpret_cast<const std::uint8_t*>(file.data()), file.size());
    if (path.empty()) return 0;

    TBatchConfig config(path);
    // A file that is no configuration (binary bytes) is refused with a message, and only then.
    Check(config.NoFile() == !platform::UiService::Headless()->Messages().empty());
    config.ReadOptionTPID(1);
    config.ReadOptionPL(1);
    Check(config.GetLayerName(code).size() <= 255);
    Check(config.GetReplacementCode(code).size() <= 255);
    config.ReadFieldRules(code);
    Check(config.Database().size() <= 255 && config.Table().size() <= 255);
    Check(config.KeyField().size() <= 255 && config.KeyTemplate().size() <= 255);

    // The external table is never connected here: a lookup must answer without it.
    const TBatchAttributes attributes = {"a1", " K=[x y] L=z", code,
                                         "",   "\x04id",       file.substr(0, 255)};
    const std::string text = config.LookupExternal(attributes, code);
    for (const TBatchConvers& rule : config.Rules()) CheckRule(rule, attributes, text);

    std::size_t start = 0;
    while (start < file.size()) {
        std::size_t stop = file.find('\n', start);
        if (stop == std::string::npos) stop = file.size();
        const std::string line = file.substr(start, stop - start);
        CheckRule(TBatchConvers(code, line), attributes, line);
        start = stop + 1;
    }
    return 0;
}
