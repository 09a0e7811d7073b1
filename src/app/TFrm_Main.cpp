#include "app/TFrm_Main.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "albums/AlbumCommands.h"
#include "albums/TTreeMaker.h"
#include "albums/TreeHooks.h"
#include "app/AppSettings.h"
#include "app/CommandIcons.h"
#include "app/CommandTable.h"
#include "app/TFrm_Param.h"
#include "photos/PhotoBrowser.h"
#include "photos/PhotoCommands.h"
#include "photos/PhotoListView.h"
#include "photos/TFrm_PicProp.h"
#include "photos/TFrm_RecycleBin.h"
#include "photos/TFrm_Search.h"
#include "platform/db/DbError.h"
#include "platform/image/Codecs.h"
#include "store/Password.h"
#include "ui/Dialogs.h"
#include "ui/Fonts.h"
#include "ui/AppPaths.h"
#include "ui/Notice.h"
#include "ui/Shell.h"
#include "ui/TFrm_About.h"
#include "ui/TFrm_Tips.h"
#include "ui/Utils.h"

namespace {

constexpr int kTreeWidth = 220;
constexpr int kInfoHeight = 249;
constexpr int kListHeightInLayout = 207;
constexpr int kListHeightRestored = 228;

// A panel title bar with its close button, as the tree and the information panel have.
QWidget* titleBar(const QString& title, QToolButton* closeButton, QWidget* parent) {
    auto* bar = new QWidget(parent);
    bar->setAutoFillBackground(true);
    QPalette palette = bar->palette();
    palette.setColor(QPalette::Window, QColor(0xDB, 0xE6, 0xF5));
    bar->setPalette(palette);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(2, 1, 2, 1);
    auto* label = new QLabel(title, bar);
    layout->addWidget(label, 1);
    closeButton->setParent(bar);
    closeButton->setText(QStringLiteral("×"));
    closeButton->setAutoRaise(true);
    closeButton->setFixedSize(18, 18);
    layout->addWidget(closeButton);
    return bar;
}

QWidget* namedPanel(const char* name, QWidget* parent) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(QLatin1String(name));
    return panel;
}

}  // namespace

TFrm_Main::TFrm_Main(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("晴窗影册 Fotarix 2009"));
    setObjectName(QStringLiteral("Frm_Main"));
    setFont(ui::simSunFont(12));
    createRegions();
    createActions();
    FormCreate();
}

TFrm_Main::~TFrm_Main() {
    FormDestroy();
    delete m_printer;
}

void TFrm_Main::FormCreate() {
    image::installCodecs();
    m_treeMaker = new TTreeMaker(this);
    createSubsystems();
    OpenPhotoLibrary();
}

// The photo list and preview, and the album commands, each reached through a small context.
void TFrm_Main::createSubsystems() {
    photos::PhotoBrowser::Context context;
    context.library = &m_library;
    context.treeMaker = m_treeMaker;
    context.tree = Tree;
    context.listHost = Panel4;
    context.previewHost = PreviewHost;
    context.infoHost = InfoHost;
    context.statusBar = StatusBar1;
    m_browser = new photos::PhotoBrowser(context, this);
    m_browser->setListPopupMenu(PopupMenu2);
    connect(m_browser, &photos::PhotoBrowser::photoCommandsVisibleChanged, this, [this](bool visible) {
        if (auto* edit = findChild<QMenu*>(QStringLiteral("N5"))) edit->menuAction()->setVisible(visible);
        if (auto* button = findChild<QAction*>(QStringLiteral("tbPrictureAction"))) button->setVisible(visible);
    });
    connect(m_browser, &photos::PhotoBrowser::photoDoubleClicked, this,
            [this] { dispatch("tbEditClick", nullptr); });

    albums::AlbumContext albumContext{
        .library = m_library,
        .tree = Tree,
        .treeMaker = m_treeMaker,
        .dialogParent = this,
        .rebuildTree = [this] { RebuildAlbumTree(QStringLiteral("0")); },
        .reloadPhotos = [this] { TreeChange(Tree, albums::selectedNode(Tree)); },
        .selectedPhoto = [this]() -> std::optional<albums::SelectedPhoto> {
            const int row = m_browser->selectedRow();
            if (row < 0) return std::nullopt;
            return albums::SelectedPhoto{m_browser->rowId(row), m_browser->ListView1()->caption(row)};
        },
    };
    m_albumCommands = new albums::AlbumCommands(albumContext, this);
    m_albumCommands->installDropHandling();

    m_photoCommands = new photos::PhotoCommands({&m_library, m_browser, Tree, m_treeMaker, this}, this);
}

