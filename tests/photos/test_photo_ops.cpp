// The photo commands on real library files: adding files (bytes unchanged, failures part-way),
// editing names and descriptions, moving to the recycle bin, exporting the preview, acquiring
// from SANE's test device, and the refusals of a read-only library.
#include <unistd.h>

#include <functional>
#include <memory>

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "albums/TTreeMaker.h"
#include "albums/TreeHooks.h"
#include "photos/PhotoBrowser.h"
#include "photos/PhotoCommands.h"
#include "photos/PhotoImport.h"
#include "photos/PhotoListView.h"
#include "photos/ScanSourceDialog.h"
#include "photos/TFrmPic_Edit.h"
#include "photos/ThumbnailView.h"
#include "platform/db/Connection.h"
#include "platform/db/ConnectionString.h"
#include "platform/db/Query.h"
#include "platform/db/SqlText.h"
#include "platform/image/ImageView.h"
#include "store/PhotoLibrary.h"
#include "support/ModalDialogs.h"
#include "support/TestLibrary.h"
#include "support/TreeNodes.h"
#include "ui/Dialogs.h"
#include "ui/Notice.h"
#include "ui/TFrm_Wait.h"
#include "ui/Utils.h"
#include "ui/WaitWindows.h"

namespace {

const QString kReadOnlyText = QStringLiteral("当前照片库是以只读方式打开的，不能进行修改！");

QByteArray jpegBytes(int w, int h, QColor colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    for (int y = 0; y < h; y += 3) image.setPixel(y % w, y, qRgb(y % 256, 0, 255 - y % 256));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    return bytes;
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) qFatal("cannot write %s", qPrintable(path));
}

// One photo row as the library file holds it, read through a connection of its own.
struct StoredPhoto {
    qint64 id = 0;
    QVariant albumId;
    QString name, fileName, createDate, modifyDate, remark;
    QVariant picType, fileSize;
    QByteArray content;
};

}  // namespace

class TestPhotoOps final : public QObject {
    Q_OBJECT

    QTemporaryDir m_base;
    QString m_files;       // source files made by the tests
    QString m_libraryPath;
    int m_serial = 0;
    qint64 m_rootId = 0;
    qint64 m_albumId = 0;  // "家庭" under the root, holding the fixture photos

    std::unique_ptr<store::PhotoLibrary> m_library;
    std::unique_ptr<QWidget> m_window;
    QTreeWidget* m_tree = nullptr;
    TTreeMaker* m_maker = nullptr;
    photos::PhotoBrowser* m_browser = nullptr;
    photos::PhotoCommands* m_commands = nullptr;

    // What the dialogs were asked, and how they answer.
    QList<ui::dialogs::Request> m_requests;
    std::function<ui::dialogs::Answer(const ui::dialogs::Request&)> m_answer;

    // ---- library -------------------------------------------------------------------------

    void createLibrary() {
        m_libraryPath = m_base.filePath(QStringLiteral("lib%1.pmd").arg(++m_serial));
        QVERIFY(testsupport::makeEmptyLibrary(m_libraryPath));
        db::Connection conn;
        conn.setConnectionString(QLatin1String(db::kReadWriteConnection) + m_libraryPath);
        conn.open();
        conn.execute(QStringLiteral("insert into Album(name,parent_id,remark) values('数码相册',0,'')"));
        m_rootId = conn.lastInsertId();
        conn.execute(QStringLiteral("insert into Album(name,parent_id,remark) values('家庭',%1,'')").arg(m_rootId));
        m_albumId = conn.lastInsertId();
        conn.execute(QStringLiteral("insert into Album(name,parent_id,remark) values('旅行',%1,'')").arg(m_rootId));
        // Two photos in 家庭, inserted the way the program inserts them.
        for (const char* name : {"a.jpg", "b.jpg"}) {
            const QString source = m_files + QString::fromLatin1(name);
            writeFile(source, jpegBytes(60, 40, name[0] == 'a' ? Qt::red : Qt::green));
            db::Query q(&conn);
            q.setSql(QStringLiteral("select * from picture where 1<>1"));
            q.open();
            q.insert();
            q.setInteger(QStringLiteral("album_id"), m_albumId);
            q.setText(QStringLiteral("pic_name"), QString::fromLatin1(name));
            q.setText(QStringLiteral("file_name"), source);
            q.setText(QStringLiteral("create_date"), QStringLiteral("2024-01-02 03:04:05"));
            q.setText(QStringLiteral("remark"), QStringLiteral("remark of ") + QString::fromLatin1(name));
            q.loadBlobFromFile(QStringLiteral("pic_content"), source);
            q.post();
        }
    }

