#include "platform/image/Thumbnails.h"

#include <QThreadPool>
#include <QtConcurrent/QtConcurrentMap>

#include "platform/image/Codecs.h"
#include "platform/image/ImageIo.h"
#include "platform/image/codecs/Decoded.h"
#include "platform/image/codecs/ExifReader.h"
#include "platform/image/codecs/JpegCodec.h"

namespace image {

namespace {

// The embedded thumbnail, when it fills the box in at least one direction (smaller ones
// would have to be enlarged and look blurred).
QImage embeddedThumbnail(const QString& path, const QSize& maxSize) {
    const QByteArray jpeg = detail::readExifThumbnail(path);
    if (jpeg.isEmpty())
        return {};
    const detail::Decoded thumb = detail::decodeJpeg(jpeg, maxSize, true);
    if (!thumb.error.isEmpty() || thumb.image.isNull())
        return {};
    if (!maxSize.isEmpty() && thumb.fullSize.width() < maxSize.width()
        && thumb.fullSize.height() < maxSize.height())
        return {};
    return thumb.image;
}

}  // namespace

Thumbnail makeThumbnail(const QString& path, QSize maxSize) {
    installCodecs();
    Thumbnail result;
    result.path = path;
    result.image = embeddedThumbnail(path, maxSize);
    if (!result.image.isNull()) {
        result.fromExif = true;
        return result;
    }
    const LoadResult loaded = loadImage(path, LoadOptions{maxSize, false, true});
    if (!loaded.ok()) {
        result.error = loaded.error;
        return result;
    }
    result.image = loaded.document.image;
    return result;
}

QFuture<Thumbnail> makeThumbnails(const QStringList& paths, QSize maxSize, QThreadPool* pool) {
    installCodecs();   // once, before the workers start
    return QtConcurrent::mapped(pool ? pool : QThreadPool::globalInstance(), paths,
                                [maxSize](const QString& path) { return makeThumbnail(path, maxSize); });
}

}  // namespace image