QString TFrm_Main::DisplayMode() const { return m_browser->DisplayMode(); }
QString TFrm_Main::SortOrder() const { return m_browser->SortOrder(); }

void TFrm_Main::FormDestroy() {
    delete m_treeMaker;
    m_treeMaker = nullptr;
}

// ---- regions ------------------------------------------------------------------------------

void TFrm_Main::createRegions() {
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    CoolBar1 = namedPanel("CoolBar1", central);
    auto* coolLayout = new QHBoxLayout(CoolBar1);
    coolLayout->setContentsMargins(0, 0, 0, 0);
    column->addWidget(CoolBar1);

    auto* mainSplitter = new QSplitter(Qt::Horizontal, central);
    mainSplitter->setObjectName(QStringLiteral("Splitter1"));
    mainSplitter->setHandleWidth(6);
    mainSplitter->setChildrenCollapsible(false);
    column->addWidget(mainSplitter, 1);

    // Left: the album tree above the photo information panel.
    PanelTree = namedPanel("PanelTree", mainSplitter);
    auto* treeColumn = new QVBoxLayout(PanelTree);
    treeColumn->setContentsMargins(0, 0, 0, 0);
    treeColumn->setSpacing(0);
    auto* sbCloseTree = new QToolButton(PanelTree);
    sbCloseTree->setObjectName(QStringLiteral("sbCloseTree"));
    sbCloseTree->setToolTip(QStringLiteral("关闭相册导航树"));
    treeColumn->addWidget(titleBar(QStringLiteral(" 相册导航树"), sbCloseTree, PanelTree));
    Tree = new QTreeWidget(PanelTree);
    Tree->setObjectName(QStringLiteral("Tree"));
    Tree->setHeaderHidden(true);
    treeColumn->addWidget(Tree, 1);
    Panel7 = namedPanel("Panel7", PanelTree);
    Panel7->setFixedHeight(kInfoHeight);
    auto* infoColumn = new QVBoxLayout(Panel7);
    infoColumn->setContentsMargins(0, 0, 0, 0);
    infoColumn->setSpacing(0);
    auto* sbCloseProp = new QToolButton(Panel7);
    sbCloseProp->setObjectName(QStringLiteral("sbCloseProp"));
    sbCloseProp->setToolTip(QStringLiteral("关闭照片属性信息窗"));
    infoColumn->addWidget(titleBar(QStringLiteral("  照片信息"), sbCloseProp, Panel7));
    InfoHost = namedPanel("InfoHost", Panel7);
    auto* infoHostLayout = new QVBoxLayout(InfoHost);
    infoHostLayout->setContentsMargins(0, 0, 0, 0);
    infoColumn->addWidget(InfoHost, 1);
    treeColumn->addWidget(Panel7);
    PanelTree->resize(kTreeWidth, PanelTree->height());

    // Right: the photo list above the preview.
    m_rightSplitter = new QSplitter(Qt::Vertical, mainSplitter);
    m_rightSplitter->setObjectName(QStringLiteral("Splitter2"));
    m_rightSplitter->setHandleWidth(5);
    m_rightSplitter->setChildrenCollapsible(false);
    Panel4 = namedPanel("Panel4", m_rightSplitter);
    auto* listColumn = new QVBoxLayout(Panel4);
    listColumn->setContentsMargins(0, 0, 0, 0);
    Panel5 = namedPanel("Panel5", m_rightSplitter);
    auto* previewColumn = new QVBoxLayout(Panel5);
    previewColumn->setContentsMargins(0, 0, 0, 0);
    previewColumn->setSpacing(0);
    CoolBar2 = namedPanel("CoolBar2", Panel5);
    auto* cool2Layout = new QHBoxLayout(CoolBar2);
    cool2Layout->setContentsMargins(0, 0, 0, 0);
    previewColumn->addWidget(CoolBar2);
    PreviewHost = namedPanel("PreviewHost", Panel5);
    auto* previewHostLayout = new QVBoxLayout(PreviewHost);
    previewHostLayout->setContentsMargins(0, 0, 0, 0);
    previewColumn->addWidget(PreviewHost, 1);
    m_rightSplitter->setStretchFactor(0, 0);
    m_rightSplitter->setStretchFactor(1, 1);
    m_rightSplitter->setSizes({kListHeightInLayout, 400});

    mainSplitter->setStretchFactor(0, 0);
    mainSplitter->setStretchFactor(1, 1);
    mainSplitter->setSizes({kTreeWidth, 800});

    // Bottom: the favourites bar (kept hidden) and the status bar.
    Panel2 = namedPanel("Panel2", central);
    auto* favourites = new QHBoxLayout(Panel2);
    favourites->setContentsMargins(2, 0, 2, 0);
    favourites->addStretch(1);
    auto* speedButton2 = new QToolButton(Panel2);
    speedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    speedButton2->setText(QStringLiteral("×"));
    speedButton2->setAutoRaise(true);
    favourites->addWidget(speedButton2);
    Panel2->hide();
    column->addWidget(Panel2);

    setCentralWidget(central);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    setStatusBar(StatusBar1);
}

