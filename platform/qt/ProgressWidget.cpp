#include "platform/qt/ProgressWidget.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

#include "platform/qt/QtText.h"

namespace platform::qt {

ProgressWidget::ProgressWidget(int width, int height)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setFixedSize(width, height);
    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Box | QFrame::Plain);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(panel);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(3, 2, 3, 3);
    column->setSpacing(1);
    caption_ = new QLabel(panel);
    bar_ = new QProgressBar(panel);
    bar_->setTextVisible(false);
    bar_->setFixedHeight(13);
    column->addWidget(caption_);
    column->addWidget(bar_);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width / 2, height / 2));
}

bool ProgressWidget::Update(const ProgressWindowState& state) {
    caption_->setText(ToScreen(state.caption));
    // An empty range would make Qt's bar a busy indicator: it shows an empty bar instead.
    if (state.max > state.min) {
        bar_->setRange(state.min, state.max);
        bar_->setValue(state.position);
    } else {
        bar_->setRange(0, 1);
        bar_->setValue(0);
    }
    setCursor(state.cursor == crHourGlass ? Qt::WaitCursor : Qt::ArrowCursor);
    const bool shown = state.visible != isVisible();
    setVisible(state.visible);
    const bool repaint = state.repaints != repaints_;
    repaints_ = state.repaints;
    if (repaint && isVisible()) this->repaint();
    return shown || repaint;
}

}  // namespace platform::qt
