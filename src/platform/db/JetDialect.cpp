#include "platform/db/JetDialect.h"

#include <QRegularExpression>

namespace db {

QString translateJetSql(const QString& sql) {
    static const QRegularExpression createTable(QStringLiteral(R"(^\s*create\s+table\b)"),
                                                QRegularExpression::CaseInsensitiveOption);
    if (!createTable.match(sql).hasMatch()) return sql;

    QString out = sql;
    const auto ci = QRegularExpression::CaseInsensitiveOption;
    // "counter PRIMARY KEY" and a bare "counter" both become an auto-increment key.
    static const QRegularExpression counterKey(QStringLiteral(R"(\bcounter\s+primary\s+key\b)"), ci);
    static const QRegularExpression counter(QStringLiteral(R"(\bcounter\b)"), ci);
    static const QRegularExpression longText(QStringLiteral(R"(\b(longtext|memo)\b)"), ci);
    static const QRegularExpression longBinary(
        QStringLiteral(R"(\b(longbinary|image|oleobject)\b)"), ci);
    out.replace(counterKey, QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT"));
    out.replace(counter, QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT"));
    out.replace(longText, QStringLiteral("TEXT"));
    out.replace(longBinary, QStringLiteral("BLOB"));
    return out;
}

}  // namespace db