int TFrm_Main::panel4Height() const { return m_rightSplitter->sizes().value(0); }

void TFrm_Main::setPanel4Fill(bool fill) {
    m_panel4Fills = fill;
    if (!fill) {
        const int total = std::max(m_rightSplitter->height(), kListHeightRestored + 100);
        m_rightSplitter->setSizes({kListHeightRestored, total - kListHeightRestored});
    }
}

// ---- commands -----------------------------------------------------------------------------


void TFrm_Main::fillMenu(QMenu* menu, std::span<const app::MenuEntry> entries) {
    QMenu* sub = nullptr;
    for (size_t i = 0; i < entries.size(); ++i) {
        const app::MenuEntry& e = entries[i];
        const QString caption = QString::fromUtf8(e.caption);
        QMenu* into = e.depth == 1 ? menu : sub;
        QAction* action = nullptr;
        const bool opensSubmenu = i + 1 < entries.size() && entries[i + 1].depth > e.depth;
        if (caption == u"-") {
            action = into->addSeparator();
        } else if (opensSubmenu) {
            sub = into->addMenu(caption);
            if (e.name) sub->setObjectName(QLatin1String(e.name));
            action = sub->menuAction();
        } else {
            action = into->addAction(caption);
            if (e.handler) {
                const char* handler = e.handler;
                connect(action, &QAction::triggered, this,
                        [this, action, handler] { dispatch(handler, action); });
            }
        }
        if (e.name) action->setObjectName(QLatin1String(e.name));
        action->setProperty("Tag", e.tag);
        if (e.hint) {
            action->setStatusTip(QString::fromUtf8(e.hint));
            action->setToolTip(QString::fromUtf8(e.hint));
        }
        if (e.flags & app::Checkable) action->setCheckable(true);
        if (e.flags & app::Checked) action->setChecked(true);
        if (e.flags & app::RadioGroup1) m_sortGroup->addAction(action);
        if (e.flags & app::RadioGroup3) m_styleGroup->addAction(action);
        if (e.flags & app::Hidden) action->setVisible(false);
    }
}

