#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/ProgressWindow.h"

// The one progress window of the library, shared by every long operation. ProgressOpen and
// ProgressClose nest: an operation that runs inside another reuses the window that is there.
class TFProgressFormShared {
  public:
    static constexpr int kClientWidth = 224;
    static constexpr int kClientHeight = 39;
    static constexpr int kLabelLeft = 4, kLabelTop = 4;
    static constexpr int kBarLeft = 2, kBarTop = 20, kBarWidth = 214, kBarHeight = 13;

    TFProgressFormShared() : Window(kClientWidth, kClientHeight) { Window.SetRange(0, 100); }

    // Label1 and ProgressBar1 live in the window's state.
    platform::ProgressWindow Window;
};

// Windows-1250 caption of at most 255 characters.
void ProgressOpen(std::int32_t min, std::int32_t max, std::int32_t step,
                  const std::string& caption);
void ProgressStep();
void ProgressSetPosition(std::int32_t position);
void ProgressShow();
void ProgressClose();

// The window while one exists, and the number of opens not yet closed.
TFProgressFormShared* ProgressForm();
std::int32_t ProgressNesting();
