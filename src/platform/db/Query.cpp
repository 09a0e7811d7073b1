#include "platform/db/Query.h"

#include <QFile>
#include <QRegularExpression>
#include <sqlite3.h>

#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/JetDialect.h"
#include "platform/db/SqlText.h"

namespace db {

struct Query::Row {
    std::vector<QVariant> values;  // blob columns hold their length (or NULL), not their bytes
    qint64 rowId = -1;
    std::vector<QString> blobFiles;  // insert/edit only: files to stream into blob columns
    std::vector<bool> dirty;         // insert/edit only: columns that were set
};

namespace {

constexpr qint64 kMaxBlobBytes = 1000LL * 1000 * 1000;  // the engine's limit for one value
constexpr int kChunk = 1 << 20;
const char* const kRowIdColumn = "__fotarix_rowid";

class Statement final {
public:
    Statement(sqlite3* db, const QString& sql) : m_db(db) {
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(db, text.constData(), static_cast<int>(text.size()), &m_stmt,
                               nullptr) != SQLITE_OK)
            throw DbError(QString::fromUtf8(sqlite3_errmsg(db)));
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* get() const { return m_stmt; }
    // True while a row is available; throws on an engine error.
    bool step() {
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_ROW) return true;
        if (rc == SQLITE_DONE) return false;
        throw DbError(QString::fromUtf8(sqlite3_errmsg(m_db)));
    }
    void bind(int index, const QVariant& value) {
        int rc = SQLITE_OK;
        if (!value.isValid() || value.isNull()) {
            rc = sqlite3_bind_null(m_stmt, index);
        } else {
            switch (value.typeId()) {
                case QMetaType::Int:
                case QMetaType::LongLong:
                case QMetaType::UInt:
                case QMetaType::ULongLong:
                case QMetaType::Bool:
                    rc = sqlite3_bind_int64(m_stmt, index, value.toLongLong());
                    break;
                case QMetaType::Double:
                    rc = sqlite3_bind_double(m_stmt, index, value.toDouble());
                    break;
                case QMetaType::QByteArray: {
                    const QByteArray bytes = value.toByteArray();
                    rc = sqlite3_bind_blob64(m_stmt, index, bytes.constData(),
                                             static_cast<sqlite3_uint64>(bytes.size()),
                                             SQLITE_TRANSIENT);
                    break;
                }
                case QMetaType::QDateTime:
                    rc = bindText(index, dateTimeText(value.toDateTime()));
                    break;
                default:
                    rc = bindText(index, value.toString());
            }
        }
        if (rc != SQLITE_OK) throw DbError(QString::fromUtf8(sqlite3_errmsg(m_db)));
    }
    void bindZeroBlob(int index, qint64 size) {
        if (sqlite3_bind_zeroblob64(m_stmt, index, static_cast<sqlite3_uint64>(size)) != SQLITE_OK)
            throw DbError(QString::fromUtf8(sqlite3_errmsg(m_db)));
    }

private:
    int bindText(int index, const QString& text) {
        const QByteArray utf8 = text.toUtf8();
        return sqlite3_bind_text64(m_stmt, index, utf8.constData(),
                                   static_cast<sqlite3_uint64>(utf8.size()), SQLITE_TRANSIENT,
                                   SQLITE_UTF8);
    }
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

QVariant columnValue(sqlite3_stmt* stmt, int i) {
    switch (sqlite3_column_type(stmt, i)) {
        case SQLITE_INTEGER:
            return QVariant(static_cast<qint64>(sqlite3_column_int64(stmt, i)));
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(stmt, i));
        case SQLITE_BLOB: {
            const void* data = sqlite3_column_blob(stmt, i);
            return QVariant(QByteArray(static_cast<const char*>(data), sqlite3_column_bytes(stmt, i)));
        }
        case SQLITE_NULL:
            return QVariant();
        default:
            return QVariant(QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)),
                sqlite3_column_bytes(stmt, i)));
    }
}

bool isBlobType(const char* declared) {
    if (!declared) return false;
    const QByteArray type = QByteArray(declared).toUpper();
    return type.contains("BLOB") || type.contains("BINARY");
}

QString identifier(const QString& name) {
    QString text = name;
    text.replace(u'"', QStringLiteral("\"\""));
    return u'"' + text + u'"';
}

