#include "albums/TTreeMaker.h"

#include <vector>

#include <QAction>
#include <QHash>
#include <QMenu>
#include <QPalette>
#include <QSet>
#include <QSignalBlocker>
#include <QTreeWidget>

#include "albums/TfrmFindTree.h"
#include "albums/TfrmProgressForm.h"
#include "albums/TreeError.h"
#include "albums/TreeHooks.h"
#include "platform/db/DbError.h"
#include "platform/db/Query.h"

namespace {

const QString kFindEntryName = QStringLiteral("mniAutoFindTree");

// Keeps the dataset's attached controls switched off for one scan.
class ControlsOff final {
public:
    explicit ControlsOff(db::Query* query) : m_query(query) { m_query->disableControls(); }
    ~ControlsOff() { m_query->enableControls(); }
    ControlsOff(const ControlsOff&) = delete;
    ControlsOff& operator=(const ControlsOff&) = delete;

private:
    db::Query* m_query;
};

QAction* findEntryOf(const QList<QAction*>& actions) {
    for (QAction* action : actions)
        if (action->objectName().compare(kFindEntryName, Qt::CaseInsensitive) == 0) return action;
    return nullptr;
}

// The find entry of a tree: reused when the tree already has one (from an earlier menu), so
// that Ctrl+F is never bound twice on the same tree.
QAction* findEntry(QTreeWidget* tree) {
    if (QAction* existing = findEntryOf(tree->actions())) return existing;
    auto* entry = new QAction(QStringLiteral("查找(&F)"), tree);
    entry->setObjectName(kFindEntryName);
    entry->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    entry->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    entry->setVisible(true);
    QObject::connect(entry, &QAction::triggered, entry,
                     [entry] { TTreeMaker::ShowFindTree(entry); });
    tree->addAction(entry);
    return entry;
}

// The selected node stays highlighted as strongly while another window has the focus.
void keepSelectionVisible(QTreeWidget* tree) {
    QPalette palette = tree->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    tree->setPalette(palette);
}

}  // namespace

// The rows of one build, grouped by parent id in dataset order.
struct TTreeMaker::Scan {
    struct Row {
        QString id;
        QString caption;
    };
    QTreeWidget* tree = nullptr;
    std::vector<Row> rows;
    QHash<QString, std::vector<int>> children;
    QSet<QString> expanded;
};

TTreeMaker::TTreeMaker(QObject* owner) : QObject(owner) {}

TTreeMaker::~TTreeMaker() = default;

QTreeWidget* TTreeMaker::treeView() const { return m_treeView; }

void TTreeMaker::setTreeView(QTreeWidget* tree) { m_treeView = tree; }

void TTreeMaker::BuildTree(const QString& rootValue) {
    QTreeWidget* tree = m_treeView;
    if (!tree) throw albums::TreeError(QStringLiteral("导航树不存在。"));
    db::Query* dataSet = m_dataSet;
    if (!dataSet || !dataSet->active()) throw db::DbError(QStringLiteral("数据集未打开"));

    const bool wasFiltered = dataSet->filtered();
    const QString oldFilter = dataSet->filter();
    const bool updatesWereEnabled = tree->updatesEnabled();

    // No change notification leaves the tree while it is rebuilt: the owner's view of the
    // selection (the photo list) stays as it was, and the tree ends with no selection.
    const QSignalBlocker blocker(tree);
    tree->setUpdatesEnabled(false);
    QPointer<TfrmProgressForm> progress;
    if (m_showProgress) {
        progress = new TfrmProgressForm;
        progress->show();
        progress->SetActive(true);
    }

    const auto finish = [&] {
        tree->setUpdatesEnabled(updatesWereEnabled);
        delete progress.data();
        if (m_filterDataSet) {
            dataSet->setFiltered(wasFiltered);
            dataSet->setFilter(oldFilter);
        }
    };

    try {
        tree->clear();
        // Positions in the id table refer to nodes of one build only.
        m_ids.clear();
        Scan scan;
        scan.tree = tree;
        {
            const ControlsOff controlsOff(dataSet);
            if (m_filterDataSet) dataSet->setFiltered(false);
            if (progress) {
                progress->SetMax(dataSet->recordCount());
                progress->SetPosition(0);
            }
            scan.rows.reserve(static_cast<size_t>(dataSet->recordCount()));
            dataSet->first();
            while (!dataSet->eof()) {
                // A filter on the parent column never lets a NULL parent through.
                if (!m_filterDataSet || !dataSet->isNull(m_parentIDField)) {
                    const QString parent = dataSet->asText(m_parentIDField);
                    Scan::Row row{dataSet->asText(m_sonIDField), dataSet->asText(m_captionField)};
                    scan.children[parent].push_back(static_cast<int>(scan.rows.size()));
                    scan.rows.push_back(std::move(row));
                }
                if (progress) progress->StepBy(1);
                dataSet->next();
            }
        }

        addChildren(scan, nullptr, rootValue);
        if (tree->topLevelItemCount() > 0) {
            addSubtrees(scan, rootValue);
            if (m_autoExpand) tree->expandAll();
            if (m_showFindTreeMenu) {
                InstallFindMenu(tree, true);
                keepSelectionVisible(tree);
            }
        }
    } catch (...) {
        try {
            finish();
        } catch (...) {
            // The build's own failure is the one to report.
        }
        throw;
    }
    finish();
}

