#pragma once

#include <functional>

#include <QMessageBox>
#include <QString>
#include <QStringList>

class QWidget;

// The one way the program asks the user something through a standard dialog: message boxes,
// input boxes, file and folder pickers. Tests install a responder that answers instead of a
// person; without one the real Qt dialogs are shown.
namespace ui::dialogs {

enum class Kind { MessageBox, InputText, OpenFiles, SaveFile, Folder };

struct Request {
    Kind kind = Kind::MessageBox;
    QString title;
    QString text;                 // message text, input prompt, or file-dialog caption
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QString initial;              // input default, start folder or file name
    QString filter;               // file-dialog filter
};

struct Answer {
    QMessageBox::StandardButton button = QMessageBox::Ok;  // message box result
    bool accepted = true;         // input and file dialogs: false means cancelled
    QString text;                 // entered text, chosen file or folder
    QStringList files;            // chosen files (OpenFiles)
};

using Responder = std::function<Answer(const Request&)>;

// Installs (or with an empty function removes) the responder used instead of real dialogs.
void setResponder(Responder responder);
bool hasResponder();

// A message box; answers the button pressed.
QMessageBox::StandardButton message(QWidget* parent, const QString& title, const QString& text,
                                    QMessageBox::Icon icon,
                                    QMessageBox::StandardButtons buttons = QMessageBox::Ok);

// The system's question: "提示信息", Yes and No, information icon. True only on Yes.
bool askYesNo(QWidget* parent, const QString& text);
// The system's refusal: "提示信息", OK, warning icon.
void warn(QWidget* parent, const QString& text);
// "提示信息", OK, information icon.
void inform(QWidget* parent, const QString& text);

// Input box: false when cancelled.
bool inputText(QWidget* parent, const QString& title, const QString& prompt, QString& value);
// File pickers: empty result when cancelled. A responder sees openFile as Kind::OpenFiles and
// answers with text (or the first of files).
QStringList openFiles(QWidget* parent, const QString& caption, const QString& dir,
                      const QString& filter);
QString openFile(QWidget* parent, const QString& caption, const QString& dir,
                 const QString& filter);
QString saveFile(QWidget* parent, const QString& caption, const QString& dir,
                 const QString& filter);
QString folder(QWidget* parent, const QString& caption, const QString& dir);

}  // namespace ui::dialogs