// Position of the select's own FROM keyword: outside quotes and parentheses. -1 when none.
int topLevelFrom(const QString& sql) {
    int depth = 0;
    QChar quote;
    for (int i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (!quote.isNull()) {
            if (c == quote) quote = QChar();
            continue;
        }
        if (c == u'\'' || c == u'"' || c == u'[' || c == u'`') {
            quote = c == u'[' ? QChar(u']') : c;
        } else if (c == u'(') {
            ++depth;
        } else if (c == u')') {
            --depth;
        } else if (depth == 0 && (c == u'f' || c == u'F') &&
                   sql.mid(i, 4).compare(u"from", Qt::CaseInsensitive) == 0 &&
                   (i == 0 || !sql[i - 1].isLetterOrNumber()) &&
                   (i + 4 >= sql.size() || !(sql[i + 4].isLetterOrNumber() || sql[i + 4] == u'_'))) {
            return i;
        }
    }
    return -1;
}

}  // namespace

Query::Query(Connection* connection) { setConnection(connection); }

Query::~Query() {
    if (m_connection) m_connection->detach(this);
}

void Query::setConnection(Connection* connection) {
    close();
    if (m_connection) m_connection->detach(this);
    m_connection = connection;
    if (m_connection) m_connection->attach(this);
}

void Query::detachFromConnection() {
    close();
    if (m_connection) m_connection->detach(this);
    m_connection = nullptr;
}

void Query::clearSql() { m_sql.clear(); }

void Query::addSql(const QString& line) {
    m_sql = m_sql.isEmpty() ? line : m_sql + u' ' + line;
}

void Query::setSql(const QString& sql) { m_sql = sql; }

void Query::close() {
    m_active = false;
    m_state = State::Browse;
    m_columns.clear();
    m_blobColumns.clear();
    m_table.clear();
    m_rows.clear();
    m_visible.clear();
    m_editRow.reset();
    m_pos = 0;
    m_eof = m_bof = true;
}

void Query::open() {
    close();
    if (!m_connection) throw DbError(QStringLiteral("查询没有连接"));
    sqlite3* db = m_connection->requireHandle();
    const QString sql = translateJetSql(m_sql);

    // First look at the statement's columns: where they come from and which are blobs.
    QString table;
    bool singleTable = true;
    QStringList names;
    QStringList origins;
    std::vector<int> blobs;
    {
        Statement probe(db, sql);
        const int count = sqlite3_column_count(probe.get());
        if (count == 0) throw DbError(QStringLiteral("语句不返回记录：") + m_sql);
        for (int i = 0; i < count; ++i) {
            names << QString::fromUtf8(sqlite3_column_name(probe.get(), i));
            const char* origin = sqlite3_column_table_name(probe.get(), i);
            const char* column = sqlite3_column_origin_name(probe.get(), i);
            if (!origin || !column) {
                singleTable = false;
                origins << QString();
                continue;
            }
            const QString originTable = QString::fromUtf8(origin);
            if (table.isEmpty()) table = originTable;
            else if (table.compare(originTable, Qt::CaseInsensitive) != 0) singleTable = false;
            origins << QString::fromUtf8(column);
            if (isBlobType(sqlite3_column_decltype(probe.get(), i)))
                blobs.push_back(i);
        }
    }
    static const QRegularExpression grouped(QStringLiteral(R"(\b(group\s+by|distinct|union)\b)"),
                                            QRegularExpression::CaseInsensitiveOption);
    const int from = topLevelFrom(sql);
    if (singleTable && (from < 0 || grouped.match(sql).hasMatch())) singleTable = false;

    // A one-table select is re-written to carry the row id and to fetch blobs as lengths.
    QString run = sql;
    if (singleTable) {
        QStringList select;
        for (int i = 0; i < names.size(); ++i) {
            const bool blob = std::find(blobs.begin(), blobs.end(), i) != blobs.end();
            const QString source = identifier(origins[i]);
            select << (blob ? QStringLiteral("length(") + source + u')' : source) +
                          QStringLiteral(" AS ") + identifier(names[i]);
        }
        select << QStringLiteral("rowid AS ") + QLatin1StringView(kRowIdColumn);
        run = QStringLiteral("SELECT ") + select.join(u',') + u' ' + sql.mid(from);
        m_table = table;
        m_blobColumns = blobs;
    }

    Statement stmt(db, run);
    const int valueCount = static_cast<int>(names.size());
    while (stmt.step()) {
        auto row = std::make_shared<Row>();
        row->values.reserve(static_cast<size_t>(valueCount));
        for (int i = 0; i < valueCount; ++i) row->values.push_back(columnValue(stmt.get(), i));
        if (singleTable) row->rowId = sqlite3_column_int64(stmt.get(), valueCount);
        m_rows.push_back(std::move(row));
    }
    m_columns = names;
    m_active = true;
    applyFilter();
}

