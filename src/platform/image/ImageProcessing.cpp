#include "platform/image/ImageProcessing.h"

#include <QColor>
#include <QPainter>
#include <QSize>
#include <QTransform>

#include <cmath>

namespace image {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Angle in [0, 360).
double normalised(double degrees) {
    double d = std::fmod(degrees, 360.0);
    if (d < 0)
        d += 360.0;
    return d;
}

// The whole quarter turn an angle is (within a hair), or -1.
int quarterTurnsOf(double normalisedDegrees) {
    const double turns = normalisedDegrees / 90.0;
    const double nearest = std::round(turns);
    if (std::abs(turns - nearest) > 1e-9)
        return -1;
    return int(nearest) % 4;
}

// 1-bit images have no fast rotation in the toolkit; rotate their indexes directly.
QImage rotatedMono(const QImage& source, int turns) {
    const int w = source.width(), h = source.height();
    QImage out(turns == 2 ? w : h, turns == 2 ? h : w, source.format());
    out.setColorTable(source.colorTable());
    out.setDotsPerMeterX(turns == 2 ? source.dotsPerMeterX() : source.dotsPerMeterY());
    out.setDotsPerMeterY(turns == 2 ? source.dotsPerMeterY() : source.dotsPerMeterX());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const uint index = uint(source.pixelIndex(x, y));
            switch (turns) {
            case 1: out.setPixel(y, w - 1 - x, index); break;   // anticlockwise
            case 2: out.setPixel(w - 1 - x, h - 1 - y, index); break;
            default: out.setPixel(h - 1 - y, x, index); break;  // clockwise
            }
        }
    }
    return out;
}

}  // namespace

QSize rotatedSize(const QSize& size, double degrees) {
    const double d = normalised(degrees);
    const int turns = quarterTurnsOf(d);
    if (turns >= 0)
        return turns % 2 ? size.transposed() : size;
    const double r = d * kPi / 180.0;
    const double c = std::abs(std::cos(r)), s = std::abs(std::sin(r));
    // A hair below the exact extent so that float noise does not add a column.
    const int w = int(std::ceil(size.width() * c + size.height() * s - 1e-6));
    const int h = int(std::ceil(size.width() * s + size.height() * c - 1e-6));
    return {std::max(1, w), std::max(1, h)};
}

QImage rotatedQuarterTurns(const QImage& source, int quarterTurns) {
    if (source.isNull())
        return {};
    const int turns = ((quarterTurns % 4) + 4) % 4;
    if (turns == 0)
        return source;
    if (turns == 2)
        return source.mirrored(true, true);
    if (source.format() == QImage::Format_Mono || source.format() == QImage::Format_MonoLSB)
        return rotatedMono(source, turns);
    // The toolkit's y axis points down, so its positive angles turn clockwise.
    return source.transformed(QTransform().rotate(turns == 1 ? -90 : 90));
}

QImage rotated(const QImage& source, double degrees, const QColor& background, bool antialias) {
    if (source.isNull())
        return {};
    const double d = normalised(degrees);
    const int turns = quarterTurnsOf(d);
    if (turns >= 0)
        return rotatedQuarterTurns(source, turns);

    const QSize canvasSize = rotatedSize(source.size(), d);
    const bool alpha = source.hasAlphaChannel() || background.alpha() < 255;
    QImage canvas(canvasSize, alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (canvas.isNull())
        return {};
    canvas.fill(background);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, antialias);
    painter.setRenderHint(QPainter::Antialiasing, antialias);
    painter.translate(canvasSize.width() / 2.0, canvasSize.height() / 2.0);
    painter.rotate(-d);
    painter.translate(-source.width() / 2.0, -source.height() / 2.0);
    painter.drawImage(QPointF(0, 0), source);
    painter.end();
    return canvas;
}

QImage flippedHorizontally(const QImage& source) {
    return source.isNull() ? QImage() : source.mirrored(true, false);
}

QImage flippedVertically(const QImage& source) {
    return source.isNull() ? QImage() : source.mirrored(false, true);
}

}  // namespace image
