#include "ui/TFrmBase.h"

#include <QAbstractItemView>
#include <QChildEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTextEdit>

#include "ui/Fonts.h"
#include "ui/FormWidgets.h"

namespace {

bool isMultiLineEditor(const QWidget* w)
{
    return qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QTextEdit*>(w);
}

// A grid, list or tree, or an editor opened inside one of its cells.
bool isInItemView(const QWidget* w)
{
    for (; w && !w->isWindow(); w = w->parentWidget()) {
        if (qobject_cast<const QAbstractItemView*>(w))
            return true;
    }
    return false;
}

}  // namespace

TFrmBase::TFrmBase(QWidget* parent) : QDialog(parent)
{
    setFont(ui::simSunFont(12));
    setAttribute(Qt::WA_AlwaysShowToolTips);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Button));
    setPalette(pal);
    // Children created later by the derived dialog are caught through ChildAdded.
    installEventFilter(this);
}

void TFrmBase::watch(QObject* root)
{
    root->installEventFilter(this);
    const auto descendants = root->findChildren<QWidget*>();
    for (QWidget* w : descendants)
        w->installEventFilter(this);
}

bool TFrmBase::hasDefaultButton() const
{
    const auto buttons = findChildren<QPushButton*>();
    for (const QPushButton* pb : buttons) {
        if (pb->isDefault() && pb->isVisible() && pb->window() == this)
            return true;
    }
    return false;
}

bool TFrmBase::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ChildAdded: {
        QObject* child = static_cast<QChildEvent*>(event)->child();
        if (child->isWidgetType())
            watch(child);
        break;
    }
    case QEvent::Polish:
        // Without this, QDialog would promote the first push button to default on show and
        // Enter would press it instead of moving between the fields.
        if (auto* pb = qobject_cast<QPushButton*>(watched); pb && !pb->isDefault())
            pb->setAutoDefault(false);
        break;
    case QEvent::KeyPress: {
        // Act once, for the focused control itself, not again while an ignored key travels up
        // through its parents; popups (combo lists, completers) are other windows.
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && w != this && w == focusWidget() && w->window() == this)
            return FormKeyPress(static_cast<QKeyEvent*>(event));
        break;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

bool TFrmBase::FormKeyPress(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    QWidget* focused = focusWidget();
    if (!focused)
        return false;
    if (isMultiLineEditor(focused))
        return false;  // the editor breaks the line
    if (auto* pb = qobject_cast<QPushButton*>(focused)) {
        if (pb->isEnabled())
            pb->click();
        return true;
    }
    if (hasDefaultButton())
        return false;  // travels up to QDialog, which presses the default button
    if (isInItemView(focused))
        return true;
    focusNextChild();
    return true;
}

void TFrmBase::showEvent(QShowEvent* event)
{
    const bool placeIt = !event->spontaneous() && !testAttribute(Qt::WA_Moved);
    QDialog::showEvent(event);
    // Widgets reparented into the dialog after their own children were made.
    watch(this);
    const auto buttons = findChildren<QPushButton*>();
    for (QPushButton* pb : buttons) {
        if (!pb->isDefault())
            pb->setAutoDefault(false);
    }
    if (placeIt)
        ui::centreOnScreen(this);
}
