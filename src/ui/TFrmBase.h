#pragma once

#include <QDialog>

// Base of the program's dialogs: centred on the screen, SimSun 12 px, tool tips shown, and the
// Enter rule: Enter moves to the next field as Tab would, except in a multi-line text box (it
// breaks the line) and in a data grid (swallowed). A default button still takes Enter.
//
// "Default" means a QPushButton marked with setDefault(true) before the dialog is shown (a
// QDialogButtonBox marks its first accept button so on its own). Other push buttons lose
// autoDefault when the dialog is shown, so that Qt does not pick one of them as the default;
// Enter on a focused push button clicks it.
class TFrmBase : public QDialog {
    Q_OBJECT
public:
    explicit TFrmBase(QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // Handles one key press seen before the focused control; true when it was consumed.
    virtual bool FormKeyPress(QKeyEvent* event);

private:
    void watch(QObject* root);
    bool hasDefaultButton() const;
};
