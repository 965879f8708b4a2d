#pragma once

#include <string>
#include <string_view>

// The application's help. There is no help engine: the help file a program names ("x.hlp") stands
// for an HTML page of the same name ("x.html") beside the executable, which the UI back end opens
// in the person's browser. One help file per process, as the application object has it.
namespace platform {

void SetHelpFile(std::string_view name);
const std::string& HelpFile();
// The page the help file stands for; empty when no help file is set.
std::string HelpPage();
// Opens the help at a topic; false, after a message box naming the page, when there is no page
// or the back end cannot show it.
bool ShowHelp(int context);

}  // namespace platform
