#include "photos/PhotoSearchModel.h"

#include <algorithm>
#include <unordered_map>

#include <QDateTime>
#include <QLocale>

#include "platform/db/Cursor.h"
#include "platform/db/DbError.h"
#include "platform/db/SqlText.h"

namespace photos {
namespace {

// Rows whose texts are read together, and how many such blocks are kept at most (a user who
// scrolls through a hundred thousand rows does not keep them all).
constexpr int kBlockRows = 64;
constexpr int kMaxBlocks = 512;

// The columns of a found photo: the ids first, then the texts in the grid's column order.
const QString kTextColumns = QStringLiteral(
    "select p.id as id,a.name as album_name,p.pic_name as pic_name,p.remark as remark,"
    "p.create_date as create_date,p.modify_date as modify_date from picture p left join album a "
    "on p.album_id = a.id ");

// A LIKE pattern that finds `text` anywhere, with the pattern characters taken literally.
QString containsPattern(const QString& text) {
    QString pattern;
    pattern.reserve(text.size() + 8);
    pattern += u'%';
    for (const QChar c : text) {
        if (c == u'%' || c == u'_' || c == u'\\') pattern += u'\\';
        pattern += c;
    }
    pattern += u'%';
    return pattern;
}

// The locale's long time format without the time zone, which the system's format may carry.
QString longTimeFormat() {
    const QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'') quoted = !quoted;
        if (!quoted && c == u't') continue;
        out += c;
    }
    return out.simplified();
}

// A stored date-time as the user's short date and long time; other texts as they are.
QString dateForDisplay(const QString& stored) {
    if (stored.isEmpty()) return stored;
    const QDateTime value = db::parseDateTime(stored);
    if (!value.isValid()) return stored;
    static const QString timeFormat = longTimeFormat();
    const QLocale locale = QLocale::system();
    return locale.toString(value.date(), QLocale::ShortFormat) + u' ' +
           locale.toString(value.time(), timeFormat);
}

}  // namespace

struct PhotoSearchModel::Block {
    std::vector<Texts> rows;
};

QString PhotoSearchModel::recycleBinCaption() { return QStringLiteral("照片回收站"); }

QString PhotoSearchModel::conditionFor(const QString& text) {
    const QString fragment = text.trimmed();
    if (fragment.isEmpty()) return {};
    const QString pattern = db::quoted(containsPattern(fragment));
    return QStringLiteral("where (p.pic_name like ") + pattern +
           QStringLiteral(" escape '\\' or p.remark like ") + pattern +
           QStringLiteral(" escape '\\')");
}

QString PhotoSearchModel::statementFor(const QString& text) {
    // The album join decides neither which photos are found nor their order (an album id
    // names at most one album), so the search leaves it to the texts read for drawing.
    return QStringLiteral("select p.id as id,p.album_id as album_id from picture p ") +
           conditionFor(text) + QStringLiteral(" order by album_id Desc");
}

PhotoSearchModel::PhotoSearchModel(QObject* parent) : QAbstractTableModel(parent) {}

PhotoSearchModel::~PhotoSearchModel() = default;

void PhotoSearchModel::resetRows() {
    m_rows.clear();
    m_blocks.clear();
    m_loadedBlocks = 0;
}

void PhotoSearchModel::search(const db::Connection& connection, const QString& text) {
    beginResetModel();
    resetRows();
    m_connection = &connection;
    try {
        // m_rows keeps its capacity across searches, so a result like the last one costs no growth.
        db::Cursor rows(connection, statementFor(text));
        while (rows.next()) {
            const bool albumNull = rows.isNull(1);
            m_rows.push_back({rows.integer(0), rows.integer(1), albumNull});
        }
    } catch (...) {
        resetRows();
        endResetModel();
        throw;
    }
    m_blocks.resize((m_rows.size() + kBlockRows - 1) / kBlockRows);
    endResetModel();
}

void PhotoSearchModel::clear() {
    beginResetModel();
    resetRows();
    endResetModel();
}

const PhotoSearchModel::Texts& PhotoSearchModel::textsOf(int row) const {
    const size_t blockIndex = static_cast<size_t>(row / kBlockRows);
    std::unique_ptr<Block>& block = m_blocks[blockIndex];
    if (!block) {
        if (m_loadedBlocks >= kMaxBlocks) {
            for (auto& kept : m_blocks) kept.reset();
            m_loadedBlocks = 0;
        }
        block = std::make_unique<Block>();
        const size_t first = blockIndex * kBlockRows;
        const size_t count = std::min<size_t>(kBlockRows, m_rows.size() - first);
        block->rows.resize(count);
        ++m_loadedBlocks;

        QString ids;
        std::unordered_map<qint64, size_t> slot;
        for (size_t i = 0; i < count; ++i) {
            const qint64 id = m_rows[first + i].id;
            if (!ids.isEmpty()) ids += u',';
            ids += QString::number(id);
            slot.emplace(id, i);
        }
        try {
            db::Cursor texts(*m_connection, kTextColumns + QStringLiteral("where p.id in (") +
                                                ids + u')');
            while (texts.next()) {
                const auto found = slot.find(texts.integer(0));
                if (found == slot.end()) continue;
                Texts& target = block->rows[found->second];
                for (int column = 0; column < ColumnCount; ++column)
                    target[static_cast<size_t>(column)] = texts.text(column + 1);
            }
        } catch (const db::DbError&) {
            // Drawing cannot report an error: a row that cannot be read shows empty cells.
        }
    }
    return block->rows[static_cast<size_t>(row) - blockIndex * kBlockRows];
}

QString PhotoSearchModel::photoId(int row) const {
    if (row < 0 || row >= rowCount()) return {};
    return QString::number(m_rows[static_cast<size_t>(row)].id);
}

QString PhotoSearchModel::albumId(int row) const {
    if (row < 0 || row >= rowCount()) return {};
    const Row& r = m_rows[static_cast<size_t>(row)];
    return r.albumNull ? QString() : QString::number(r.albumId);
}

QString PhotoSearchModel::storedText(int row, Column column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= ColumnCount) return {};
    return textsOf(row)[static_cast<size_t>(column)];
}

QString PhotoSearchModel::displayText(int row, int column) const {
    const Row& r = m_rows[static_cast<size_t>(row)];
    if (column == AlbumName && (r.albumNull || r.albumId == 0)) return recycleBinCaption();
    const QString& stored = textsOf(row)[static_cast<size_t>(column)];
    if (column == CreateDate || column == ModifyDate) return dateForDisplay(stored);
    return stored;
}

int PhotoSearchModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int PhotoSearchModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PhotoSearchModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount) return {};
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    return displayText(index.row(), index.column());
}

QVariant PhotoSearchModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
        case AlbumName: return QStringLiteral("所属相册");
        case PicName: return QStringLiteral("照片名称");
        case Remark: return QStringLiteral("照片说明");
        case CreateDate: return QStringLiteral("创建日期");
        case ModifyDate: return QStringLiteral("修改日期");
        default: return {};
    }
}

Qt::ItemFlags PhotoSearchModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

}  // namespace photos
