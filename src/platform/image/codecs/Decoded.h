#pragma once

// What every decoder of the engine hands back.

#include <QImage>
#include <QSize>
#include <QString>

#include "platform/image/PixelFormat.h"

namespace image::detail {

struct Decoded {
    QImage image;           // null on failure
    QSize fullSize;         // the file's pixel size
    PixelFormat format;     // the file's pixel format
    QString error;
};

// The engine's classification of a toolkit pixel format.
PixelFormat pixelFormatOfQtFormat(QImage::Format format);

// The size an image of `full` gets when it must fit inside `limit` (aspect kept, never
// enlarged); `full` itself when the limit is empty.
QSize fittedSize(const QSize& full, const QSize& limit);

// Smooth-scales `image` to `target` unless it already has that size.
QImage scaledTo(const QImage& image, const QSize& target);

}  // namespace image::detail
