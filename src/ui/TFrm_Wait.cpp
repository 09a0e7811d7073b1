#include "ui/TFrm_Wait.h"

#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>

#include "ui/Fonts.h"

TFrm_Wait::TFrm_Wait()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("TFrm_Wait"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    // The caption is Chinese: the CJK fall-back family rather than a Latin-only face.
    setFont(ui::simSunFont(12));
    setFixedSize(368, 54);

    m_panel = new QLabel(this);
    m_panel->setObjectName(QStringLiteral("Panel1"));
    m_panel->setTextFormat(Qt::PlainText);
    m_panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_panel->setAlignment(Qt::AlignCenter);
    m_panel->setAutoFillBackground(true);
    m_panel->setGeometry(rect());

    m_bar = new QProgressBar(m_panel);
    m_bar->setObjectName(QStringLiteral("ProgressBar1"));
    m_bar->setTextVisible(false);
    m_bar->setGeometry(12, 17, 345, 19);
    setBar(m_bar, m_maximum, 0);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

void TFrm_Wait::setBar(QProgressBar* bar, int maximum, int position)
{
    if (maximum <= 0) {
        bar->setRange(0, 1);
        bar->setValue(0);
        return;
    }
    bar->setRange(0, maximum);
    bar->setValue(qBound(0, position, maximum));
}

void TFrm_Wait::showText(const QString& text)
{
    m_bar->hide();
    m_panel->setText(text);
}

void TFrm_Wait::showBar(int maximum)
{
    m_maximum = maximum;
    setBar(m_bar, m_maximum, 0);
    m_bar->show();
}

void TFrm_Wait::setPosition(int position)
{
    setBar(m_bar, m_maximum, position);
}
