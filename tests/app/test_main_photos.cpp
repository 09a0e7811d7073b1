// The main window with photos in its library: locating a found photo, the recycle bin's refresh
// of the list, and a photo dragged from the real list onto another album.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "albums/AlbumCommands.h"
#include "albums/TreeHooks.h"
#include "app/TFrm_Main.h"
#include "photos/PhotoBrowser.h"
#include "photos/PhotoListModel.h"
#include "photos/PhotoListView.h"
#include "photos/PhotoSearchModel.h"
#include "photos/TFrm_Search.h"
#include "platform/db/Connection.h"
#include "platform/db/ConnectionString.h"
#include "platform/db/Query.h"
#include "support/ModalDialogs.h"
#include "support/TreeNodes.h"
#include "ui/AppPaths.h"
#include "ui/Dialogs.h"

class TestMainPhotos final : public QObject {
    Q_OBJECT

    QTemporaryDir* m_root = nullptr;
    QString library() const { return m_root->filePath("home/PicData.pmd"); }

    QString sql1(const QString& sql) {
        db::Connection conn;
        conn.setConnectionString(QString::fromLatin1(db::kReadWriteConnection) + library());
        conn.open();
        db::Query q(&conn);
        q.setSql(sql);
        q.open();
        return q.isEmpty() ? QString() : q.asText(q.columnNames().value(0));
    }

    QTreeWidgetItem* node(TFrm_Main& w, const QString& caption) {
        return testsupport::findNode(w.tree(), caption);
    }

private slots:
    void init() {
        m_root = new QTemporaryDir;
        const QString program = m_root->filePath("program/");
        QDir().mkpath(program);
        QVERIFY(QFile::copy(qEnvironmentVariable("FOTARIX_BUILD_DIR") + "/Model.dll", program + "Model.dll"));
        ui::paths::setProgramDir(program);
        qputenv("FOTARIX_HOME", m_root->filePath("home").toUtf8());
        qputenv("TMPDIR", m_root->filePath("tmp").toUtf8());
        QDir().mkpath(m_root->filePath("tmp"));
        ui::dialogs::setResponder([](const ui::dialogs::Request&) {
            ui::dialogs::Answer a;
            a.button = QMessageBox::Ok;
            return a;
        });
        { TFrm_Main first; }  // creates the library with its root album

        // Two albums below the root and three photos.
        db::Connection conn;
        conn.setConnectionString(QString::fromLatin1(db::kReadWriteConnection) + library());
        conn.open();
        conn.execute("insert into Album(name,parent_id,remark) values('旅行',1,'');"
                     "insert into Album(name,parent_id,remark) values('家庭',1,'');"
                     "insert into parameter(parent_id,pvalue,domain_no,meaning) values(0,'False','每日一帖','')");
        QImage image(64, 48, QImage::Format_RGB32);
        const QString jpeg = m_root->filePath("p.jpg");
        image.fill(Qt::darkCyan);
        QVERIFY(image.save(jpeg));
        db::Query q(&conn);
        q.setSql("select * from picture where 1<>1");
        q.open();
        const struct { int album; const char* name; } photos[] = {{2, "海边.jpg"}, {2, "山顶.jpg"}, {0, "旧照.jpg"}};
        for (const auto& p : photos) {
            q.append();
            q.setInteger("album_id", p.album);
            q.setText("pic_name", QString::fromUtf8(p.name));
            q.setText("file_name", jpeg);
            q.loadBlobFromFile("pic_content", jpeg);
            q.post();
        }
    }
    void cleanup() {
        ui::dialogs::setResponder({});
        delete m_root;
        m_root = nullptr;
    }

