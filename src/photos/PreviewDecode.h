#pragma once

// Helpers for showing a photo file in the preview at the size it is shown, decoded once.
//
//   const QSize full = photos::probeImageSize(path);                 // header only
//   const QSizeF shown = photos::fitToWidthSize(view, full);          // what fitToWidth gives
//   const QSize limit = photos::decodeLimitFor(full, shown);          // for LoadOptions::maxSize
//
// The image view draws a reduced bitmap as it is when the bitmap has the pixels shown, and
// decodes the file again at full size when it has fewer. The limit is chosen so that the
// decoded bitmap has exactly the shown size in whole pixels (or, where rounding forbids it,
// at least that size), so that neither a second decode nor a second scaling happens.

#include <QSize>
#include <QSizeF>
#include <QString>

namespace image {
class ImageView;
}

namespace photos {

// The pixel size the file's header declares; invalid when no reader knows the format.
QSize probeImageSize(const QString& path);

// The size at which `view` shows an image of `full` pixels after fitToWidth().
QSizeF fitToWidthSize(const image::ImageView* view, const QSize& full);

// A decode limit for an image of `full` pixels shown at `shown`; empty (decode at full size)
// when the image is shown at its own size or larger.
QSize decodeLimitFor(const QSize& full, const QSizeF& shown);

// The extension of a stored source path, with its dot ("" when it has none). Both '/' and
// '\' separate folders, so paths recorded on another system give their real extension and
// never a folder part.
QString sourceExtension(const QString& fileName);

}  // namespace photos
