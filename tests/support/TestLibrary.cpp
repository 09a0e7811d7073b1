#include "support/TestLibrary.h"

#include <QFile>
#include <QString>

#include "platform/db/Connection.h"
#include "platform/db/ConnectionString.h"

namespace testsupport {

QString schemaSql() {
    QFile file(QStringLiteral(FOTARIX_SCHEMA_SQL));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

bool makeEmptyLibrary(const QString& path) {
    QFile empty(path);
    if (!empty.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    empty.close();
    const QString schema = schemaSql();
    if (schema.isEmpty()) return false;
    db::Connection connection;
    connection.setConnectionString(QLatin1String(db::kReadWriteConnection) + path);
    connection.open();
    connection.execute(schema);
    return true;
}

bool copyTemplateLibrary(const QString& path) {
    return QFile::copy(qEnvironmentVariable("FOTARIX_BUILD_DIR") + QStringLiteral("/Model.dll"),
                       path) &&
           QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner);
}

}  // namespace testsupport