    void openLibrary(bool readOnly) {
        m_library = std::make_unique<store::PhotoLibrary>();
        m_library->AdoConn().setConnectionString(
            QLatin1String(readOnly ? db::kReadOnlyConnection : db::kReadWriteConnection) + m_libraryPath);
        m_library->AdoConn().open();
        QCOMPARE(m_library->readOnly(), readOnly);
        m_library->ReloadAlbums();
    }

    QList<StoredPhoto> stored(const QString& where = QStringLiteral("1=1")) const {
        db::Connection conn;
        conn.setConnectionString(QLatin1String(db::kReadWriteConnection) + m_libraryPath);
        conn.open();
        db::Query q(&conn);
        q.setSql(QStringLiteral("select * from picture where ") + where + QStringLiteral(" order by id"));
        q.open();
        QList<StoredPhoto> rows;
        for (q.first(); !q.eof(); q.next()) {
            StoredPhoto p;
            p.id = q.asInteger("id");
            p.albumId = q.value("album_id");
            p.name = q.asText("pic_name");
            p.fileName = q.asText("file_name");
            p.createDate = q.asText("create_date");
            p.modifyDate = q.asText("modify_date");
            p.remark = q.asText("remark");
            p.picType = q.value("pic_type");
            p.fileSize = q.value("file_size");
            p.content = q.value("pic_content").toByteArray();
            rows << p;
        }
        return rows;
    }

    QList<StoredPhoto> inAlbum(qint64 album) const {
        return stored(QStringLiteral("album_id=") + QString::number(album));
    }

    // ---- window --------------------------------------------------------------------------

