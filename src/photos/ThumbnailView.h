#pragma once

// ImageEnMView1: the album's photos as thumbnails in rows, captions below the images.

#include <QListView>

namespace photos {

class ThumbnailModel;

class ThumbnailView final : public QListView {
    Q_OBJECT
public:
    explicit ThumbnailView(QWidget* parent = nullptr);

    ThumbnailModel* thumbnails() const { return m_model; }
    int count() const;
    QString caption(int index) const;
    QString infoText(int index) const;
    QString imageFile(int index) const;
    bool hasImage(int index) const;
    // The thumbnails whose cells are at least partly inside the viewport.
    QList<int> visibleIndexes() const;

private:
    ThumbnailModel* m_model = nullptr;
};

}  // namespace photos
