#pragma once

// The rows of the photo search: every photo whose name or description contains the text the
// user typed, with the name of its album, ordered by album id descending.
//
//   photos::PhotoSearchModel model;
//   model.search(library.AdoConn(), QStringLiteral("春游"));   // one model reset
//   model.photoId(0); model.albumId(0);                      // ids as text, for locating
//
// An empty text lists every photo of the library, and the search runs again on every
// keystroke, so a search reads only what decides the rows and their order: each photo's id
// and album id. The texts a row shows (album name, photo name, description, dates) are read
// when the grid first draws it, for the rows around it at once, and kept until the next search.
// The connection must stay open while the model shows the rows of a search on it.

#include <array>
#include <memory>
#include <vector>

#include <QAbstractTableModel>
#include <QString>

namespace db {
class Connection;
}

namespace photos {

class PhotoSearchModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { AlbumName, PicName, Remark, CreateDate, ModifyDate, ColumnCount };

    // Shown as the album of photos that lie in the recycle bin (album id NULL or 0).
    static QString recycleBinCaption();

    // The condition for a search text: empty for an empty (trimmed) text, otherwise
    // "where (p.pic_name like ... or p.remark like ...)". The text goes in quoted, and its '%',
    // '_' and '\' stand for themselves (ESCAPE '\'), so any text is matched literally.
    static QString conditionFor(const QString& text);
    // The select that finds the rows of a search, in their order.
    static QString statementFor(const QString& text);

    explicit PhotoSearchModel(QObject* parent = nullptr);
    ~PhotoSearchModel() override;

    // Runs the search and replaces the rows in one reset. Throws db::DbError from the engine;
    // the model is empty then.
    void search(const db::Connection& connection, const QString& text);
    void clear();

    QString photoId(int row) const;
    // Empty for a photo whose album_id is NULL.
    QString albumId(int row) const;
    // The stored text of a column: dates as stored, the album name as the join gave it.
    QString storedText(int row, Column column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    struct Row {
        qint64 id = 0;
        qint64 albumId = 0;
        bool albumNull = true;
    };
    using Texts = std::array<QString, ColumnCount>;
    struct Block;

    const Texts& textsOf(int row) const;
    QString displayText(int row, int column) const;
    void resetRows();

    const db::Connection* m_connection = nullptr;
    std::vector<Row> m_rows;
    // Texts of the rows drawn so far, by block of rows; read on demand.
    mutable std::vector<std::unique_ptr<Block>> m_blocks;
    mutable int m_loadedBlocks = 0;
};

}  // namespace photos
