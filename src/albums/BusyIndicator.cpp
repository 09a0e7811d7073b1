#include "albums/BusyIndicator.h"

#include <cmath>
#include <numbers>

#include <QPainter>
#include <QTimer>

BusyIndicator::BusyIndicator(QWidget* parent) : QWidget(parent), m_timer(new QTimer(this)) {
    setFixedSize(16, 16);
    m_timer->setInterval(120);
    connect(m_timer, &QTimer::timeout, this, [this] {
        m_frame = (m_frame + 1) % kFrames;
        update();
    });
    m_timer->start();
}

void BusyIndicator::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);

    // The screen being searched.
    p.setPen(QColor(64, 64, 64));
    p.setBrush(QColor(170, 205, 240));
    p.drawRect(QRectF(1.5, 1.5, 11, 8));
    p.drawLine(QPointF(7, 10), QPointF(7, 12));
    p.drawLine(QPointF(4, 12.5), QPointF(10, 12.5));

    // The glass moves on a small circle, one step per frame.
    const double angle = 2 * std::numbers::pi * m_frame / kFrames;
    const QPointF centre(9.0 + 2.0 * std::cos(angle), 8.0 + 2.0 * std::sin(angle));
    p.setBrush(QColor(255, 255, 255, 170));
    p.setPen(QPen(QColor(40, 40, 40), 1.2));
    p.drawEllipse(centre, 2.8, 2.8);
    p.setPen(QPen(QColor(120, 70, 20), 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre + QPointF(2.0, 2.0), centre + QPointF(3.8, 3.8));
}
