#include "ui/TFrm_Wait2.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>

#include "ui/Fonts.h"
#include "ui/TFrm_Wait.h"

TFrm_Wait2::TFrm_Wait2()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("TFrm_Wait2"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setFont(ui::simSunFont(12));
    setFixedSize(368, 77);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setAutoFillBackground(true);
    panel->setGeometry(rect());

    m_label = new QLabel(panel);
    m_label->setObjectName(QStringLiteral("Label1"));
    m_label->setTextFormat(Qt::PlainText);
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setGeometry(14, 5, 343, 17);  // 13 px of text height, room for the CJK face
    QPalette pal = m_label->palette();
    pal.setColor(QPalette::WindowText, QColor(128, 0, 0));
    m_label->setPalette(pal);
    m_label->setText(QStringLiteral("请稍等，系统正在处理中"));

    m_outer = new QProgressBar(panel);
    m_outer->setObjectName(QStringLiteral("ProgressBar1"));
    m_outer->setTextVisible(false);
    m_outer->setGeometry(12, 25, 345, 19);
    m_inner = new QProgressBar(panel);
    m_inner->setObjectName(QStringLiteral("ProgressBar2"));
    m_inner->setTextVisible(false);
    m_inner->setGeometry(12, 49, 345, 19);
    TFrm_Wait::setBar(m_outer, m_outerMaximum, 0);
    TFrm_Wait::setBar(m_inner, 100, 0);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

void TFrm_Wait2::start(const QString& text, int outerMaximum)
{
    m_label->setText(text);
    m_outer->show();
    m_inner->show();
    m_outerMaximum = outerMaximum;
    TFrm_Wait::setBar(m_outer, m_outerMaximum, 0);
    TFrm_Wait::setBar(m_inner, m_inner->maximum(), 0);
}

void TFrm_Wait2::setProgress(int outerPosition, int innerMaximum, int innerPosition)
{
    TFrm_Wait::setBar(m_outer, m_outerMaximum, outerPosition);
    TFrm_Wait::setBar(m_inner, innerMaximum, innerPosition);
}
