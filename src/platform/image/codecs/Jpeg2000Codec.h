#pragma once

// JPEG 2000 through OpenJPEG: the .jp2 file format and bare code streams (.j2k).

#include <QByteArray>

#include "platform/image/codecs/Decoded.h"

namespace image::detail {

// Skips resolution levels so that the result still covers maxSize, then smooth-scales.
// Damaged or cut-short streams are errors.
Decoded decodeJpeg2000(const QByteArray& data, bool codestream, const QSize& maxSize);

// Lossless (reversible 5/3 wavelet). Grey images keep 8 or 16 bits, colour images 8 bits per
// channel with alpha when they have it.
QByteArray encodeJpeg2000(const QImage& image, bool codestream, QString* error);

}  // namespace image::detail
