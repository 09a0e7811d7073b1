#pragma once

// Thumbnails of image files.
//
//   image::Thumbnail t = image::makeThumbnail(path, {160, 120});   // any thread
//
//   auto* watcher = new QFutureWatcher<image::Thumbnail>(this);
//   connect(watcher, &QFutureWatcherBase::resultReadyAt, this, [=](int i) {
//       const image::Thumbnail t = watcher->resultAt(i);           // i = index in paths
//       ...
//   });
//   watcher->setFuture(image::makeThumbnails(paths, {160, 120})); // all cores
//
// The embedded EXIF thumbnail is used when the file has one that is at least as large as
// the thumbnail asked for; otherwise the image is decoded at a reduced size (DCT scaling
// for JPEG). The result fits inside maxSize with the aspect kept.

#include <QFuture>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

class QThreadPool;

namespace image {

struct Thumbnail {
    QString path;
    QImage image;              // null when the file could not be read
    bool fromExif = false;     // true when the embedded thumbnail was used
    QString error;

    bool ok() const { return error.isEmpty(); }
};

Thumbnail makeThumbnail(const QString& path, QSize maxSize);

// One thumbnail per path, computed on the pool (the global pool when null); results keep
// the order of the paths.
QFuture<Thumbnail> makeThumbnails(const QStringList& paths, QSize maxSize,
                                  QThreadPool* pool = nullptr);

}  // namespace image
