#pragma once

#include <QWidget>

#include "platform/ProgressWindow.h"

class QLabel;
class QProgressBar;

namespace platform::qt {

// A progress window on the screen: a borderless window over the others, centred, with its caption
// and bar on a framed panel.
class ProgressWidget : public QWidget {
  public:
    ProgressWidget(int width, int height);

    // Shows the state; true when the window appeared, went or was asked to repaint, which the
    // screen should show at once.
    bool Update(const ProgressWindowState& state);

  private:
    QLabel* caption_;
    QProgressBar* bar_;
    int repaints_ = 0;
};

}  // namespace platform::qt