void Query::execSql() {
    close();
    if (!m_connection) throw DbError(QStringLiteral("查询没有连接"));
    m_connection->execute(m_sql);
}

void Query::requireActive() const {
    if (!m_active) throw DbError(QStringLiteral("数据集未打开"));
}

// ---- navigation ---------------------------------------------------------------------------

bool Query::isEmpty() const { return m_visible.empty(); }
int Query::recordCount() const { return static_cast<int>(m_visible.size()); }

void Query::first() {
    m_pos = 0;
    m_eof = m_visible.empty();
    m_bof = true;
}

void Query::last() {
    m_pos = m_visible.empty() ? 0 : static_cast<int>(m_visible.size()) - 1;
    m_eof = m_visible.empty();
    m_bof = m_visible.empty();
}

void Query::next() {
    if (m_eof) return;
    m_bof = false;
    if (m_pos + 1 >= static_cast<int>(m_visible.size())) {
        m_eof = true;  // stays on the last row, as a dataset does
        return;
    }
    ++m_pos;
}

void Query::prior() {
    if (m_visible.empty()) return;
    m_eof = false;
    if (m_pos == 0) {
        m_bof = true;
        return;
    }
    --m_pos;
}

bool Query::eof() const { return m_eof; }
bool Query::bof() const { return m_bof; }

int Query::recNo() const { return m_visible.empty() ? 0 : m_pos + 1; }

void Query::setRecNo(int recNo) {
    if (m_visible.empty()) return;
    m_pos = std::clamp(recNo, 1, static_cast<int>(m_visible.size())) - 1;
    m_eof = false;
    m_bof = m_pos == 0;
}

bool Query::locate(const QString& column, const QVariant& value) {
    const int index = columnIndex(column);
    const QString wanted = value.toString();
    for (size_t i = 0; i < m_visible.size(); ++i) {
        const QVariant& v = m_rows[static_cast<size_t>(m_visible[i])]->values[static_cast<size_t>(index)];
        if (v.toString() == wanted && !(v.isNull() && !wanted.isEmpty())) {
            m_pos = static_cast<int>(i);
            m_eof = false;
            m_bof = i == 0;
            return true;
        }
    }
    return false;
}

// ---- columns ------------------------------------------------------------------------------

bool Query::hasColumn(const QString& column) const {
    for (const QString& name : m_columns)
        if (name.compare(column, Qt::CaseInsensitive) == 0) return true;
    return false;
}

bool Query::isBlobColumn(int index) const {
    return std::find(m_blobColumns.begin(), m_blobColumns.end(), index) != m_blobColumns.end();
}

int Query::columnIndex(const QString& column) const {
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].compare(column, Qt::CaseInsensitive) == 0) return i;
    throw DbError(QStringLiteral("找不到字段 ") + column);
}

const Query::Row* Query::currentRow() const {
    requireActive();
    if (m_editRow) return m_editRow.get();
    if (m_visible.empty()) throw DbError(QStringLiteral("数据集为空，没有当前记录"));
    return m_rows[static_cast<size_t>(m_visible[static_cast<size_t>(m_pos)])].get();
}

bool Query::isNull(const QString& column) const {
    const Row* row = currentRow();
    const size_t index = static_cast<size_t>(columnIndex(column));
    if (m_editRow && !row->blobFiles[index].isEmpty()) return false;
    return row->values[index].isNull();
}

QVariant Query::value(const QString& column) const {
    const Row* row = currentRow();
    const int index = columnIndex(column);
    const bool blob = isBlobColumn(index);
    const QVariant& held = row->values[static_cast<size_t>(index)];
    if (!blob || held.isNull() || (m_editRow && row->dirty[static_cast<size_t>(index)])) return held;
    // A blob read as a value: fetch its bytes now (small values only are read this way).
    Statement stmt(m_connection->requireHandle(),
                   QStringLiteral("SELECT ") + identifier(column) + QStringLiteral(" FROM ") +
                       identifier(m_table) + QStringLiteral(" WHERE rowid=?"));
    stmt.bind(1, row->rowId);
    return stmt.step() ? columnValue(stmt.get(), 0) : QVariant();
}

QString Query::asText(const QString& column) const {
    const QVariant v = value(column);
    if (v.isNull()) return {};
    if (v.typeId() == QMetaType::QByteArray) return QString::fromUtf8(v.toByteArray());
    return v.toString();
}

