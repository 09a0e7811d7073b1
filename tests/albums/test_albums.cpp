// The album tree builder and the tree search window against a real library file: the tree a
// build gives, its ids, errors and filter handling, the find entry, and the search window's
// finding, selecting and notification rules on real widgets.
#include <memory>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include "albums/RadioGroup.h"
#include "albums/TTreeMaker.h"
#include "albums/TfrmFindTree.h"
#include "albums/TfrmProgressForm.h"
#include "albums/TreeError.h"
#include "albums/TreeHooks.h"
#include "platform/db/Connection.h"
#include "platform/db/ConnectionString.h"
#include "platform/db/DbError.h"
#include "platform/db/Query.h"
#include "platform/db/SqlText.h"
#include "ui/Dialogs.h"

namespace {

const QString kAlbumSql = QStringLiteral("Select * from Album order by name ASC");

// Holiday(1) > Mountain(3), beach(2); Äpfel(6); 家庭(4) > 家庭聚会ABC(5). Binary text order,
// so the tree in depth-first order is: Holiday, Mountain, beach, Äpfel, 家庭, 家庭聚会ABC.
const QString kSearchRows =
    QStringLiteral("1:Holiday:0;2:beach:1;3:Mountain:1;4:家庭:0;5:家庭聚会ABC:4;6:Äpfel:0");

QString albumError(const std::function<void()>& call) {
    try {
        call();
    } catch (const albums::TreeError& e) {
        return e.message();
    }
    return QStringLiteral("<no error>");
}

QTreeWidgetItem* nodeByCaption(QTreeWidget* tree, const QString& caption) {
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if ((*it)->text(0) == caption) return *it;
    return nullptr;
}

int countNodes(QTreeWidget* tree) {
    int n = 0;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) ++n;
    return n;
}

QList<QAction*> findEntries(const QList<QAction*>& actions) {
    QList<QAction*> found;
    for (QAction* a : actions)
        if (a->objectName() == QStringLiteral("mniAutoFindTree")) found << a;
    return found;
}

}  // namespace

class TestAlbums final : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<db::Connection> m_conn;
    std::unique_ptr<db::Query> m_query;
    std::unique_ptr<QTreeWidget> m_tree;
    std::unique_ptr<TTreeMaker> m_maker;
    QList<ui::dialogs::Request> m_requests;

    // A fresh library whose Album table holds `rows`: "id:name:parent;..." ("null" for a NULL
    // parent), and the album query opened on it.
    void makeLibrary(const QString& rows, const QString& sql = kAlbumSql) {
        m_query.reset();
        m_conn.reset();
        const QString path = m_dir.filePath(QStringLiteral("lib.pmd"));
        QFile::remove(path);
        QFile(path).open(QIODevice::WriteOnly);
        m_conn = std::make_unique<db::Connection>();
        m_conn->setConnectionString(QString::fromLatin1(db::kReadWriteConnection) + path);
        m_conn->open();
        m_conn->execute(
            QStringLiteral("create table Album(id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT,"
                           " parent_id INTEGER, remark TEXT)"));
        for (const QString& row : rows.split(u';', Qt::SkipEmptyParts)) {
            const QStringList f = row.split(u':');
            m_conn->execute(
                QStringLiteral("insert into Album(id, name, parent_id) values (%1, %2, %3)")
                    .arg(f[0], db::quoted(f[1]), f[2]));
        }
        m_query = std::make_unique<db::Query>(m_conn.get());
        m_query->setSql(sql);
        m_query->open();
    }

    // A builder wired the way the main window wires its own.
    void makeBuilder() {
        m_tree = std::make_unique<QTreeWidget>();
        m_tree->setHeaderHidden(true);
        m_maker = std::make_unique<TTreeMaker>();
        m_maker->setTreeView(m_tree.get());
        m_maker->setDataSet(m_query.get());
        m_maker->setCaptionField(QStringLiteral("name"));
        m_maker->setSonIDField(QStringLiteral("id"));
        m_maker->setParentIDField(QStringLiteral("parent_id"));
    }

    void build(const QString& rows) {
        makeLibrary(rows);
        makeBuilder();
        m_maker->BuildTree(QStringLiteral("0"));
    }

    // "caption#id(child,...)" for every node, siblings separated by ','.
    QString dump(QTreeWidgetItem* node) const {
        QString id;
        m_maker->GetNodeId(node, id);
        QString text = node->text(0) + u'#' + id;
        if (node->childCount() > 0) {
            QStringList children;
            for (int i = 0; i < node->childCount(); ++i) children << dump(node->child(i));
            text += u'(' + children.join(u',') + u')';
        }
        return text;
    }
    QString dump() const {
        QStringList top;
        for (int i = 0; i < m_tree->topLevelItemCount(); ++i) top << dump(m_tree->topLevelItem(i));
        return top.join(u',');
    }

    // A search window on the builder's tree, the way the find entry opens it (tree only).
    TfrmFindTree* findWindow() {
        auto* window = new TfrmFindTree(m_tree.get());
        window->SetTreeView(m_tree.get());
        window->FormShow();
        return window;
    }

    void recordDialogs() {
        ui::dialogs::setResponder([this](const ui::dialogs::Request& r) {
            m_requests << r;
            return ui::dialogs::Answer{};
        });
    }

