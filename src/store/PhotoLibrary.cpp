#include "store/PhotoLibrary.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include "platform/db/SqlText.h"

namespace store {

PhotoLibrary::PhotoLibrary() : m_albums(&m_conn), m_temp(&m_conn) {}

db::Query& PhotoLibrary::temp(const QString& sql) {
    m_temp.close();
    m_temp.clearSql();
    m_temp.addSql(sql);
    return m_temp;
}

QString PhotoLibrary::ReadParameter(const QString& key) {
    if (!m_conn.connected()) return {};
    db::Query& q = temp(QStringLiteral("select * from parameter where domain_no=") + db::quoted(key));
    q.open();
    const QString value = q.isEmpty() ? QString() : q.asText(QStringLiteral("pvalue"));
    q.close();
    return value;
}

void PhotoLibrary::WriteParameter(const QString& key, const QString& value) {
    if (!m_conn.connected()) return;
    db::Query& q = temp(QStringLiteral("select * from parameter where domain_no=") + db::quoted(key));
    q.open();
    const bool exists = !q.isEmpty();
    if (!exists)
        temp(QStringLiteral("insert into parameter(parent_id,pvalue,domain_no,meaning) values(0,") +
             db::quoted(value) + u',' + db::quoted(key) + QStringLiteral(",'')"))
            .execSql();
    else
        temp(QStringLiteral("update parameter set pvalue = ") + db::quoted(value) +
             QStringLiteral(" where domain_no = ") + db::quoted(key))
            .execSql();
}

bool PhotoLibrary::TableExists(const QString& name) const {
    return m_conn.tableNames().contains(name, Qt::CaseInsensitive);
}

void PhotoLibrary::ExecuteSql(const QString& statement) { m_conn.execute(statement); }

void PhotoLibrary::ReloadAlbums() {
    m_albums.close();
    m_albums.clearSql();
    m_albums.addSql(QStringLiteral("Select * from Album order by name ASC"));
    m_albums.open();
}

bool copyLibraryFile(const QString& from, const QString& to, QString* error) {
    auto fail = [error](const QString& why) {
        if (error) *error = why;
        return false;
    };
    if (QFileInfo::exists(to)) return fail(QStringLiteral("目标文件已存在：") + to);
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) return fail(source.errorString());
    const QString work = to + QStringLiteral(".part");
    QFile target(work);
    if (!target.open(QIODevice::WriteOnly | QIODevice::Truncate)) return fail(target.errorString());
    QByteArray chunk;
    while (!(chunk = source.read(1 << 20)).isEmpty()) {
        if (target.write(chunk) != chunk.size()) {
            const QString why = target.errorString();
            target.close();
            QFile::remove(work);
            return fail(why);
        }
    }
    if (source.error() != QFile::NoError || !target.flush()) {
        const QString why = source.error() != QFile::NoError ? source.errorString() : target.errorString();
        target.close();
        QFile::remove(work);
        return fail(why);
    }
    target.close();
    if (QFileInfo::exists(to) || !QFile::rename(work, to)) {
        QFile::remove(work);
        return fail(QStringLiteral("无法创建文件：") + to);
    }
    return true;
}

}  // namespace store
