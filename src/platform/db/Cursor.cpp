#include "platform/db/Cursor.h"

#include <sqlite3.h>

#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/JetDialect.h"

namespace db {

Cursor::Cursor(const Connection& connection, const QString& sql) {
    sqlite3* db = connection.requireHandle();
    const QByteArray text = translateJetSql(sql).toUtf8();
    if (sqlite3_prepare_v2(db, text.constData(), static_cast<int>(text.size()), &m_stmt,
                           nullptr) != SQLITE_OK) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(m_stmt);
        throw DbError(message);
    }
    if (!m_stmt) throw DbError(QStringLiteral("语句为空"));
    m_columns = sqlite3_column_count(m_stmt);
}

Cursor::~Cursor() { sqlite3_finalize(m_stmt); }

int Cursor::columnCount() const { return m_columns; }

QString Cursor::columnName(int column) const {
    if (column < 0 || column >= m_columns) return {};
    return QString::fromUtf8(sqlite3_column_name(m_stmt, column));
}

bool Cursor::next() {
    const int rc = sqlite3_step(m_stmt);
    m_onRow = rc == SQLITE_ROW;
    if (rc == SQLITE_ROW || rc == SQLITE_DONE) return m_onRow;
    throw DbError(QString::fromUtf8(sqlite3_errmsg(sqlite3_db_handle(m_stmt))));
}

bool Cursor::valid(int column) const { return m_onRow && column >= 0 && column < m_columns; }

bool Cursor::isNull(int column) const {
    return !valid(column) || sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

qint64 Cursor::integer(int column) const {
    return valid(column) ? sqlite3_column_int64(m_stmt, column) : 0;
}

QByteArrayView Cursor::utf8(int column) const {
    if (!valid(column)) return {};
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    if (!data) return {};
    return QByteArrayView(data, sqlite3_column_bytes(m_stmt, column));
}

QString Cursor::text(int column) const { return QString::fromUtf8(utf8(column)); }

}  // namespace db
