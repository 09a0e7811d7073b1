#include "albums/AlbumCommands.h"

#include <QDropEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPersistentModelIndex>
#include <QTimer>
#include <QTreeWidget>
#include <memory>
#include <utility>

#include "albums/AlbumQueries.h"
#include "albums/TFrmAlbum_New.h"
#include "albums/TTreeMaker.h"
#include "albums/TreeError.h"
#include "albums/TreeHooks.h"
#include "platform/db/DbError.h"
#include "platform/db/Query.h"
#include "platform/db/Transaction.h"
#include "store/PhotoLibrary.h"
#include "ui/Dialogs.h"
#include "ui/Notice.h"

namespace albums {
namespace {

const QString kName = QStringLiteral("name");
const QString kParentId = QStringLiteral("parent_id");
const QString kRemark = QStringLiteral("remark");
const QString kId = QStringLiteral("id");

// Drops on the tree are taken as copies: a drag source that sees a move would remove the
// dragged row itself, and the tree is rebuilt from the library anyway.
void acceptAsCopy(QDropEvent* event) {
    if (event->possibleActions() & Qt::CopyAction) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->acceptProposedAction();
    }
}

}  // namespace

AlbumCommands::AlbumCommands(AlbumContext context, QObject* parent)
    : QObject(parent), m_context(std::move(context)) {}

bool AlbumCommands::run(int tag) {
    switch (tag) {
        case 101:
            NewAlbum();
            return true;
        case 102:
            AlbumProperties();
            return true;
        case 103:
            DeleteAlbum();
            return true;
        case 119:
            RenameAlbum();
            return true;
        default:
            return false;
    }
}

// The builder's errors (a node without an id, an id that is not one) are reported here; the
// engine's errors go on to the caller.
void AlbumCommands::guarded(void (AlbumCommands::*command)()) {
    try {
        (this->*command)();
    } catch (const TreeError& e) {
        reportError(e.message());
    }
}

bool AlbumCommands::requireWritable() {
    if (!m_context.library.readOnly()) return true;
    ui::dialogs::warn(m_context.dialogParent,
                      QStringLiteral("当前照片库是以只读方式打开的，不能进行修改！"));
    return false;
}

void AlbumCommands::rebuildTree() {
    if (m_context.rebuildTree) {
        m_context.rebuildTree();
        return;
    }
    if (!m_context.treeMaker) return;
    try {
        m_context.treeMaker->BuildTree(QStringLiteral("0"));
    } catch (...) {
        // As the main window's rebuild: a tree that cannot be built stays as far as it got.
    }
}

// After a failed change the album query is put back on the library's rows, so that the tree
// and later commands see what the file holds.
void AlbumCommands::reloadAlbumsQuietly() {
    try {
        m_context.library.ReloadAlbums();
        rebuildTree();
    } catch (...) {
        // The original failure is the one to report.
    }
}

void AlbumCommands::ensureAlbumQuery() {
    if (!m_context.library.ADOQuery1().active()) m_context.library.ReloadAlbums();
}

void AlbumCommands::NewAlbum() { guarded(&AlbumCommands::newAlbum); }

void AlbumCommands::newAlbum() {
    if (!requireWritable()) return;
    TFrmAlbum_New dialog(m_context.library, m_context.dialogParent);
    if (QTreeWidgetItem* node = selectedNode(m_context.tree)) {
        QString id;
        m_context.treeMaker->GetNodeId(node, id);
        dialog.setParentAlbum(id, node->text(0));
    }
    if (dialog.exec() != QDialog::Accepted) return;

    const QString parentId = dialog.parentId().trimmed();
    if (!parentId.isEmpty()) requireIdText(parentId);
    ensureAlbumQuery();
    db::Query& albums = m_context.library.ADOQuery1();
    albums.append();
    albums.setText(kName, dialog.albumName());
    albums.setText(kRemark, dialog.remark());
    albums.setInteger(kParentId, parentId.isEmpty() ? 0 : parentId.toLongLong());
    albums.post();

    m_context.library.ReloadAlbums();
    rebuildTree();
    ui::ShowNotice(QStringLiteral("新增相册成功！"), ui::NoticeInfo);
}

