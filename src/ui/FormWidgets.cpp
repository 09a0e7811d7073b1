#include "ui/FormWidgets.h"

#include <QCheckBox>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableView>

namespace ui {

QPushButton* button(QWidget* parent, const QString& text, const char* name) {
    auto* pushButton = new QPushButton(text, parent);
    pushButton->setObjectName(QLatin1String(name));
    return pushButton;
}

QPushButton* button(QWidget* parent, const QString& text, const char* name,
                    const QRect& geometry) {
    QPushButton* pushButton = button(parent, text, name);
    pushButton->setGeometry(geometry);
    return pushButton;
}

QPushButton* button(QWidget* parent, const QString& text, const char* name,
                    const QSize& fixedSize) {
    QPushButton* pushButton = button(parent, text, name);
    pushButton->setFixedSize(fixedSize);
    return pushButton;
}

QLabel* label(QWidget* parent, const QString& text, const char* name) {
    auto* caption = new QLabel(text, parent);
    caption->setObjectName(QLatin1String(name));
    return caption;
}

QLabel* label(QWidget* parent, const QString& text, int x, int y, const char* name) {
    auto* caption = new QLabel(text, parent);
    if (name) caption->setObjectName(QLatin1String(name));
    caption->adjustSize();
    caption->move(x, y);
    return caption;
}

QLineEdit* lineEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

QLineEdit* lineEdit(QWidget* parent, const char* name, const QRect& geometry) {
    QLineEdit* edit = lineEdit(parent, name);
    edit->setGeometry(geometry);
    return edit;
}

QLineEdit* passwordEdit(QWidget* parent, const char* name, const QRect& geometry) {
    QLineEdit* edit = lineEdit(parent, name, geometry);
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    return edit;
}

QCheckBox* checkBox(QWidget* parent, const QString& text, const char* name) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

QFrame* horizontalRule(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QFrame* horizontalRule(QWidget* parent, const QRect& geometry) {
    QFrame* line = horizontalRule(parent);
    line->setGeometry(geometry);
    return line;
}

void setReportLook(QTableView* view, int rowPadding) {
    view->setShowGrid(true);
    view->setWordWrap(false);
    view->setCornerButtonEnabled(false);
    QHeaderView* rows = view->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(view->fontMetrics().height() + rowPadding);
    QHeaderView* header = view->horizontalHeader();
    header->setHighlightSections(false);
    header->setSectionsClickable(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setStretchLastSection(false);
}

void centreOnScreen(QWidget* window) {
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const QSize outer = window->frameGeometry().size();
    window->move(area.x() + (area.width() - outer.width()) / 2,
                 area.y() + (area.height() - outer.height()) / 2);
    window->setAttribute(Qt::WA_Moved, false);
}

}  // namespace ui
