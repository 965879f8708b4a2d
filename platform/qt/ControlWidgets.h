#pragma once

class QTabWidget;
class QWidget;

namespace platform {
class Control;
class PageControl;
}  // namespace platform

namespace platform::qt {

class FormWindow;

// Makes the widget that shows a control in the window and binds the two: the widget's user
// signals run the control's user actions, and the window's refresh sets the widget from the
// control. A container's widget is empty; the builder gives it its content. A page control's
// widget is a QTabWidget whose tabs the builder adds in the control's page order, then binds.
QWidget* MakeControlWidget(FormWindow& window, Control& control);
void BindPages(FormWindow& window, PageControl& pages, QTabWidget& tabs);

}  // namespace platform::qt
