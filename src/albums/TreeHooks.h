#pragma once

#include <functional>

class QMenu;
class QTreeWidget;
class QTreeWidgetItem;

// What a navigation tree carries besides its nodes: a pop-up menu and two selection handlers.
// A QTreeWidget has neither an assignable pop-up menu nor a "selection changing" veto, so they
// are kept here, in a small hidden object that lives as a child of the tree.
//
// Pop-up menu. setTreePopupMenu(tree, menu) makes `menu` the tree's context menu: the tree's
// context-menu policy becomes Qt::CustomContextMenu and the menu pops up at the cursor on
// customContextMenuRequested. The menu may be owned by anyone (the main window creates its
// PopupMenu4 and assigns it here before the first build); TTreeMaker::InstallFindMenu creates a
// menu owned by the tree only when none is assigned. A menu that is destroyed is forgotten.
//
// Selection handlers. A tree's selection is reported through one changed handler:
//   setTreeChangedHandler(tree, handler) registers it AND routes the tree's currentItemChanged
//   signal to it, so the owner needs no connection of its own (a second connection of its own
//   would be called twice for a search result). Code that selects a node for the user
//   (the tree search window, the photo search) blocks the tree's signals while it selects and
//   then calls the handler exactly once itself; selectTreeNode() does the quiet selecting.
//   setTreeChangingHandler(tree, veto) registers an optional veto asked before a change: the
//   search window asks it before selecting, and a change made by the user that the veto refuses
//   is undone (quietly) before the changed handler would run.
//
// Main window wiring, before the first BuildTree:
//   albums::setTreePopupMenu(Tree, PopupMenu4);
//   albums::setTreeChangedHandler(Tree, [this](QTreeWidget* t, QTreeWidgetItem* n) {
//       TreeChange(t, n); });
namespace albums {

// The node may be null (the current node went away).
using TreeChangedHandler = std::function<void(QTreeWidget* tree, QTreeWidgetItem* node)>;
// Answers whether the tree may select `node`.
using TreeChangingHandler = std::function<bool(QTreeWidget* tree, QTreeWidgetItem* node)>;

// Assigns (or with null removes) the tree's pop-up menu.
void setTreePopupMenu(QTreeWidget* tree, QMenu* menu);
QMenu* treePopupMenu(const QTreeWidget* tree);
// The tree a menu is assigned to as pop-up menu, or null.
QTreeWidget* popupComponent(const QMenu* menu);

// Registers (or with an empty function removes) the handlers described above.
void setTreeChangedHandler(QTreeWidget* tree, TreeChangedHandler handler);
TreeChangedHandler treeChangedHandler(const QTreeWidget* tree);
void setTreeChangingHandler(QTreeWidget* tree, TreeChangingHandler handler);
TreeChangingHandler treeChangingHandler(const QTreeWidget* tree);

// The tree's selected node: the current node when it is selected, otherwise the first selected
// node; null when nothing is selected (a tree can have a current node that is not selected).
QTreeWidgetItem* selectedNode(const QTreeWidget* tree);

// Makes `node` the current and only selected node and scrolls it into view, without emitting
// any of the tree's signals; no handler runs.
void selectTreeNode(QTreeWidget* tree, QTreeWidgetItem* node);

}  // namespace albums
