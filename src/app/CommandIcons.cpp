#include "app/CommandIcons.h"

#include <QApplication>
#include <QHash>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>

#include "ui/PaintedIcon.h"

namespace app {
namespace {

using Draw = void (*)(QPainter&);

const QColor kBlue(0x2F, 0x6F, 0xC0);
const QColor kGreen(0x3A, 0x9A, 0x4A);
const QColor kOrange(0xE0, 0x8A, 0x1E);
const QColor kRed(0xC8, 0x3A, 0x32);

void pen(QPainter& p, const QColor& c, qreal w = 1.6) {
    p.setPen(QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

void photoFrame(QPainter& p, QRectF r) {
    pen(p, QColor(0x55, 0x55, 0x55), 1.2);
    p.setBrush(QColor(0xF4, 0xF8, 0xFF));
    p.drawRoundedRect(r, 1.5, 1.5);
    QPainterPath hills;
    hills.moveTo(r.left() + 1, r.bottom() - 1);
    hills.lineTo(r.left() + r.width() * 0.35, r.top() + r.height() * 0.45);
    hills.lineTo(r.left() + r.width() * 0.6, r.bottom() - r.height() * 0.3);
    hills.lineTo(r.left() + r.width() * 0.75, r.top() + r.height() * 0.55);
    hills.lineTo(r.right() - 1, r.bottom() - 1);
    hills.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawPath(hills);
    p.setBrush(kOrange);
    p.drawEllipse(QPointF(r.right() - r.width() * 0.25, r.top() + r.height() * 0.28), r.width() * 0.09,
                  r.width() * 0.09);
}

void album(QPainter& p) {
    pen(p, QColor(0x7A, 0x5A, 0x20), 1.2);
    p.setBrush(QColor(0xF2, 0xC2, 0x5A));
    p.drawRoundedRect(QRectF(3, 6, 26, 21), 2, 2);
    p.setBrush(QColor(0xFA, 0xD8, 0x80));
    p.drawRoundedRect(QRectF(3, 4, 12, 5), 1.5, 1.5);
    photoFrame(p, QRectF(8, 11, 16, 12));
}
void photo(QPainter& p) { photoFrame(p, QRectF(3, 6, 26, 20)); }
void browse(QPainter& p) {
    photoFrame(p, QRectF(2, 4, 18, 14));
    photoFrame(p, QRectF(12, 14, 18, 14));
}
void arrow(QPainter& p, bool right) {
    QPainterPath path;
    if (right) {
        path.moveTo(8, 10); path.lineTo(17, 10); path.lineTo(17, 4); path.lineTo(28, 16);
        path.lineTo(17, 28); path.lineTo(17, 22); path.lineTo(8, 22);
    } else {
        path.moveTo(24, 10); path.lineTo(15, 10); path.lineTo(15, 4); path.lineTo(4, 16);
        path.lineTo(15, 28); path.lineTo(15, 22); path.lineTo(24, 22);
    }
    path.closeSubpath();
    pen(p, kBlue.darker(130), 1.2);
    p.setBrush(kBlue);
    p.drawPath(path);
}
void prior(QPainter& p) { arrow(p, false); }
void next(QPainter& p) { arrow(p, true); }
void edit(QPainter& p) {
    photoFrame(p, QRectF(2, 4, 22, 18));
    pen(p, QColor(0x60, 0x40, 0x20), 3.2);
    p.drawLine(QPointF(14, 29), QPointF(29, 12));
    pen(p, kOrange, 2.2);
    p.drawLine(QPointF(15, 28), QPointF(28, 13));
}
void magnifier(QPainter& p, int sign) {
    pen(p, QColor(0x40, 0x40, 0x40), 2.4);
    p.setBrush(QColor(0xE8, 0xF2, 0xFF));
    p.drawEllipse(QPointF(13, 13), 9, 9);
    pen(p, QColor(0x50, 0x35, 0x20), 4);
    p.drawLine(QPointF(20, 20), QPointF(28, 28));
    pen(p, kBlue, 2.2);
    if (sign != 0) p.drawLine(QPointF(8.5, 13), QPointF(17.5, 13));
    if (sign > 0) p.drawLine(QPointF(13, 8.5), QPointF(13, 17.5));
}
void find(QPainter& p) { magnifier(p, 0); }
void zoomIn(QPainter& p) { magnifier(p, 1); }
void zoomOut(QPainter& p) { magnifier(p, -1); }
void actual(QPainter& p) {
    photoFrame(p, QRectF(4, 4, 24, 24));
    p.setPen(QColor(0x20, 0x20, 0x20));
    QFont f = p.font();
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(4, 4, 24, 24), Qt::AlignCenter, QStringLiteral("1:1"));
}
void fit(QPainter& p) {
    photoFrame(p, QRectF(7, 9, 18, 14));
    pen(p, kBlue, 1.8);
    for (auto [x, y, dx, dy] : {std::tuple{3, 3, 1, 1}, {29, 3, -1, 1}, {3, 29, 1, -1}, {29, 29, -1, -1}}) {
        p.drawLine(QPointF(x, y), QPointF(x + 5 * dx, y));
        p.drawLine(QPointF(x, y), QPointF(x, y + 5 * dy));
    }
}
void rotate(QPainter& p, bool clockwise) {
    pen(p, kGreen.darker(120), 2.6);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(6, 6, 20, 20), clockwise ? 200 * 16 : -20 * 16, clockwise ? -250 * 16 : 250 * 16);
    QPainterPath head;
    if (clockwise) { head.moveTo(26, 10); head.lineTo(29, 18); head.lineTo(21, 16); }
    else { head.moveTo(6, 10); head.lineTo(3, 18); head.lineTo(11, 16); }
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen.darker(120));
    p.drawPath(head);
}
void rotCw(QPainter& p) { rotate(p, true); }
void rotCcw(QPainter& p) { rotate(p, false); }
void print(QPainter& p) {
    pen(p, QColor(0x40, 0x40, 0x40), 1.2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9, 3, 14, 10));
    p.setBrush(QColor(0x90, 0x98, 0xA8));
    p.drawRoundedRect(QRectF(3, 12, 26, 11), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9, 19, 14, 10));
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(25, 15.5), 1.3, 1.3);
}
void exportPhoto(QPainter& p) {
    photoFrame(p, QRectF(2, 8, 20, 16));
    QPainterPath a;
    a.moveTo(18, 13); a.lineTo(24, 13); a.lineTo(24, 8); a.lineTo(31, 16); a.lineTo(24, 24);
    a.lineTo(24, 19); a.lineTo(18, 19); a.closeSubpath();
    pen(p, kOrange.darker(130), 1);
    p.setBrush(kOrange);
    p.drawPath(a);
}
void wallpaper(QPainter& p) {
    pen(p, QColor(0x40, 0x40, 0x40), 1.4);
    p.setBrush(QColor(0x30, 0x30, 0x38));
    p.drawRoundedRect(QRectF(2, 4, 28, 19), 1.5, 1.5);
    photoFrame(p, QRectF(4, 6, 24, 15));
    pen(p, QColor(0x40, 0x40, 0x40), 2);
    p.drawLine(QPointF(16, 23), QPointF(16, 27));
    p.drawLine(QPointF(10, 28), QPointF(22, 28));
}
void panes(QPainter& p, bool listOnly) {
    pen(p, QColor(0x50, 0x50, 0x50), 1.2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3, 3, 26, 26));
    p.setBrush(QColor(0xCF, 0xDD, 0xF2));
    if (listOnly) {
        for (int y = 7; y < 27; y += 5) p.drawRect(QRectF(6, y, 20, 3));
    } else {
        p.drawRect(QRectF(6, 6, 20, 5));
        photoFrame(p, QRectF(6, 13, 20, 13));
    }
}
void listOnlyIcon(QPainter& p) { panes(p, true); }
void previewOnly(QPainter& p) { panes(p, false); }
void exitIcon(QPainter& p) {
    pen(p, QColor(0x50, 0x50, 0x50), 1.4);
    p.setBrush(QColor(0xE8, 0xE0, 0xD0));
    p.drawRect(QRectF(5, 3, 15, 26));
    QPainterPath a;
    a.moveTo(14, 13); a.lineTo(22, 13); a.lineTo(22, 8); a.lineTo(30, 16); a.lineTo(22, 24);
    a.lineTo(22, 19); a.lineTo(14, 19); a.closeSubpath();
    pen(p, kRed.darker(130), 1);
    p.setBrush(kRed);
    p.drawPath(a);
}
void disc(QPainter& p) {
    pen(p, QColor(0x70, 0x70, 0x70), 1.2);
    p.setBrush(QColor(0xD8, 0xDC, 0xE8));
    p.drawEllipse(QRectF(3, 3, 26, 26));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(12, 12, 8, 8));
}
void albumNode(QPainter& p) {
    pen(p, QColor(0x9A, 0x70, 0x20), 1.4);
    p.setBrush(QColor(0xF5, 0xC8, 0x60));
    p.drawRoundedRect(QRectF(2, 7, 28, 21), 2, 2);
    p.drawRoundedRect(QRectF(2, 4, 12, 6), 2, 2);
}

}  // namespace

