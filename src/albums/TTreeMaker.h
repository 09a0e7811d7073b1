#pragma once

#include <functional>

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class QTreeWidget;
class QTreeWidgetItem;

namespace db {
class Query;
}

// Fills a tree from a flat dataset in which every row names its own id (SonIDField), its
// parent's id (ParentIDField) and a caption (CaptionField), and answers afterwards which id a
// node stands for. Ids are texts compared exactly.
//
// The built tree: top-level nodes are the rows whose parent text equals the root value, every
// node has below it the rows naming its id as parent, siblings keep the dataset's row order, and
// rows whose parent chain never reaches the root (orphans, members of a parent cycle) are left
// out. A node carries in column 0, role Qt::UserRole, its position in the builder's id table;
// GetNodeId turns a node back into its id. After a build no node is selected.
//
// The builder reads the dataset once, grouping rows by parent id, so a build takes time
// linear in the number of rows. A node whose id is the root value or the id of one of its
// ancestors (a cycle reachable from the root) is added but not expanded again.
//
// The tree is a reference only: the builder is a QObject owned by its owner, and a tree that is
// destroyed clears the reference. The dataset is not a QObject: its owner keeps it alive while
// it is assigned (or assigns null before destroying it).
class TTreeMaker final : public QObject {
    Q_OBJECT
public:
    using AfterAddNodeHandler = std::function<void(QObject* sender, QTreeWidgetItem* node)>;

    explicit TTreeMaker(QObject* owner = nullptr);
    ~TTreeMaker() override;

    db::Query* dataSet() const { return m_dataSet; }
    void setDataSet(db::Query* dataSet) { m_dataSet = dataSet; }
    QTreeWidget* treeView() const;
    void setTreeView(QTreeWidget* tree);

    QString parentIDField() const { return m_parentIDField; }
    void setParentIDField(const QString& name) { m_parentIDField = name; }
    QString sonIDField() const { return m_sonIDField; }
    void setSonIDField(const QString& name) { m_sonIDField = name; }
    QString captionField() const { return m_captionField; }
    void setCaptionField(const QString& name) { m_captionField = name; }

    // Called with the builder and the node right after each node is added (and given its id).
    void setAfterAddNode(AfterAddNodeHandler handler) { m_afterAddNode = std::move(handler); }

    bool autoExpand() const { return m_autoExpand; }
    void setAutoExpand(bool on) { m_autoExpand = on; }
    bool showProgress() const { return m_showProgress; }
    void setShowProgress(bool on) { m_showProgress = on; }
    // Build from all rows whatever the dataset's own filter; the filter is put back afterwards.
    bool filterDataSet() const { return m_filterDataSet; }
    void setFilterDataSet(bool on) { m_filterDataSet = on; }
    bool showFindTreeMenu() const { return m_showFindTreeMenu; }
    void setShowFindTreeMenu(bool on) { m_showFindTreeMenu = on; }

    // Replaces every node of the tree by the tree of the rows below `rootValue`. Raises
    // albums::TreeError "导航树不存在。" without a tree, db::DbError "数据集未打开" without an
    // open dataset, and whatever the dataset raises (a column it lacks) or the AfterAddNode
    // handler raises; after a failure the nodes added so far stay, the tree repaints again and
    // in FilterDataSet mode the dataset has its filter text and flag back. With no top-level row
    // the tree stays empty and neither the expansion nor the find entry happens.
    void BuildTree(const QString& rootValue);

    // The id `node` stands for; the empty text for no node. Raises "指定的相册不存在。" for a
    // node that does not carry a position in the id table.
    void GetNodeId(const QTreeWidgetItem* node, QString& id) const;
    // CheckSelected, then the id of the selected node.
    void GetSelectedId(QString& id) const;
    // Raises "导航树不存在。" without a tree and "不存在选择的相册。" when no node is selected.
    void CheckSelected() const;

    // Adds the find entry (QAction "mniAutoFindTree", "查找(&F)", Ctrl+F) to the tree's pop-up
    // menu once: at the end after a separator, or at the top followed by a separator. Creates
    // a menu owned by the tree when it has none. Ctrl+F also works while the tree has focus.
    static void InstallFindMenu(QTreeWidget* tree, bool atEnd);
    // Opens (or brings up again) the tree search window for what `sender` names: a builder, a
    // tree, or a menu entry of a tree's pop-up menu or owned by a tree. One window per owner of
    // the sender.
    static void ShowFindTree(QObject* sender);

private:
    struct Scan;

    void addSubtrees(Scan& scan, const QString& rootValue);
    QList<QTreeWidgetItem*> addChildren(Scan& scan, QTreeWidgetItem* parent,
                                        const QString& parentId);
    bool mayExpand(Scan& scan, const QTreeWidgetItem* node, const QString& id,
                   const QString& rootValue) const;

    db::Query* m_dataSet = nullptr;
    QPointer<QTreeWidget> m_treeView;
    QString m_parentIDField;
    QString m_sonIDField;
    QString m_captionField;
    AfterAddNodeHandler m_afterAddNode;
    bool m_autoExpand = true;
    bool m_showProgress = false;
    bool m_filterDataSet = false;
    bool m_showFindTreeMenu = true;
    QStringList m_ids;  // the id table: node data slots index it
};
