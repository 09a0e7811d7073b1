#include "albums/AlbumIcons.h"

#include <QIcon>
#include <QPainter>
#include <QPainterPath>

#include "ui/PaintedIcon.h"

namespace albums {
namespace {

// Draws the picture on a 16 x 16 grid at 16 and 32 pixels.
QIcon drawn(void (*paint)(QPainter&)) { return ui::paintedIcon(16, {16, 32}, paint); }

void paintFolder(QPainter& p) {
    p.setPen(QPen(QColor(150, 105, 20), 0.8));
    p.setBrush(QColor(236, 190, 80));
    QPainterPath back;
    back.moveTo(1.5, 3.5);
    back.lineTo(6.0, 3.5);
    back.lineTo(7.5, 5.0);
    back.lineTo(14.5, 5.0);
    back.lineTo(14.5, 13.5);
    back.lineTo(1.5, 13.5);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(QColor(250, 214, 110));
    p.drawRect(QRectF(1.5, 6.5, 13.0, 7.0));
}

void paintPhoto(QPainter& p) {
    p.setPen(QPen(QColor(90, 90, 90), 0.8));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, 2.5, 13.0, 11.0));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 180, 235));
    p.drawRect(QRectF(3.0, 4.0, 10.0, 8.0));
    p.setBrush(QColor(255, 210, 60));
    p.drawEllipse(QPointF(10.5, 6.0), 1.3, 1.3);
    p.setBrush(QColor(60, 150, 70));
    QPainterPath hills;
    hills.moveTo(3.0, 12.0);
    hills.lineTo(6.5, 7.5);
    hills.lineTo(9.0, 10.0);
    hills.lineTo(10.5, 8.5);
    hills.lineTo(13.0, 12.0);
    hills.closeSubpath();
    p.drawPath(hills);
}

}  // namespace

// Kept for the whole run and never destroyed: pixmaps must not outlive the application object.
QIcon topAlbumIcon() {
    static const QIcon* icon = new QIcon(drawn(paintFolder));
    return *icon;
}

QIcon albumIcon() {
    static const QIcon* icon = new QIcon(drawn(paintPhoto));
    return *icon;
}

}  // namespace albums
