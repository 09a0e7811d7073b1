#include "platform/image/PixelFormat.h"

#include <QImage>

#include "platform/image/codecs/Decoded.h"

namespace image {

PixelFormat pixelFormatFor(PixelKind kind, int otherBits) {
    switch (kind) {
    case PixelKind::None: return {PixelKind::None, 0};
    case PixelKind::OneBit: return {kind, 1};
    case PixelKind::Palette8:
    case PixelKind::Grey8: return {kind, 8};
    case PixelKind::Grey16: return {kind, 16};
    case PixelKind::Rgb24: return {kind, 24};
    case PixelKind::Other: return {kind, otherBits};
    }
    return {};
}

PixelFormat pixelFormatOf(const QImage& image) {
    if (image.isNull())
        return pixelFormatFor(PixelKind::None);
    return detail::pixelFormatOfQtFormat(image.format());
}

namespace detail {

PixelFormat pixelFormatOfQtFormat(QImage::Format format) {
    switch (format) {
    case QImage::Format_Invalid:
        return pixelFormatFor(PixelKind::None);
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return pixelFormatFor(PixelKind::OneBit);
    case QImage::Format_Indexed8:
        return pixelFormatFor(PixelKind::Palette8);
    case QImage::Format_Grayscale8:
    case QImage::Format_Alpha8:
        return pixelFormatFor(PixelKind::Grey8);
    case QImage::Format_Grayscale16:
        return pixelFormatFor(PixelKind::Grey16);
    case QImage::Format_BGR30:
    case QImage::Format_RGB30:
        return pixelFormatFor(PixelKind::Other, 30);
    case QImage::Format_A2BGR30_Premultiplied:
    case QImage::Format_A2RGB30_Premultiplied:
        return pixelFormatFor(PixelKind::Other, 32);
    case QImage::Format_RGBX64:
        return pixelFormatFor(PixelKind::Other, 48);
    case QImage::Format_RGBA64:
    case QImage::Format_RGBA64_Premultiplied:
        return pixelFormatFor(PixelKind::Other, 64);
    case QImage::Format_RGBX16FPx4:
    case QImage::Format_RGBA16FPx4:
    case QImage::Format_RGBA16FPx4_Premultiplied:
    case QImage::Format_RGBX32FPx4:
    case QImage::Format_RGBA32FPx4:
    case QImage::Format_RGBA32FPx4_Premultiplied:
        return pixelFormatFor(PixelKind::Other, 32);
    default:
        // Every remaining format holds colour with at most 8 bits per channel.
        return pixelFormatFor(PixelKind::Rgb24);
    }
}

}  // namespace detail

QString colourName(PixelKind kind) {
    switch (kind) {
    case PixelKind::OneBit: return QStringLiteral("16色");
    case PixelKind::Palette8:
    case PixelKind::Grey8: return QStringLiteral("256色");
    case PixelKind::Grey16: return QStringLiteral("增强色16位");
    case PixelKind::Rgb24: return QStringLiteral("真彩色32位");
    case PixelKind::None:
    case PixelKind::Other: break;
    }
    return {};
}

}  // namespace image
