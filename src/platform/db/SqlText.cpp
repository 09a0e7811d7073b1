#include "platform/db/SqlText.h"

#include <QDateTime>

namespace db {

QString quoted(const QString& value) {
    QString text = value;
    text.replace(u'\'', QStringLiteral("''"));
    return u'\'' + text + u'\'';
}

QString dateTimeText(const QDateTime& value) {
    return value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QDateTime parseDateTime(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return {};
    QDateTime value = QDateTime::fromString(t, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!value.isValid()) value = QDateTime::fromString(t, Qt::ISODate);
    if (!value.isValid()) {
        const QDate date = QDate::fromString(t, QStringLiteral("yyyy-MM-dd"));
        if (date.isValid()) value = date.startOfDay();
    }
    return value;
}

QString nowLiteral() { return quoted(dateTimeText(QDateTime::currentDateTime())); }

}  // namespace db