void TFrm_Main::createActions() {
    registerHandlers();
    m_sortGroup = new QActionGroup(this);
    m_styleGroup = new QActionGroup(this);

    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    const auto entries = app::mainMenuEntries();
    for (size_t i = 0; i < entries.size();) {
        size_t end = i + 1;
        while (end < entries.size() && entries[end].depth > 0) ++end;
        QMenu* top = bar->addMenu(QString::fromUtf8(entries[i].caption));
        top->setObjectName(QLatin1String(entries[i].name));
        fillMenu(top, entries.subspan(i + 1, end - i - 1));
        i = end;
    }
    // "显示收藏夹" keeps its tick whatever is clicked.
    if (auto* n140 = findChild<QAction*>(QStringLiteral("N140")))
        connect(n140, &QAction::triggered, n140, [n140] { n140->setChecked(true); });

    for (int number : {2, 3, 4}) {
        auto* menu = new QMenu(this);
        menu->setObjectName(QStringLiteral("PopupMenu%1").arg(number));
        fillMenu(menu, app::popupMenuEntries(number));
        (number == 2 ? PopupMenu2 : number == 3 ? PopupMenu3 : PopupMenu4) = menu;
    }

    ToolBar4 = buildToolBar(false);
    CoolBar1->layout()->addWidget(ToolBar4);
    ToolBar1 = buildToolBar(true);
    CoolBar2->layout()->addWidget(ToolBar1);

    // The close buttons of the tree and the information panel click the View entries.
    auto clickAction = [this](const char* name) {
        if (auto* a = findChild<QAction*>(QLatin1String(name))) a->trigger();
    };
    connect(findChild<QToolButton*>(QStringLiteral("sbCloseTree")), &QToolButton::clicked, this,
            [clickAction] { clickAction("N16"); });
    connect(findChild<QToolButton*>(QStringLiteral("sbCloseProp")), &QToolButton::clicked, this,
            [clickAction] { clickAction("N33"); });

    albums::setTreePopupMenu(Tree, PopupMenu4);
    albums::setTreeChangedHandler(Tree, [this](QTreeWidget* tree, QTreeWidgetItem* node) {
        TreeChange(tree, node);
    });
}

