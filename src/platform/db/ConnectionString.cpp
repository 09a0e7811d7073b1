#include "platform/db/ConnectionString.h"

#include <QStringList>

namespace db {

ConnectionTarget parseConnectionString(const QString& text) {
    ConnectionTarget target;
    static const QString kSource = QStringLiteral("Data Source=");
    const int sourceAt = text.indexOf(kSource, 0, Qt::CaseInsensitive);
    const QString options = sourceAt >= 0 ? text.left(sourceAt) : text;
    if (sourceAt >= 0) target.path = text.mid(sourceAt + kSource.size()).trimmed();

    const QStringList pairs = options.split(u';', Qt::SkipEmptyParts);
    for (const QString& pair : pairs) {
        const int eq = pair.indexOf(u'=');
        if (eq < 0) continue;
        if (pair.left(eq).trimmed().compare(u"Mode", Qt::CaseInsensitive) != 0) continue;
        // "Read", "Read|Share Deny Write", ... are read-only; "ReadWrite" and "Write" are not.
        const QStringList flags = pair.mid(eq + 1).split(u'|');
        bool read = false;
        bool write = false;
        for (const QString& flag : flags) {
            const QString f = flag.trimmed();
            if (f.compare(u"Read", Qt::CaseInsensitive) == 0) read = true;
            if (f.compare(u"ReadWrite", Qt::CaseInsensitive) == 0 ||
                f.compare(u"Write", Qt::CaseInsensitive) == 0)
                write = true;
        }
        target.readOnly = read && !write;
    }
    return target;
}

}  // namespace db
