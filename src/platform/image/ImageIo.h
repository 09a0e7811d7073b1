#pragma once

// Reading and writing image files.
//
//   image::installCodecs();                                   // once at start-up (idempotent)
//
//   image::LoadResult r = image::loadImage(path);             // full decode + camera data
//   image::LoadResult p = image::loadImage(path, {.maxSize = view->viewport()->size()});
//                                                             // preview: decoded at the shown size
//   image::LoadResult d = image::decodeForDisplay(path, {1000, 700});   // no camera data
//
//   image::ImageStatus s = image::saveImage(img, "/x/a.png"); // format from the extension
//   image::saveImageAs(img, "/x/a.bmp", image::FileFormat::Jpeg);   // JPEG bytes, whatever name
//   if (!s.ok()) showError(s.error);
//
// Loading takes the format from the file's content first and its extension second. Every
// failure (missing, empty, corrupt, truncated or unsupported file) comes back as an error
// text; nothing throws. All functions are safe to call from several threads at once.
//
// A size limit makes the bitmap fit inside it (aspect kept, never enlarged). JPEGs are then
// decoded in the DCT domain at 1/2, 1/4 or 1/8 of their size and smooth-scaled the rest of
// the way; JPEG 2000 files skip resolution levels; other formats are decoded and scaled.

#include <QSize>

#include "platform/image/ImageDocument.h"

class QByteArray;

namespace image {

struct LoadOptions {
    QSize maxSize = {};         // empty: full size
    bool readMetadata = true;   // EXIF and IPTC into document.camera
    bool fast = false;          // quicker, slightly less exact JPEG decoding (thumbnails)
};

LoadResult loadImage(const QString& path, const LoadOptions& options = {});

// Decodes bytes already in memory; nameHint supplies the extension used when the content
// has no signature. document.path is left empty.
LoadResult loadImageData(const QByteArray& data, const QString& nameHint,
                         const LoadOptions& options = {});

// The bitmap for showing a file inside maxSize, without camera data.
LoadResult decodeForDisplay(const QString& path, QSize maxSize);

// Camera data of a file alone (empty when it has none or cannot be read).
CameraData readCameraData(const QString& path);

struct SaveOptions {
    int jpegQuality = 90;       // 1..100
};

// Writes the format the path's extension names. Alpha is kept where the format holds it
// and flattened onto white where it does not. The file is replaced only once the whole
// encoded image has been checked to be of the format asked for.
ImageStatus saveImage(const QImage& image, const QString& path, const SaveOptions& options = {});

// Writes `format` whatever the path's extension (JPEG or BMP for the export commands).
ImageStatus saveImageAs(const QImage& image, const QString& path, FileFormat format,
                        const SaveOptions& options = {});

// Whether files of the format can be read / written here.
bool canRead(FileFormat format);
bool canWrite(FileFormat format);

}  // namespace image
