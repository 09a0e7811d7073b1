#include "photos/ThumbnailModel.h"

namespace photos {

ThumbnailModel::ThumbnailModel(QObject* parent) : QAbstractListModel(parent) {}

void ThumbnailModel::clear() {
    if (m_items.empty()) return;
    beginResetModel();
    m_items.clear();
    endResetModel();
}

void ThumbnailModel::append(std::vector<Item> items) {
    if (items.empty()) return;
    const int first = count();
    beginInsertRows({}, first, first + static_cast<int>(items.size()) - 1);
    m_items.insert(m_items.end(), std::make_move_iterator(items.begin()),
                   std::make_move_iterator(items.end()));
    endInsertRows();
}

void ThumbnailModel::setImage(int index, const QPixmap& image) {
    if (index < 0 || index >= count()) return;
    Item& i = m_items[static_cast<size_t>(index)];
    i.image = image;
    i.state = State::Ready;
    emit dataChanged(this->index(index), this->index(index));
}

void ThumbnailModel::setFailed(int index) {
    if (index < 0 || index >= count()) return;
    m_items[static_cast<size_t>(index)].state = State::Failed;
    emit dataChanged(this->index(index), this->index(index));
}

int ThumbnailModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant ThumbnailModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count()) return {};
    const Item& i = item(index.row());
    switch (role) {
        case Qt::DisplayRole: return i.caption;
        case Qt::ToolTipRole: return i.info.isEmpty() ? QVariant() : QVariant(i.info);
        case Qt::DecorationRole: return i.image.isNull() ? QVariant() : QVariant(i.image);
        case FileRole: return i.file;
        case StateRole: return static_cast<int>(i.state);
        default: return {};
    }
}

}  // namespace photos
