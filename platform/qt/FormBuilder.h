#pragma once

#include "platform/FormLayout.h"

namespace platform::qt {

class FormWindow;

// Lays a form's description out in its window with Qt layouts: columns, rows and grids become box
// and grid layouts, container controls hold their content, and every control gets its widget.
void BuildForm(FormWindow& window, const LayoutItem& root);

}  // namespace platform::qt
