#include "converter/PontraApplication.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>

#include "converter/PontraTexts.h"
#include "converter/UiChoice.h"
#include "platform/Cp1250.h"
#include "platform/FolderJournal.h"
#include "platform/Help.h"
#include "platform/WindowBackend.h"

PontraApplication::PontraApplication(std::vector<std::string> parameters,
                                     std::string_view libraryName) {
    // The library is bound before any window exists; a missing one is reported only when an
    // action needs a server object.
    library_.BindServerLibrary(libraryName);
    Title = pontratexts::ApplicationTitle();
    HelpFile = pontratexts::HelpFileName();
    platform::SetHelpFile(HelpFile);
    form1_ = platform::CreateForm<TForm1>(library_, std::move(parameters), Title);
    about_ = platform::CreateForm<TAboutFormUMRA>(*form1_);
    form1_->AboutFormUMRA = about_.get();
}

void PontraApplication::Run() {
    platform::RunMainForm(*form1_);
}

namespace {

// On standard output when asked for, on standard error after a usage error.
void PrintUsage(std::FILE* to = stderr) {
    std::fprintf(to, "%s\n", platform::Cp1250ToUtf8(pontratexts::UsageText()).c_str());
}

}  // namespace

int PontraMain(std::vector<std::string> arguments) {
    for (const std::string& argument : arguments) {
        if (argument == "-h" || argument == "--help") {
            PrintUsage(stdout);
            return kExitDone;
        }
    }
    // Names and texts are Windows-1250 inside; the command line is UTF-8, converted once here.
    std::vector<std::string> parameters;
    for (const std::string& argument : arguments) {
        std::optional<std::string> converted = platform::Utf8ToCp1250Exact(argument);
        if (!converted) {
            pontratexts::Complain(pontratexts::NotCp1250Argument(), argument);
            return kExitIncomplete;
        }
        parameters.push_back(std::move(*converted));
    }
    // The user interface outlives the application, whose windows and library go first.
    std::unique_ptr<platform::UiBackend> backend = StartUi(parameters);
    const bool window = backend != nullptr;
    const platform::ScopedUiBackend ui(std::move(backend));
    PontraApplication application(std::move(parameters));
    const TForm1& form = application.Form1();
    // A command line that names no whole conversion opens the window; without one (no display,
    // or no window forced) there is nobody to use it.
    if (!form.FBatchDone() && !window) {
        std::string missing;
        for (const std::string& key : MissingBatchKeys(form.FBatchValues()))
            missing += (missing.empty() ? "" : ", ") + key;
        // An unknown action was named already, with its value.
        if (!arguments.empty() && !form.FUnknownAction())
            pontratexts::Complain(pontratexts::IncompleteCommand(), missing);
        PrintUsage();
        return kExitIncomplete;
    }
    application.Run();
    // Files in place that the disk did not confirm are no success either: a message said where.
    return form.FBatchFailed() || platform::UnconfirmedFlushes() > 0 ? kExitFailed : kExitDone;
}
