#pragma once

#include <QImage>
#include <functional>

#include "platform/DeviceContext.h"

namespace platform::qt {

// What a control paints on a device context of the given size (a white raster surface), as an
// image for the screen.
QImage PaintPicture(int width, int height, const std::function<void(HDC, const DcRect&)>& paint);

}  // namespace platform::qt
