#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>

class QMimeData;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
class TTreeMaker;

namespace store {
class PhotoLibrary;
}

namespace albums {

// The drag format of a photo from the photo list: the photo's id as UTF-8 digits.
inline constexpr char kPhotoIdMimeType[] = "application/x-fotarix-photo-id";

// The photo list's selected photo as the album commands need it.
struct SelectedPhoto {
    QString id;       // sub-item 3 of the row
    QString caption;  // the row's caption (pic_name)
};

// What the album commands work on: the main window's library, its navigation tree with the
// builder that fills it, the window their dialogs belong to, and three calls back into the
// main window.
struct AlbumContext {
    store::PhotoLibrary& library;
    QTreeWidget* tree = nullptr;
    TTreeMaker* treeMaker = nullptr;
    QWidget* dialogParent = nullptr;
    // Rebuilds the navigation tree from the album query (RebuildAlbumTree("0")). When empty,
    // the builder is run directly.
    std::function<void()> rebuildTree;
    // Reloads the photos of the tree's selected album (TreeChange of the selected node).
    std::function<void()> reloadPhotos;
    // The photo list's selected photo, if any.
    std::function<std::optional<SelectedPhoto>()> selectedPhoto;
};

// The album commands of the navigation tree: new album (tag 101), album properties (102),
// delete album (103) and rename album (119), and the drops onto the tree (an album moved
// under another album, a photo moved into an album).
//
// Top-level albums are roots: they cannot be deleted or dragged. Ids are put into statements
// as bare digits after checking that they are digits; texts the user typed are written through
// the query's bound column values. On a library opened read-only every writing command says
// so and changes nothing, before any dialog opens.
//
// The commands raise db::DbError from the engine (the caller reports it, as the main window's
// dispatch does); the builder's albums::TreeError is shown as an error message box. Whatever a
// command did before a failure stays, except that deleting an album is one transaction. The
// drops run from the event loop and report every error themselves.
class AlbumCommands final : public QObject {
    Q_OBJECT
public:
    explicit AlbumCommands(AlbumContext context, QObject* parent = nullptr);

    // Runs the command of an ItemClick tag; false for a tag that is not an album command.
    bool run(int tag);

    void NewAlbum();
    void AlbumProperties();
    void DeleteAlbum();
    void RenameAlbum();

    bool IsAncestorAlbum(const QString& ancestorId, const QString& albumId);
    // Reopens the album query, gives an empty library the root album "我的相册" and rebuilds
    // the navigation tree.
    void RefreshAlbumTree();

    // Makes the tree a drag source and a drop target: drags over it are accepted, and a drop
    // runs TreeDragDrop for the node under the drop point once the drop has ended.
    void installDropHandling();

    // A drop on `target` (null: no node under the drop point). From the tree itself: the
    // selected album moves under the target. Otherwise the photo named by `mime`
    // (kPhotoIdMimeType), or without it the photo list's selected photo, moves into the
    // target album. Anything else is ignored.
    void TreeDragDrop(QObject* source, QTreeWidgetItem* target, const QMimeData* mime);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void guarded(void (AlbumCommands::*command)());
    void newAlbum();
    void albumProperties();
    void deleteAlbum();
    void renameAlbum();
    bool requireWritable();
    void rebuildTree();
    void reloadAlbumsQuietly();
    void ensureAlbumQuery();
    void albumDrop(QTreeWidgetItem* target);
    void photoDrop(QTreeWidgetItem* target, const QString& mimeId, bool fromMime);
    void reportError(const QString& message);

    AlbumContext m_context;
    QPointer<QWidget> m_viewport;
};

}  // namespace albums