private slots:
    void cleanup() {
        ui::dialogs::setResponder({});
        m_requests.clear();
        m_maker.reset();
        m_tree.reset();
        m_query.reset();
        m_conn.reset();
    }

    // ---- the tree a build gives -------------------------------------------------------------

    void emptyDatasetGivesEmptyTree() {
        makeLibrary(QString());
        makeBuilder();
        int added = 0;
        m_maker->setAfterAddNode([&](QObject*, QTreeWidgetItem*) { ++added; });
        m_maker->BuildTree(QStringLiteral("0"));
        QCOMPARE(m_tree->topLevelItemCount(), 0);
        QCOMPARE(added, 0);
        QVERIFY(!albums::treePopupMenu(m_tree.get()));
        QVERIFY(findEntries(m_tree->actions()).isEmpty());
        QVERIFY(m_tree->updatesEnabled());
    }

    void buildsTree_data() {
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("tree");
        QTest::newRow("nested levels, siblings by name")
            << "1:Travel:0;2:Family:0;3:Paris:1;4:Berlin:1;5:Louvre:3;6:Kids:2;7:Eiffel:3"
            << kAlbumSql << "Family#2(Kids#6),Travel#1(Berlin#4,Paris#3(Eiffel#7,Louvre#5))";
        QTest::newRow("orphans left out")
            << "1:A:0;2:Lost:99;3:LostChild:2;4:B:1;5:NoParent:null" << kAlbumSql << "A#1(B#4)";
        QTest::newRow("cycles off the root left out")
            << "1:A:0;5:X:6;6:Y:5;7:Self:7" << kAlbumSql << "A#1";
        QTest::newRow("equal names keep dataset order")
            << "1:Top:0;2:Same:1;3:Same:1;4:Other:1"
            << "Select * from Album order by name ASC, id DESC"
            << "Top#1(Other#4,Same#3,Same#2)";
        // An album whose id is the root value, below an album it names again as child.
        QTest::newRow("cycle through the root value")
            << "0:Zero:5;5:Five:0" << kAlbumSql << "Five#5(Zero#0)";
        // A dataset whose ids repeat: a row naming an ancestor's id is not expanded again.
        QTest::newRow("repeated id below itself")
            << "1:A:0;2:B:1;3:C:2"
            << "Select id, name, parent_id from Album union all Select 2, 'B again', 3"
            << "A#1(B#2(C#3(B again#2)))";
    }
    void buildsTree() {
        QFETCH(QString, rows);
        QFETCH(QString, sql);
        QFETCH(QString, tree);
        makeLibrary(rows, sql);
        makeBuilder();
        QList<QTreeWidgetItem*> added;
        m_maker->setAfterAddNode([&](QObject* sender, QTreeWidgetItem* node) {
            QCOMPARE(sender, m_maker.get());
            QVERIFY(node->treeWidget() == m_tree.get());
            added << node;
        });
        m_maker->BuildTree(QStringLiteral("0"));
        QCOMPARE(dump(), tree);

        // Every node was announced once, and carries its own position in the id table.
        QCOMPARE(added.size(), countNodes(m_tree.get()));
        QSet<int> positions;
        for (QTreeWidgetItemIterator it(m_tree.get()); *it; ++it) {
            QVERIFY(added.contains(*it));
            positions.insert((*it)->data(0, Qt::UserRole).toInt());
        }
        QCOMPARE(positions.size(), added.size());
        for (QTreeWidgetItemIterator it(m_tree.get()); *it; ++it)
            QVERIFY((*it)->childCount() == 0 || (*it)->isExpanded());
        QVERIFY(!albums::selectedNode(m_tree.get()));
        QVERIFY(m_query->eof());
    }

    void rebuildReplacesNodesQuietly() {
        build(QStringLiteral("1:A:0;2:B:1"));
        int changes = 0;
        albums::setTreeChangedHandler(m_tree.get(),
                                      [&](QTreeWidget*, QTreeWidgetItem*) { ++changes; });
        m_tree->setCurrentItem(nodeByCaption(m_tree.get(), QStringLiteral("B")));
        QCOMPARE(changes, 1);

        m_conn->execute(
            QStringLiteral("insert into Album(id, name, parent_id) values (3, 'C', 2)"));
        m_query->close();
        m_query->open();
        m_maker->BuildTree(QStringLiteral("0"));
        QCOMPARE(dump(), QStringLiteral("A#1(B#2(C#3))"));
        QVERIFY(!albums::selectedNode(m_tree.get()));
        QCOMPARE(changes, 1);  // the rebuild told nobody
    }

    // ---- ids and errors ---------------------------------------------------------------------

    void nodeIdsAndSelection() {
        build(QStringLiteral("1:A:0;2:B:1;3:C:0"));
        QString id = QStringLiteral("stale");
        m_maker->GetNodeId(nullptr, id);
        QCOMPARE(id, QString());

        QTreeWidgetItem foreign(QStringList{QStringLiteral("x")});
        QCOMPARE(albumError([&] { m_maker->GetNodeId(&foreign, id); }),
                 QStringLiteral("指定的相册不存在。"));
        foreign.setData(0, Qt::UserRole, 3);  // one past the last position
        QCOMPARE(albumError([&] { m_maker->GetNodeId(&foreign, id); }),
                 QStringLiteral("指定的相册不存在。"));

        QCOMPARE(albumError([&] { m_maker->GetSelectedId(id); }),
                 QStringLiteral("不存在选择的相册。"));
        // A current node that is not selected is no selection.
        m_tree->setCurrentItem(m_tree->topLevelItem(0), 0, QItemSelectionModel::NoUpdate);
        QCOMPARE(albumError([&] { m_maker->CheckSelected(); }),
                 QStringLiteral("不存在选择的相册。"));

        albums::selectTreeNode(m_tree.get(), nodeByCaption(m_tree.get(), QStringLiteral("B")));
        m_maker->GetSelectedId(id);
        QCOMPARE(id, QStringLiteral("2"));

        m_tree.reset();  // a destroyed tree clears the builder's reference
        QVERIFY(!m_maker->treeView());
        QCOMPARE(albumError([&] { m_maker->GetSelectedId(id); }), QStringLiteral("导航树不存在。"));
        QCOMPARE(albumError([&] { m_maker->BuildTree(QStringLiteral("0")); }),
                 QStringLiteral("导航树不存在。"));
    }

    void closedDatasetRaises() {
        build(QStringLiteral("1:A:0"));
        m_query->close();
        QVERIFY_THROWS_EXCEPTION(db::DbError, m_maker->BuildTree(QStringLiteral("0")));
        QVERIFY(m_tree->updatesEnabled());
    }

    // ---- filter mode and failures -----------------------------------------------------------

    void filterStateAfterBuild_data() {
        QTest::addColumn<bool>("filterMode");
        QTest::addColumn<QString>("parentField");
        QTest::addColumn<QString>("tree");  // empty: the build fails
        QTest::newRow("filter mode") << true << "parent_id"
                                     << "A#1(B#2(C#3)),D#4";
        QTest::newRow("filter mode, missing column") << true << "no_such_column"
                                                     << "";
        QTest::newRow("scan mode builds from the rows the filter shows") << false << "parent_id"
                                                                         << "A#1,D#4";
    }
    void filterStateAfterBuild() {
        QFETCH(bool, filterMode);
        QFETCH(QString, parentField);
        QFETCH(QString, tree);
        makeLibrary(QStringLiteral("1:A:0;2:B:1;3:C:2;4:D:0"));
        makeBuilder();
        const QString userFilter = QStringLiteral("parent_id = '0'");
        m_query->setFilter(userFilter);
        m_query->setFiltered(true);
        m_maker->setFilterDataSet(filterMode);
        m_maker->setParentIDField(parentField);

        if (tree.isEmpty()) {
            QVERIFY_THROWS_EXCEPTION(db::DbError, m_maker->BuildTree(QStringLiteral("0")));
        } else {
            m_maker->BuildTree(QStringLiteral("0"));
            QCOMPARE(dump(), tree);
        }
        QCOMPARE(m_query->filter(), userFilter);
        QVERIFY(m_query->filtered());
        QCOMPARE(m_query->recordCount(), 2);
        QVERIFY(!m_query->controlsDisabled());
        QVERIFY(m_tree->updatesEnabled());
    }

    void failureKeepsNodesAddedSoFar() {
        makeLibrary(QStringLiteral("1:A:0;2:B:0;3:B1:2;4:B2:2;5:B3:2;6:A1:1"));
        makeBuilder();
        m_maker->setFilterDataSet(true);
        m_query->setFilter(QStringLiteral("name = 'A'"));
        m_query->setFiltered(false);
        int calls = 0;
        m_maker->setAfterAddNode([&](QObject*, QTreeWidgetItem*) {
            if (++calls == 3) throw std::runtime_error("decoration failed");
        });
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, m_maker->BuildTree(QStringLiteral("0")));
        // The top level, then the last top-level node's children: the third node added stays,
        // the ones after it do not.
        QCOMPARE(dump(), QStringLiteral("A#1,B#2(B1#3)"));
        QVERIFY(m_tree->updatesEnabled());
        QVERIFY(!m_query->controlsDisabled());
        QCOMPARE(m_query->filter(), QStringLiteral("name = 'A'"));
        QVERIFY(!m_query->filtered());
    }

    void progressWindowDuringBuild() {
        makeLibrary(QStringLiteral("1:A:0;2:B:1;3:C:9;4:D:0"));
        makeBuilder();
        m_maker->setShowProgress(true);
        QPointer<TfrmProgressForm> seen;
        int maximum = -1;
        int value = -1;
        m_maker->setAfterAddNode([&](QObject*, QTreeWidgetItem*) {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* p = qobject_cast<TfrmProgressForm*>(w);
                if (!p || !p->isVisible() || !p->active()) continue;
                seen = p;
                maximum = p->bar()->maximum();
                value = p->bar()->value();
            }
        });
        m_maker->BuildTree(QStringLiteral("0"));
        QCOMPARE(dump(), QStringLiteral("A#1(B#2),D#4"));
        QCOMPARE(maximum, 4);  // one step for every row visited
        QCOMPARE(value, 4);
        QVERIFY(seen.isNull());  // it was shown during the build and is gone after it

        // Without the option no progress window appears.
        m_maker->setShowProgress(false);
        bool shown = false;
        m_maker->setAfterAddNode([&](QObject*, QTreeWidgetItem*) {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (qobject_cast<TfrmProgressForm*>(w)) shown = true;
        });
        m_maker->BuildTree(QStringLiteral("0"));
        QVERIFY(!shown);
    }

    void progressFormProcessesEventsOnlyWhileActive() {
        TfrmProgressForm form;
        QCOMPARE(form.size(), QSize(396, 63));
        QVERIFY(form.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(form.windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(form.bar()->geometry(), QRect(14, 30, 371, 21));
        QCOMPARE(form.bar()->value(), 0);
        QVERIFY(form.findChild<QLabel*>()->text() ==
                QStringLiteral("请稍候,系统正在生成相册导航树....."));
        QVERIFY(!form.active());

        bool ran = false;
        QTimer::singleShot(0, &form, [&] { ran = true; });
        form.SetMax(10);
        form.SetPosition(3);
        form.StepBy(2);
        QCOMPARE(form.bar()->value(), 5);
        QVERIFY(!ran);
        form.SetActive(true);
        form.StepBy(1);
        QVERIFY(ran);
        QCOMPARE(form.bar()->value(), 6);
    }

    // ---- the find entry ---------------------------------------------------------------------

    void findEntryInstalledOnce() {
        makeLibrary(QStringLiteral("1:A:0"));
        makeBuilder();
        // The main window's own pop-up menu, assigned before the first build.
        QMenu popup;
        popup.addAction(QStringLiteral("新建相册"));
        popup.addAction(QStringLiteral("删除相册"));
        albums::setTreePopupMenu(m_tree.get(), &popup);
        QCOMPARE(albums::popupComponent(&popup), m_tree.get());
        QCOMPARE(m_tree->contextMenuPolicy(), Qt::CustomContextMenu);

        m_maker->BuildTree(QStringLiteral("0"));
        m_maker->BuildTree(QStringLiteral("0"));
        const QList<QAction*> items = popup.actions();
        QCOMPARE(items.size(), 4);
        QVERIFY(items[2]->isSeparator());
        QAction* entry = items[3];
        QCOMPARE(entry->objectName(), QStringLiteral("mniAutoFindTree"));
        QCOMPARE(entry->text(), QStringLiteral("查找(&F)"));
        QCOMPARE(entry->shortcut(), QKeySequence(QStringLiteral("Ctrl+F")));
        QVERIFY(entry->isVisible());
        QCOMPARE(entry->parent(), m_tree.get());
        QCOMPARE(findEntries(m_tree->actions()), QList<QAction*>{entry});
    }

    void findEntryWithoutMenuOrAtTop() {
        QTreeWidget tree;
        TTreeMaker::InstallFindMenu(&tree, true);
        QMenu* created = albums::treePopupMenu(&tree);
        QVERIFY(created);
        QCOMPARE(created->parent(), &tree);
        QCOMPARE(created->actions().size(), 1);
        QCOMPARE(created->actions()[0]->objectName(), QStringLiteral("mniAutoFindTree"));

        QTreeWidget other;
        QMenu popup;
        popup.addAction(QStringLiteral("新建相册"));
        albums::setTreePopupMenu(&other, &popup);
        TTreeMaker::InstallFindMenu(&other, false);
        TTreeMaker::InstallFindMenu(&other, false);
        const QList<QAction*> items = popup.actions();
        QCOMPARE(items.size(), 3);
        QCOMPARE(items[0]->objectName(), QStringLiteral("mniAutoFindTree"));
        QVERIFY(items[1]->isSeparator());
        QCOMPARE(items[2]->text(), QStringLiteral("新建相册"));
    }

    void findEntryOpensOneWindowPerTree() {
        build(QStringLiteral("1:A:0"));
        QAction* entry = findEntries(m_tree->actions()).value(0);
        QVERIFY(entry);
        entry->trigger();
        TfrmFindTree* window = TfrmFindTree::openFor(m_tree.get());
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->treeView(), m_tree.get());
        QVERIFY(!window->treeMaker());
        QCOMPARE(window->parent(), m_tree.get());
        entry->trigger();
        QCOMPARE(m_tree->findChildren<TfrmFindTree*>().size(), 1);

        // Closed, the window is freed; the next use opens a new one.
        QPointer<TfrmFindTree> closed(window);
        window->btnCancelClick();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!closed);
        QVERIFY(!TfrmFindTree::openFor(m_tree.get()));
    }

    void ctrlFOpensSearchFromTree() {
        build(QStringLiteral("1:A:0"));
        m_tree->show();
        m_tree->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_tree.get()));
        m_tree->setFocus();
        QTest::keyClick(m_tree.get(), Qt::Key_F, Qt::ControlModifier);
        TfrmFindTree* window = TfrmFindTree::openFor(m_tree.get());
        QVERIFY(window);
        QCOMPARE(window->treeView(), m_tree.get());
        window->close();
    }

    void showFindTreeForBuilder() {
        QWidget owner;
        makeLibrary(QStringLiteral("1:A:0;2:B:1"));
        makeBuilder();
        auto* maker = new TTreeMaker(&owner);
        maker->setTreeView(m_tree.get());
        TTreeMaker::ShowFindTree(maker);
        TfrmFindTree* window = TfrmFindTree::openFor(&owner);
        QVERIFY(window);
        QCOMPARE(window->treeMaker(), maker);
        QCOMPARE(window->treeView(), m_tree.get());
        QVERIFY(window->cboFindItem->isEnabled());  // ids are searchable through a builder
        TTreeMaker::ShowFindTree(maker);
        QCOMPARE(owner.findChildren<TfrmFindTree*>().size(), 1);
    }

    // ---- the search window ------------------------------------------------------------------

    void searchWindowControls() {
        build(kSearchRows);
        std::unique_ptr<TfrmFindTree> window(findWindow());
        QCOMPARE(window->windowTitle(), QStringLiteral("查找"));
        QCOMPARE(window->size(), QSize(448, 271));
        QCOMPARE(window->cboFindItem->count(), 2);
        QCOMPARE(window->cboFindItem->itemText(0), QStringLiteral("相册名"));
        QCOMPARE(window->cboFindItem->itemText(1), QStringLiteral("相册编号"));
        QVERIFY(!window->cboFindItem->isEnabled());  // no builder: captions only
        QVERIFY(window->edtFindValue->text().isEmpty());
        QVERIFY(!window->chkIgnoreCase->isChecked());
        QVERIFY(window->chkLikeFind->isChecked());
        QCOMPARE(window->rgFindWay->itemIndex(), 0);
        QCOMPARE(window->rgFindArea->itemIndex(), 0);
        QCOMPARE(window->rgFindStart->itemIndex(), 0);
        QCOMPARE(window->rgFindStart->itemText(0), QStringLiteral("从当前节点开始查找"));
        QCOMPARE(window->btnFindNext->text(), QStringLiteral("下一个(&N)"));
        QCOMPARE(window->btnFind->text(), QStringLiteral("确定(&O)"));
        QVERIFY(window->btnFind->isDefault());
        QCOMPARE(window->btnCancel->text(), QStringLiteral("取消(&C)"));
        QVERIFY(window->btnFindNext->isEnabled());
        for (const char* name :
             {"cboFindItem", "edtFindValue", "chkIgnoreCase", "chkLikeFind", "rgFindWay",
              "rgFindArea", "rgFindStart", "btnFindNext", "btnFind", "btnCancel"})
            QVERIFY2(window->findChild<QWidget*>(QString::fromLatin1(name)), name);

        // A window with nothing to search offers no search.
        TfrmFindTree empty;
        empty.FormShow();
        QVERIFY(!empty.btnFindNext->isEnabled());
        QVERIFY(!empty.btnFind->isEnabled());
    }

    void findsNode_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("ignoreCase");
        QTest::addColumn<bool>("fuzzy");
        QTest::addColumn<int>("way");    // 0 forward, 1 backward
        QTest::addColumn<int>("start");  // 0 current node, 1 first (or last) node
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("found");  // empty: nothing found
        // clang-format off
        QTest::newRow("forward from the last node")
            << "" << false << true << 0 << 0 << "家庭聚会ABC" << "";
        QTest::newRow("backward from the first node")
            << "" << false << true << 1 << 0 << "Holiday" << "";
        QTest::newRow("no selection, forward")
            << "" << false << true << 0 << 0 << "" << "Holiday";
        QTest::newRow("no selection, backward")
            << "" << false << true << 1 << 0 << "" << "";
        QTest::newRow("ignore case, exact")
            << "BEACH" << true << false << 0 << 0 << "" << "beach";
        QTest::newRow("case counts")
            << "BEACH" << false << false << 0 << 0 << "" << "";
        QTest::newRow("exact needs the whole text")
            << "beac" << false << false << 0 << 0 << "" << "";
        QTest::newRow("fuzzy inside the text")
            << "ount" << false << true << 0 << 0 << "" << "Mountain";
        QTest::newRow("Chinese with ignore case")
            << "家庭聚会abc" << true << false << 0 << 0 << "" << "家庭聚会ABC";
        QTest::newRow("only A to Z are lowered")
            << "äpfel" << true << false << 0 << 0 << "" << "";
        QTest::newRow("non-ASCII as typed")
            << "Äpfel" << true << false << 0 << 0 << "" << "Äpfel";
        QTest::newRow("forward from current")
            << "a" << false << true << 0 << 0 << "Holiday" << "Mountain";
        QTest::newRow("backward from current")
            << "a" << false << true << 1 << 0 << "家庭" << "beach";
        QTest::newRow("from the first node")
            << "o" << false << true << 0 << 1 << "beach" << "Holiday";
        QTest::newRow("from the last node")
            << "" << false << true << 1 << 1 << "Holiday" << "家庭聚会ABC";
        // clang-format on
    }
    void findsNode() {
        QFETCH(QString, value);
        QFETCH(bool, ignoreCase);
        QFETCH(bool, fuzzy);
        QFETCH(int, way);
        QFETCH(int, start);
        QFETCH(QString, selected);
        QFETCH(QString, found);
        build(kSearchRows);
        QTreeWidgetItem* before =
            selected.isEmpty() ? nullptr : nodeByCaption(m_tree.get(), selected);
        if (before) albums::selectTreeNode(m_tree.get(), before);
        std::unique_ptr<TfrmFindTree> window(findWindow());
        window->edtFindValue->setText(value);
        window->chkIgnoreCase->setChecked(ignoreCase);
        window->chkLikeFind->setChecked(fuzzy);
        window->rgFindWay->button(way)->click();
        window->rgFindStart->setItemIndex(start);

        window->btnFindNextClick();
        QTreeWidgetItem* now = albums::selectedNode(m_tree.get());
        if (found.isEmpty())
            QCOMPARE(now, before);  // nothing found: the selection stays
        else
            QCOMPARE(now ? now->text(0) : QString(), found);
        QCOMPARE(window->rgFindStart->itemIndex(), 0);
    }

    void repeatedSearchesGoOnAndStopAtTheEnd() {
        build(kSearchRows);
        std::unique_ptr<TfrmFindTree> window(findWindow());
        window->edtFindValue->setText(QStringLiteral("a"));
        QStringList hits;
        for (int i = 0; i < 5; ++i) {
            window->btnFindNextClick();
            hits << albums::selectedNode(m_tree.get())->text(0);
        }
        QCOMPARE(hits, (QStringList{"Holiday", "Mountain", "beach", "beach", "beach"}));

        // The first-node start is one-shot: it starts over once, then goes on from there.
        window->rgFindStart->setItemIndex(1);
        window->btnFindNextClick();
        QCOMPARE(albums::selectedNode(m_tree.get())->text(0), QStringLiteral("Holiday"));
        QCOMPARE(window->rgFindStart->itemIndex(), 0);
        window->btnFindNextClick();
        QCOMPARE(albums::selectedNode(m_tree.get())->text(0), QStringLiteral("Mountain"));
    }

    void searchesIdsThroughBuilder() {
        build(kSearchRows);
        TfrmFindTree window;
        window.SetTreeMaker(m_maker.get());
        window.FormShow();
        QVERIFY(window.cboFindItem->isEnabled());
        window.cboFindItem->setCurrentIndex(1);
        window.chkLikeFind->setChecked(false);
        window.edtFindValue->setText(QStringLiteral("3"));
        window.btnFindNextClick();
        QCOMPARE(albums::selectedNode(m_tree.get())->text(0), QStringLiteral("Mountain"));
    }

    void directionCaptions() {
        TfrmFindTree window;
        window.rgFindWay->button(1)->click();
        QCOMPARE(window.btnFindNext->text(), QStringLiteral("上一个(&N)"));
        QCOMPARE(window.rgFindStart->itemText(1), QStringLiteral("从最后一个节点开始查找"));
        window.rgFindWay->button(0)->click();
        QCOMPARE(window.btnFindNext->text(), QStringLiteral("下一个(&N)"));
        QCOMPARE(window.rgFindStart->itemText(1), QStringLiteral("从第一个节点开始查找"));
    }

    void areaChoiceFollowsSelectionMode() {
        build(kSearchRows);
        std::unique_ptr<TfrmFindTree> window(findWindow());
        QVERIFY(!window->rgFindArea->isEnabled());  // the album tree selects one node

        m_tree->setSelectionMode(QAbstractItemView::ExtendedSelection);
        window->SetTreeView(m_tree.get());
        QVERIFY(window->rgFindArea->isEnabled());
        window->rgFindArea->setItemIndex(1);
        // Forward, only selected nodes are looked at.
        nodeByCaption(m_tree.get(), QStringLiteral("beach"))->setSelected(true);
        nodeByCaption(m_tree.get(), QStringLiteral("家庭"))->setSelected(true);
        window->edtFindValue->setText(QString());
        window->rgFindStart->setItemIndex(1);
        QCOMPARE(window->FindNode()->text(0), QStringLiteral("beach"));

        m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
        window->SetTreeView(m_tree.get());
        QVERIFY(!window->rgFindArea->isEnabled());
        QCOMPARE(window->rgFindArea->itemIndex(), 0);
    }

    void foundNodeNotifiesOnce() {
        build(kSearchRows);
        QList<QTreeWidgetItem*> changes;
        albums::setTreeChangedHandler(m_tree.get(), [&](QTreeWidget* tree, QTreeWidgetItem* node) {
            QCOMPARE(tree, m_tree.get());
            changes << node;
        });
        int rawSignals = 0;
        connect(m_tree.get(), &QTreeWidget::currentItemChanged, this, [&] { ++rawSignals; });

        std::unique_ptr<TfrmFindTree> window(findWindow());
        window->edtFindValue->setText(QStringLiteral("Mountain"));
        window->btnFindNextClick();
        QTreeWidgetItem* mountain = nodeByCaption(m_tree.get(), QStringLiteral("Mountain"));
        QCOMPARE(changes, QList<QTreeWidgetItem*>{mountain});
        QCOMPARE(rawSignals, 0);
        QCOMPARE(albums::selectedNode(m_tree.get()), mountain);

        // A change made on the tree itself reaches the handler once as well.
        m_tree->setCurrentItem(m_tree->topLevelItem(0));
        QCOMPARE(changes.size(), 2);
        QCOMPARE(changes.last(), m_tree->topLevelItem(0));
    }

    void changingHandlerMayRefuse() {
        build(kSearchRows);
        recordDialogs();
        int changes = 0;
        albums::setTreeChangedHandler(m_tree.get(),
                                      [&](QTreeWidget*, QTreeWidgetItem*) { ++changes; });
        QList<QTreeWidgetItem*> asked;
        albums::setTreeChangingHandler(m_tree.get(), [&](QTreeWidget*, QTreeWidgetItem* node) {
            asked << node;
            return node->text(0) != QStringLiteral("beach");
        });

        std::unique_ptr<TfrmFindTree> window(findWindow());
        window->edtFindValue->setText(QStringLiteral("beach"));
        window->btnFindNextClick();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(changes, 0);
        QVERIFY(!albums::selectedNode(m_tree.get()));
        QCOMPARE(m_requests.size(), 1);
        QCOMPARE(m_requests[0].title, QStringLiteral("系统提示"));
        QCOMPARE(m_requests[0].text, QStringLiteral("找到了一个匹配的节点,但该树不允许选中该节点"));
        QCOMPARE(m_requests[0].icon, QMessageBox::Warning);
        QCOMPARE(m_requests[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));

        // The handlers are back in place: a refused change on the tree is undone quietly.
        QTreeWidgetItem* holiday = nodeByCaption(m_tree.get(), QStringLiteral("Holiday"));
        m_tree->setCurrentItem(holiday);
        QCOMPARE(changes, 1);
        m_tree->setCurrentItem(nodeByCaption(m_tree.get(), QStringLiteral("beach")));
        QCOMPARE(changes, 1);
        QCOMPARE(albums::selectedNode(m_tree.get()), holiday);
    }

    void f3AndButtons() {
        build(kSearchRows);
        auto* window = findWindow();
        QPointer<TfrmFindTree> alive(window);
        window->edtFindValue->setText(QStringLiteral("家庭"));
        QTest::keyClick(window->edtFindValue, Qt::Key_F3);
        QCOMPARE(albums::selectedNode(m_tree.get())->text(0), QStringLiteral("家庭"));
        QTest::keyClick(window->edtFindValue, Qt::Key_F3);
        QCOMPARE(albums::selectedNode(m_tree.get())->text(0), QStringLiteral("家庭聚会ABC"));

        window->btnFindNext->setEnabled(false);
        window->rgFindStart->setItemIndex(1);
        QTest::keyClick(window->edtFindValue, Qt::Key_F3);
        QCOMPARE(albums::selectedNode(m_tree.get())->text(0), QStringLiteral("家庭聚会ABC"));

        // 确定 finds, selects and closes.
        window->show();
        window->btnFind->click();
        QCOMPARE(albums::selectedNode(m_tree.get())->text(0), QStringLiteral("家庭"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!alive);
    }
};

QTEST_MAIN(TestAlbums)
#include "test_albums.moc"