void AlbumCommands::AlbumProperties() { guarded(&AlbumCommands::albumProperties); }

void AlbumCommands::albumProperties() {
    if (!requireWritable()) return;
    QTreeWidgetItem* node = selectedNode(m_context.tree);
    if (!node) {
        ui::ShowNotice(QStringLiteral("请选择相册后再编辑相册的属性！"), ui::NoticeInfo);
        return;
    }
    QString id;
    m_context.treeMaker->GetNodeId(node, id);
    requireIdText(id);
    const QString caption = node->text(0);
    QString parentId = QStringLiteral("0");
    QString parentCaption = QStringLiteral(" ");
    if (QTreeWidgetItem* parent = node->parent()) {
        m_context.treeMaker->GetNodeId(parent, parentId);
        parentCaption = parent->text(0);
    }

    ensureAlbumQuery();
    db::Query& albums = m_context.library.ADOQuery1();
    QString remark;
    if (albums.locate(kId, id)) remark = albums.asText(kRemark);

    TFrmAlbum_New dialog(m_context.library, m_context.dialogParent);
    dialog.setWindowTitle(QStringLiteral("编辑相册属性"));
    dialog.setAlbumName(caption);
    dialog.setRemark(remark);
    dialog.setParentAlbum(parentId, parentCaption);
    dialog.setOwnId(id);
    if (dialog.exec() != QDialog::Accepted) return;

    const QString newParent = dialog.parentId().trimmed();
    if (!newParent.isEmpty()) requireIdText(newParent);
    ensureAlbumQuery();
    if (albums.locate(kId, id)) {
        albums.edit();
        albums.setText(kName, dialog.albumName());
        albums.setText(kRemark, dialog.remark());
        albums.setInteger(kParentId, newParent.isEmpty() ? 0 : newParent.toLongLong());
        // An album is never its own parent: such a row would drop out of the tree.
        if (albums.asText(kParentId) == id) albums.setInteger(kParentId, 0);
        albums.post();
        ui::ShowNotice(QStringLiteral("修改相册属性成功！"), ui::NoticeInfo);
    }
    m_context.library.ReloadAlbums();
    rebuildTree();
}

void AlbumCommands::DeleteAlbum() { guarded(&AlbumCommands::deleteAlbum); }

void AlbumCommands::deleteAlbum() {
    if (!requireWritable()) return;
    QTreeWidgetItem* node = selectedNode(m_context.tree);
    if (!node) {
        ui::ShowNotice(QStringLiteral("请选择要删除的相册！"), ui::NoticeError);
        return;
    }
    if (nodeLevel(node) == 0) {
        ui::ShowNotice(QStringLiteral("根相册目录不允许删除！"), ui::NoticeError);
        return;
    }
    QString id;
    m_context.treeMaker->GetNodeId(node, id);
    QString parentId = QStringLiteral("0");
    if (QTreeWidgetItem* parent = node->parent()) m_context.treeMaker->GetNodeId(parent, parentId);
    requireIdText(id);
    requireIdText(parentId);

    const QString caption = node->text(0);
    if (!ui::dialogs::askYesNo(m_context.dialogParent,
                               QStringLiteral("您真的要删除相册〖") + caption +
                                   QStringLiteral("〗吗？（删除相册后，") + caption +
                                   QStringLiteral("中所有的照片都会进入回收站)")))
        return;

    ensureAlbumQuery();
    db::Query& albums = m_context.library.ADOQuery1();
    if (!albums.locate(kId, id)) return;
    // The row, its children's parent and its photos change together or not at all, so that a
    // failure never leaves sub-albums hanging from an album that is gone.
    try {
        db::Transaction transaction(m_context.library.AdoConn());
        albums.deleteRow();
        m_context.library
            .temp(QStringLiteral("update Album set parent_id=") + parentId +
                  QStringLiteral(" where parent_id=") + id)
            .execSql();
        m_context.library
            .temp(QStringLiteral("update picture Set album_id=NULL where album_id=") + id)
            .execSql();
        transaction.commit();
    } catch (...) {
        reloadAlbumsQuietly();
        throw;
    }
    m_context.library.ReloadAlbums();
    rebuildTree();
    ui::ShowNotice(QStringLiteral("删除相册成功，相册中的照片被转入回收站！"), ui::NoticeInfo);
}

