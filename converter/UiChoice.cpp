#include "converter/UiChoice.h"

#include <cstdlib>
#include <stdexcept>
#include <string_view>

#include "converter/BatchParameters.h"
#include "converter/PontraTexts.h"
#include "platform/Cp1250.h"
#include "platform/WindowBackend.h"

namespace {

constexpr std::string_view kForceWindow = "qt";
constexpr std::string_view kForceHeadless = "headless";

bool CompletesBatch(const std::vector<std::string>& parameters) {
    BatchValues values;
    for (const std::string& parameter : parameters) {
        TakeBatchParameter(parameter, values);
        if (ReadyBatchAction(values) != BatchAction::None) return true;
    }
    return false;
}

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

}  // namespace

UiChoice ChooseUi(const std::vector<std::string>& parameters, const char* forced, bool display) {
    if (forced && forced == kForceWindow) return UiChoice::Window;
    if (forced && forced == kForceHeadless) return UiChoice::Headless;
    if (!display || CompletesBatch(parameters)) return UiChoice::Headless;
    return UiChoice::Window;
}

std::unique_ptr<platform::UiBackend> StartUi(const std::vector<std::string>& parameters) {
    const char* forced = std::getenv("KESTREL_UI");
    const bool display = Set("DISPLAY") || Set("WAYLAND_DISPLAY");
    if (Set("KESTREL_UI") && forced != kForceWindow && forced != kForceHeadless)
        pontratexts::Complain(pontratexts::UnknownUiChoice(), forced);
    if (ChooseUi(parameters, forced, display) == UiChoice::Headless) return nullptr;
    std::string error;
    std::unique_ptr<platform::UiBackend> backend = platform::LoadWindowBackend(error);
    if (backend) return backend;
    if (forced && forced == kForceWindow)
        throw std::runtime_error(platform::Cp1250ToUtf8(pontratexts::CannotShowWindows() + error));
    pontratexts::Complain(error + pontratexts::RunningWithoutWindows());
    return nullptr;
}
