#pragma once

// The photo list ListView1: one row per photo of the shown album, in one of four styles.
// The report style is a table with the caption, the visible sub-items and grid lines; the
// large icon, small icon and list styles show the captions only. Both views share one model
// and one selection, so a row stays selected across a change of style.
//
// The list selects single whole rows, is read-only and is a drag source: a dragged row
// carries its photo id (PhotoListModel::kPhotoIdMime and plain text).

#include <QMenu>
#include <QPointer>
#include <QString>
#include <QWidget>

class QAbstractItemView;
class QListView;
class QModelIndex;
class QStackedLayout;
class QTableView;

namespace photos {

class PhotoListModel;

class PhotoListView final : public QWidget {
    Q_OBJECT
public:
    enum class ViewStyle { Icon, SmallIcon, List, Report };

    explicit PhotoListView(QWidget* parent = nullptr);

    PhotoListModel* model() const { return m_model; }
    void setViewStyle(ViewStyle style);
    ViewStyle viewStyle() const { return m_style; }
    QAbstractItemView* currentView() const;
    QTableView* reportView() const { return m_report; }
    QListView* iconView() const { return m_icons; }

    int rowCount() const;
    // The selected row, -1 when none.
    int selectedRow() const;
    // Makes `row` the current and only selected row and scrolls to it; -1 clears.
    void selectRow(int row);
    void clearRows();

    QString caption(int row) const;
    int subItemCount(int row) const;
    QString subItem(int row, int index) const;
    QString rowId(int row) const;
    // The temporary file of the row (sub-item 4); empty until the photo was first shown.
    QString rowTempFile(int row) const;

    // The pop-up menu shown on a right click in either style (not owned).
    void setPopupMenu(QMenu* menu);

signals:
    void rowClicked(int row);
    void rowDoubleClicked(int row);

private:
    void setUpView(QAbstractItemView* view);
    void showPopup(QAbstractItemView* view, const QPoint& pos);

    PhotoListModel* m_model = nullptr;
    QStackedLayout* m_stack = nullptr;
    QTableView* m_report = nullptr;
    QListView* m_icons = nullptr;
    QPointer<QMenu> m_popup;
    ViewStyle m_style = ViewStyle::Report;
};

}  // namespace photos
