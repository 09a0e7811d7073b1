#pragma once

// Draws one thumbnail cell: the image centred in its box, the caption below it on its
// caption colour, and a red frame three pixels wide around a selected cell.

#include <QColor>
#include <QSize>
#include <QStyledItemDelegate>

namespace photos {

class ThumbnailDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    // The box a thumbnail image is fitted into.
    static constexpr QSize kImageBox{120, 90};
    static constexpr int kFrameWidth = 3;

    explicit ThumbnailDelegate(QObject* parent = nullptr);

    static QColor captionBackground() { return {208, 239, 239}; }
    static QColor selectionColour() { return Qt::red; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace photos
