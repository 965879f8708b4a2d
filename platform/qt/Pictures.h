#pragma once

#include <QPixmap>
#include <functional>

#include "platform/DeviceContext.h"

namespace platform::qt {

// What a control paints on a device context of the given size (a white raster surface), as a
// picture for the screen.
QPixmap PaintPicture(int width, int height, const std::function<void(HDC, const DcRect&)>& paint);

}  // namespace platform::qt
