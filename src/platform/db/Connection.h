#pragma once

#include <QString>
#include <QStringList>

struct sqlite3;

namespace db {

class Query;

// A connection to one library file. Opened from a connection string (see ConnectionString.h);
// never creates a missing file. Every connection registers the locale collation "LOCALE" so
// that text columns declared with it sort the way the user's language sorts.
class Connection final {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void setConnectionString(const QString& text);
    QString connectionString() const { return m_connectionString; }

    // Opens the file named by the connection string. Throws DbError with the engine's message
    // when the file is missing, is not a database, or cannot be read.
    void open();
    // Closes the connection; queries on it are closed first and stay attached to it.
    void close();
    bool connected() const { return m_db != nullptr; }
    bool readOnly() const { return m_readOnly; }
    QString path() const { return m_path; }

    // Names of the user tables, system tables left out.
    QStringList tableNames() const;
    // Runs a statement as command text (several separated by ';' are allowed); the result is
    // discarded. "create table" statements may use Jet type words (counter, LONGTEXT, ...).
    void execute(const QString& sql);

    // Rows changed by the last statement and the row id of the last insert.
    qint64 changes() const;
    qint64 lastInsertId() const;

    sqlite3* handle() const { return m_db; }
    // Throws DbError when the connection is not open.
    sqlite3* requireHandle() const;

private:
    friend class Query;
    void attach(Query* query);
    void detach(Query* query);

    QString m_connectionString;
    QString m_path;
    bool m_readOnly = false;
    sqlite3* m_db = nullptr;
    QList<Query*> m_queries;
};

}  // namespace db
