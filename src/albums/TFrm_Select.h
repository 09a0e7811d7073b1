#pragma once

#include <QString>

#include "ui/TFrmBase.h"

class QLabel;
class QPushButton;
class QStatusBar;
class QTreeWidget;
class QTreeWidgetItem;
class TTreeMaker;

namespace store {
class PhotoLibrary;
}

// The album picker: the album tree of the library in a small modal window. The caller shows
// it with exec() and, on OK, reads the chosen album with treeMaker()->GetSelectedId and its
// caption with selectedCaption().
//
// The tree is built by the picker's own builder over the scratch query AdoTemp, which is
// closed again after each build. exec() rebuilds it every time before showing, so the picker
// never offers an album that was deleted (or misses one that was added) since it was last
// shown; the chosen id is written elsewhere without further checks.
//
// One picker serves the program (the album dialog and the recycle bin): Instance() creates it
// on first use and keeps it; FreeInstance() frees it after a failure, and the next Instance()
// makes a new one.
class TFrm_Select final : public TFrmBase {
    Q_OBJECT
public:
    explicit TFrm_Select(store::PhotoLibrary& library, QWidget* parent = nullptr);
    ~TFrm_Select() override;

    // The program's picker for `library`, created on first use as a child window of `owner`.
    // A picker made for another library is replaced.
    static TFrm_Select* Instance(store::PhotoLibrary& library, QWidget* owner);
    // The picker if one exists, else null.
    static TFrm_Select* existingInstance();
    static void FreeInstance();

    // Rebuilds the tree from "Select * from Album order by name ASC", then shows the picker
    // modally. Raises db::DbError when the albums cannot be read (nothing is shown then).
    int exec() override;

    // Rebuilds the tree now; no node is selected afterwards. Raises db::DbError.
    void RefreshTree();

    TTreeMaker* treeMaker() const { return m_treeMaker; }
    // The caption of the selected node, empty when none.
    QString selectedCaption() const;

    // Components, named as the form names them.
    QTreeWidget* TreeView1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* BtnOK = nullptr;
    QPushButton* BtnClose = nullptr;
    QStatusBar* StatusBar1 = nullptr;

protected:
    bool FormKeyPress(QKeyEvent* event) override;

private:
    void FormCreate();
    void BtnOKClick();
    void TreeMakerAfterAddNode(QObject* sender, QTreeWidgetItem* node);

    store::PhotoLibrary& m_library;
    TTreeMaker* m_treeMaker = nullptr;
};
