#pragma once

#include <QDialog>
#include <QPointer>

class QCheckBox;
class QComboBox;
class QKeyEvent;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class RadioGroup;
class TTreeMaker;

// The non-modal window that finds a node of a tree by its caption (or, knowing the tree's
// builder, by its id) and selects it. Nodes are addressed in depth-first order over all nodes,
// collapsed ones included. A found node is selected quietly and the tree's changed handler
// (albums::setTreeChangedHandler) is then called exactly once; the tree's changing handler may
// refuse the selection first.
//
// The window belongs to an owner (for the find entry: the tree): a child window of the owner
// when the owner is a widget, otherwise a window of its own that goes with the owner. There is
// one open window per owner (openFor); closing the window deletes it.
class TfrmFindTree final : public QDialog {
    Q_OBJECT
public:
    explicit TfrmFindTree(QObject* owner = nullptr);

    // The window of `owner` that is open and not closing, or null.
    static TfrmFindTree* openFor(QObject* owner);
    QObject* findOwner() const;

    // Sets the tree to search. The area choice is enabled only for a tree that allows several
    // selected nodes, and is reset to "所有节点" otherwise.
    void SetTreeView(QTreeWidget* tree);
    // Sets the builder and searches its tree; ids become searchable.
    void SetTreeMaker(TTreeMaker* maker);
    QTreeWidget* treeView() const;
    TTreeMaker* treeMaker() const;

    // The next node matching the options from the chosen start, or null; no wrap-around.
    // A search from "从第一个节点开始查找" (or the last) puts the start choice back to the
    // current node.
    QTreeWidgetItem* FindNode();

    // Finds the next node and selects it; does nothing when none matches. May raise what the
    // builder raises for an id search (see TTreeMaker::GetNodeId).
    void btnFindNextClick();
    void btnFindClick();
    void btnCancelClick();
    void rgFindWayClick();
    void FormShow();
    // F3 runs btnFindNextClick while that button is enabled; true when the key was used.
    bool FormKeyDown(QKeyEvent* event);

    QComboBox* cboFindItem;
    QLineEdit* edtFindValue;
    QCheckBox* chkIgnoreCase;
    QCheckBox* chkLikeFind;
    RadioGroup* rgFindWay;
    RadioGroup* rgFindArea;
    RadioGroup* rgFindStart;
    QPushButton* btnFindNext;
    QPushButton* btnFind;
    QPushButton* btnCancel;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    // Runs a button's action; errors are shown as a message instead of leaving the event loop.
    void runReported(void (TfrmFindTree::*action)());
    QString nodeText(const QTreeWidgetItem* node) const;

    QPointer<QObject> m_owner;
    QPointer<QTreeWidget> m_tree;
    QPointer<TTreeMaker> m_maker;
    bool m_closing = false;
};
