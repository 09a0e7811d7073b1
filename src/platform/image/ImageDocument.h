#pragma once

// A decoded image file: the bitmap with what the file said about it.
//
//   image::LoadResult r = image::loadImage(path);
//   if (!r.ok()) { showError(r.error); return; }
//   const image::ImageDocument& doc = r.document;
//   doc.image            // the bitmap (smaller than the file when a size limit was asked)
//   doc.originalSize     // the file's pixel size: the information rows show this
//   doc.pixelFormat      // the file's colour depth, not the decoded QImage's
//   doc.camera           // EXIF and IPTC, empty when the file has none
//
// Documents are plain values: copy them freely, also across threads.

#include <QImage>
#include <QSize>
#include <QString>

#include "platform/image/CameraData.h"
#include "platform/image/FileFormat.h"
#include "platform/image/PixelFormat.h"

namespace image {

struct ImageDocument {
    QString path;
    FileFormat fileFormat = FileFormat::Unknown;
    QImage image;
    QSize originalSize;
    PixelFormat pixelFormat;
    CameraData camera;

    bool isNull() const { return image.isNull(); }
    // True when the bitmap was decoded smaller than the file (a display decode).
    bool isReduced() const { return !image.isNull() && image.size() != originalSize; }
};

struct LoadResult {
    ImageDocument document;   // empty when the load failed
    QString error;            // empty on success, otherwise a message for the user

    bool ok() const { return error.isEmpty(); }
};

// Outcome of a save: empty error on success.
struct ImageStatus {
    QString error;

    bool ok() const { return error.isEmpty(); }
};

}  // namespace image