    void buildWindow() {
        m_window = std::make_unique<QWidget>();
        m_window->resize(900, 650);
        auto* row = new QHBoxLayout(m_window.get());
        m_tree = new QTreeWidget(m_window.get());
        m_tree->setObjectName(QStringLiteral("Tree"));
        m_tree->setHeaderHidden(true);
        auto* left = new QVBoxLayout;
        left->addWidget(m_tree, 1);
        auto* infoHost = new QWidget(m_window.get());
        new QVBoxLayout(infoHost);
        left->addWidget(infoHost);
        row->addLayout(left);
        auto* right = new QVBoxLayout;
        auto* listHost = new QWidget(m_window.get());
        new QVBoxLayout(listHost);
        auto* previewHost = new QWidget(m_window.get());
        new QVBoxLayout(previewHost);
        right->addWidget(listHost, 1);
        right->addWidget(previewHost, 1);
        auto* status = new QStatusBar(m_window.get());
        right->addWidget(status);
        row->addLayout(right, 1);

        m_maker = new TTreeMaker(m_window.get());
        m_maker->setDataSet(&m_library->ADOQuery1());
        m_maker->setTreeView(m_tree);
        m_maker->setCaptionField(QStringLiteral("name"));
        m_maker->setSonIDField(QStringLiteral("id"));
        m_maker->setParentIDField(QStringLiteral("parent_id"));
        m_maker->setShowFindTreeMenu(false);

        photos::PhotoBrowser::Context context;
        context.library = m_library.get();
        context.treeMaker = m_maker;
        context.tree = m_tree;
        context.listHost = listHost;
        context.previewHost = previewHost;
        context.infoHost = infoHost;
        context.statusBar = status;
        m_browser = new photos::PhotoBrowser(context, m_window.get());
        albums::setTreeChangedHandler(m_tree, [this](QTreeWidget*, QTreeWidgetItem* n) {
            m_browser->TreeChange(n);
        });
        m_commands = new photos::PhotoCommands(
            {m_library.get(), m_browser, m_tree, m_maker, m_window.get()}, m_window.get());
        m_maker->BuildTree(QStringLiteral("0"));
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void start(bool readOnly = false) {
        createLibrary();
        openLibrary(readOnly);
        buildWindow();
    }

    void openAlbum(const QString& caption) {
        QTreeWidgetItem* node = testsupport::findNode(m_tree, caption);
        QVERIFY2(node, qPrintable(caption));
        m_tree->setCurrentItem(node);
        QCOMPARE(albums::selectedNode(m_tree), node);
    }

    void deselectAlbums() {
        m_tree->clearSelection();
        QVERIFY(!albums::selectedNode(m_tree));
    }

    photos::PhotoListView* list() const { return m_browser->ListView1(); }

    QStringList captions() const {
        QStringList c;
        for (int r = 0; r < list()->rowCount(); ++r) c << list()->caption(r);
        return c;
    }

    int rowNamed(const QString& caption) const { return static_cast<int>(captions().indexOf(caption)); }

    QStringList messages() const {
        QStringList texts;
        for (const auto& r : m_requests)
            if (r.kind == ui::dialogs::Kind::MessageBox) texts << r.text;
        return texts;
    }

    QString makeSource(const QString& name, const QByteArray& bytes) {
        const QString path = m_files + name;
        writeFile(path, bytes);
        return path;
    }

private slots:
    void initTestCase() {
        QVERIFY(m_base.isValid());
        for (const char* sub : {"home", "tmp", "files", "sane", "out"}) QDir(m_base.path()).mkpath(sub);
        qputenv("FOTARIX_HOME", QFile::encodeName(m_base.filePath("home")));
        qputenv("TMPDIR", QFile::encodeName(m_base.filePath("tmp")));
        writeFile(m_base.filePath("sane/dll.conf"), "test\n");
        qputenv("SANE_CONFIG_DIR", QFile::encodeName(m_base.filePath("sane")));
        m_files = m_base.filePath("files") + u'/';
    }

    void init() {
        ui::clearNoticeHistory();
        m_requests.clear();
        m_answer = [](const ui::dialogs::Request&) { return ui::dialogs::Answer{}; };
        ui::dialogs::setResponder([this](const ui::dialogs::Request& r) {
            m_requests << r;
            return m_answer(r);
        });
    }

    void cleanup() {
        ui::dialogs::setResponder({});
        m_window.reset();
        m_library.reset();
        ui::CloseWaitWindow();
        ui::DeleteTempFiles();
    }

    // ---- adding --------------------------------------------------------------------------

    void addingTheSameFileTwice_data() {
        QTest::addColumn<QString>("mode");
        QTest::newRow("list") << "1";
        QTest::newRow("thumbnails") << "2";
    }

    void addingTheSameFileTwice() {
        QFETCH(QString, mode);
        start();
        openAlbum(QStringLiteral("旅行"));
        if (mode == u"2") m_browser->thumbnailModeSwitch();
        const QByteArray bytes = jpegBytes(320, 200, Qt::blue) + QByteArray("trailing bytes kept");
        const QString source = makeSource(QStringLiteral("海边 it's.jpg"), bytes);
        int waitMaximum = -1;
        m_answer = [&](const ui::dialogs::Request& r) {
            ui::dialogs::Answer a;
            if (r.kind == ui::dialogs::Kind::OpenFiles) a.files = {source, source};
            return a;
        };
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        QTimer probe;
        connect(&probe, &QTimer::timeout, this, [&] {
            if (ui::waitWindow()) waitMaximum = ui::waitWindow()->maximum();
        });
        probe.start(0);
        QVERIFY(m_commands->run(104));
        probe.stop();

        QCOMPARE(m_requests.size(), 1);
        QCOMPARE(int(m_requests[0].kind), int(ui::dialogs::Kind::OpenFiles));
        QCOMPARE(m_requests[0].filter, photos::PhotoCommands::openImageFilter());
        QVERIFY(ui::waitWindow() == nullptr);
        QCOMPARE(waitMaximum, 2);

        const QList<StoredPhoto> photos = inAlbum(m_albumId + 1);
        QCOMPARE(photos.size(), 2);
        for (const StoredPhoto& p : photos) {
            QCOMPARE(p.name, QStringLiteral("海边 it's.jpg"));
            QCOMPARE(p.fileName, source);
            QCOMPARE(p.content, bytes);
            QCOMPARE(p.content, fileBytes(source));
            const QDateTime created = db::parseDateTime(p.createDate);
            QVERIFY2(created >= before && created <= QDateTime::currentDateTime(), qPrintable(p.createDate));
            QVERIFY(p.modifyDate.isEmpty());
            QVERIFY(p.remark.isEmpty());
            QVERIFY(p.picType.isNull());
            QVERIFY(p.fileSize.isNull());
        }
        QVERIFY(photos[0].id != photos[1].id);
        QCOMPARE(inAlbum(m_albumId).size(), 2);   // the other album is untouched

        if (mode == u"1") {
            QCOMPARE(captions(), QStringList({"海边 it's.jpg", "海边 it's.jpg"}));
            QCOMPARE(list()->selectedRow(), -1);
        } else {
            QVERIFY(list()->isHidden());
            QCOMPARE(m_browser->ImageEnMView1()->count(), 2);
        }
    }

    void addingNeedsAnAlbumAndStopsOnCancel() {
        start();
        deselectAlbums();
        m_commands->AddPhotos();
        QVERIFY(m_requests.isEmpty());
        QCOMPARE(ui::noticeHistory().size(), 1);
        QCOMPARE(ui::noticeHistory()[0].text, QStringLiteral("请选择相册后再增加照片！"));
        QCOMPARE(ui::noticeHistory()[0].kind, int(ui::NoticeError));

        openAlbum(QStringLiteral("旅行"));
        m_answer = [](const ui::dialogs::Request&) {
            ui::dialogs::Answer a;
            a.accepted = false;
            return a;
        };
        m_commands->AddPhotos();
        QCOMPARE(m_requests.size(), 1);
        QVERIFY(ui::waitWindow() == nullptr);
        QCOMPARE(stored().size(), 2);
    }

    void failurePartWay_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("removed after choosing") << "removed" << "无法读取文件";
        QTest::newRow("a folder") << "folder" << "无法读取文件";
        QTest::newRow("no permission") << "permission" << "无法读取文件";
        QTest::newRow("over 1 GB") << "huge" << "超过 1 GB";
    }

