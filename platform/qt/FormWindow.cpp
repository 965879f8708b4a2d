#include "platform/qt/FormWindow.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QRadioButton>
#include <QScreen>
#include <algorithm>
#include <utility>

#include "platform/Controls.h"
#include "platform/Help.h"
#include "platform/qt/FormBuilder.h"
#include "platform/qt/QtForms.h"
#include "platform/qt/QtText.h"

namespace platform::qt {

FormWindow::FormWindow(QtForms& backend, Form& form, bool modal, QWidget* parent)
    : QDialog(parent), backend_(backend), form_(form) {
    setWindowTitle(ToScreen(form.Caption));
    // The forms' design font (its family has a narrow stand-in, see QtUi).
    const ControlFont designed;
    setFont(QFont(ToScreen(designed.Name), designed.Size));
    BuildForm(*this, form.DescribeControls());
    // The controls' state first (items make widgets of their own), then the size they need.
    Refresh();
    Frame(modal);
    backend_.Register(this);
}

FormWindow::~FormWindow() {
    backend_.Unregister(this);
}

// The frame, the size and the place the form asks for. A layout that needs more room than the
// client size gets it rather than being cut.
void FormWindow::Frame(bool modal) {
    Qt::WindowFlags flags = Qt::CustomizeWindowHint;
    const unsigned icons = form_.BorderIcons;
    switch (form_.Border) {
        case BorderStyle::bsNone:
            flags |= Qt::Window | Qt::FramelessWindowHint;
            break;
        case BorderStyle::bsDialog:
            flags |= Qt::Dialog | Qt::WindowTitleHint;
            break;
        case BorderStyle::bsToolWindow:
        case BorderStyle::bsSizeable:
            flags |= Qt::Window | Qt::WindowTitleHint;
            if (icons & biMinimize) flags |= Qt::WindowMinimizeButtonHint;
            if (icons & biMaximize) flags |= Qt::WindowMaximizeButtonHint;
            break;
    }
    if (icons & biSystemMenu) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    setWindowFlags(flags);
    if (modal) setWindowModality(Qt::ApplicationModal);

    ensurePolished();
    if (layout()) layout()->activate();
    const QSize needed = minimumSizeHint();
    const QSize size(
        std::max(form_.ClientWidth > 0 ? form_.ClientWidth : sizeHint().width(), needed.width()),
        std::max(form_.ClientHeight > 0 ? form_.ClientHeight : sizeHint().height(),
                 needed.height()));
    if (form_.Border == BorderStyle::bsSizeable) {
        resize(size);
    } else {
        setFixedSize(size);
    }
    if (form_.Position == FormPosition::poScreenCenter) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            move(area.center() - QPoint(size.width() / 2, size.height() / 2));
        }
    }
}

void FormWindow::Run() {
    Refresh();
    show();
    if (QGuiApplication::platformName() != QStringLiteral("offscreen")) {
        raise();
        activateWindow();
    }
    QEventLoop loop;
    loop_ = &loop;
    if (form_.Showing() && !backend_.Failed()) loop.exec();
    loop_ = nullptr;
    hide();
}

void FormWindow::Finish() {
    if (loop_) loop_->quit();
}

void FormWindow::Refresh() {
    for (const auto& refresher : refreshers_) refresher();
    // Inner containers were described, and so registered, after the ones holding them.
    for (auto fitter = fitters_.rbegin(); fitter != fitters_.rend(); ++fitter) (*fitter)();
    // The widgets are built as described, but a radio group makes its items as they come.
    ChainFocus();
}

void FormWindow::ChainFocus() {
    QWidget* previous = nullptr;
    const auto follow = [&previous](QWidget* widget) {
        if (widget->focusPolicy() == Qt::NoFocus) return;
        if (previous) QWidget::setTabOrder(previous, widget);
        previous = widget;
    };
    for (const auto& [control, widget] : described_) {
        if (!dynamic_cast<const RadioGroup*>(control)) {
            follow(widget);
            continue;
        }
        for (QRadioButton* item : widget->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly))
            follow(item);
    }
}

QWidget* FormWindow::WidgetOf(const Control& control) const {
    const auto found = widgets_.find(&control);
    return found == widgets_.end() ? nullptr : found->second;
}

void FormWindow::Act(const std::function<void()>& action) {
    backend_.Act(action);
}

void FormWindow::OnRefresh(std::function<void()> refresher) {
    refreshers_.push_back(std::move(refresher));
}

void FormWindow::AfterRefresh(std::function<void()> fitter) {
    fitters_.push_back(std::move(fitter));
}

void FormWindow::Bind(const Control& control, QWidget* widget) {
    widgets_[&control] = widget;
    described_.emplace_back(&control, widget);
}

void FormWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            Act([this] { form_.PressEnter(); });
            return;
        case Qt::Key_Escape:
            Act([this] { form_.PressEscape(); });
            return;
        case Qt::Key_F1:
            if (form_.HelpContext != 0) Act([this] { ShowHelp(form_.HelpContext); });
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

void FormWindow::closeEvent(QCloseEvent* event) {
    // The window goes when the form has closed (Run hides it); until then the form decides.
    event->ignore();
    if (backend_.Busy() || !form_.Showing()) return;
    Act([this] { form_.Close(); });
}

void FormWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    Act([this] { form_.DblClick(); });
}

}  // namespace platform::qt
