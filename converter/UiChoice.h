#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/UiService.h"

// Which user interface the converter runs with: its window, or none (messages on standard error,
// dialogs cancelled), so that a script never waits on a dialog.
enum class UiChoice { Headless, Window };

// KESTREL_UI=qt or KESTREL_UI=headless forces one (`forced` is the variable's value, nullptr when
// unset; any other value forces nothing, and StartUi says so). Otherwise a command line that
// completes a batch conversion, or no display, runs headless, and everything else shows the
// window.
UiChoice ChooseUi(const std::vector<std::string>& parameters, const char* forced, bool display);

// The back end the environment and the command line choose: nullptr for the headless one. When
// the window back end cannot start, a forced choice is an error (std::runtime_error); otherwise
// the converter says why on standard error and runs headless.
std::unique_ptr<platform::UiBackend> StartUi(const std::vector<std::string>& parameters);
