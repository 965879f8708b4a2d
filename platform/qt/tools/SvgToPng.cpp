// Renders an SVG picture as two PNG pictures of a square size: as drawn, and "hot" (under the
// mouse) on a pale rounded backdrop.
//   svg2png PICTURE.svg SIZE NORMAL.png HOT.png
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>

namespace {

QImage Render(QSvgRenderer& svg, int size, bool hot) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    if (hot) {
        QPainterPath backdrop;
        backdrop.addRoundedRect(QRectF(1.5, 1.5, size - 3.0, size - 3.0), size / 8.0, size / 8.0);
        painter.fillPath(backdrop, QColor(221, 235, 252));
        painter.setPen(QPen(QColor(132, 172, 221), 1.0));
        painter.drawPath(backdrop);
    }
    svg.render(&painter, QRectF(0, 0, size, size));
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: svg2png PICTURE.svg SIZE NORMAL.png HOT.png\n");
        return 2;
    }
    QSvgRenderer svg{QString::fromLocal8Bit(argv[1])};
    const int size = std::atoi(argv[2]);
    if (!svg.isValid() || size <= 0) {
        std::fprintf(stderr, "svg2png: cannot render %s at size %s\n", argv[1], argv[2]);
        return 1;
    }
    if (!Render(svg, size, false).save(QString::fromLocal8Bit(argv[3]), "PNG") ||
        !Render(svg, size, true).save(QString::fromLocal8Bit(argv[4]), "PNG")) {
        std::fprintf(stderr, "svg2png: cannot write %s or %s\n", argv[3], argv[4]);
        return 1;
    }
    return 0;
}
