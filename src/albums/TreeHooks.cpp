#include "albums/TreeHooks.h"

#include <utility>

#include <QMenu>
#include <QPointer>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVariant>

namespace albums {
namespace {

// Dynamic property on a menu naming the tree it pops up for.
constexpr char kPopupTreeProperty[] = "fotarixPopupTree";

// The hidden child of a tree that holds its pop-up menu and selection handlers.
class TreeHooks final : public QObject {
    Q_OBJECT
public:
    explicit TreeHooks(QTreeWidget* tree) : QObject(tree), m_tree(tree) {
        connect(tree, &QTreeWidget::currentItemChanged, this, &TreeHooks::currentChanged);
        connect(tree, &QWidget::customContextMenuRequested, this, &TreeHooks::popup);
    }

    ~TreeHooks() override { forgetMenu(); }

    void setMenu(QMenu* menu) {
        forgetMenu();
        m_menu = menu;
        if (menu) menu->setProperty(kPopupTreeProperty, QVariant::fromValue<QObject*>(m_tree));
    }
    QMenu* menu() const { return m_menu; }

    TreeChangedHandler changed;
    TreeChangingHandler changing;

private:
    void forgetMenu() {
        if (m_menu && m_menu->property(kPopupTreeProperty).value<QObject*>() == m_tree)
            m_menu->setProperty(kPopupTreeProperty, QVariant());
        m_menu = nullptr;
    }

    void popup(const QPoint& pos) {
        if (m_menu) m_menu->popup(m_tree->viewport()->mapToGlobal(pos));
    }

    void currentChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous) {
        if (current && changing && !changing(m_tree, current)) {
            // Refused: put the previous node back without telling anyone.
            const QSignalBlocker blocker(m_tree);
            if (previous)
                m_tree->setCurrentItem(previous);
            else {
                m_tree->setCurrentItem(nullptr);
                m_tree->clearSelection();
            }
            return;
        }
        if (changed) changed(m_tree, current);
    }

    QTreeWidget* m_tree;
    QPointer<QMenu> m_menu;
};

TreeHooks* findHooks(const QTreeWidget* tree) {
    return tree ? tree->findChild<TreeHooks*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

TreeHooks* hooks(QTreeWidget* tree) {
    TreeHooks* h = findHooks(tree);
    return h ? h : new TreeHooks(tree);
}

}  // namespace

void setTreePopupMenu(QTreeWidget* tree, QMenu* menu) {
    if (!tree) return;
    hooks(tree)->setMenu(menu);
    tree->setContextMenuPolicy(menu ? Qt::CustomContextMenu : Qt::DefaultContextMenu);
}

QMenu* treePopupMenu(const QTreeWidget* tree) {
    const TreeHooks* h = findHooks(tree);
    return h ? h->menu() : nullptr;
}

QTreeWidget* popupComponent(const QMenu* menu) {
    if (!menu) return nullptr;
    auto* tree = qobject_cast<QTreeWidget*>(menu->property(kPopupTreeProperty).value<QObject*>());
    // The property is cleared when the assignment ends; check it still holds.
    return tree && treePopupMenu(tree) == menu ? tree : nullptr;
}

void setTreeChangedHandler(QTreeWidget* tree, TreeChangedHandler handler) {
    if (tree) hooks(tree)->changed = std::move(handler);
}

TreeChangedHandler treeChangedHandler(const QTreeWidget* tree) {
    const TreeHooks* h = findHooks(tree);
    return h ? h->changed : TreeChangedHandler();
}

void setTreeChangingHandler(QTreeWidget* tree, TreeChangingHandler handler) {
    if (tree) hooks(tree)->changing = std::move(handler);
}

TreeChangingHandler treeChangingHandler(const QTreeWidget* tree) {
    const TreeHooks* h = findHooks(tree);
    return h ? h->changing : TreeChangingHandler();
}

QTreeWidgetItem* selectedNode(const QTreeWidget* tree) {
    if (!tree) return nullptr;
    QTreeWidgetItem* current = tree->currentItem();
    if (current && current->isSelected()) return current;
    const QList<QTreeWidgetItem*> selected = tree->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

void selectTreeNode(QTreeWidget* tree, QTreeWidgetItem* node) {
    if (!tree || !node) return;
    const QSignalBlocker blocker(tree);
    tree->setCurrentItem(node, 0, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    tree->scrollToItem(node);
}

}  // namespace albums

#include "TreeHooks.moc"
