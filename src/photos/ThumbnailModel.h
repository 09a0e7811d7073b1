#pragma once

// The thumbnails of ImageEnMView1: one per photo, each with its image file (a temporary file
// holding the photo's bytes), its caption (the photo name) and its information text (the
// remark, shown as the tool tip). The image arrives when it has been made.

#include <vector>

#include <QAbstractListModel>
#include <QPixmap>
#include <QString>

namespace photos {

class ThumbnailModel final : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role { FileRole = Qt::UserRole + 1, StateRole };
    enum class State { Pending, Ready, Failed };

    struct Item {
        QString file;
        QString caption;
        QString info;
        QPixmap image;
        State state = State::Pending;
    };

    explicit ThumbnailModel(QObject* parent = nullptr);

    void clear();
    // Appends many in one go (one insert notification).
    void append(std::vector<Item> items);
    void setImage(int index, const QPixmap& image);
    void setFailed(int index);
    const Item& item(int index) const { return m_items[static_cast<size_t>(index)]; }
    int count() const { return static_cast<int>(m_items.size()); }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    std::vector<Item> m_items;
};

}  // namespace photos