qint64 Query::asInteger(const QString& column) const {
    const QVariant v = value(column);
    bool ok = false;
    const qint64 n = v.toLongLong(&ok);
    if (ok) return n;
    const double d = v.toString().toDouble(&ok);
    return ok ? static_cast<qint64>(d) : 0;
}

QDateTime Query::asDateTime(const QString& column) const {
    const QVariant v = value(column);
    if (v.isNull()) return {};
    if (v.typeId() == QMetaType::QDateTime) return v.toDateTime();
    return parseDateTime(v.toString());
}

void Query::setValue(const QString& column, const QVariant& value) {
    if (!m_editRow) throw DbError(QStringLiteral("数据集不在编辑状态"));
    const size_t index = static_cast<size_t>(columnIndex(column));
    m_editRow->values[index] = value;
    m_editRow->dirty[index] = true;
    m_editRow->blobFiles[index].clear();
}

void Query::setDateTime(const QString& column, const QDateTime& value) {
    setValue(column, value.isValid() ? QVariant(dateTimeText(value)) : QVariant());
}

// ---- blobs --------------------------------------------------------------------------------

qint64 Query::blobSize(const QString& column) const {
    const Row* row = currentRow();
    const size_t index = static_cast<size_t>(columnIndex(column));
    const QVariant& v = row->values[index];
    if (v.isNull()) return 0;
    if (v.typeId() == QMetaType::QByteArray) return v.toByteArray().size();
    return isBlobColumn(static_cast<int>(index)) ? v.toLongLong() : v.toString().toUtf8().size();
}

void Query::saveBlobToFile(const QString& column, const QString& path) const {
    const Row* row = currentRow();
    const int index = columnIndex(column);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw DbError(QStringLiteral("无法写入文件 ") + path + QStringLiteral("：") +
                      file.errorString());
    const bool blob = isBlobColumn(index);
    const QVariant& held = row->values[static_cast<size_t>(index)];
    if (!blob || row->rowId < 0) {
        // Not a streamed column (a join, or a text column): its bytes are in the row.
        const QByteArray bytes = held.typeId() == QMetaType::QByteArray ? held.toByteArray()
                                                                        : held.toString().toUtf8();
        if (file.write(bytes) != bytes.size())
            throw DbError(QStringLiteral("写入文件失败：") + file.errorString());
        return;
    }
    if (held.isNull()) return;  // NULL: an empty file

    sqlite3* db = m_connection->requireHandle();
    sqlite3_blob* handle = nullptr;
    const QByteArray table = m_table.toUtf8();
    const QByteArray name = m_columns[index].toUtf8();
    if (sqlite3_blob_open(db, "main", table.constData(), name.constData(), row->rowId, 0,
                          &handle) != SQLITE_OK) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_blob_close(handle);
        throw DbError(message);
    }
    const int size = sqlite3_blob_bytes(handle);
    QByteArray chunk(kChunk, Qt::Uninitialized);
    for (int offset = 0; offset < size; offset += kChunk) {
        const int n = std::min(kChunk, size - offset);
        if (sqlite3_blob_read(handle, chunk.data(), n, offset) != SQLITE_OK) {
            const QString message = QString::fromUtf8(sqlite3_errmsg(db));
            sqlite3_blob_close(handle);
            throw DbError(message);
        }
        if (file.write(chunk.constData(), n) != n) {
            sqlite3_blob_close(handle);
            throw DbError(QStringLiteral("写入文件失败：") + file.errorString());
        }
    }
    sqlite3_blob_close(handle);
    if (!file.flush()) throw DbError(QStringLiteral("写入文件失败：") + file.errorString());
}

void Query::loadBlobFromFile(const QString& column, const QString& path) {
    if (!m_editRow) throw DbError(QStringLiteral("数据集不在编辑状态"));
    const size_t index = static_cast<size_t>(columnIndex(column));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("无法读取文件 ") + path + QStringLiteral("：") +
                      file.errorString());
    if (file.size() > kMaxBlobBytes)
        throw DbError(QStringLiteral("文件 ") + path +
                      QStringLiteral(" 超过 1 GB，照片库无法保存这么大的文件"));
    m_editRow->values[index] = QVariant(file.size());
    m_editRow->dirty[index] = true;
    m_editRow->blobFiles[index] = path;
}

