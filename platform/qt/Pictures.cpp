#include "platform/qt/Pictures.h"

#include <QImage>

#include "platform/RasterSurface.h"
#include "platform/qt/QtText.h"

namespace platform::qt {

QPixmap PaintPicture(int width, int height, const std::function<void(HDC, const DcRect&)>& paint) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    struct Context {
        HDC dc;
        ~Context() { DeleteDC(dc); }
    } context{CreateRasterDC(width, height)};
    if (const RasterSurface* surface = RasterOf(context.dc)) {
        paint(context.dc, DcRect{0, 0, width, height});
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                image.setPixelColor(x, y, ToQColor(surface->Pixel(x, y)));
    }
    return QPixmap::fromImage(image);
}

}  // namespace platform::qt
