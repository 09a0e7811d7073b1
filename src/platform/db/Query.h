#pragma once

#include <memory>
#include <vector>

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace db {

class Connection;

// A query over a connection, in the manner of a client-side dataset: open a select and walk
// its rows (first/next/eof, 1-based record numbers), read and write columns by name, insert,
// edit, post and delete rows, filter the rows shown, and stream blob columns to and from files.
//
// Blob columns never sit in memory: when a select reads one table, blob columns are fetched
// as references (table, column, row id) and saveBlobToFile / loadBlobFromFile stream them in
// chunks. Text values are held as text, numbers as numbers, NULL as an invalid QVariant.
class Query final {
public:
    explicit Query(Connection* connection = nullptr);
    ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    void setConnection(Connection* connection);
    Connection* connection() const { return m_connection; }

    // Statement text: clear, add one line (lines are joined with a space), or set it whole.
    void clearSql();
    void addSql(const QString& line);
    void setSql(const QString& sql);
    QString sql() const { return m_sql; }

    // Runs the select and keeps its rows; the current row becomes the first.
    void open();
    void close();
    bool active() const { return m_active; }
    // Runs a statement that returns no rows; the query stays closed.
    void execSql();

    // Row navigation over the rows the filter lets through.
    bool isEmpty() const;
    int recordCount() const;
    void first();
    void next();
    void prior();
    void last();
    bool eof() const;
    bool bof() const;
    int recNo() const;           // 1-based; 0 when there is no current row
    void setRecNo(int recNo);    // 1-based
    // Moves to the first row whose column equals the value as text; false when none.
    bool locate(const QString& column, const QVariant& value);

    // Column access on the current row (or on the row being edited or inserted).
    QStringList columnNames() const { return m_columns; }
    bool hasColumn(const QString& column) const;
    bool isNull(const QString& column) const;
    QVariant value(const QString& column) const;
    QString asText(const QString& column) const;       // NULL gives the empty text
    qint64 asInteger(const QString& column) const;     // NULL or non-number gives 0
    QDateTime asDateTime(const QString& column) const; // NULL gives an invalid date-time
    void setValue(const QString& column, const QVariant& value);
    void setText(const QString& column, const QString& value) { setValue(column, value); }
    void setInteger(const QString& column, qint64 value) { setValue(column, value); }
    void setDateTime(const QString& column, const QDateTime& value);
    void setNull(const QString& column) { setValue(column, QVariant()); }

    // Blob columns. Saving writes the column's exact bytes to the file (an empty file for
    // NULL); loading marks the column to be filled from the file when the row is posted.
    void saveBlobToFile(const QString& column, const QString& path) const;
    void loadBlobFromFile(const QString& column, const QString& path);
    qint64 blobSize(const QString& column) const;

    // Editing: insert/append start a new row, edit the current one; post writes at once.
    void insert();
    void append() { insert(); }
    void edit();
    void post();
    void cancel();
    void deleteRow();
    bool editing() const { return m_state != State::Browse; }

    // Filter text: "column = 'value'" terms joined by "and"; empty passes every row.
    void setFilter(const QString& filter);
    QString filter() const { return m_filter; }
    void setFiltered(bool filtered);
    bool filtered() const { return m_filtered; }

    // Attached controls: a counter; nothing in this layer repaints, callers may check it.
    void disableControls() { ++m_controlsDisabled; }
    void enableControls() { if (m_controlsDisabled > 0) --m_controlsDisabled; }
    bool controlsDisabled() const { return m_controlsDisabled > 0; }

private:
    friend class Connection;
    enum class State { Browse, Insert, Edit };
    struct BlobRef;
    struct Row;

    void requireActive() const;
    int columnIndex(const QString& column) const;
    bool isBlobColumn(int index) const;  // fetched as a reference, streamed on demand
    const Row* currentRow() const;
    void applyFilter();
    void detachFromConnection();
    void streamBlobIntoRow(qint64 rowId, const QString& column, const QString& path);

    Connection* m_connection = nullptr;
    QString m_sql;
    bool m_active = false;
    State m_state = State::Browse;
    QStringList m_columns;
    std::vector<int> m_blobColumns;     // column indexes fetched as references
    QString m_table;                    // the single table the rows come from, if any
    std::vector<std::shared_ptr<Row>> m_rows;
    std::vector<int> m_visible;         // indexes into m_rows that pass the filter
    int m_pos = 0;                      // index into m_visible; == size() at eof
    bool m_eof = true;
    bool m_bof = true;
    std::shared_ptr<Row> m_editRow;
    QString m_filter;
    bool m_filtered = false;
    int m_controlsDisabled = 0;
};

}  // namespace db
