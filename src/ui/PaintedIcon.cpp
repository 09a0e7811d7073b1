#include "ui/PaintedIcon.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace ui {

QIcon paintedIcon(int grid, std::initializer_list<int> sizes,
                  const std::function<void(QPainter&)>& paint) {
    QIcon icon;
    for (int size : sizes) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const double scale = static_cast<double>(size) / grid;
        painter.scale(scale, scale);
        paint(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace ui
