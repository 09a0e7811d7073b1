// The start-up sequence: find or create the photo library, connect to it read-write or
// read-only, ask for its password, guarantee the root album, build the tree, restore the view.
#include <QFileInfo>
#include <QTreeWidget>

#include "albums/TTreeMaker.h"
#include "app/AppSettings.h"
#include "app/FileAttributes.h"
#include "app/TFrm_Main.h"
#include "photos/PhotoBrowser.h"
#include "platform/db/ConnectionString.h"
#include "platform/db/DbError.h"
#include "store/Password.h"
#include "ui/AppPaths.h"
#include "ui/Dialogs.h"
#include "ui/Notice.h"

namespace {
const QString kInitFailed = QStringLiteral("数码相册初始化失败，可能是因为您的程序被破坏！");
const QString kOpenFailed = QStringLiteral("相册数据库打开失败，您无法对照片库进行管理！");
}  // namespace

void TFrm_Main::fail(const QString& text, int kind) {
    if (!text.isEmpty()) ui::ShowNotice(text, kind);
    m_terminated = true;
}

void TFrm_Main::OpenPhotoLibrary() {
    m_browser->setDisplayMode(QStringLiteral("1"));
    m_browser->setSortOrder(QStringLiteral("1"));
    const QString home = ui::paths::homeDir();

    // 1. The library named by the settings file, or the default beside the settings.
    m_picDbPath = app::readLibraryPath();
    if (m_picDbPath.isEmpty()) {
        m_picDbPath = home + QStringLiteral("PicData.pmd");
        app::writeLibraryPath(m_picDbPath);
    }

    // 2. A library that has gone missing may lie in the home folder under the same name.
    if (!QFileInfo::exists(m_picDbPath)) {
        const QString sameName = home + QFileInfo(m_picDbPath).fileName();
        if (QFileInfo(sameName).isFile()) {
            m_picDbPath = sameName;
            app::writeLibraryPath(m_picDbPath);
        } else {
            ui::ShowNotice(QStringLiteral("照片库文件") + m_picDbPath +
                               QStringLiteral("不存在，系统将新建一个空的照片库！"),
                           ui::NoticeInfo);
        }
    }

    // 3. A read-only file is reported and, where possible, made writable again.
    if (QFileInfo::exists(m_picDbPath)) {
        if (app::fileIsReadOnly(m_picDbPath))
            ui::ShowNotice(QStringLiteral("当前数码相册数据文件“") + m_picDbPath +
                               QStringLiteral("”是以只读方式打开的，您可修改文件的属性，以便对照片库进行管理！"),
                           ui::NoticeInfo);
        app::clearReadOnlyAttribute(m_picDbPath);
    } else {
        // 4. A new library is a copy of the template; an existing file is never overwritten.
        const QString model = ui::paths::programDir() + QStringLiteral("Model.dll");
        if (!QFileInfo(model).isFile() || !store::copyLibraryFile(model, m_picDbPath)) {
            ui::dialogs::message(this, QStringLiteral("提示信息"), kInitFailed, QMessageBox::Warning);
            fail(QString(), 0);
            return;
        }
    }

    // 5. Connect: read-only when the file stays read-only.
    db::Connection& conn = m_library.AdoConn();
    conn.close();
    conn.setConnectionString(QString::fromLatin1(app::fileIsReadOnly(m_picDbPath)
                                                     ? db::kReadOnlyConnection
                                                     : db::kReadWriteConnection) +
                             m_picDbPath);
    try {
        conn.open();
    } catch (const db::DbError&) {
        fail(kOpenFailed, ui::NoticeWarning);
        return;
    }

    // 6. The password, when the library has one.
    try {
        if (!store::checkPasswordAtStartup(this, conn)) {
            fail(QString(), 0);
            return;
        }
    } catch (const db::DbError&) {
        // Not a photo library (no parameter table) or damaged: nothing can be managed.
        fail(kOpenFailed, ui::NoticeWarning);
        return;
    }

    // 7. The albums, with the root album when there is none.
    try {
        m_library.ReloadAlbums();
        db::Query& albums = m_library.ADOQuery1();
        if (albums.isEmpty()) {
            albums.append();
            albums.setText(QStringLiteral("name"), QStringLiteral("数码相册"));
            albums.setInteger(QStringLiteral("parent_id"), 0);
            albums.setText(QStringLiteral("remark"), QStringLiteral("数码时代好伴侣"));
            albums.post();
        }
    } catch (const db::DbError&) {
        if (m_library.readOnly() && m_library.ADOQuery1().active()) {
            // A read-only library without albums stays empty; it can still be looked at.
            m_library.ADOQuery1().cancel();
        } else {
            fail(kOpenFailed, ui::NoticeWarning);
            return;
        }
    }

    // 8. The tree.
    m_treeMaker->setTreeView(Tree);
    m_treeMaker->setDataSet(&m_library.ADOQuery1());
    m_treeMaker->setCaptionField(QStringLiteral("name"));
    m_treeMaker->setSonIDField(QStringLiteral("id"));
    m_treeMaker->setParentIDField(QStringLiteral("parent_id"));
    if (!RebuildAlbumTree(QStringLiteral("0")))
        ui::ShowNotice(QStringLiteral("相册导航树创建失败！"), ui::NoticeInfo);

    // 9. The parts of the window the user left shown or hidden.
    restoreView();
}
