#include "platform/Help.h"

#include <filesystem>

#include "platform/FormBackend.h"
#include "platform/ModuleLoader.h"

namespace platform {
namespace {

std::string& TheHelpFile() {
    static std::string file;
    return file;
}

}  // namespace

void SetHelpFile(std::string_view name) {
    TheHelpFile() = std::string(name);
}

const std::string& HelpFile() {
    return TheHelpFile();
}

std::string HelpPage() {
    if (TheHelpFile().empty()) return {};
    std::filesystem::path page = std::filesystem::path(TheHelpFile()).filename();
    page.replace_extension(".html");
    return (std::filesystem::path(ExecutableFolder()) / page).string();
}

bool ShowHelp(int context) {
    const std::string page = HelpPage();
    std::error_code error;
    if (page.empty() || !std::filesystem::is_regular_file(page, error)) return false;
    return FormService::Backend().OpenHelp(page, context);
}

}  // namespace platform
