#pragma once

#include <QByteArrayView>
#include <QString>

struct sqlite3_stmt;

namespace db {

class Connection;

// A forward-only walk over the rows of one select, read straight from the engine: no dataset
// is built, each value is read from the current row where it lies. Meant for large results
// that are copied at once into a caller's own storage (the photo search lists every photo of
// a library), where a Query would first hold every value as a QVariant.
//
//   db::Cursor rows(connection, "select id, pic_name from picture");
//   while (rows.next()) use(rows.integer(0), rows.utf8(1));
//
// Blob columns are read like any other column here: select only the columns you need.
// The connection must stay open while the cursor lives.
class Cursor final {
public:
    // Prepares the statement; throws DbError with the engine's message when it is not a valid
    // statement or the connection is not open.
    Cursor(const Connection& connection, const QString& sql);
    ~Cursor();
    Cursor(const Cursor&) = delete;
    Cursor& operator=(const Cursor&) = delete;

    int columnCount() const;
    QString columnName(int column) const;

    // Moves to the next row (the first on the first call); false after the last one. Throws
    // DbError when the engine fails.
    bool next();

    // Values of the current row. A column index outside 0..columnCount()-1 reads as NULL.
    bool isNull(int column) const;
    qint64 integer(int column) const;      // NULL gives 0; text is converted as the engine does
    QByteArrayView utf8(int column) const; // valid until next(); NULL gives an empty view
    QString text(int column) const;        // NULL gives the empty text

private:
    bool valid(int column) const;

    sqlite3_stmt* m_stmt = nullptr;
    int m_columns = 0;
    bool m_onRow = false;
};

}  // namespace db
