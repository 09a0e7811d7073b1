#include "photos/PhotoListModel.h"

#include <QApplication>
#include <QColor>
#include <QMimeData>
#include <QStyle>

namespace photos {

namespace {

const QColor kEvenRow(239, 255, 251);
const QColor kOddRow(255, 251, 236);

const char* const kCaptions[PhotoListModel::kColumns] = {
    "照片名称", "拍照日期", "修改日期", "照片说明", "id", "tempfileName"};

}  // namespace

PhotoListModel::PhotoListModel(QObject* parent) : QAbstractTableModel(parent) {}

void PhotoListModel::setRows(std::vector<PhotoRow> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void PhotoListModel::clear() {
    if (m_rows.empty()) return;
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

void PhotoListModel::setSubItem(int row, int subItem, const QString& text) {
    if (row < 0 || row >= count() || subItem < 0) return;
    QStringList& items = m_rows[static_cast<size_t>(row)].subItems;
    while (items.size() <= subItem) items.append(QString());
    items[subItem] = text;
    const QModelIndex cell = index(row, subItem + 1);
    emit dataChanged(cell, cell);
}

void PhotoListModel::setReportStyle(bool report) {
    if (m_report == report) return;
    m_report = report;
    if (!m_report && m_icon.isNull())
        m_icon = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    if (!m_rows.empty()) emit dataChanged(index(0, 0), index(count() - 1, kColumns - 1));
}

int PhotoListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

int PhotoListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant PhotoListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count()) return {};
    const PhotoRow& r = row(index.row());
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            if (index.column() == 0) return r.caption;
            return r.subItems.value(index.column() - 1);
        case Qt::BackgroundRole:
            if (!m_report) return {};
            return index.row() % 2 == 0 ? kEvenRow : kOddRow;
        case Qt::DecorationRole:
            if (m_report || index.column() != 0) return {};
            return m_icon;
        default:
            return {};
    }
}

QVariant PhotoListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= kColumns)
        return {};
    return QString::fromUtf8(kCaptions[section]);
}

Qt::ItemFlags PhotoListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

QStringList PhotoListModel::mimeTypes() const {
    return {QString::fromLatin1(kPhotoIdMime), QStringLiteral("text/plain")};
}

// The dragged photo is named by its id (sub-item 3); the drop side moves it by id.
QMimeData* PhotoListModel::mimeData(const QModelIndexList& indexes) const {
    int dragged = -1;
    for (const QModelIndex& i : indexes)
        if (i.isValid() && i.row() < count()) {
            dragged = i.row();
            break;
        }
    if (dragged < 0) return nullptr;
    const QString id = row(dragged).subItems.value(kIdSubItem);
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(kPhotoIdMime), id.toUtf8());
    mime->setText(id);
    return mime;
}

Qt::DropActions PhotoListModel::supportedDragActions() const {
    return Qt::MoveAction | Qt::CopyAction;
}

}  // namespace photos
