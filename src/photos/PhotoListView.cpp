#include "photos/PhotoListView.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QListView>
#include <QStackedLayout>
#include <QTableView>

#include "photos/PhotoListModel.h"
#include "ui/FormWidgets.h"

namespace photos {

namespace {

// Report columns: caption 300, the dates, the id and the temporary file hidden, remark 480.
constexpr int kCaptionWidth = 300;
constexpr int kRemarkWidth = 480;

}  // namespace

PhotoListView::PhotoListView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ListView1"));
    m_model = new PhotoListModel(this);
    m_stack = new QStackedLayout(this);
    m_stack->setContentsMargins(0, 0, 0, 0);

    m_report = new QTableView(this);
    m_report->setObjectName(QStringLiteral("ListView1Report"));
    m_report->setModel(m_model);
    setUpView(m_report);
    ui::setReportLook(m_report, 6);
    QHeaderView* header = m_report->horizontalHeader();
    header->resizeSection(0, kCaptionWidth);
    header->resizeSection(3, kRemarkWidth);
    for (int column : {1, 2, 4, 5}) m_report->setColumnHidden(column, true);

    m_icons = new QListView(this);
    m_icons->setObjectName(QStringLiteral("ListView1Icons"));
    m_icons->setModel(m_model);
    QItemSelectionModel* own = m_icons->selectionModel();
    m_icons->setSelectionModel(m_report->selectionModel());
    delete own;
    setUpView(m_icons);
    m_icons->setModelColumn(0);
    m_icons->setMovement(QListView::Static);
    m_icons->setResizeMode(QListView::Adjust);
    m_icons->setUniformItemSizes(true);
    m_icons->setLayoutMode(QListView::Batched);
    m_icons->setBatchSize(500);

    m_stack->addWidget(m_report);
    m_stack->addWidget(m_icons);
    m_stack->setCurrentWidget(m_report);
}

void PhotoListView::setUpView(QAbstractItemView* view) {
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setDragEnabled(true);
    view->setDragDropMode(QAbstractItemView::DragOnly);
    view->setDefaultDropAction(Qt::MoveAction);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) emit rowClicked(index.row());
    });
    connect(view, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) emit rowDoubleClicked(index.row());
    });
    connect(view, &QWidget::customContextMenuRequested, this,
            [this, view](const QPoint& pos) { showPopup(view, pos); });
}

void PhotoListView::showPopup(QAbstractItemView* view, const QPoint& pos) {
    if (m_popup) m_popup->popup(view->viewport()->mapToGlobal(pos));
}

void PhotoListView::setPopupMenu(QMenu* menu) { m_popup = menu; }

void PhotoListView::setViewStyle(ViewStyle style) {
    m_style = style;
    m_model->setReportStyle(style == ViewStyle::Report);
    if (style == ViewStyle::Report) {
        m_stack->setCurrentWidget(m_report);
        return;
    }
    switch (style) {
        case ViewStyle::Icon:
            m_icons->setViewMode(QListView::IconMode);
            m_icons->setFlow(QListView::LeftToRight);
            m_icons->setIconSize(QSize(32, 32));
            m_icons->setGridSize(QSize(100, 64));
            m_icons->setWordWrap(true);
            break;
        case ViewStyle::SmallIcon:
            m_icons->setViewMode(QListView::ListMode);
            m_icons->setFlow(QListView::LeftToRight);
            m_icons->setIconSize(QSize(16, 16));
            m_icons->setGridSize(QSize(180, 20));
            m_icons->setWordWrap(false);
            break;
        default:  // List: columns filled top to bottom
            m_icons->setViewMode(QListView::ListMode);
            m_icons->setFlow(QListView::TopToBottom);
            m_icons->setIconSize(QSize(16, 16));
            m_icons->setGridSize(QSize());
            m_icons->setWordWrap(false);
            break;
    }
    m_icons->setWrapping(true);
    m_icons->setMovement(QListView::Static);
    m_icons->setResizeMode(QListView::Adjust);
    m_stack->setCurrentWidget(m_icons);
    const int row = selectedRow();
    if (row >= 0) m_icons->scrollTo(m_model->index(row, 0));
}

QAbstractItemView* PhotoListView::currentView() const {
    if (m_style == ViewStyle::Report) return m_report;
    return m_icons;
}

int PhotoListView::rowCount() const { return m_model->count(); }

int PhotoListView::selectedRow() const {
    const QItemSelectionModel* selection = m_report->selectionModel();
    const QModelIndex current = selection->currentIndex();
    if (current.isValid() && selection->isRowSelected(current.row(), QModelIndex()))
        return current.row();
    const QModelIndexList rows = selection->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void PhotoListView::selectRow(int row) {
    QItemSelectionModel* selection = m_report->selectionModel();
    if (row < 0 || row >= rowCount()) {
        selection->clear();
        return;
    }
    const QModelIndex index = m_model->index(row, 0);
    selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                          QItemSelectionModel::Rows);
    currentView()->scrollTo(index);
}

void PhotoListView::clearRows() { m_model->clear(); }

QString PhotoListView::caption(int row) const {
    return row >= 0 && row < rowCount() ? m_model->row(row).caption : QString();
}

int PhotoListView::subItemCount(int row) const {
    return row >= 0 && row < rowCount() ? static_cast<int>(m_model->row(row).subItems.size()) : 0;
}

QString PhotoListView::subItem(int row, int index) const {
    return row >= 0 && row < rowCount() ? m_model->row(row).subItems.value(index) : QString();
}

QString PhotoListView::rowId(int row) const { return subItem(row, PhotoListModel::kIdSubItem); }

QString PhotoListView::rowTempFile(int row) const {
    return subItem(row, PhotoListModel::kTempFileSubItem);
}

}  // namespace photos
