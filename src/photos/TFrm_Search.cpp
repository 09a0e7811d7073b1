#include "photos/TFrm_Search.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

#include "photos/PhotoSearchModel.h"
#include "platform/db/DbError.h"
#include "store/PhotoLibrary.h"
#include "ui/Dialogs.h"
#include "ui/FormWidgets.h"
#include "ui/Notice.h"

namespace photos {
namespace {

const QSize kButtonSize(75, 25);

}  // namespace

TFrm_Search::TFrm_Search(store::PhotoLibrary& library, LocateHandler locate, QWidget* parent)
    : TFrmBase(parent), m_library(library), m_locate(std::move(locate)) {
    setObjectName(QStringLiteral("TFrm_Search"));
    setWindowTitle(QStringLiteral("查找照片"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    resize(584, 417);

    auto* topPanel = new QWidget(this);
    topPanel->setObjectName(QStringLiteral("Panel1"));
    Label1 = ui::label(topPanel, QStringLiteral("请输入照片名称或说明："), "Label1");
    EdtValue = ui::lineEdit(topPanel, "EdtValue");
    Label1->setBuddy(EdtValue);
    BtnOK = ui::button(topPanel, QStringLiteral("查找(&S)"), "BtnOK", kButtonSize);
    BtnLocate = ui::button(topPanel, QStringLiteral("定位(&L)"), "BtnLocate", kButtonSize);
    BtnClose = ui::button(topPanel, QStringLiteral("取消(&C)"), "BtnClose", kButtonSize);
    auto* top = new QHBoxLayout(topPanel);
    top->setContentsMargins(8, 8, 8, 4);
    top->addWidget(Label1);
    top->addWidget(EdtValue, 1);
    top->addWidget(BtnOK);
    top->addWidget(BtnLocate);
    top->addWidget(BtnClose);

    m_model = new PhotoSearchModel(this);
    DBGridEh1 = new QTableView(this);
    DBGridEh1->setObjectName(QStringLiteral("DBGridEh1"));
    DBGridEh1->setModel(m_model);
    DBGridEh1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGridEh1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGridEh1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGridEh1->setWordWrap(false);
    // Fixed row heights keep a grid of a hundred thousand rows as cheap as one of ten.
    QHeaderView* rows = DBGridEh1->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(18);
    rows->hide();
    QHeaderView* columns = DBGridEh1->horizontalHeader();
    columns->setHighlightSections(false);
    const int widths[PhotoSearchModel::ColumnCount] = {107, 213, 270, 118, 125};
    for (int column = 0; column < PhotoSearchModel::ColumnCount; ++column)
        DBGridEh1->setColumnWidth(column, widths[column]);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    auto* statusText = new QLabel(
        QStringLiteral("  查询条件支持模糊查询，只需要输入您要查找的关键字即可。双击即可定位到相应的图片"),
        StatusBar1);
    statusText->setObjectName(QStringLiteral("StatusText"));
    StatusBar1->addWidget(statusText, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(topPanel);
    layout->addWidget(DBGridEh1, 1);
    layout->addWidget(StatusBar1);

    connect(BtnOK, &QPushButton::clicked, this, &TFrm_Search::BtnOKClick);
    connect(EdtValue, &QLineEdit::textChanged, this, &TFrm_Search::BtnOKClick);
    connect(BtnLocate, &QPushButton::clicked, this, &TFrm_Search::BtnLocateClick);
    connect(DBGridEh1, &QTableView::doubleClicked, this, &TFrm_Search::BtnLocateClick);
    connect(BtnClose, &QPushButton::clicked, this, &TFrm_Search::reject);
}

TFrm_Search::~TFrm_Search() = default;

void TFrm_Search::showEvent(QShowEvent* event) {
    TFrmBase::showEvent(event);
    // FormShow: the window opens listing every photo (or what its text finds).
    if (!event->spontaneous()) BtnOKClick();
}

void TFrm_Search::BtnOKClick() {
    try {
        m_model->search(m_library.AdoConn(), EdtValue->text());
    } catch (const db::DbError& e) {
        ui::ShowNotice(e.message(), ui::NoticeError);
    }
    // As in a dataset, the first row is the current one after a search.
    if (m_model->rowCount() > 0)
        DBGridEh1->setCurrentIndex(m_model->index(0, 0));
}

void TFrm_Search::BtnLocateClick() {
    if (m_model->rowCount() == 0) return;
    int row = DBGridEh1->currentIndex().row();
    if (row < 0) row = 0;
    const QString photoId = m_model->photoId(row);
    const QString albumId = m_model->albumId(row);
    // Album id 0 marks the bin as NULL does; no album node carries it.
    if (albumId.isEmpty() || albumId == u"0") {
        ui::dialogs::inform(this, QStringLiteral("该照片已经被删除到回收站中，请到回收站中查看！"));
        return;
    }
    if (m_locate) m_locate(albumId, photoId);
}

}  // namespace photos
