#include "photos/ThumbnailView.h"

#include "photos/ThumbnailDelegate.h"
#include "photos/ThumbnailModel.h"

namespace photos {

ThumbnailView::ThumbnailView(QWidget* parent) : QListView(parent) {
    setObjectName(QStringLiteral("ImageEnMView1"));
    m_model = new ThumbnailModel(this);
    setModel(m_model);
    setItemDelegate(new ThumbnailDelegate(this));
    setViewMode(QListView::IconMode);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    setSpacing(4);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setMouseTracking(true);
}

int ThumbnailView::count() const { return m_model->count(); }

QString ThumbnailView::caption(int index) const {
    return index >= 0 && index < count() ? m_model->item(index).caption : QString();
}

QString ThumbnailView::infoText(int index) const {
    return index >= 0 && index < count() ? m_model->item(index).info : QString();
}

QString ThumbnailView::imageFile(int index) const {
    return index >= 0 && index < count() ? m_model->item(index).file : QString();
}

bool ThumbnailView::hasImage(int index) const {
    return index >= 0 && index < count() && !m_model->item(index).image.isNull();
}

QList<int> ThumbnailView::visibleIndexes() const {
    QList<int> shown;
    const QRect area = viewport()->rect();
    for (int i = 0; i < count(); ++i) {
        const QRect cell = visualRect(m_model->index(i));
        if (cell.intersects(area)) shown.append(i);
        else if (!shown.isEmpty() && cell.top() > area.bottom()) break;
    }
    return shown;
}

}  // namespace photos
