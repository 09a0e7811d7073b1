#include "photos/ThumbnailDelegate.h"

#include <QPainter>
#include <QPixmap>

#include "photos/ThumbnailModel.h"

namespace photos {

namespace {

constexpr int kPadding = 6;   // between the frame and the image box

int captionHeight(const QFontMetrics& metrics) { return metrics.height() + 4; }

}  // namespace

ThumbnailDelegate::ThumbnailDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

QSize ThumbnailDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    return {kImageBox.width() + 2 * kPadding,
            kImageBox.height() + 2 * kPadding + captionHeight(option.fontMetrics)};
}

void ThumbnailDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    painter->save();
    const QRect cell = option.rect;
    const QRect box(cell.left() + kPadding, cell.top() + kPadding, kImageBox.width(),
                    kImageBox.height());

    const QPixmap image = index.data(Qt::DecorationRole).value<QPixmap>();
    if (!image.isNull()) {
        const QSize shown = image.size().scaled(box.size().boundedTo(image.size()),
                                                Qt::KeepAspectRatio);
        const QRect target(box.left() + (box.width() - shown.width()) / 2,
                           box.top() + (box.height() - shown.height()) / 2, shown.width(),
                           shown.height());
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->drawPixmap(target, image);
    } else {
        // Not made yet, or the file is no image: an empty box.
        painter->setPen(QColor(200, 200, 200));
        painter->drawRect(box.adjusted(0, 0, -1, -1));
    }

    const QRect caption(cell.left() + kPadding, box.bottom() + 1 + 2, kImageBox.width(),
                        captionHeight(option.fontMetrics) - 2);
    painter->fillRect(caption, captionBackground());
    painter->setPen(option.palette.color(QPalette::Text));
    const QString text = option.fontMetrics.elidedText(index.data(Qt::DisplayRole).toString(),
                                                       Qt::ElideRight, caption.width() - 4);
    painter->drawText(caption, Qt::AlignCenter, text);

    if (option.state & QStyle::State_Selected) {
        QPen pen(selectionColour(), kFrameWidth);
        pen.setJoinStyle(Qt::MiterJoin);
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        const int half = kFrameWidth / 2;
        painter->drawRect(cell.adjusted(half + 1, half + 1, -half - 1, -half - 1));
    }
    painter->restore();
}

}  // namespace photos
