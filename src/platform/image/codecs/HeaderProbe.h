#pragma once

// The pixel format a file declares in its header, for formats whose decoders hand back a
// converted bitmap (GIF, ICO/CUR, PCX, TGA).

#include <QByteArray>

#include "platform/image/PixelFormat.h"

namespace image::detail {

PixelFormat gifPixelFormat(const QByteArray& data);
PixelFormat pcxPixelFormat(const QByteArray& data);
PixelFormat tgaPixelFormat(const QByteArray& data);

// The directory entry an icon or cursor is shown from (the largest, then the deepest), and
// that entry's pixel format.
struct IconChoice {
    int index = 0;
    PixelFormat format;
};
IconChoice iconChoice(const QByteArray& data);

// A TGA header that makes sense for the file size (TGA files carry no signature).
bool plausibleTga(const QByteArray& data);

}  // namespace image::detail
