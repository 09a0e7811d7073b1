#pragma once

// JPEG through libjpeg-turbo's TurboJPEG API: decoding with DCT-domain scaling, encoding.

#include <QByteArray>

#include "platform/image/codecs/Decoded.h"

namespace image::detail {

// Decodes so that the result fits inside maxSize (full size when empty): the largest DCT
// reduction (n/8) that still covers the target, then smooth scaling. `fast` trades a little
// accuracy for speed (thumbnails). A file cut short is an error, not a grey-filled image.
Decoded decodeJpeg(const QByteArray& data, const QSize& maxSize, bool fast = false);

// The DCT scale (numerator over 8) decodeJpeg uses for an image of `full` shown in `limit`.
int jpegScaleEighths(const QSize& full, const QSize& limit);

QByteArray encodeJpeg(const QImage& image, int quality, QString* error);

}  // namespace image::detail
