#include "photos/PreviewDecode.h"

#include <algorithm>
#include <cmath>

#include <QImageReader>
#include <QScrollBar>

#include "platform/image/ImageView.h"

namespace photos {

QSize probeImageSize(const QString& path) {
    QImageReader reader(path);
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    return size.isValid() && !size.isEmpty() ? size : QSize();
}

// Mirrors ImageView::fitToWidth: the viewport's full width, less the vertical scroll bar when
// the fitted height does not fit.
QSizeF fitToWidthSize(const image::ImageView* view, const QSize& full) {
    if (!view || full.isEmpty()) return {};
    const QSize area = view->maximumViewportSize();
    double width = area.width();
    if (full.height() * width / full.width() > area.height() &&
        view->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff)
        width -= view->verticalScrollBar()->sizeHint().width();
    const double scale = std::max(1.0, width) / full.width();
    return {full.width() * scale, full.height() * scale};
}

QSize decodeLimitFor(const QSize& full, const QSizeF& shown) {
    if (full.isEmpty() || shown.isEmpty()) return {};
    const QSize target(static_cast<int>(std::lround(shown.width())),
                       static_cast<int>(std::lround(shown.height())));
    if (target.width() >= full.width() || target.height() >= full.height()) return {};
    // The decoder fits the image inside the limit with its aspect kept, rounding down; find a
    // limit near the target that gives the target itself.
    const auto fitted = [&full](const QSize& limit) { return full.scaled(limit, Qt::KeepAspectRatio); };
    for (int dw = 0; dw <= 2; ++dw)
        for (int dh = 0; dh <= 2; ++dh) {
            const QSize limit = target + QSize(dw, dh);
            if (fitted(limit) == target) return limit;
        }
    // Otherwise the smallest limit whose fit covers the target in both directions.
    for (int margin = 1; margin < 256; ++margin) {
        const QSize limit = target + QSize(margin, margin);
        const QSize f = fitted(limit);
        if (f.width() >= target.width() && f.height() >= target.height()) return limit;
    }
    return {};
}

QString sourceExtension(const QString& fileName) {
    const qsizetype slash = std::max(fileName.lastIndexOf(u'/'), fileName.lastIndexOf(u'\\'));
    const qsizetype dot = fileName.lastIndexOf(u'.');
    if (dot < 0 || dot < slash) return {};
    return fileName.mid(dot);
}

}  // namespace photos