    void failurePartWay() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        if (kind == u"permission" && geteuid() == 0) QSKIP("permissions do not stop root");
        start();
        openAlbum(QStringLiteral("旅行"));
        const QByteArray one = jpegBytes(100, 80, Qt::yellow);
        const QByteArray two = jpegBytes(90, 70, Qt::cyan);
        const QString first = makeSource(QStringLiteral("1.jpg"), one);
        const QString second = makeSource(QStringLiteral("2.jpg"), two);
        const QString last = makeSource(QStringLiteral("4.jpg"), one);
        QString bad = m_files + QStringLiteral("3-") + kind + QStringLiteral(".jpg");
        if (kind == u"folder") {
            QVERIFY(QDir().mkpath(bad));
        } else {
            writeFile(bad, two);
            if (kind == u"permission") QVERIFY(QFile::setPermissions(bad, {}));
            if (kind == u"huge") {
                QFile f(bad);
                QVERIFY(f.resize(1000LL * 1000 * 1000 + 1));   // sparse: costs no disk
            }
        }
        m_answer = [&](const ui::dialogs::Request& r) {
            ui::dialogs::Answer a;
            if (r.kind == ui::dialogs::Kind::OpenFiles) {
                a.files = {first, second, bad, last};
                if (kind == u"removed") QFile::remove(bad);
            }
            return a;
        };
        m_commands->AddPhotos();

        const QList<StoredPhoto> photos = inAlbum(m_albumId + 1);
        QCOMPARE(photos.size(), 2);
        QCOMPARE(photos[0].name, QStringLiteral("1.jpg"));
        QCOMPARE(photos[0].content, one);
        QCOMPARE(photos[1].name, QStringLiteral("2.jpg"));
        QCOMPARE(photos[1].content, two);
        QCOMPARE(stored().size(), 4);
        QVERIFY(ui::waitWindow() == nullptr);
        QCOMPARE(captions(), QStringList({"1.jpg", "2.jpg"}));

        const QStringList told = messages();
        QCOMPARE(told.size(), 1);
        QVERIFY2(told[0].contains(QStringLiteral("“") + bad + QStringLiteral("”")), qPrintable(told[0]));
        QVERIFY2(told[0].contains(reason), qPrintable(told[0]));
        QVERIFY2(told[0].contains(QStringLiteral("在它之前的 2 张照片已经加入相册。其后的 1 个文件没有添加。")),
                 qPrintable(told[0]));
        QCOMPARE(m_requests.last().icon, QMessageBox::Warning);