void AlbumCommands::RenameAlbum() { guarded(&AlbumCommands::renameAlbum); }

void AlbumCommands::renameAlbum() {
    if (!requireWritable()) return;
    QTreeWidgetItem* node = selectedNode(m_context.tree);
    if (!node) return;
    const QString current = node->text(0).trimmed();
    QString answer = current;
    if (!ui::dialogs::inputText(m_context.dialogParent, QStringLiteral("请输入新的相册名称"),
                                QString(), answer))
        return;
    answer = answer.trimmed();
    if (answer.isEmpty() || answer == current) return;

    QString id;
    m_context.treeMaker->GetNodeId(node, id);
    requireIdText(id);
    ensureAlbumQuery();
    db::Query& albums = m_context.library.ADOQuery1();
    if (!albums.locate(kId, id)) return;
    albums.edit();
    albums.setText(kName, answer);
    albums.post();
    node->setText(0, answer);
    ui::ShowNotice(QStringLiteral("重命名相册名称成功！"), ui::NoticeInfo);
}

bool AlbumCommands::IsAncestorAlbum(const QString& ancestorId, const QString& albumId) {
    return albums::IsAncestorAlbum(m_context.library, ancestorId, albumId);
}

void AlbumCommands::RefreshAlbumTree() {
    store::PhotoLibrary& library = m_context.library;
    library.ReloadAlbums();
    db::Query& albums = library.ADOQuery1();
    if (albums.isEmpty() && !library.readOnly()) {
        albums.append();
        albums.setText(kName, QStringLiteral("我的相册"));
        albums.setInteger(kParentId, 0);
        albums.setText(kRemark, QStringLiteral("数码时代好伴侣"));
        albums.post();
    }
    if (TTreeMaker* maker = m_context.treeMaker) {
        maker->setTreeView(m_context.tree);
        maker->setDataSet(&albums);
        maker->setCaptionField(kName);
        maker->setSonIDField(kId);
        maker->setParentIDField(kParentId);
    }
    rebuildTree();
}

// ---- drag and drop ------------------------------------------------------------------------

void AlbumCommands::installDropHandling() {
    QTreeWidget* tree = m_context.tree;
    if (!tree) return;
    tree->setDragEnabled(true);
    tree->setDragDropMode(QAbstractItemView::DragDrop);
    tree->setDefaultDropAction(Qt::CopyAction);
    tree->setAcceptDrops(true);
    if (m_viewport) m_viewport->removeEventFilter(this);
    m_viewport = tree->viewport();
    m_viewport->setAcceptDrops(true);
    m_viewport->installEventFilter(this);
}

bool AlbumCommands::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_viewport || !m_context.tree) return QObject::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
            // Every drag over the tree is welcome; the drop decides what it means.
            acceptAsCopy(static_cast<QDropEvent*>(event));
            return true;
        case QEvent::DragLeave:
            return true;
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            acceptAsCopy(drop);
            // The work asks questions in modal boxes: it runs after the drag has ended, with a
            // copy of what the drag carried.
            QTreeWidget* tree = m_context.tree;
            const QPersistentModelIndex target(tree->indexAt(drop->position().toPoint()));
            QPointer<QObject> source(drop->source());
            const bool hadSource = source != nullptr;
            std::shared_ptr<QMimeData> mime;
            if (const QMimeData* carried = drop->mimeData()) {
                mime = std::make_shared<QMimeData>();
                for (const QString& format : carried->formats())
                    mime->setData(format, carried->data(format));
            }
            QTimer::singleShot(0, this, [this, target, source, hadSource, mime] {
                QTreeWidget* tree = m_context.tree;
                if (!tree) return;
                // A source that went away meanwhile was not the tree (the tree is still here).
                QObject* from = source ? source.data() : nullptr;
                if (hadSource && !from) from = this;
                QTreeWidgetItem* node = target.isValid() ? tree->itemFromIndex(target) : nullptr;
                TreeDragDrop(from, node, mime.get());
            });
            return true;
        }
        default:
            return QObject::eventFilter(watched, event);
    }
}