QToolBar* TFrm_Main::buildToolBar(bool preview) {
    auto* bar = new QToolBar(this);
    bar->setObjectName(preview ? QStringLiteral("ToolBar1") : QStringLiteral("ToolBar4"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setToolButtonStyle(preview ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextUnderIcon);
    bar->setIconSize(preview ? QSize(16, 16) : QSize(24, 24));
    const auto entries = preview ? app::previewToolBarEntries() : app::mainToolBarEntries();
    for (const app::ToolEntry& e : entries) {
        auto* button = new QToolButton(bar);
        button->setObjectName(QLatin1String(e.name));
        button->setProperty("Tag", e.tag);
        button->setText(QString::fromUtf8(e.caption));
        const QString hint = QString::fromUtf8(e.hint);
        button->setToolTip(hint);
        button->setStatusTip(hint);
        button->setIcon(app::commandIcon(QLatin1String(e.icon)));
        button->setToolButtonStyle(bar->toolButtonStyle());
        button->setAutoRaise(true);
        if (preview) button->setFixedSize(25, 24);
        else button->setMinimumSize(67, 47);
        if (e.menu) {
            button->setMenu(findChild<QMenu*>(QLatin1String(e.menu)));
            button->setPopupMode(e.dropDown == app::DropDown::Split ? QToolButton::MenuButtonPopup
                                                                    : QToolButton::InstantPopup);
        }
        if (e.handler) {
            const char* handler = e.handler;
            connect(button, &QToolButton::clicked, this,
                    [this, button, handler] { dispatch(handler, button); });
        }
        QAction* placed = bar->addWidget(button);
        placed->setObjectName(QLatin1String(e.name) + QStringLiteral("Action"));
        if (e.flags & app::Hidden) placed->setVisible(false);
    }
    return bar;
}

void TFrm_Main::registerHandlers() {
    m_handlers.insert(QStringLiteral("clickN18"), [this](QObject*) {
        if (auto* a = findChild<QAction*>(QStringLiteral("N18"))) a->trigger();
    });
    m_handlers.insert(QStringLiteral("clickN17"), [this](QObject*) {
        if (auto* a = findChild<QAction*>(QStringLiteral("N17"))) a->trigger();
    });
    m_handlers.insert(QStringLiteral("N103Click"), [](QObject*) {});
    const std::pair<const char*, void (photos::PhotoBrowser::*)()> browserCommands[] = {
        {"tbPriorClick", &photos::PhotoBrowser::tbPriorClick},
        {"tbNextClick", &photos::PhotoBrowser::tbNextClick},
        {"ToolButton1Click", &photos::PhotoBrowser::ToolButton1Click},
        {"ToolButton2Click", &photos::PhotoBrowser::ToolButton2Click},
        {"ToolButton4Click", &photos::PhotoBrowser::ToolButton4Click},
        {"ToolButton8Click", &photos::PhotoBrowser::ToolButton8Click},
        {"ToolButton13Click", &photos::PhotoBrowser::ToolButton13Click},
        {"ToolButton15Click", &photos::PhotoBrowser::ToolButton15Click},
    };
    for (const auto& [name, method] : browserCommands)
        m_handlers.insert(QLatin1String(name), [this, method](QObject*) { (m_browser->*method)(); });
    m_handlers.insert(QStringLiteral("ToolButton25Click"),
                      [this](QObject*) { m_photoCommands->ToolButton25Click(); });
    m_handlers.insert(QStringLiteral("N57Click"), [this](QObject*) { m_photoCommands->N57Click(); });
    m_handlers.insert(QStringLiteral("N49Click"), [this](QObject*) { m_photoCommands->N49Click(); });
    m_handlers.insert(QStringLiteral("N22Click"), [this](QObject*) { N22Click(); });
    m_handlers.insert(QStringLiteral("N23Click"), [this](QObject*) { N23Click(); });
    m_handlers.insert(QStringLiteral("N27Click"), [this](QObject*) { N27Click(); });
    m_handlers.insert(QStringLiteral("N59Click"), [this](QObject*) { N59Click(); });
    m_handlers.insert(QStringLiteral("N70Click"), [this](QObject*) { N70Click(); });
}

void TFrm_Main::dispatch(const char* handler, QObject* sender) {
    const QString name = QLatin1String(handler);
    try {
        if (name == u"ItemClick") {
            ItemClick(sender);
            return;
        }
        const auto found = m_handlers.constFind(name);
        if (found == m_handlers.constEnd()) {
            notAvailable();
            return;
        }
        (*found)(sender);
    } catch (const db::DbError& e) {
        ui::dialogs::message(this, QStringLiteral("提示信息"), e.message(), QMessageBox::Critical);
    }
}

void TFrm_Main::notAvailable() {
    ui::ShowNotice(QStringLiteral("此功能尚未开放，敬请期待！"), ui::NoticeInfo);
}

void TFrm_Main::ItemClick(QObject* sender) {
    const int tag = sender ? sender->property("Tag").toInt() : 0;
    switch (tag) {
        case 21: case 313: case 404: case 405: case 0:
            return;  // no command: the click changes nothing beyond the entry's own tick
        case 101: case 102: case 103: case 119:
            m_albumCommands->run(tag);
            return;
        case 104: case 105: case 106:
            m_photoCommands->run(tag);
            return;
        case 108:
            printerSetup();
            return;
        case 111:
            openRecycleBin();
            return;
        case 408: {
            photos::TFrm_Search search(
                m_library,
                [this](const QString& albumId, const QString& photoId) { locatePhoto(albumId, photoId); },
                this);
            search.exec();
            return;
        }
        case 409: {
            TFrm_Param settings(m_library, this);
            settings.exec();
            return;
        }
        case 114:
            close();
            return;
        case 115:
            setPassword();
            return;
        case 116:
            emptyTempFolder();
            return;
        case 501: case 502: case 503: case 504: case 505: case 506: case 507:
            toggleView(tag);
            return;
        default:
            if (!m_browser->viewCommand(tag)) notAvailable();
    }
}

bool TFrm_Main::requireWritable() {
    if (!m_library.readOnly()) return true;
    ui::dialogs::warn(this, QStringLiteral("当前照片库是以只读方式打开的，不能进行修改！"));
    return false;
}

void TFrm_Main::setPassword() {
    if (!requireWritable()) return;
    store::runSetPasswordCommand(this, m_library.AdoConn());
}

// Moves everything in the temporary folder to the desktop's trash after asking.
void TFrm_Main::emptyTempFolder() {
    const QString folder = ui::GetAppTempDir();
    if (!ui::dialogs::askYesNo(this, QStringLiteral("确实要把临时文件夹“") + folder +
                                         QStringLiteral("”中的所有文件移到回收站吗？")))
        return;
    m_browser->finishBackgroundWork();
    bool ok = true;
    const QStringList entries =
        QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) ok = ui::shell::moveToTrash(folder + entry) && ok;
    ui::ShowNotice(ok ? QStringLiteral("清空临时文件成功！") : QStringLiteral("删除临时文件时出现错误！"),
                   ui::NoticeInfo);
}

// ---- view switches ------------------------------------------------------------------------

void TFrm_Main::toggleView(int tag) {
    struct Switch {
        int tag;
        const char* key;
        QWidget* region;
    };
    const Switch switches[] = {
        {501, "显示导航树", PanelTree}, {502, "显示工具栏", CoolBar1},
        {503, "显示状态栏", StatusBar1}, {504, "显示收藏夹", Panel2},
        {505, "显示照片列表", Panel4},   {506, "显示照片预览", Panel5},
        {507, "显示照片属性", Panel7},
    };
    for (const Switch& s : switches) {
        if (s.tag != tag) continue;
        const bool shown = s.region->isHidden();
        s.region->setVisible(shown);
        if (tag == 505 && Panel5->isHidden()) setPanel4Fill(true);
        if (tag == 506) {
            if (shown && m_panel4Fills) setPanel4Fill(false);
            else if (!shown) setPanel4Fill(true);
        }
        app::WriteAppSetting(QString::fromUtf8(s.key),
                             shown ? QStringLiteral("True") : QStringLiteral("False"));
        return;
    }
}

void TFrm_Main::restoreView() {
    auto shows = [](const char* key) { return app::settingShows(app::ReadAppSetting(QString::fromUtf8(key))); };
    auto tick = [this](const char* name, bool on) {
        if (auto* a = findChild<QAction*>(QLatin1String(name))) a->setChecked(on);
    };
    const bool tree = shows("显示导航树");
    tick("N16", tree);
    PanelTree->setVisible(tree);
    const bool toolBar = shows("显示工具栏");
    tick("N20", toolBar);
    CoolBar1->setVisible(toolBar);
    const bool statusBar = shows("显示状态栏");
    tick("N21", statusBar);
    StatusBar1->setVisible(statusBar);
    if (shows("显示照片列表")) {
        Panel4->setVisible(true);
        tick("N17", true);
        if (Panel5->isHidden()) setPanel4Fill(true);
    } else {
        tick("N17", false);
        Panel4->setVisible(false);
    }
    if (shows("显示照片预览")) {
        tick("N18", true);
        if (!Panel5->isHidden() && m_panel4Fills) setPanel4Fill(false);
    } else {
        Panel5->setVisible(false);
        setPanel4Fill(true);
        tick("N18", false);
    }
    const bool info = shows("显示照片属性");
    tick("N33", info);
    Panel7->setVisible(info);
}

// ---- tree ---------------------------------------------------------------------------------

bool TFrm_Main::RebuildAlbumTree(const QString& rootValue) {
    m_treeMaker->setAfterAddNode(
        [this](QObject* sender, QTreeWidgetItem* node) { TreeMakerAfterAddNode(sender, node); });
    try {
        m_treeMaker->BuildTree(rootValue);
        return true;
    } catch (...) {
        return false;
    }
}

void TFrm_Main::TreeMakerAfterAddNode(QObject*, QTreeWidgetItem* node) {
    node->setIcon(0, app::commandIcon(QStringLiteral("albumnode")));
}

void TFrm_Main::TreeChange(QTreeWidget*, QTreeWidgetItem* node) {
    // Runs inside the tree's signal: an error must be shown here, not escape into Qt.
    try {
        m_browser->TreeChange(node);
    } catch (const db::DbError& e) {
        ui::dialogs::message(this, QStringLiteral("提示信息"), e.message(), QMessageBox::Critical);
    }
}

// ---- activation and closing ---------------------------------------------------------------

void TFrm_Main::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

// The daily tips, once per run, unless switched off or the photos are shown as thumbnails.
void TFrm_Main::FormActivate() {
    if (m_terminated || DisplayMode() == u"2" || m_tipsShown == u"2") return;
    if (m_library.ReadParameter(QStringLiteral("每日一帖")) == u"False") return;
    m_tipsShown = QStringLiteral("2");
    showTips();
}

void TFrm_Main::showTips() {
    const QString key = QStringLiteral("每日一帖");
    TFrm_Tips tips([this, key] { return m_library.ReadParameter(key); },
                   [this, key](const QString& value) { m_library.WriteParameter(key, value); }, this);
    tips.exec();
}

void TFrm_Main::N70Click() { showTips(); }

void TFrm_Main::N27Click() {
    TFrm_About about(this);
    about.exec();
}

void TFrm_Main::N22Click() {
    const QString help = ui::paths::programDir() + QStringLiteral("help.html");
    if (!ui::shell::openFile(help))
        ui::ShowNotice(QStringLiteral("无法打开帮助文件“") + help + QStringLiteral("”！"), ui::NoticeWarning);
}

void TFrm_Main::N23Click() { ui::shell::openUrl(QUrl(ui::shell::makerSupportSite())); }

void TFrm_Main::N59Click() {
    if (auto input = TFrm_PicProp::collect(*m_browser, Tree)) {
        TFrm_PicProp dialog(*input, this);
        dialog.exec();
    }
}

// The bin shows the photos of deleted albums and photos; restored ones appear in the list at once
// when "自动刷新" is ticked.
void TFrm_Main::openRecycleBin() {
    {
        photos::TFrm_RecycleBin bin(m_library, this);
        bin.exec();
    }
    const QAction* autoRefresh = findChild<QAction*>(QStringLiteral("N101"));
    QTreeWidgetItem* album = albums::selectedNode(Tree);
    if (autoRefresh && autoRefresh->isChecked() && album) TreeChange(Tree, album);
}

// Takes the window to a photo found by the search: its album in the tree, then its row.
void TFrm_Main::locatePhoto(const QString& albumId, const QString& photoId) {
    QTreeWidgetItem* album = nullptr;
    for (QTreeWidgetItemIterator it(Tree); *it && !album; ++it) {
        QString id;
        m_treeMaker->GetNodeId(*it, id);
        if (id == albumId) album = *it;
    }
    if (!album) return;
    if (albums::selectedNode(Tree) != album) {
        albums::selectTreeNode(Tree, album);
        TreeChange(Tree, album);
    }
    for (int row = 0; row < m_browser->rowCount(); ++row) {
        if (m_browser->rowId(row) != photoId) continue;
        if (m_browser->selectedRow() != row) {
            m_browser->selectRow(row);
            m_browser->ListView1Click();
        }
        return;
    }
}

void TFrm_Main::printerSetup() {
    if (!m_printer) m_printer = new QPrinter(QPrinter::HighResolution);
    QPageSetupDialog dialog(m_printer, this);
    dialog.exec();
}

bool TFrm_Main::FormCloseQuery() {
    return ui::dialogs::askYesNo(this, QStringLiteral("您是否要退出晴窗影册Fotarix？"));
}

void TFrm_Main::FormClose() {
    m_browser->finishBackgroundWork();  // thumbnail writers may still hold temporary files
    ui::DeleteTempFiles();
}

void TFrm_Main::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

