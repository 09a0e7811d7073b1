#pragma once

#include <QList>
#include <QString>

// Notices: a small window that slides up at the bottom right of the screen, rests two seconds
// and slides away, taking no focus and blocking nothing.
namespace ui {

enum NoticeKind { NoticeError = 0, NoticeInfo = 1, NoticeWarning = 2 };

void ShowNotice(const QString& text, int kind);

// The texts of notices shown so far in this run, oldest first, with their kinds; lets tests
// and the start-up sequence see what the user was told.
struct NoticeRecord {
    QString text;
    int kind = NoticeInfo;
};
const QList<NoticeRecord>& noticeHistory();
void clearNoticeHistory();

}  // namespace ui