    void searchLocatesAlbumAndPhoto() {
        TFrm_Main w;
        QVERIFY(!w.terminated());
        QTimer::singleShot(0, this, [] {
            auto* search = qobject_cast<photos::TFrm_Search*>(QApplication::activeModalWidget());
            QVERIFY(search);
            search->EdtValue->insert("山顶");  // as typed through an input method
            QCOMPARE(search->model()->rowCount(), 1);
            search->DBGridEh1->selectRow(0);
            search->BtnLocate->click();
            search->close();
        });
        w.findChild<QAction*>("N107")->trigger();
        QCOMPARE(albums::selectedNode(w.tree())->text(0), QString("旅行"));
        const int row = w.browser()->selectedRow();
        QVERIFY(row >= 0);
        QCOMPARE(w.browser()->ListView1()->caption(row), QString("山顶.jpg"));
        QVERIFY(QFile::exists(w.browser()->rowTempFile(row)));  // shown in the preview
    }

    void recycleBinRefreshesTheList() {
        TFrm_Main w;
        QTreeWidgetItem* family = node(w, "家庭");
        albums::selectTreeNode(w.tree(), family);
        w.browser()->TreeChange(family);
        QCOMPARE(w.browser()->rowCount(), 0);
        // Restoring the bin's photo into "家庭" through the real picker.
        testsupport::whenModal("photos::TFrm_RecycleBin", [](QWidget* bin) {
            testsupport::answerAlbumPicker("家庭");
            auto* list = bin->findChild<QAbstractItemView*>("ListView1");
            list->setCurrentIndex(list->model()->index(0, 0));
            bin->findChild<QPushButton*>("BtnResume")->click();
            bin->close();
        });
        w.findChild<QAction*>("N122")->trigger();
        QCOMPARE(w.browser()->rowCount(), 1);
        QCOMPARE(sql1("select album_id from picture where pic_name='旧照.jpg'"), sql1("select id from Album where name='家庭'"));
    }

    void addPhotosFromTheMenu() {
        TFrm_Main w;
        QTreeWidgetItem* family = node(w, "家庭");
        albums::selectTreeNode(w.tree(), family);
        w.browser()->TreeChange(family);
        const QString source = m_root->filePath("p.jpg");
        ui::dialogs::setResponder([source](const ui::dialogs::Request& r) {
            ui::dialogs::Answer a;
            a.button = QMessageBox::Ok;
            if (r.kind == ui::dialogs::Kind::OpenFiles) a.files = {source, source};
            return a;
        });
        w.findChild<QAction*>("N80")->trigger();
        QCOMPARE(w.browser()->rowCount(), 2);
        const QString album = sql1("select id from Album where name='家庭'");
        QCOMPARE(sql1("select count(id) from picture where album_id=" + album), QString("2"));
        QFile file(source);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(sql1("select count(id) from picture where album_id=" + album + " and pic_content=x'" +
                      QString::fromLatin1(bytes.toHex()) + "'"),
                 QString("2"));
    }

    void photoDraggedFromTheListMovesToTheAlbum() {
        TFrm_Main w;
        QTreeWidgetItem* travel = node(w, "旅行");
        albums::selectTreeNode(w.tree(), travel);
        w.browser()->TreeChange(travel);
        QCOMPARE(w.browser()->rowCount(), 2);
        // The drag data the real list produces for its first row.
        auto* view = w.browser()->ListView1();
        QMimeData* mime = view->model()->mimeData({view->model()->index(0, 0)});
        QVERIFY(mime->hasFormat(albums::kPhotoIdMimeType));
        const QString movedId = QString::fromUtf8(mime->data(albums::kPhotoIdMimeType));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QWidget* viewport = w.tree()->viewport();
        const QPoint target = w.tree()->visualItemRect(node(w, "家庭")).center();
        QDragEnterEvent enter(target, Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &enter);
        QDropEvent drop(target, Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &drop);
        QTRY_COMPARE(sql1("select album_id from picture where id=" + movedId),
                     sql1("select id from Album where name='家庭'"));
        QTRY_COMPARE(w.browser()->rowCount(), 1);  // the moved photo left the list
        delete mime;
    }
};

QTEST_MAIN(TestMainPhotos)
#include "test_main_photos.moc"