void Query::streamBlobIntoRow(qint64 rowId, const QString& column, const QString& path) {
    sqlite3* db = m_connection->requireHandle();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("无法读取文件 ") + path + QStringLiteral("：") +
                      file.errorString());
    sqlite3_blob* handle = nullptr;
    const QByteArray table = m_table.toUtf8();
    const QByteArray name = column.toUtf8();
    if (sqlite3_blob_open(db, "main", table.constData(), name.constData(), rowId, 1, &handle) !=
        SQLITE_OK) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_blob_close(handle);
        throw DbError(message);
    }
    const int size = sqlite3_blob_bytes(handle);
    QByteArray chunk(kChunk, Qt::Uninitialized);
    int offset = 0;
    while (offset < size) {
        const qint64 n = file.read(chunk.data(), std::min(kChunk, size - offset));
        if (n <= 0) {
            sqlite3_blob_close(handle);
            throw DbError(QStringLiteral("读取文件 ") + path + QStringLiteral(" 时出错：") +
                          (n < 0 ? file.errorString() : QStringLiteral("文件在读取中变短了")));
        }
        if (sqlite3_blob_write(handle, chunk.constData(), static_cast<int>(n), offset) !=
            SQLITE_OK) {
            const QString message = QString::fromUtf8(sqlite3_errmsg(db));
            sqlite3_blob_close(handle);
            throw DbError(message);
        }
        offset += static_cast<int>(n);
    }
    if (sqlite3_blob_close(handle) != SQLITE_OK)
        throw DbError(QString::fromUtf8(sqlite3_errmsg(db)));
}

// ---- editing ------------------------------------------------------------------------------

void Query::insert() {
    requireActive();
    if (m_table.isEmpty()) throw DbError(QStringLiteral("此查询的记录不能修改"));
    m_editRow = std::make_shared<Row>();
    m_editRow->values.resize(static_cast<size_t>(m_columns.size()));
    m_editRow->dirty.assign(static_cast<size_t>(m_columns.size()), false);
    m_editRow->blobFiles.resize(static_cast<size_t>(m_columns.size()));
    m_state = State::Insert;
}

void Query::edit() {
    requireActive();
    if (m_table.isEmpty()) throw DbError(QStringLiteral("此查询的记录不能修改"));
    const Row* row = currentRow();
    m_editRow = std::make_shared<Row>(*row);
    m_editRow->dirty.assign(static_cast<size_t>(m_columns.size()), false);
    m_editRow->blobFiles.assign(static_cast<size_t>(m_columns.size()), QString());
    m_state = State::Edit;
}

void Query::cancel() {
    m_editRow.reset();
    m_state = State::Browse;
}

void Query::post() {
    if (!m_editRow) return;
    Connection& connection = *m_connection;
    sqlite3* db = connection.requireHandle();
    Row& row = *m_editRow;

    QStringList columns;
    std::vector<size_t> indexes;
    for (size_t i = 0; i < row.dirty.size(); ++i) {
        if (!row.dirty[i]) continue;
        columns << identifier(m_columns[static_cast<int>(i)]);
        indexes.push_back(i);
    }

    // One savepoint around the row and its blobs: a failed stream leaves no half-written row.
    connection.execute(QStringLiteral("SAVEPOINT fotarix_post"));
    try {
        qint64 rowId = row.rowId;
        QString sql;
        if (m_state == State::Insert) {
            QStringList marks;
            for (size_t k = 0; k < indexes.size(); ++k) marks << QStringLiteral("?");
            sql = QStringLiteral("INSERT INTO ") + identifier(m_table);
            if (columns.isEmpty())
                sql += QStringLiteral(" DEFAULT VALUES");
            else
                sql += u'(' + columns.join(u',') + QStringLiteral(") VALUES(") +
                       marks.join(u',') + u')';
        } else {
            QStringList sets;
            for (const QString& c : columns) sets << c + QStringLiteral("=?");
            if (!sets.isEmpty())
                sql = QStringLiteral("UPDATE ") + identifier(m_table) + QStringLiteral(" SET ") +
                      sets.join(u',') + QStringLiteral(" WHERE rowid=?");
        }
        if (!sql.isEmpty()) {
            Statement stmt(db, sql);
            int bindIndex = 1;
            for (size_t i : indexes) {
                if (!row.blobFiles[i].isEmpty()) stmt.bindZeroBlob(bindIndex++, row.values[i].toLongLong());
                else stmt.bind(bindIndex++, row.values[i]);
            }
            if (m_state == State::Edit) stmt.bind(bindIndex, rowId);
            stmt.step();
            if (m_state == State::Insert) rowId = sqlite3_last_insert_rowid(db);
        }
        for (size_t i : indexes)
            if (!row.blobFiles[i].isEmpty())
                streamBlobIntoRow(rowId, m_columns[static_cast<int>(i)], row.blobFiles[i]);
        connection.execute(QStringLiteral("RELEASE fotarix_post"));

        // Read the stored row back so that counters and defaults show.
        QStringList select;
        for (int i = 0; i < m_columns.size(); ++i) {
            select << (isBlobColumn(i) ? QStringLiteral("length(") + identifier(m_columns[i]) + u')'
                            : identifier(m_columns[i]));
        }
        Statement reread(db, QStringLiteral("SELECT ") + select.join(u',') +
                                 QStringLiteral(" FROM ") + identifier(m_table) +
                                 QStringLiteral(" WHERE rowid=?"));
        reread.bind(1, rowId);
        auto stored = std::make_shared<Row>();
        stored->rowId = rowId;
        if (reread.step()) {
            for (int i = 0; i < m_columns.size(); ++i)
                stored->values.push_back(columnValue(reread.get(), i));
        } else {
            stored->values = row.values;
        }
        if (m_state == State::Insert) {
            m_rows.push_back(stored);
            m_visible.push_back(static_cast<int>(m_rows.size()) - 1);
            m_pos = static_cast<int>(m_visible.size()) - 1;
        } else {
            m_rows[static_cast<size_t>(m_visible[static_cast<size_t>(m_pos)])] = stored;
        }
        m_eof = false;
    } catch (...) {
        try {
            connection.execute(QStringLiteral("ROLLBACK TO fotarix_post"));
            connection.execute(QStringLiteral("RELEASE fotarix_post"));
        } catch (...) {
        }
        throw;
    }
    m_editRow.reset();
    m_state = State::Browse;
}

