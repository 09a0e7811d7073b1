#pragma once

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRect;
class QSize;
class QString;
class QTableView;
class QWidget;

// The small building blocks of the program's hand-built forms. Each control is made a child of
// parent; a name given becomes its objectName, by which the key handling and the tests find it.
namespace ui {

// A push button placed by a layout.
QPushButton* button(QWidget* parent, const QString& text, const char* name);
// A push button at a fixed place and size.
QPushButton* button(QWidget* parent, const QString& text, const char* name, const QRect& geometry);
// A push button of a fixed size, placed by a layout.
QPushButton* button(QWidget* parent, const QString& text, const char* name, const QSize& fixedSize);

// A named label placed by a layout.
QLabel* label(QWidget* parent, const QString& text, const char* name);
// A label sized to its text with its top left corner at (x, y); named when name is given.
QLabel* label(QWidget* parent, const QString& text, int x, int y, const char* name = nullptr);

QLineEdit* lineEdit(QWidget* parent, const char* name);
QLineEdit* lineEdit(QWidget* parent, const char* name, const QRect& geometry);
// A line edit that shows each character typed as '*'.
QLineEdit* passwordEdit(QWidget* parent, const char* name, const QRect& geometry);

QCheckBox* checkBox(QWidget* parent, const QString& text, const char* name);

// A sunken horizontal line between parts of a form.
QFrame* horizontalRule(QWidget* parent);
QFrame* horizontalRule(QWidget* parent, const QRect& geometry);

// Gives a grid the look of a list in report mode: grid lines, one line per row, rows of the
// text height + rowPadding, no row headers, no corner button, and column headers aligned left
// that neither highlight, take clicks nor stretch the last column.
void setReportLook(QTableView* view, int rowPadding);

// Moves a top-level window, its frame included, to the middle of the available area of its
// screen (the primary screen when it has none yet). The window stays marked as not moved by
// the user, so that it is centred again the next time it is first shown.
void centreOnScreen(QWidget* window);

}  // namespace ui
