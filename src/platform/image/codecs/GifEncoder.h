#pragma once

// GIF writing through giflib (LZW-compressed, GIF89a when transparency is stored).

#include <QByteArray>

class QImage;
class QString;

namespace image::detail {

// Palette and 1-bit images keep their colours; grey images get a grey palette; colour images
// with more than 256 colours are reduced by median cut. Pixels with alpha below 128 become
// the transparent colour.
QByteArray encodeGif(const QImage& image, QString* error);

}  // namespace image::detail
