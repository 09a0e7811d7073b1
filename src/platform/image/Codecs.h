#pragma once

// Start-up registration of the codecs the engine uses.
//
//   const image::CodecReport& codecs = image::installCodecs();   // in main window start-up
//   if (!codecs.missing.isEmpty()) ... // e.g. log or notice
//
// Makes LZW-compressed GIF and TIFF readable and writable (GIF written by giflib, GIF read and
// TIFF read and written through the toolkit's readers with libtiff's LZW), and prepares the
// shared state of GraphicsMagick and Exiv2 so that images can be decoded on several threads.
// Calling it again returns the same report; the loaders call it themselves on first use.

#include <QStringList>

namespace image {

struct CodecReport {
    bool gifLzwRead = false;
    bool gifLzwWrite = false;
    bool tiffLzwRead = false;
    bool tiffLzwWrite = false;
    bool jpeg2000 = false;
    bool metafiles = false;      // WMF through GraphicsMagick
    QStringList missing;         // human-readable names of what is not available
};

const CodecReport& installCodecs();

}  // namespace image