void Query::deleteRow() {
    requireActive();
    if (m_table.isEmpty()) throw DbError(QStringLiteral("此查询的记录不能修改"));
    if (m_visible.empty()) throw DbError(QStringLiteral("数据集为空，没有当前记录"));
    cancel();
    const size_t rowIndex = static_cast<size_t>(m_visible[static_cast<size_t>(m_pos)]);
    Statement stmt(m_connection->requireHandle(),
                   QStringLiteral("DELETE FROM ") + identifier(m_table) +
                       QStringLiteral(" WHERE rowid=?"));
    stmt.bind(1, m_rows[rowIndex]->rowId);
    stmt.step();
    m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(rowIndex));
    applyFilter();
    if (m_pos >= static_cast<int>(m_visible.size()))
        m_pos = std::max(0, static_cast<int>(m_visible.size()) - 1);
    m_eof = m_visible.empty();
}

// ---- filter -------------------------------------------------------------------------------

void Query::setFilter(const QString& filter) {
    m_filter = filter;
    if (m_active) applyFilter();
}

void Query::setFiltered(bool filtered) {
    m_filtered = filtered;
    if (m_active) applyFilter();
}

void Query::applyFilter() {
    // Terms: column = 'text' | column = number, joined by "and".
    struct Term {
        int column;
        QString value;
    };
    std::vector<Term> terms;
    if (m_filtered && !m_filter.trimmed().isEmpty()) {
        static const QRegularExpression andSplit(QStringLiteral(R"(\s+and\s+)"),
                                                 QRegularExpression::CaseInsensitiveOption);
        static const QRegularExpression term(QStringLiteral(R"(^\s*([^=\s]+)\s*=\s*(.*?)\s*$)"));
        for (const QString& part : m_filter.split(andSplit)) {
            const auto match = term.match(part);
            if (!match.hasMatch()) throw DbError(QStringLiteral("无法识别的过滤条件：") + part);
            QString value = match.captured(2);
            if (value.size() >= 2 && value.startsWith(u'\'') && value.endsWith(u'\''))
                value = value.mid(1, value.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
            terms.push_back({columnIndex(match.captured(1)), value});
        }
    }
    m_visible.clear();
    m_visible.reserve(m_rows.size());
    for (size_t i = 0; i < m_rows.size(); ++i) {
        bool pass = true;
        for (const Term& t : terms) {
            const QVariant& v = m_rows[i]->values[static_cast<size_t>(t.column)];
            if (v.isNull() || v.toString() != t.value) {
                pass = false;
                break;
            }
        }
        if (pass) m_visible.push_back(static_cast<int>(i));
    }
    first();
}

}  // namespace db
