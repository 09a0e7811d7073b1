#include "albums/TfrmProgressForm.h"

#include <algorithm>

#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>

#include "albums/BusyIndicator.h"
#include "ui/FormWidgets.h"

TfrmProgressForm::TfrmProgressForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frmProgressForm"));
    setWindowTitle(QStringLiteral("查找相册"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(396, 63);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(1);
    panel->setGeometry(0, 0, 396, 63);

    m_label = ui::label(panel, QStringLiteral("请稍候,系统正在生成相册导航树....."), "Label1");
    QPalette blue = m_label->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    m_label->setPalette(blue);
    m_label->move(16, 10);

    m_animation = new BusyIndicator(panel);
    m_animation->setObjectName(QStringLiteral("Animate1"));
    m_animation->move(396 - 16 - 11, 9);

    m_bar = new QProgressBar(panel);
    m_bar->setObjectName(QStringLiteral("ProgressBar1"));
    m_bar->setGeometry(14, 30, 371, 21);
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    m_bar->setTextVisible(false);
}

void TfrmProgressForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TfrmProgressForm::SetActive(bool active) { m_active = active; }

void TfrmProgressForm::SetMax(int max) { m_bar->setMaximum(max); }

void TfrmProgressForm::SetPosition(int position) {
    m_bar->setValue(position);
    processIfActive();
}

void TfrmProgressForm::StepBy(int step) {
    // QProgressBar refuses values past its maximum; a bar keeps its end then.
    m_bar->setValue(std::min(m_bar->value() + step, m_bar->maximum()));
    processIfActive();
}

void TfrmProgressForm::processIfActive() {
    if (m_active) QCoreApplication::processEvents();
}