        // No transaction is left open: the library takes the next command at once.
        m_answer = [&](const ui::dialogs::Request& r) {
            ui::dialogs::Answer a;
            if (r.kind == ui::dialogs::Kind::OpenFiles) a.files = {last};
            return a;
        };
        m_requests.clear();
        m_commands->AddPhotos();
        QVERIFY(messages().isEmpty());
        QCOMPARE(inAlbum(m_albumId + 1).size(), 3);
        if (kind == u"permission") QFile::setPermissions(bad, QFile::ReadOwner | QFile::WriteOwner);
        if (kind == u"folder") QDir(bad).removeRecursively();
        else QFile::remove(bad);
    }

    // Batches of any size keep every photo before the failing file, in order.
    void importKeepsEveryBatchBeforeTheFailure_data() {
        QTest::addColumn<int>("batchFiles");
        QTest::addColumn<qint64>("batchBytes");
        const qint64 large = 64LL * 1024 * 1024;
        QTest::newRow("one file a batch") << 1 << large;
        QTest::newRow("two files a batch") << 2 << large;
        QTest::newRow("by bytes") << 100 << qint64(2000);
        QTest::newRow("one batch") << 100 << large;
    }

    void importKeepsEveryBatchBeforeTheFailure() {
        QFETCH(int, batchFiles);
        QFETCH(qint64, batchBytes);
        createLibrary();
        openLibrary(false);
        QStringList files;
        QList<QByteArray> contents;
        for (int i = 0; i < 7; ++i) {
            contents << jpegBytes(80 + i, 60, QColor::fromHsv(i * 40, 200, 200));
            files << makeSource(QStringLiteral("batch%1.jpg").arg(i), contents.last());
        }
        files.insert(5, m_files + QStringLiteral("missing.jpg"));
        QList<int> progress;
        photos::ImportOptions options;
        options.batchFiles = batchFiles;
        options.batchBytes = batchBytes;
        const photos::ImportResult r = photos::addPhotoFiles(
            *m_library, QString::number(m_rootId), files, [&](int done) { progress << done; }, options);
        QCOMPARE(r.added(), 5);
        QCOMPARE(r.failedFile, files[5]);
        QVERIFY(r.error.contains(QStringLiteral("missing.jpg")));
        QCOMPARE(progress, QList<int>({1, 2, 3, 4, 5}));
        const QList<StoredPhoto> photos = inAlbum(m_rootId);
        QCOMPARE(photos.size(), 5);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(photos[i].id, r.ids[i]);
            QCOMPARE(photos[i].name, QStringLiteral("batch%1.jpg").arg(i));
            QCOMPARE(photos[i].content, contents[i]);
        }
        // The connection is out of any transaction.
        m_library->AdoConn().execute(QStringLiteral("BEGIN"));
        m_library->AdoConn().execute(QStringLiteral("COMMIT"));
    }

    // ---- editing -------------------------------------------------------------------------

    void editKeepsQuotesAndRefusesAnEmptyName() {
        start();
        openAlbum(QStringLiteral("家庭"));
        const int row = rowNamed(QStringLiteral("b.jpg"));
        list()->selectRow(row);   // not yet shown: the command writes its temporary file
        QCOMPARE(list()->subItemCount(row), 4);
        const qint64 id = list()->rowId(row).toLongLong();

        const QString name = QStringLiteral("O'Brien's \"小猫\"");
        const QString description = QStringLiteral("it's a 'cat';\n-- drop table picture; \"quoted\"");
        bool presetRight = false;
        bool pictureShown = false;
        testsupport::whenModal<TFrmPic_Edit>([&](TFrmPic_Edit* d) {
            presetRight = d->windowTitle() == QStringLiteral("照片说明") &&
                          d->Edit1()->text() == QStringLiteral("b.jpg") &&
                          d->Memo1()->toPlainText() == QStringLiteral("remark of b.jpg");
            pictureShown = !d->ImageEnView1()->isEmpty();
            d->Edit1()->setText(QStringLiteral("   "));
            d->findChild<QPushButton*>(QStringLiteral("BtnSave"))->click();   // refused
            QVERIFY(d->isVisible());
            d->Edit1()->setText(QStringLiteral("  ") + name + QStringLiteral("  "));
            d->Memo1()->setPlainText(QStringLiteral("\n") + description + QStringLiteral("  \n"));
            d->findChild<QPushButton*>(QStringLiteral("BtnSave"))->click();
        });
        QVERIFY(m_commands->run(105));
        QVERIFY(presetRight);
        QVERIFY(pictureShown);
        QCOMPARE(messages(), QStringList({"请填写照片名称，便于以后进行查找！"}));
        QCOMPARE(m_requests[0].icon, QMessageBox::Information);

        const QList<StoredPhoto> photo = stored(QStringLiteral("id=") + QString::number(id));
        QCOMPARE(photo.size(), 1);
        QCOMPARE(photo[0].name, name);
        QCOMPARE(photo[0].remark, description);
        const QDateTime modified = db::parseDateTime(photo[0].modifyDate);
        QVERIFY2(qAbs(modified.secsTo(QDateTime::currentDateTime())) < 60, qPrintable(photo[0].modifyDate));
        QCOMPARE(photo[0].albumId.toLongLong(), m_albumId);
        QCOMPARE(photo[0].createDate, QStringLiteral("2024-01-02 03:04:05"));

        QCOMPARE(list()->caption(row), name);
        QCOMPARE(list()->subItem(row, 2), description);
        QCOMPARE(list()->selectedRow(), row);
        QCOMPARE(list()->rowId(row).toLongLong(), id);
        QCOMPARE(list()->rowCount(), 2);
        QCOMPARE(ui::noticeHistory().last().text, QStringLiteral("修改照片属性成功！"));
        QCOMPARE(ui::noticeHistory().last().kind, int(ui::NoticeInfo));

        // Cancel changes nothing.
        testsupport::whenModal<TFrmPic_Edit>([](TFrmPic_Edit* d) {
            d->Edit1()->setText(QStringLiteral("changed"));
            d->findChild<QPushButton*>(QStringLiteral("BtnClose"))->click();
        });
        m_commands->EditPhoto();
        QCOMPARE(stored(QStringLiteral("id=") + QString::number(id))[0].name, name);
        QCOMPARE(list()->caption(row), name);
    }

    void editNeedsListModeAndARow() {
        start();
        openAlbum(QStringLiteral("家庭"));
        list()->selectRow(-1);
        m_commands->EditPhoto();
        QCOMPARE(messages(), QStringList({"请选择照片后在修改照片说明！"}));
        QCOMPARE(m_requests[0].icon, QMessageBox::Warning);

        // Thumbnail mode: nothing at all, even with a row selected before the switch.
        list()->selectRow(0);
        m_browser->thumbnailModeSwitch();
        m_requests.clear();
        bool dialogSeen = false;
        testsupport::whenModal<QDialog>([&](QDialog* d) {
            dialogSeen = true;
            d->reject();
        });
        m_commands->EditPhoto();
        QTest::qWait(50);
        QVERIFY(!dialogSeen);
        QVERIFY(m_requests.isEmpty());
        QCOMPARE(stored()[0].name, QStringLiteral("a.jpg"));
        QVERIFY(stored()[0].modifyDate.isEmpty());
    }

    // ---- recycle bin ---------------------------------------------------------------------

    void deleteMovesToTheBin() {
        start();
        openAlbum(QStringLiteral("家庭"));
        QCOMPARE(list()->selectedRow(), 0);   // the album opens on its first photo, shown
        QVERIFY(!m_browser->ImageEn1()->isEmpty());
        const qint64 first = list()->rowId(0).toLongLong();

        m_answer = [](const ui::dialogs::Request&) {
            ui::dialogs::Answer a;
            a.button = QMessageBox::No;
            return a;
        };
        m_commands->DeletePhoto();
        QCOMPARE(messages(), QStringList({"您真的要删除照片【a.jpg】吗？（删除的照片将转入到回收站中）"}));
        QCOMPARE(m_requests[0].title, QStringLiteral("提示信息"));
        QCOMPARE(m_requests[0].buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(inAlbum(m_albumId).size(), 2);
        QCOMPARE(list()->rowCount(), 2);

        m_answer = [](const ui::dialogs::Request&) {
            ui::dialogs::Answer a;
            a.button = QMessageBox::Yes;
            return a;
        };
        QVERIFY(m_commands->run(106));
        const QList<StoredPhoto> gone = stored(QStringLiteral("id=") + QString::number(first));
        QVERIFY(gone[0].albumId.isNull());
        QCOMPARE(gone[0].content.size(), fileBytes(m_files + "a.jpg").size());
        QCOMPARE(captions(), QStringList({"b.jpg"}));
        QVERIFY(m_browser->ImageEn1()->isEmpty());
        QCOMPARE(ui::noticeHistory().last().text, QStringLiteral("删除照片成功，照片被转入到回收站！"));

        // The last photo: an empty list and an empty preview.
        list()->selectRow(0);
        m_browser->ListView1Click();
        QVERIFY(!m_browser->ImageEn1()->isEmpty());
        m_commands->DeletePhoto();
        QCOMPARE(list()->rowCount(), 0);
        QVERIFY(m_browser->ImageEn1()->isEmpty());
        QCOMPARE(inAlbum(m_albumId).size(), 0);
        QCOMPARE(stored(QStringLiteral("album_id is null")).size(), 2);

        // Nothing selected now.
        ui::clearNoticeHistory();
        m_commands->DeletePhoto();
        QCOMPARE(ui::noticeHistory().size(), 1);
        QCOMPARE(ui::noticeHistory()[0].text, QStringLiteral("请选择要删除的照片后再进行删除操作！"));
        QCOMPARE(ui::noticeHistory()[0].kind, int(ui::NoticeError));
    }

    // ---- export --------------------------------------------------------------------------

    void exportWritesJpegWhateverTheName_data() {
        QTest::addColumn<QString>("fileName");
        QTest::newRow("bmp") << "out.bmp";
        QTest::newRow("png") << "out.png";
        QTest::newRow("no extension") << "out";
        QTest::newRow("jpg") << "out.jpg";
    }

    void exportWritesJpegWhateverTheName() {
        QFETCH(QString, fileName);
        start();
        openAlbum(QStringLiteral("家庭"));
        const QString target = m_base.filePath("out/") + fileName;
        QFile::remove(target);
        m_answer = [&](const ui::dialogs::Request& r) {
            ui::dialogs::Answer a;
            if (r.kind == ui::dialogs::Kind::SaveFile) a.text = target;
            return a;
        };
        m_commands->ToolButton25Click();
        QCOMPARE(m_requests.size(), 1);
        QCOMPARE(int(m_requests[0].kind), int(ui::dialogs::Kind::SaveFile));
        QCOMPARE(m_requests[0].initial, QDir::home().filePath(QStringLiteral("a.jpg.jpg")));
        QCOMPARE(m_requests[0].filter, photos::PhotoCommands::savePictureFilter());
        const QByteArray written = fileBytes(target);
        QVERIFY(written.startsWith("\xFF\xD8\xFF"));
        QImage back;
        QVERIFY(back.loadFromData(written, "JPEG"));
        QCOMPARE(back.size(), QSize(60, 40));
    }

    void exportWithoutRowOffersTempAndNeedsAPicture() {
        start();
        m_answer = [&](const ui::dialogs::Request& r) {
            ui::dialogs::Answer a;
            if (r.kind == ui::dialogs::Kind::SaveFile) a.text = m_base.filePath("out/none.jpg");
            return a;
        };
        m_commands->ToolButton25Click();
        QCOMPARE(m_requests[0].initial, QDir::home().filePath(QStringLiteral("temp.jpg")));
        QCOMPARE(messages(), QStringList({"预览区中没有照片，无法导出！"}));
        QVERIFY(!QFile::exists(m_base.filePath("out/none.jpg")));

        // A name with a '/' is proposed as one file in the home folder.
        m_library->AdoConn().execute(QStringLiteral("update picture set pic_name='1/2 day' where pic_name='a.jpg'"));
        openAlbum(QStringLiteral("家庭"));
        QCOMPARE(list()->caption(0), QStringLiteral("1/2 day"));
        m_requests.clear();
        m_commands->ToolButton25Click();
        QCOMPARE(m_requests[0].initial, QDir::home().filePath(QStringLiteral("1_2 day.jpg")));
        QVERIFY(fileBytes(m_base.filePath("out/none.jpg")).startsWith("\xFF\xD8\xFF"));
    }

    // ---- read-only -----------------------------------------------------------------------

    void readOnlyLibraryRefusesEveryWrite_data() {
        QTest::addColumn<QString>("command");
        QTest::newRow("add") << "104";
        QTest::newRow("edit") << "105";
        QTest::newRow("delete") << "106";
        QTest::newRow("acquire") << "N57";
    }

    void readOnlyLibraryRefusesEveryWrite() {
        QFETCH(QString, command);
        start(true);
        openAlbum(QStringLiteral("家庭"));
        QCOMPARE(list()->selectedRow(), 0);
        const QList<StoredPhoto> before = stored();
        const QByteArray fileBefore = fileBytes(m_libraryPath);
        m_answer = [&](const ui::dialogs::Request& r) {
            ui::dialogs::Answer a;
            a.button = QMessageBox::Yes;
            if (r.kind == ui::dialogs::Kind::OpenFiles) a.files = {m_files + "a.jpg"};
            return a;
        };
        bool dialogSeen = false;
        testsupport::whenModal<QDialog>([&](QDialog* d) {
            dialogSeen = true;
            d->reject();
        });
        if (command == u"N57") m_commands->N57Click();
        else QVERIFY(m_commands->run(command.toInt()));
        QTest::qWait(50);
        QVERIFY(!dialogSeen);
        QCOMPARE(m_requests.size(), 1);
        QCOMPARE(m_requests[0].text, kReadOnlyText);
        QCOMPARE(m_requests[0].icon, QMessageBox::Warning);
        QVERIFY(ui::noticeHistory().isEmpty());
        QCOMPARE(list()->rowCount(), 2);
        QCOMPARE(stored().size(), before.size());
        QCOMPARE(fileBytes(m_libraryPath), fileBefore);
    }

    // ---- acquisition ---------------------------------------------------------------------

    void acquireAddsOneScanToTheSelectedAlbum() {
        start();
        openAlbum(QStringLiteral("旅行"));
        QStringList offered;
        testsupport::whenModal<ScanSourceDialog>([&](ScanSourceDialog* d) {
            for (int i = 0; i < d->lbSources()->count(); ++i) offered << d->lbSources()->item(i)->text();
            d->accept();   // the first device is preselected
        });
        m_commands->N57Click();
        QVERIFY2(offered.size() >= 1 && offered[0].endsWith(QStringLiteral("(test:0)")),
                 qPrintable(offered.join(u',')));
        QVERIFY2(messages().isEmpty(), qPrintable(messages().join(u'\n')));
        QCOMPARE(m_commands->scanDevice(), QStringLiteral("test:0"));
        QVERIFY(ui::waitWindow() == nullptr);

        const QList<StoredPhoto> photos = inAlbum(m_albumId + 1);
        QCOMPARE(photos.size(), 1);
        const StoredPhoto& p = photos[0];
        const QFileInfo temp(p.fileName);
        QCOMPARE(temp.absolutePath() + u'/', ui::GetAppTempDir());
        QCOMPARE(temp.suffix(), QStringLiteral("jpg"));
        QCOMPARE(p.name, temp.fileName());
        QVERIFY(temp.exists());   // the acquisition leaves its file behind
        QCOMPARE(p.content, fileBytes(p.fileName));
        QVERIFY(p.content.startsWith("\xFF\xD8\xFF"));
        QImage scanned;
        QVERIFY(scanned.loadFromData(p.content, "JPEG"));
        // The test device's default area, 80 x 100 mm, at 150 dpi, solid black.
        QCOMPARE(scanned.width(), 472);
        QCOMPARE(scanned.height(), 590);
        QVERIFY(qGray(scanned.pixel(70, 90)) < 8);
        QCOMPARE(captions(), QStringList({p.name}));
        QCOMPARE(m_browser->ImageEn1()->image().size(), QSize(472, 590));
        QCOMPARE(inAlbum(m_albumId).size(), 2);

        // Cancelling the device list ends the command silently.
        testsupport::whenModal<ScanSourceDialog>([](ScanSourceDialog* d) { d->reject(); });
        m_commands->N57Click();
        QVERIFY(messages().isEmpty());
        QCOMPARE(inAlbum(m_albumId + 1).size(), 1);
    }

    void chosenDeviceIsRemembered() {
        start();
        testsupport::whenModal<ScanSourceDialog>([](ScanSourceDialog* d) {
            const auto items = d->lbSources()->findItems(QStringLiteral("(test:1)"), Qt::MatchEndsWith);
            QCOMPARE(items.size(), 1);
            d->lbSources()->setCurrentItem(items[0]);
            d->accept();
        });
        m_commands->N49Click();
        QCOMPARE(m_commands->scanDevice(), QStringLiteral("test:1"));
        QVERIFY(stored().size() == 2);

        openAlbum(QStringLiteral("旅行"));
        QString preselected;
        testsupport::whenModal<ScanSourceDialog>([&](ScanSourceDialog* d) {
            preselected = d->selectedDevice();
            d->reject();
        });
        m_commands->N57Click();
        QCOMPARE(preselected, QStringLiteral("test:1"));
        QCOMPARE(m_commands->scanDevice(), QStringLiteral("test:1"));
        QCOMPARE(inAlbum(m_albumId + 1).size(), 0);
    }

    void acquireNeedsAnAlbum() {
        start();
        deselectAlbums();
        bool dialogSeen = false;
        testsupport::whenModal<QDialog>([&](QDialog* d) {
            dialogSeen = true;
            d->reject();
        });
        m_commands->N57Click();
        QTest::qWait(50);
        QVERIFY(!dialogSeen);
        QCOMPARE(ui::noticeHistory().size(), 1);
        QCOMPARE(ui::noticeHistory()[0].text, QStringLiteral("请选择相册后再增加照片！"));
        QCOMPARE(stored().size(), 2);
    }
};

QTEST_MAIN(TestPhotoOps)
#include "test_photo_ops.moc"
