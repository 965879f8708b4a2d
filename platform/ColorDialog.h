#pragma once

#include "platform/Controls.h"
#include "platform/UiService.h"

// The colour chooser: opened with Color, which holds the chosen colour after OK.
namespace platform {

class ColorDialog {
  public:
    ColorRef Color = clBlack;
    WindowHandle Owner = 0;
    // Shows the dialog through the UI service; true when the user confirmed a colour.
    bool Execute();
};

}  // namespace platform
