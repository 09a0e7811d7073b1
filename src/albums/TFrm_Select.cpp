#include "albums/TFrm_Select.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>

#include "albums/AlbumIcons.h"
#include "albums/AlbumQueries.h"
#include "albums/TTreeMaker.h"
#include "albums/TreeHooks.h"
#include "platform/db/Query.h"
#include "store/PhotoLibrary.h"
#include "ui/FormWidgets.h"

namespace {

const QString kAlbumSql = QStringLiteral("Select * from Album order by name ASC");

struct SharedPicker {
    QPointer<TFrm_Select> picker;
    const store::PhotoLibrary* library = nullptr;
};

SharedPicker& shared() {
    static SharedPicker instance;
    return instance;
}

}  // namespace

TFrm_Select::TFrm_Select(store::PhotoLibrary& library, QWidget* parent)
    : TFrmBase(parent), m_library(library) {
    setObjectName(QStringLiteral("TFrm_Select"));
    setWindowTitle(QStringLiteral("选择相册"));
    setFixedSize(337, 414);

    Label1 = ui::label(this, QStringLiteral("请选择照片所属相册："), "Label1");
    QPalette navy = Label1->palette();
    navy.setColor(QPalette::WindowText, QColor(0, 0, 128));
    Label1->setPalette(navy);
    Label1->setGeometry(8, 8, 321, 16);

    TreeView1 = new QTreeWidget(this);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView1->setSelectionMode(QAbstractItemView::SingleSelection);
    TreeView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    TreeView1->setAllColumnsShowFocus(true);
    TreeView1->setIconSize(QSize(16, 16));
    TreeView1->setGeometry(8, 28, 321, 320);

    BtnOK = ui::button(this, QStringLiteral("确定(&O)"), "BtnOK", {160, 356, 80, 26});
    BtnClose = ui::button(this, QStringLiteral("取消(&C)"), "BtnClose", {249, 356, 80, 26});

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    auto* statusText = new QLabel(
        QStringLiteral("双击可直接选择相册，按Enter选择当前相册，ESC取消选择"), StatusBar1);
    statusText->setObjectName(QStringLiteral("StatusText"));
    StatusBar1->addWidget(statusText, 1);
    StatusBar1->setGeometry(0, 390, 337, 24);

    connect(BtnOK, &QPushButton::clicked, this, &TFrm_Select::BtnOKClick);
    connect(BtnClose, &QPushButton::clicked, this, &TFrm_Select::reject);
    // The status bar promises it: a double click on an album chooses it.
    connect(TreeView1, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem*, int) { BtnOKClick(); });

    m_treeMaker = new TTreeMaker(this);
    FormCreate();
}

TFrm_Select::~TFrm_Select() {
    // The builder goes with the picker; keep it from reading a query it no longer owns.
    m_treeMaker->setDataSet(nullptr);
}

TFrm_Select* TFrm_Select::Instance(store::PhotoLibrary& library, QWidget* owner) {
    SharedPicker& s = shared();
    if (s.picker && s.library != &library) FreeInstance();
    if (!s.picker) {
        s.picker = new TFrm_Select(library, owner);
        s.library = &library;
    }
    return s.picker;
}

TFrm_Select* TFrm_Select::existingInstance() { return shared().picker; }

void TFrm_Select::FreeInstance() {
    SharedPicker& s = shared();
    delete s.picker.data();
    s.picker = nullptr;
    s.library = nullptr;
}

void TFrm_Select::FormCreate() {
    m_treeMaker->setTreeView(TreeView1);
    m_treeMaker->setCaptionField(QStringLiteral("name"));
    m_treeMaker->setSonIDField(QStringLiteral("id"));
    m_treeMaker->setParentIDField(QStringLiteral("parent_id"));
    m_treeMaker->setAfterAddNode(
        [this](QObject* sender, QTreeWidgetItem* node) { TreeMakerAfterAddNode(sender, node); });
    RefreshTree();
}

void TFrm_Select::RefreshTree() {
    db::Query& temp = m_library.temp(kAlbumSql);
    m_treeMaker->setDataSet(&temp);
    try {
        temp.open();
        m_treeMaker->BuildTree(QStringLiteral("0"));
    } catch (...) {
        temp.close();
        throw;
    }
    temp.close();
}

int TFrm_Select::exec() {
    RefreshTree();
    return TFrmBase::exec();
}

QString TFrm_Select::selectedCaption() const {
    const QTreeWidgetItem* node = albums::selectedNode(TreeView1);
    return node ? node->text(0) : QString();
}

void TFrm_Select::BtnOKClick() {
    if (albums::selectedNode(TreeView1)) accept();
}

// Enter in the tree chooses the selected album, as the status bar says.
bool TFrm_Select::FormKeyPress(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && focusWidget() == TreeView1 &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        BtnOKClick();
        return true;
    }
    return TFrmBase::FormKeyPress(event);
}

void TFrm_Select::TreeMakerAfterAddNode(QObject*, QTreeWidgetItem* node) {
    node->setIcon(0, albums::nodeLevel(node) > 0 ? albums::albumIcon() : albums::topAlbumIcon());
}
