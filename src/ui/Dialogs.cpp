#include "ui/Dialogs.h"

#include <utility>

#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>

namespace ui::dialogs {
namespace {

Responder& responder()
{
    static Responder instance;
    return instance;
}

// The responder's answer to a file or folder picker.
Answer askPicker(Kind kind, const QString& caption, const QString& dir,
                 const QString& filter = QString())
{
    Request request;
    request.kind = kind;
    request.text = caption;
    request.initial = dir;
    request.filter = filter;
    return responder()(request);
}

}  // namespace

void setResponder(Responder r)
{
    responder() = std::move(r);
}

bool hasResponder()
{
    return static_cast<bool>(responder());
}

QMessageBox::StandardButton message(QWidget* parent, const QString& title, const QString& text,
                                    QMessageBox::Icon icon, QMessageBox::StandardButtons buttons)
{
    if (hasResponder()) {
        Request request;
        request.kind = Kind::MessageBox;
        request.title = title;
        request.text = text;
        request.icon = icon;
        request.buttons = buttons;
        return responder()(request).button;
    }
    QMessageBox box(icon, title, text, buttons, parent);
    box.exec();
    return box.standardButton(box.clickedButton());
}

bool askYesNo(QWidget* parent, const QString& text)
{
    return message(parent, QStringLiteral("提示信息"), text, QMessageBox::Information,
                   QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void warn(QWidget* parent, const QString& text)
{
    message(parent, QStringLiteral("提示信息"), text, QMessageBox::Warning, QMessageBox::Ok);
}

void inform(QWidget* parent, const QString& text)
{
    message(parent, QStringLiteral("提示信息"), text, QMessageBox::Information, QMessageBox::Ok);
}

bool inputText(QWidget* parent, const QString& title, const QString& prompt, QString& value)
{
    if (hasResponder()) {
        Request request;
        request.kind = Kind::InputText;
        request.title = title;
        request.text = prompt;
        request.initial = value;
        const Answer answer = responder()(request);
        if (answer.accepted)
            value = answer.text;
        return answer.accepted;
    }
    bool ok = false;
    const QString entered =
        QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, value, &ok);
    if (ok)
        value = entered;
    return ok;
}

QStringList openFiles(QWidget* parent, const QString& caption, const QString& dir,
                      const QString& filter)
{
    if (hasResponder()) {
        const Answer answer = askPicker(Kind::OpenFiles, caption, dir, filter);
        if (!answer.accepted)
            return {};
        if (answer.files.isEmpty() && !answer.text.isEmpty())
            return {answer.text};
        return answer.files;
    }
    return QFileDialog::getOpenFileNames(parent, caption, dir, filter);
}

QString openFile(QWidget* parent, const QString& caption, const QString& dir,
                 const QString& filter)
{
    if (hasResponder()) {
        const Answer answer = askPicker(Kind::OpenFiles, caption, dir, filter);
        if (!answer.accepted)
            return {};
        return answer.text.isEmpty() ? answer.files.value(0) : answer.text;
    }
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString saveFile(QWidget* parent, const QString& caption, const QString& dir,
                 const QString& filter)
{
    if (hasResponder()) {
        const Answer answer = askPicker(Kind::SaveFile, caption, dir, filter);
        return answer.accepted ? answer.text : QString();
    }
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

QString folder(QWidget* parent, const QString& caption, const QString& dir)
{
    if (hasResponder()) {
        const Answer answer = askPicker(Kind::Folder, caption, dir);
        return answer.accepted ? answer.text : QString();
    }
    return QFileDialog::getExistingDirectory(parent, caption, dir, QFileDialog::ShowDirsOnly);
}

}  // namespace ui::dialogs
