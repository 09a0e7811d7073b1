#pragma once

// The photo browser of the main window: the selected album's photos as a list (ListView1) or
// as thumbnails (ImageEnMView1), the preview of the selected photo (ImageEn1), its
// information rows (lvInfo) and the status bar texts.
//
//   photos::PhotoBrowser::Context context{&library, treeMaker, Tree, Panel4, PreviewHost,
//                                         InfoHost, StatusBar1};
//   m_browser = new photos::PhotoBrowser(context, this);
//   ... TreeChange(node) forwards to m_browser->TreeChange(node), and so on.
//
// The browser creates its widgets inside the given hosts (adding a vertical layout where a
// host has none) and the status panels 0 to 5 at the end of the status bar. Photos reach
// the preview through temporary files: a list row's photo is written the first time the row
// is shown and reused while its file exists. List mode reads no photo bytes until a row is
// shown; thumbnail mode writes every photo of the album and makes the thumbnails in the
// background on all cores, the first screen first.
//
// Database errors raised by the commands reach the caller as db::DbError.

#include <QList>
#include <QObject>
#include <QString>

#include "platform/image/InfoRows.h"

class QLabel;
class QMenu;
class QProgressBar;
class QStatusBar;
class QTableWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
class TTreeMaker;

namespace image {
class ImageView;
}
namespace store {
class PhotoLibrary;
}

namespace photos {

class PhotoListView;
class ThumbnailLoader;
class ThumbnailView;

class PhotoBrowser final : public QObject {
    Q_OBJECT
public:
    struct Context {
        store::PhotoLibrary* library = nullptr;
        TTreeMaker* treeMaker = nullptr;
        QTreeWidget* tree = nullptr;
        QWidget* listHost = nullptr;      // Panel4: title, ListView1 and ImageEnMView1
        QWidget* previewHost = nullptr;   // ImageEn1
        QWidget* infoHost = nullptr;      // lvInfo
        QStatusBar* statusBar = nullptr;  // panels 0 to 5
    };

    // The thumbnail image box (the embedded EXIF thumbnails of cameras are larger).
    static QSize thumbnailBox();

    explicit PhotoBrowser(const Context& context, QObject* parent = nullptr);
    ~PhotoBrowser() override;

    // Main-window state: "1" list mode / "2" thumbnails; "1" by name / otherwise by remark.
    QString DisplayMode() const { return m_displayMode; }
    QString SortOrder() const { return m_sortOrder; }
    void setDisplayMode(const QString& mode) { m_displayMode = mode; }
    void setSortOrder(const QString& order) { m_sortOrder = order; }

    // The tree's selection changed to `node` (null: nothing to do).
    void TreeChange(QTreeWidgetItem* node);
    void LoadPhotoList();
    void LoadPhotoThumbnails();
    // Shows the list's selected row in the preview, the information rows and the status bar.
    void ListView1Click();
    void tbPriorClick();
    void tbNextClick();
    void ToolButton1Click();    // zoom in by 10 percent
    void ToolButton2Click();    // zoom out by 10 percent
    void ToolButton4Click();    // actual size
    void ToolButton8Click();    // fit the whole image
    void ToolButton13Click();   // rotate 90 degrees clockwise
    void ToolButton15Click();   // rotate 90 degrees counter-clockwise
    // The View commands 301, 302 and 308 to 312; false for any other tag.
    bool viewCommand(int tag);
    void listModeSwitch();
    void thumbnailModeSwitch();

    PhotoListView* ListView1() const { return m_list; }
    ThumbnailView* ImageEnMView1() const { return m_thumbs; }
    image::ImageView* ImageEn1() const { return m_preview; }
    QTableWidget* lvInfo() const { return m_info; }
    QProgressBar* ProgressBar1() const { return m_progress; }
    QLabel* statusPanel(int index) const;

    // Row access for the other commands (rows from 0; -1 when none is selected).
    int selectedRow() const;
    void selectRow(int row);
    int rowCount() const;
    QString rowId(int row) const;
    QString rowTempFile(int row) const;

    // The information rows describing the photo in the preview.
    QList<image::InfoRow> shownInfoRows() const { return m_shownRows; }
    // Drops the thumbnail load under way and waits until no background worker writes into
    // the temporary directory or reads the library: call it before emptying the temporary
    // directory, closing the library or replacing its file. Thumbnails not yet made stay empty.
    void finishBackgroundWork();
    // True while thumbnails are still being made.
    bool thumbnailsLoading() const;
    ThumbnailLoader* thumbnailLoader() const { return m_loader; }
    // The pop-up menu of the photo list (PopupMenu2), not owned.
    void setListPopupMenu(QMenu* menu);

signals:
    void photoDoubleClicked(int row);
    // Thumbnail mode hides the photo commands (N5, tbPricture), list mode shows them.
    void photoCommandsVisibleChanged(bool visible);
    void photoListLoaded();
    void thumbnailsFinished();
    void previewShown();

private:
    void createWidgets();
    void setStatus(int panel, const QString& text);
    void setAlbumStatus(int count);
    QTreeWidgetItem* selectedAlbum() const;
    QString selectedAlbumId() const;
    bool startLoadProgress(int count, int serial);
    QString ensureTempFile(int row, bool* rowGone);
    void showFile(const QString& path);
    void describePreview();
    void showZoom();
    void setListStyle(int tag);
    void thumbnailReady(int index, const QImage& image, const QString& error);

    Context m_context;
    QString m_displayMode = QStringLiteral("1");
    QString m_sortOrder = QStringLiteral("1");

    QWidget* m_listTitle = nullptr;
    QProgressBar* m_progress = nullptr;
    PhotoListView* m_list = nullptr;
    ThumbnailView* m_thumbs = nullptr;
    image::ImageView* m_preview = nullptr;
    QTableWidget* m_info = nullptr;
    QList<QLabel*> m_status;
    ThumbnailLoader* m_loader = nullptr;
    QList<image::InfoRow> m_shownRows;
    int m_treeChangeSerial = 0;   // TreeChange calls so far
    int m_loadSerial = 0;         // list and thumbnail loads so far
};

}  // namespace photos
