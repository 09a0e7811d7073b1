#include "ui/Notice.h"

#include <QApplication>

#include "ui/TMsgForm.h"

namespace ui {
namespace {

QList<NoticeRecord>& history()
{
    static QList<NoticeRecord> list;
    return list;
}

}  // namespace

void ShowNotice(const QString& text, int kind)
{
    history().append(NoticeRecord{text, kind});
    // Without a widget application (tools, GUI-less tests) there is nowhere to show it.
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app)
        return;
    static bool freeAtExit = false;
    if (!freeAtExit) {
        QObject::connect(app, &QCoreApplication::aboutToQuit, app, &TMsgForm::freeAll);
        freeAtExit = true;
    }
    auto* form = new TMsgForm;
    form->setMessage(text, kind);
    form->start();
}

const QList<NoticeRecord>& noticeHistory()
{
    return history();
}

void clearNoticeHistory()
{
    history().clear();
}

}  // namespace ui
