#pragma once

// GraphicsMagick for the formats the toolkit reads badly or not at all: PCX, TGA, WMF and
// raw fax. Nothing else goes through it (its JPEG 2000 coder is missing here).

#include <QByteArray>

#include "platform/image/codecs/Decoded.h"

namespace image::detail {

void initialiseMagick();

// `magick` is the coder name ("PCX", "TGA", "WMF", "FAX").
Decoded decodeWithMagick(const QByteArray& data, const char* magick);

// Palette, grey and 1-bit images are written as such where the coder can.
QByteArray encodeWithMagick(const QImage& image, const char* magick, QString* error);

bool magickCanRead(const char* magick);

}  // namespace image::detail
