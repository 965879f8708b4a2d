#include "converter/PontraApplication.h"

#include <utility>

#include "converter/PontraTexts.h"
#include "converter/UiChoice.h"
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

int PontraMain(std::vector<std::string> parameters) {
    // The user interface outlives the application, whose windows and library go first.
    const platform::ScopedUiBackend ui(StartUi(parameters));
    PontraApplication application(std::move(parameters));
    application.Run();
    return 0;
}
