#pragma once

#include <QString>

#include "platform/db/Connection.h"
#include "platform/db/Query.h"

namespace store {

// The open photo library: the one connection and its two queries, the album query kept open
// for the navigation tree and the scratch query that every command uses for one statement at
// a time. Dialogs and subsystems are handed this object, not the main window.
//
// The data operations raise db::DbError from the engine; ReadParameter and WriteParameter do
// nothing when the connection is not open.
class PhotoLibrary final {
public:
    PhotoLibrary();

    db::Connection& AdoConn() { return m_conn; }
    db::Query& ADOQuery1() { return m_albums; }
    db::Query& AdoTemp() { return m_temp; }

    bool connected() const { return m_conn.connected(); }
    bool readOnly() const { return m_conn.readOnly(); }
    QString path() const { return m_conn.path(); }

    // The value of a parameter row; empty when there is none. Closes AdoTemp.
    QString ReadParameter(const QString& key);
    // Updates the parameter row, or inserts one with parent_id 0 and an empty meaning.
    void WriteParameter(const QString& key, const QString& value);
    // Case-insensitive, system tables left out.
    bool TableExists(const QString& name) const;
    void ExecuteSql(const QString& statement);
    // Reopens the album query "Select * from Album order by name ASC".
    void ReloadAlbums();

    // AdoTemp, reset and given one statement.
    db::Query& temp(const QString& sql);

private:
    db::Connection m_conn;
    db::Query m_albums;
    db::Query m_temp;
};

// Copies a library file without ever overwriting one: the copy goes to a work file beside the
// target and is renamed into place only when complete. False (with a reason) on any failure.
bool copyLibraryFile(const QString& from, const QString& to, QString* error = nullptr);

}  // namespace store
