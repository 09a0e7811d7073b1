#include "show/MusicRows.h"

#include <QFileInfo>

#include "platform/db/Connection.h"
#include "platform/db/Query.h"

namespace show {
namespace {

db::Query& reset(db::Query& query, const QString& sql) {
    query.close();
    query.clearSql();
    query.addSql(sql);
    return query;
}

}  // namespace

QString musicTitle(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    return name.left(qMax(qsizetype(0), name.size() - 4));
}

bool hasScrFiles(const db::Connection& connection) {
    return connection.tableNames().contains(QStringLiteral("ScrFiles"), Qt::CaseInsensitive);
}

QList<MusicRow> readMusicRows(db::Query& query) {
    QList<MusicRow> rows;
    if (!query.connection() || !hasScrFiles(*query.connection())) return rows;
    reset(query, QStringLiteral(
                     "Select id,scr_type,title,remark,file_name from ScrFiles where scr_type = '1'"))
        .open();
    for (query.first(); !query.eof(); query.next())
        rows.append({query.asText(QStringLiteral("id")), query.asText(QStringLiteral("title")),
                     query.asText(QStringLiteral("file_name"))});
    query.close();
    return rows;
}

void addMusicFiles(db::Query& query, const QStringList& files) {
    reset(query, QStringLiteral("select * from ScrFiles where 1<>1")).open();
    for (const QString& file : files) {
        query.append();
        query.setText(QStringLiteral("title"), musicTitle(file));
        query.setText(QStringLiteral("scr_type"), QStringLiteral("1"));
        query.setText(QStringLiteral("file_name"), file);
        query.post();
    }
    query.close();
}

void deleteMusicRow(db::Query& query, const QString& id) {
    bool digits = false;
    const qint64 number = id.toLongLong(&digits);
    if (!digits) return;  // ids go into the statement as bare digits only
    reset(query, QStringLiteral("delete from ScrFiles where id = ") + QString::number(number))
        .execSql();
}

}  // namespace show
