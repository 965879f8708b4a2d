#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Cursor.h"

// A small borderless window with a caption and a progress bar. The window is its state, which
// tests read through Live(); every change is handed to the UI back end, which shows it when there
// is a window system.
namespace platform {

struct ProgressWindowState {
    int width = 0;  // client area
    int height = 0;
    std::string caption;  // Windows-1250
    std::int32_t min = 0;
    std::int32_t max = 100;
    std::int32_t position = 0;
    std::int32_t step = 10;
    bool visible = false;
    CursorShape cursor = crDefault;
    int repaints = 0;
};

class ProgressWindow {
  public:
    ProgressWindow(int width, int height);
    ~ProgressWindow();
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    void SetCaption(const std::string& caption);
    // A range whose maximum is below its minimum is taken as empty at the minimum.
    void SetRange(std::int32_t min, std::int32_t max);
    // Positions outside the range are held at its ends.
    void SetPosition(std::int32_t position);
    void SetStep(std::int32_t step) { state_.step = step; }
    // Advances by the step; past the maximum the bar starts again from the minimum.
    void StepIt();
    void Show();
    void Hide();
    void SetCursor(CursorShape cursor);
    void Repaint();

    const ProgressWindowState& State() const { return state_; }

    // The windows that exist now, oldest first, and the number ever created in this process.
    static std::vector<const ProgressWindow*> Live();
    static int CreatedCount();

  private:
    void Changed() const;

    ProgressWindowState state_;
};

}  // namespace platform
