#pragma once

#include "platform/Controls.h"

// The main window's toolbar pictures, 60 x 60, in button order (SHP -> MAP, MAP -> SHP,
// settings, information, close): as drawn, and under the mouse. Drawn for this program as SVG in
// converter/pictures/ and built into it as PNG; empty when the build had no SVG renderer.
platform::ImageList ToolbarImages();
platform::ImageList ToolbarHotImages();