QIcon commandIcon(const QString& name) {
    static const QHash<QString, Draw> drawings = {
        {QStringLiteral("album"), album},       {QStringLiteral("photo"), photo},
        {QStringLiteral("browse"), browse},     {QStringLiteral("prior"), prior},
        {QStringLiteral("next"), next},         {QStringLiteral("edit"), edit},
        {QStringLiteral("find"), find},         {QStringLiteral("print"), print},
        {QStringLiteral("disc"), disc},         {QStringLiteral("exit"), exitIcon},
        {QStringLiteral("zoomin"), zoomIn},     {QStringLiteral("zoomout"), zoomOut},
        {QStringLiteral("actual"), actual},     {QStringLiteral("fit"), fit},
        {QStringLiteral("rotcw"), rotCw},       {QStringLiteral("rotccw"), rotCcw},
        {QStringLiteral("export"), exportPhoto}, {QStringLiteral("wallpaper"), wallpaper},
        {QStringLiteral("listonly"), listOnlyIcon}, {QStringLiteral("previewonly"), previewOnly},
        {QStringLiteral("albumnode"), albumNode},
    };
    static QHash<QString, QIcon> cache;
    const auto cached = cache.constFind(name);
    if (cached != cache.constEnd()) return *cached;
    const Draw draw = drawings.value(name);
    if (!draw) return {};
    const QIcon icon = ui::paintedIcon(32, {16, 24, 32}, draw);
    cache.insert(name, icon);
    return icon;
}

}  // namespace app