// Depth-first below every top-level node, the last top-level node first, each node's children
// added as one batch before any of them is expanded: the order in which nodes are added (and
// AfterAddNode is called) is the order of a recursive walk, without its stack depth.
void TTreeMaker::addSubtrees(Scan& scan, const QString& rootValue) {
    std::vector<QTreeWidgetItem*> pending;
    pending.reserve(static_cast<size_t>(scan.tree->topLevelItemCount()));
    for (int i = 0; i < scan.tree->topLevelItemCount(); ++i)
        pending.push_back(scan.tree->topLevelItem(i));
    while (!pending.empty()) {
        QTreeWidgetItem* node = pending.back();
        pending.pop_back();
        QString id;
        GetNodeId(node, id);
        if (!mayExpand(scan, node, id, rootValue)) continue;
        const QList<QTreeWidgetItem*> added = addChildren(scan, node, id);
        for (auto it = added.crbegin(); it != added.crend(); ++it) pending.push_back(*it);
    }
}

// A node is expanded unless nothing names it as parent, or its id is the root value or the id
// of one of its ancestors: expanding those would add the same nodes again without end.
bool TTreeMaker::mayExpand(Scan& scan, const QTreeWidgetItem* node, const QString& id,
                           const QString& rootValue) const {
    if (id == rootValue || !scan.children.contains(id)) return false;
    if (!scan.expanded.contains(id)) {
        scan.expanded.insert(id);
        return true;
    }
    // Seen before: a cycle only when an ancestor has this id (equal ids elsewhere are fine).
    for (const QTreeWidgetItem* up = node->parent(); up; up = up->parent()) {
        QString upId;
        GetNodeId(up, upId);
        if (upId == id) return false;
    }
    return true;
}

QList<QTreeWidgetItem*> TTreeMaker::addChildren(Scan& scan, QTreeWidgetItem* parent,
                                                const QString& parentId) {
    const auto found = scan.children.constFind(parentId);
    if (found == scan.children.constEnd()) return {};
    const std::vector<int>& rows = found.value();

    const qsizetype firstPosition = m_ids.size();
    QList<QTreeWidgetItem*> batch;
    batch.reserve(static_cast<qsizetype>(rows.size()));
    for (const int row : rows) {
        auto* node = new QTreeWidgetItem;
        node->setText(0, scan.rows[static_cast<size_t>(row)].caption);
        node->setData(0, Qt::UserRole, static_cast<int>(m_ids.size()));
        m_ids.append(scan.rows[static_cast<size_t>(row)].id);
        batch.append(node);
    }
    if (parent)
        parent->addChildren(batch);
    else
        scan.tree->addTopLevelItems(batch);

    if (m_afterAddNode) {
        for (qsizetype i = 0; i < batch.size(); ++i) {
            try {
                m_afterAddNode(this, batch[i]);
            } catch (...) {
                // The nodes added so far are those up to the failing one.
                for (qsizetype j = batch.size() - 1; j > i; --j) delete batch[j];
                m_ids.resize(firstPosition + i + 1);
                throw;
            }
        }
    }
    return batch;
}

void TTreeMaker::GetNodeId(const QTreeWidgetItem* node, QString& id) const {
    id.clear();
    if (!node) return;
    bool ok = false;
    const int position = node->data(0, Qt::UserRole).toInt(&ok);
    if (!ok || position < 0 || position >= m_ids.size())
        throw albums::TreeError(QStringLiteral("指定的相册不存在。"));
    id = m_ids[position];
}

void TTreeMaker::GetSelectedId(QString& id) const {
    CheckSelected();
    GetNodeId(albums::selectedNode(m_treeView), id);
}

void TTreeMaker::CheckSelected() const {
    if (!m_treeView) throw albums::TreeError(QStringLiteral("导航树不存在。"));
    if (!albums::selectedNode(m_treeView))
        throw albums::TreeError(QStringLiteral("不存在选择的相册。"));
}

void TTreeMaker::InstallFindMenu(QTreeWidget* tree, bool atEnd) {
    if (!tree) return;
    QMenu* menu = albums::treePopupMenu(tree);
    if (!menu) {
        menu = new QMenu(tree);
        albums::setTreePopupMenu(tree, menu);
        menu->addAction(findEntry(tree));
        return;
    }
    if (findEntryOf(menu->actions())) return;
    QAction* entry = findEntry(tree);
    if (atEnd) {
        menu->addSeparator();
        menu->addAction(entry);
    } else {
        QAction* first = menu->actions().value(0);
        menu->insertAction(first, entry);
        menu->insertSeparator(first);
    }
}

void TTreeMaker::ShowFindTree(QObject* sender) {
    if (!sender) return;
    QObject* owner = sender->parent();
    TfrmFindTree* window = TfrmFindTree::openFor(owner);
    if (!window) window = new TfrmFindTree(owner);

    if (auto* maker = qobject_cast<TTreeMaker*>(sender)) {
        window->SetTreeMaker(maker);
    } else if (auto* tree = qobject_cast<QTreeWidget*>(sender)) {
        window->SetTreeView(tree);
    } else if (auto* entry = qobject_cast<QAction*>(sender)) {
        QTreeWidget* tree = nullptr;
        for (QObject* user : entry->associatedObjects()) {
            if (auto* menu = qobject_cast<QMenu*>(user)) tree = albums::popupComponent(menu);
            if (tree) break;
        }
        if (!tree) tree = qobject_cast<QTreeWidget*>(entry->parent());
        if (tree) window->SetTreeView(tree);
    }
    window->show();
    window->raise();
    window->activateWindow();
}