void AlbumCommands::TreeDragDrop(QObject* source, QTreeWidgetItem* target, const QMimeData* mime) {
    try {
        const QString format = QString::fromLatin1(kPhotoIdMimeType);
        if (source && source == m_context.tree)
            albumDrop(target);
        else if (mime && mime->hasFormat(format))
            photoDrop(target, QString::fromUtf8(mime->data(format)).trimmed(), true);
        else if (source)
            photoDrop(target, QString(), false);
    } catch (const db::DbError& e) {
        reportError(e.message());
    } catch (const TreeError& e) {
        reportError(e.message());
    }
}

void AlbumCommands::albumDrop(QTreeWidgetItem* target) {
    QTreeWidgetItem* dragged = selectedNode(m_context.tree);
    if (!dragged || nodeLevel(dragged) == 0 || !target) return;
    QString draggedId;
    QString targetId;
    m_context.treeMaker->GetNodeId(dragged, draggedId);
    m_context.treeMaker->GetNodeId(target, targetId);
    if (targetId == draggedId) return;
    if (!requireWritable()) return;
    requireIdText(draggedId);
    requireIdText(targetId);
    if (IsAncestorAlbum(draggedId, targetId)) {
        ui::ShowNotice(QStringLiteral("不能把父节点相册拖动到子节点相册下面！"), ui::NoticeInfo);
        return;
    }
    QString targetName;
    if (!albumNameOf(m_context.library, targetId, targetName)) return;
    const QString question = QStringLiteral("您真的要把相册【") + dragged->text(0) +
                             QStringLiteral("】归属于相册【") + targetName + QStringLiteral("】？");
    if (ui::dialogs::message(m_context.dialogParent, QStringLiteral("提示信息"), question,
                             QMessageBox::Information,
                             QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
        return;
    try {
        m_context.library
            .temp(QStringLiteral("update Album set parent_id=") + targetId +
                  QStringLiteral(" where id=") + draggedId)
            .execSql();
    } catch (...) {
        reloadAlbumsQuietly();
        throw;
    }
    RefreshAlbumTree();
}

void AlbumCommands::photoDrop(QTreeWidgetItem* target, const QString& mimeId, bool fromMime) {
    if (!target) return;
    QString photoId;
    QString caption;
    if (fromMime) {
        photoId = mimeId;
    } else {
        const std::optional<SelectedPhoto> selected =
            m_context.selectedPhoto ? m_context.selectedPhoto() : std::nullopt;
        if (!selected) return;
        photoId = selected->id.trimmed();
        caption = selected->caption;
    }
    if (!isIdText(photoId)) return;
    if (!requireWritable()) return;

    if (fromMime) {
        // The dragged photo's own name, not whatever row the list has selected.
        db::Query& q = m_context.library.temp(
            QStringLiteral("select pic_name from picture where id=") + photoId);
        q.open();
        const bool found = !q.isEmpty();
        if (found) caption = q.asText(QStringLiteral("pic_name"));
        q.close();
        if (!found) return;
    }

    QString targetId;
    m_context.treeMaker->GetNodeId(target, targetId);
    requireIdText(targetId);
    QString targetName;
    if (!albumNameOf(m_context.library, targetId, targetName)) return;
    const QString question = QStringLiteral("您真的要把照片【") + caption +
                             QStringLiteral("】放到相册【") + targetName + QStringLiteral("】中？");
    if (ui::dialogs::message(m_context.dialogParent, QStringLiteral("提示信息"), question,
                             QMessageBox::Information,
                             QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
        return;
    m_context.library
        .temp(QStringLiteral("update picture set album_id=") + targetId +
              QStringLiteral(" where id=") + photoId)
        .execSql();
    m_context.library.ReloadAlbums();
    if (m_context.reloadPhotos) m_context.reloadPhotos();
}

void AlbumCommands::reportError(const QString& message) {
    ui::dialogs::message(m_context.dialogParent, QStringLiteral("提示信息"), message,
                         QMessageBox::Critical);
}

}  // namespace albums
