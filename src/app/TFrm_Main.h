#pragma once

#include <functional>

#include <QHash>
#include <QMainWindow>
#include <QString>

#include <span>

#include "app/CommandTable.h"
#include "store/PhotoLibrary.h"

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QPrinter;
class QSplitter;
class QStatusBar;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class TTreeMaker;
namespace albums {
class AlbumCommands;
}
namespace photos {
class PhotoBrowser;
class PhotoCommands;
}

// The main window: the album tree on the left, the photo list and the preview on the right,
// the menus and tool bars of every command. Creating it opens the photo library; when that
// fails the window asks the program to end (terminated()) and is never shown.
class TFrm_Main final : public QMainWindow {
    Q_OBJECT
public:
    explicit TFrm_Main(QWidget* parent = nullptr);
    ~TFrm_Main() override;

    // True when start-up failed and the program is to end without showing this window.
    bool terminated() const { return m_terminated; }

    store::PhotoLibrary& library() { return m_library; }
    QString PicDbPath() const { return m_picDbPath; }
    QString DisplayMode() const;
    QString SortOrder() const;
    QString TipsShown() const { return m_tipsShown; }
    TTreeMaker* treeMaker() const { return m_treeMaker; }
    photos::PhotoBrowser* browser() const { return m_browser; }
    QTreeWidget* tree() const { return Tree; }
    // Panel4 fills the right-hand area (true) or sits at its top above the preview.
    bool panel4FillsArea() const { return m_panel4Fills; }
    int panel4Height() const;

    bool RebuildAlbumTree(const QString& rootValue);
    // Runs the command of the sender's "Tag" property.
    void ItemClick(QObject* sender);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void FormCreate();
    void OpenPhotoLibrary();
    void FormDestroy();
    void FormActivate();
    bool FormCloseQuery();
    void FormClose();
    void TreeMakerAfterAddNode(QObject* sender, QTreeWidgetItem* node);
    void TreeChange(QTreeWidget* tree, QTreeWidgetItem* node);

    void createRegions();
    void createActions();
    void fillMenu(QMenu* menu, std::span<const app::MenuEntry> entries);
    QToolBar* buildToolBar(bool preview);
    void dispatch(const char* handler, QObject* sender);
    void registerHandlers();
    void notAvailable();
    void restoreView();
    void toggleView(int tag);
    void setPanel4Fill(bool fill);
    void emptyTempFolder();
    void setPassword();
    void createSubsystems();
    void showTips();
    void N22Click();
    void N23Click();
    void N27Click();
    void N59Click();
    void N70Click();
    void printerSetup();
    void openRecycleBin();
    void locatePhoto(const QString& albumId, const QString& photoId);
    bool requireWritable();
    void fail(const QString& notice, int kind);

    store::PhotoLibrary m_library;
    TTreeMaker* m_treeMaker = nullptr;
    photos::PhotoBrowser* m_browser = nullptr;
    albums::AlbumCommands* m_albumCommands = nullptr;
    photos::PhotoCommands* m_photoCommands = nullptr;
    QPrinter* m_printer = nullptr;
    QString m_picDbPath;
    QString m_tipsShown;
    bool m_terminated = false;
    bool m_panel4Fills = false;
    QHash<QString, std::function<void(QObject*)>> m_handlers;

    // Regions and components, named as the commands and settings refer to them.
    QWidget* CoolBar1 = nullptr;
    QToolBar* ToolBar4 = nullptr;
    QWidget* PanelTree = nullptr;
    QTreeWidget* Tree = nullptr;
    QWidget* Panel7 = nullptr;
    QSplitter* m_rightSplitter = nullptr;
    QWidget* Panel4 = nullptr;
    QWidget* Panel5 = nullptr;
    QWidget* CoolBar2 = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QWidget* PreviewHost = nullptr;  // holds the preview ImageEn1
    QWidget* InfoHost = nullptr;     // holds the information rows
    QWidget* Panel2 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QMenu* PopupMenu2 = nullptr;
    QMenu* PopupMenu3 = nullptr;
    QMenu* PopupMenu4 = nullptr;
    QActionGroup* m_sortGroup = nullptr;
    QActionGroup* m_styleGroup = nullptr;
};
