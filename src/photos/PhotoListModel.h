#pragma once

// The rows of the photo list: a caption (the photo name) and its sub-items
//   0 create_date, 1 modify_date, 2 remark, 3 id, 4 temporary file (once the photo was shown).
// Column 0 of the model is the caption, column k+1 sub-item k. Rows are replaced in one go,
// so that ten thousand rows cost one model reset, not ten thousand inserts.

#include <vector>

#include <QAbstractTableModel>
#include <QIcon>
#include <QStringList>

namespace photos {

struct PhotoRow {
    QString caption;
    QStringList subItems;
};

class PhotoListModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumns = 6;
    static constexpr int kIdSubItem = 3;
    static constexpr int kTempFileSubItem = 4;
    // Mime type of a dragged photo: its id as text.
    static constexpr const char* kPhotoIdMime = "application/x-fotarix-photo-id";

    explicit PhotoListModel(QObject* parent = nullptr);

    void setRows(std::vector<PhotoRow> rows);
    void clear();
    const PhotoRow& row(int index) const { return m_rows[static_cast<size_t>(index)]; }
    int count() const { return static_cast<int>(m_rows.size()); }
    // Sets sub-item `subItem`, adding empty sub-items before it where the row has fewer.
    void setSubItem(int row, int subItem, const QString& text);

    // Report style colours alternate by row; the icon styles show a file icon instead.
    void setReportStyle(bool report);
    bool reportStyle() const { return m_report; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override;

private:
    std::vector<PhotoRow> m_rows;
    bool m_report = true;
    QIcon m_icon;
};

}  // namespace photos
