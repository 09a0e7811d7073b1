#include "platform/db/Connection.h"

#include <memory>

#include <QCollator>
#include <QLocale>
#include <sqlite3.h>

#include "platform/db/ConnectionString.h"
#include "platform/db/DbError.h"
#include "platform/db/JetDialect.h"
#include "platform/db/Query.h"

namespace db {
namespace {

QString engineMessage(sqlite3* db) { return QString::fromUtf8(sqlite3_errmsg(db)); }

// The user's language decides text order; a C/POSIX locale falls back to Chinese, the
// language of the program, so that names sort by pinyin rather than by code point.
QLocale collationLocale() {
    const QLocale system = QLocale::system();
    if (system.language() == QLocale::C) return QLocale(QLocale::Chinese, QLocale::China);
    return system;
}

int compareLocale(void* collator, int lengthA, const void* a, int lengthB, const void* b) {
    const QString left = QString::fromUtf8(static_cast<const char*>(a), lengthA);
    const QString right = QString::fromUtf8(static_cast<const char*>(b), lengthB);
    return static_cast<QCollator*>(collator)->compare(left, right);
}

void destroyCollator(void* collator) { delete static_cast<QCollator*>(collator); }

}  // namespace

Connection::~Connection() {
    close();
    // Queries that outlive the connection forget it rather than reach a freed object.
    const QList<Query*> queries = m_queries;
    for (Query* query : queries) query->detachFromConnection();
}

void Connection::setConnectionString(const QString& text) { m_connectionString = text; }

sqlite3* Connection::requireHandle() const {
    if (!m_db) throw DbError(QStringLiteral("连接未打开"));
    return m_db;
}

void Connection::open() {
    close();
    const ConnectionTarget target = parseConnectionString(m_connectionString);
    if (target.path.isEmpty()) throw DbError(QStringLiteral("未指定数据文件"));

    sqlite3* db = nullptr;
    const int flags = (target.readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) |
                      SQLITE_OPEN_FULLMUTEX;
    const QByteArray path = target.path.toUtf8();
    const int rc = sqlite3_open_v2(path.constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = db ? engineMessage(db) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(db);
        throw DbError(message);
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, 3000);

    auto* collator = new QCollator(collationLocale());
    collator->setNumericMode(true);
    sqlite3_create_collation_v2(db, "LOCALE", SQLITE_UTF8, collator, compareLocale,
                                destroyCollator);

    // Opening is lazy in the engine: read the schema now so that a file that is not a
    // library, or is damaged at its start, fails here rather than at the first query.
    char* error = nullptr;
    if (sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &error) !=
        SQLITE_OK) {
        const QString message = error ? QString::fromUtf8(error) : engineMessage(db);
        sqlite3_free(error);
        sqlite3_close(db);
        throw DbError(message);
    }
    m_db = db;
    m_path = target.path;
    m_readOnly = target.readOnly || sqlite3_db_readonly(db, "main") == 1;
}

void Connection::close() {
    for (Query* query : m_queries) query->close();
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

QStringList Connection::tableNames() const {
    sqlite3* db = requireHandle();
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db,
                           "SELECT name FROM sqlite_master WHERE type='table' "
                           "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name",
                           -1, &stmt, nullptr) != SQLITE_OK)
        throw DbError(engineMessage(db));
    QStringList names;
    while (sqlite3_step(stmt) == SQLITE_ROW)
        names << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    return names;
}

void Connection::execute(const QString& sql) {
    sqlite3* db = requireHandle();
    const QByteArray text = translateJetSql(sql).toUtf8();
    char* error = nullptr;
    if (sqlite3_exec(db, text.constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const QString message = error ? QString::fromUtf8(error) : engineMessage(db);
        sqlite3_free(error);
        throw DbError(message);
    }
}

qint64 Connection::changes() const { return sqlite3_changes64(requireHandle()); }

qint64 Connection::lastInsertId() const { return sqlite3_last_insert_rowid(requireHandle()); }

void Connection::attach(Query* query) {
    if (!m_queries.contains(query)) m_queries.append(query);
}

void Connection::detach(Query* query) { m_queries.removeAll(query); }

}  // namespace db
