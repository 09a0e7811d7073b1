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

// Whether the data holds the whole of what the header announces: the uncompressed pixel
// rows of a BMP, the first image of a GIF up to its block terminator. The toolkit's readers
// would show a cut-off file as a part-grey picture without a word.
bool bmpComplete(const QByteArray& data);
bool gifFirstImageComplete(const QByteArray& data);

// A TGA header that makes sense for the file size (TGA files carry no signature).
bool plausibleTga(const QByteArray& data);

}  // namespace image::detail
