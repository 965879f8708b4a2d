#include "platform/Help.h"

#include <filesystem>

#include "platform/Cp1250.h"
#include "platform/FormBackend.h"
#include "platform/ModuleLoader.h"
#include "platform/UiService.h"

namespace platform {
namespace {

std::string& TheHelpFile() {
    static std::string file;
    return file;
}

// Why the help is not shown, naming the page (an operating-system name) or, without one, the
// help file.
std::string HelpNotShown(const std::string& page, bool found) {
    const std::string name = page.empty() ? TheHelpFile() : Utf8ToCp1250(page);
    if (!found) return Utf8ToCp1250("Brak pliku pomocy ") + name;
    return Utf8ToCp1250("Nie można otworzyć pliku pomocy ") + name +
           Utf8ToCp1250(" w przeglądarce");
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
    const bool found = !page.empty() && std::filesystem::is_regular_file(page, error);
    if (found && FormService::Backend().OpenHelp(page, context)) return true;
    MessageBox(0, HelpNotShown(page, found), "", MB_OK | MB_ICONWARNING);
    return false;
}

}  // namespace platform
