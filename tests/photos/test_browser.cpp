// The photo browser on a real library file with real image files: listing albums in both
// orders, the preview with its temporary files, information rows and status texts, the
// preview tools, the view commands, thumbnails, and photos whose bytes are no image.
#include <exiv2/exiv2.hpp>

#include <memory>

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QListView>
#include <QLocale>
#include <QMimeData>
#include <QProgressBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "albums/TTreeMaker.h"
#include "albums/TreeHooks.h"
#include "photos/PhotoBrowser.h"
#include "photos/PhotoListModel.h"
#include "photos/PhotoListView.h"
#include "photos/PreviewDecode.h"
#include "photos/ThumbnailDelegate.h"
#include "photos/ThumbnailView.h"
#include "platform/db/ConnectionString.h"
#include "platform/db/Query.h"
#include "platform/image/ImageView.h"
#include "store/PhotoLibrary.h"
#include "support/TestLibrary.h"
#include "support/TreeNodes.h"
#include "ui/Notice.h"
#include "ui/Utils.h"

namespace {

const QStringList kInfoCaptions = {
    "相机厂家", "相机型号", "固件版本", "拍摄时间", "修改时间", "曝光模式", "快门速度",
    "曝光补偿", "最大光圈", "光圈系数", "感光度ISO", "焦距",     "闪光灯",   "白平衡",
    "光源",     "测光方式", "照片高度", "照片宽度", "色彩空间", "用户注释", "照片描述"};

QByteArray encoded(const QImage& image, const char* format, int quality = 90) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format, quality)) qFatal("cannot encode a %s fixture", format);
    return bytes;
}

QImage solid(int w, int h, QColor colour, QImage::Format format = QImage::Format_RGB32) {
    QImage image(w, h, format);
    image.fill(colour);
    return image;
}

// A picture whose top-left quarter is red and the rest blue: rotations can be told apart.
QImage marked(int w, int h) {
    QImage image = solid(w, h, Qt::blue);
    for (int y = 0; y < h / 2; ++y)
        for (int x = 0; x < w / 2; ++x) image.setPixel(x, y, qRgb(255, 0, 0));
    return image;
}

// Camera data the way a camera writes it, through Exiv2 on the file.
void writeCameraData(const QString& path, const QByteArray& exifThumbnail = {}) {
    Exiv2::Image::AutoPtr file = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
    file->readMetadata();
    Exiv2::ExifData& exif = file->exifData();
    exif["Exif.Image.Make"] = "TestMaker";
    exif["Exif.Image.Model"] = "Model X";
    exif["Exif.Image.DateTime"] = "2021:05:07 10:11:12";
    exif["Exif.Image.ImageDescription"] = "a test photo";
    exif["Exif.Photo.DateTimeOriginal"] = "2021:05:06 07:08:09";
    exif["Exif.Photo.ExposureProgram"] = uint16_t(2);
    exif["Exif.Photo.ExposureTime"] = Exiv2::URational(1, 250);
    exif["Exif.Photo.FNumber"] = Exiv2::URational(56, 10);
    exif["Exif.Photo.Flash"] = uint16_t(1);
    exif["Exif.Photo.FocalLength"] = Exiv2::URational(35, 1);
    exif["Exif.Photo.MeteringMode"] = uint16_t(5);
    exif["Exif.Photo.ColorSpace"] = uint16_t(1);
    exif["Exif.Photo.UserComment"] = "charset=Ascii hello camera";
    if (!exifThumbnail.isEmpty()) {
        Exiv2::ExifThumb thumb(exif);
        thumb.setJpegThumbnail(reinterpret_cast<const Exiv2::byte*>(exifThumbnail.constData()),
                               static_cast<long>(exifThumbnail.size()));
    }
    file->iptcData()["Iptc.Application2.Caption"] = "iptc caption";
    file->writeMetadata();
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int filesIn(const QString& dir) {
    return static_cast<int>(QDir(dir).entryList(QDir::Files).size());
}

QString number(const char* text) {
    return QString::fromLatin1(text).replace(u'.', QLocale::system().decimalPoint());
}

}  // namespace

class TestBrowser final : public QObject {
    Q_OBJECT

    QTemporaryDir m_base;
    QString m_fixtures;
    store::PhotoLibrary m_library;
    QHash<QString, QByteArray> m_bytes;   // photo name -> stored bytes

    // A host like the main window: tree on the left, list above preview, info below tree.
    std::unique_ptr<QWidget> m_window;
    QTreeWidget* m_tree = nullptr;
    TTreeMaker* m_maker = nullptr;
    QStatusBar* m_status = nullptr;
    photos::PhotoBrowser* m_browser = nullptr;

    qint64 addAlbum(const QString& name, qint64 parent) {
        m_library.AdoConn().execute(
            QStringLiteral("insert into Album(name,parent_id,remark) values('%1',%2,'')")
                .arg(name)
                .arg(parent));
        return m_library.AdoConn().lastInsertId();
    }

    // Adds a photo the way the photo commands do: an empty result, a new row, the blob
    // loaded from a file.
    qint64 addPhoto(qint64 album, const QString& name, const QString& remark,
                    const QByteArray& bytes, const QString& sourceName = {}) {
        const QString source = m_fixtures + QString::number(m_bytes.size()) + u'-' + name;
        QFile file(source);
        if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write a fixture");
        file.write(bytes);
        file.close();
        db::Query& q = m_library.temp(QStringLiteral("select * from picture where 1<>1"));
        q.open();
        q.insert();
        q.setInteger(QStringLiteral("album_id"), album);
        q.setText(QStringLiteral("pic_name"), name);
        q.setText(QStringLiteral("create_date"), QStringLiteral("2024-01-02 03:04:05"));
        q.setText(QStringLiteral("file_name"),
                  sourceName.isEmpty() ? QStringLiteral("C:\\pictures\\") + name : sourceName);
        q.setText(QStringLiteral("remark"), remark);
        q.loadBlobFromFile(QStringLiteral("pic_content"), source);
        q.post();
        q.close();
        m_bytes.insert(name, bytes);
        return m_library.AdoConn().lastInsertId();
    }

    QTreeWidgetItem* node(const QString& caption) const {
        return testsupport::findNode(m_tree, caption);
    }

    // Selects the album as the user's keyboard would: the tree's hook runs TreeChange.
    void openAlbum(const QString& caption) {
        QTreeWidgetItem* n = node(caption);
        QVERIFY2(n, qPrintable(caption));
        m_tree->setCurrentItem(n);
        QCOMPARE(albums::selectedNode(m_tree), n);
    }

    QString status(int panel) const { return m_browser->statusPanel(panel)->text(); }
    photos::PhotoListView* list() const { return m_browser->ListView1(); }
    image::ImageView* preview() const { return m_browser->ImageEn1(); }

    QStringList listCaptions() const {
        QStringList captions;
        for (int r = 0; r < list()->rowCount(); ++r) captions << list()->caption(r);
        return captions;
    }

    QList<QPair<QString, QString>> infoRows() const {
        QList<QPair<QString, QString>> rows;
        const QTableWidget* info = m_browser->lvInfo();
        for (int r = 0; r < info->rowCount(); ++r)
            rows.append({info->item(r, 0)->text(), info->item(r, 1)->text()});
        return rows;
    }

    QString infoValue(const QString& caption) const {
        for (const auto& row : infoRows())
            if (row.first == caption) return row.second;
        return QStringLiteral("<missing>");
    }

    void showRow(int row) {
        list()->selectRow(row);
        m_browser->ListView1Click();
    }

private slots:
    void initTestCase() {
        QVERIFY(m_base.isValid());
        for (const char* sub : {"home", "tmp", "fixtures"}) QDir(m_base.path()).mkpath(sub);
        qputenv("FOTARIX_HOME", QFile::encodeName(m_base.filePath("home")));
        qputenv("TMPDIR", QFile::encodeName(m_base.filePath("tmp")));
        m_fixtures = m_base.filePath("fixtures") + u'/';
        QVERIFY(ui::GetAppTempDir().startsWith(m_base.filePath("tmp")));

        const QString path = m_base.filePath("home/PicData.pmd");
        QVERIFY(testsupport::makeEmptyLibrary(path));
        m_library.AdoConn().setConnectionString(QLatin1String(db::kReadWriteConnection) + path);
        m_library.AdoConn().open();

        const qint64 root = addAlbum(QStringLiteral("数码相册"), 0);
        // Names and remarks chosen so that name order and remark order differ.
        const QString exifJpeg = m_fixtures + "camera.jpg";
        QFile::remove(exifJpeg);
        QVERIFY(marked(64, 48).save(exifJpeg, "JPEG", 95));
        writeCameraData(exifJpeg);
        addPhoto(root, QStringLiteral("c.jpg"), QStringLiteral("1"),
                 encoded(solid(50, 40, Qt::green), "JPEG"));
        addPhoto(root, QStringLiteral("b.jpg"), QStringLiteral("2"), fileBytes(exifJpeg));
        addPhoto(root, QStringLiteral("a.png"), QStringLiteral("1"),
                 encoded(marked(40, 30), "PNG"));
        addAlbum(QStringLiteral("空相册"), root);

        const qint64 colours = addAlbum(QStringLiteral("Colours"), root);
        QImage mono(33, 20, QImage::Format_Mono);
        mono.fill(1);
        QImage palette(34, 20, QImage::Format_Indexed8);
        QList<QRgb> table;
        for (int i = 0; i < 256; ++i) table << qRgb(i, 255 - i, i / 2);
        palette.setColorTable(table);
        palette.fill(7);
        addPhoto(colours, "1-mono.png", "", encoded(mono, "PNG"));
        addPhoto(colours, "2-palette.png", "", encoded(palette, "PNG"));
        addPhoto(colours, "3-grey8.png", "", encoded(solid(35, 20, Qt::gray, QImage::Format_Grayscale8), "PNG"));
        addPhoto(colours, "4-grey16.png", "", encoded(solid(36, 20, Qt::gray, QImage::Format_Grayscale16), "PNG"));
        addPhoto(colours, "5-rgb.png", "", encoded(solid(37, 20, Qt::yellow), "PNG"));

        const qint64 bad = addAlbum(QStringLiteral("Bad"), root);
        const QByteArray jpeg = encoded(marked(200, 150), "JPEG");
        addPhoto(bad, "1-good.jpg", "", jpeg);
        addPhoto(bad, "2-text.jpg", "", QByteArray("this is a letter, not a picture\n"));
        addPhoto(bad, "3-truncated.jpg", "", jpeg.left(jpeg.size() / 2));
        addPhoto(bad, "4-empty.jpg", "", QByteArray());
        addPhoto(bad, "5-gone.jpg", "", jpeg);

        // Photos with and without an embedded thumbnail of another colour than the photo.
        const qint64 thumbs = addAlbum(QStringLiteral("Thumbs"), root);
        const QString withThumb = m_fixtures + "withthumb.jpg";
        QFile::remove(withThumb);
        QVERIFY(solid(640, 480, Qt::blue).save(withThumb, "JPEG", 90));
        writeCameraData(withThumb, encoded(solid(160, 120, Qt::red), "JPEG"));
        addPhoto(thumbs, "embedded.jpg", "has a thumbnail", fileBytes(withThumb));
        addPhoto(thumbs, "plain.jpg", "no thumbnail", encoded(solid(640, 480, Qt::green), "JPEG"));
        addPhoto(thumbs, "text.jpg", "", QByteArray("no picture"));
        m_library.ReloadAlbums();
    }

    void init() {
        ui::clearNoticeHistory();
        m_window = std::make_unique<QWidget>();
        m_window->resize(1000, 700);
        auto* column = new QVBoxLayout(m_window.get());
        auto* row = new QHBoxLayout;
        column->addLayout(row, 1);
        auto* left = new QVBoxLayout;
        m_tree = new QTreeWidget(m_window.get());
        m_tree->setObjectName(QStringLiteral("Tree"));
        m_tree->setHeaderHidden(true);
        left->addWidget(m_tree, 1);
        auto* infoHost = new QWidget(m_window.get());
        infoHost->setFixedHeight(220);
        new QVBoxLayout(infoHost);
        left->addWidget(infoHost);
        row->addLayout(left);
        auto* right = new QVBoxLayout;
        auto* listHost = new QWidget(m_window.get());
        new QVBoxLayout(listHost);
        auto* previewHost = new QWidget(m_window.get());
        new QVBoxLayout(previewHost);
        right->addWidget(listHost, 1);
        right->addWidget(previewHost, 2);
        row->addLayout(right, 1);
        m_status = new QStatusBar(m_window.get());
        column->addWidget(m_status);

        m_maker = new TTreeMaker(m_window.get());
        m_maker->setDataSet(&m_library.ADOQuery1());
        m_maker->setTreeView(m_tree);
        m_maker->setCaptionField(QStringLiteral("name"));
        m_maker->setSonIDField(QStringLiteral("id"));
        m_maker->setParentIDField(QStringLiteral("parent_id"));
        m_maker->setShowFindTreeMenu(false);

        photos::PhotoBrowser::Context context;
        context.library = &m_library;
        context.treeMaker = m_maker;
        context.tree = m_tree;
        context.listHost = listHost;
        context.previewHost = previewHost;
        context.infoHost = infoHost;
        context.statusBar = m_status;
        m_browser = new photos::PhotoBrowser(context, m_window.get());
        albums::setTreeChangedHandler(m_tree, [this](QTreeWidget*, QTreeWidgetItem* n) {
            m_browser->TreeChange(n);
        });
        m_maker->BuildTree(QStringLiteral("0"));
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup() {
        m_window.reset();
        ui::DeleteTempFiles();
    }

    void widgetsAndStartState() {
        QCOMPARE(m_browser->DisplayMode(), QStringLiteral("1"));
        QCOMPARE(m_browser->SortOrder(), QStringLiteral("1"));
        QCOMPARE(m_window->findChild<photos::PhotoListView*>("ListView1"), list());
        QVERIFY(m_window->findChild<photos::ThumbnailView*>("ImageEnMView1")->isHidden());
        QVERIFY(m_window->findChild<image::ImageView*>("ImageEn1"));
        QVERIFY(m_window->findChild<QProgressBar*>("ProgressBar1")->isHidden());
        QCOMPARE(m_window->findChild<QLabel*>("LabelListTitle")->text(), QStringLiteral("  照片列表"));

        const QTableView* report = list()->reportView();
        const QStringList headers = {"照片名称", "拍照日期", "修改日期", "照片说明", "id", "tempfileName"};
        for (int c = 0; c < headers.size(); ++c)
            QCOMPARE(report->model()->headerData(c, Qt::Horizontal).toString(), headers[c]);
        QCOMPARE(report->columnWidth(0), 300);
        QCOMPARE(report->columnWidth(3), 480);
        for (int c : {1, 2, 4, 5}) QVERIFY(report->isColumnHidden(c));
        QCOMPARE(report->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(report->selectionMode(), QAbstractItemView::SingleSelection);
        QVERIFY(report->showGrid());

        const auto* info = m_window->findChild<QTableWidget*>("lvInfo");
        QVERIFY(info);
        QCOMPARE(info->horizontalHeaderItem(0)->text(), QStringLiteral("属性名称"));
        QCOMPARE(info->horizontalHeaderItem(1)->text(), QStringLiteral("属性值"));
        QCOMPARE(info->columnWidth(0), 70);
        QCOMPARE(info->columnWidth(1), 125);

        const int widths[] = {250, 70, 135, -1, 80};
        for (int p = 0; p < 5; ++p) {
            auto* panel = m_status->findChild<QLabel*>(QStringLiteral("StatusPanel%1").arg(p));
            QVERIFY(panel);
            if (widths[p] > 0) QCOMPARE(panel->width(), widths[p]);
        }
        QVERIFY(m_status->findChild<QLabel*>("StatusPanel5")->width() >= 50);
    }

    void albumListsInBothOrders() {
        openAlbum(QStringLiteral("数码相册"));
        QCOMPARE(listCaptions(), QStringList({"a.png", "b.jpg", "c.jpg"}));
        QCOMPARE(list()->selectedRow(), 0);
        QCOMPARE(status(0), QStringLiteral("  相册〖数码相册〗中总共包含 3 张照片"));
        // The sub-items: dates, remark, id; the temporary file only for the row shown.
        QCOMPARE(list()->subItem(1, 0), QStringLiteral("2024-01-02 03:04:05"));
        QCOMPARE(list()->subItem(1, 1), QString());
        QCOMPARE(list()->subItem(1, 2), QStringLiteral("2"));
        QCOMPARE(list()->subItemCount(1), 4);
        QCOMPARE(list()->subItemCount(0), 5);

        QVERIFY(m_browser->viewCommand(302));
        QCOMPARE(m_browser->SortOrder(), QStringLiteral("2"));
        // By remark; rows with equal remarks come as the database returns them.
        const QStringList byRemark = listCaptions();
        QCOMPARE(byRemark.size(), 3);
        QCOMPARE(byRemark.last(), QStringLiteral("b.jpg"));
        QVERIFY(byRemark.contains("a.png") && byRemark.contains("c.jpg"));
        QCOMPARE(list()->subItem(0, 2), QStringLiteral("1"));
        QCOMPARE(list()->subItem(1, 2), QStringLiteral("1"));
        QCOMPARE(list()->selectedRow(), -1);   // a reload selects nothing
        QVERIFY(m_browser->viewCommand(301));
        QCOMPARE(listCaptions(), QStringList({"a.png", "b.jpg", "c.jpg"}));

        // Row colours of the report style alternate from the first row.
        const QAbstractItemModel* model = list()->reportView()->model();
        QCOMPARE(model->index(0, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(239, 255, 251));
        QCOMPARE(model->index(1, 3).data(Qt::BackgroundRole).value<QColor>(), QColor(255, 251, 236));
    }

    void mouseClickOnTreeLoadsThatAlbum() {
        openAlbum(QStringLiteral("数码相册"));
        m_tree->expandAll();
        QTreeWidgetItem* colours = node(QStringLiteral("Colours"));
        const QPoint at = m_tree->visualItemRect(colours).center();
        QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(albums::selectedNode(m_tree), colours);
        QCOMPARE(list()->rowCount(), 5);
        QCOMPARE(status(0), QStringLiteral("  相册〖Colours〗中总共包含 5 张照片"));
    }

    void emptyAlbumLeavesPreview() {
        openAlbum(QStringLiteral("数码相册"));
        const QImage before = preview()->image();
        QVERIFY(!before.isNull());
        const QString status5 = status(5);
        openAlbum(QStringLiteral("空相册"));
        QCOMPARE(list()->rowCount(), 0);
        QCOMPARE(list()->selectedRow(), -1);
        QCOMPARE(status(0), QStringLiteral("  相册〖空相册〗中总共包含 0 张照片"));
        QCOMPARE(preview()->image(), before);
        QCOMPARE(status(5), status5);
        // With no album selected the loaders change nothing.
        m_tree->clearSelection();
        m_tree->setCurrentItem(nullptr);
        m_browser->LoadPhotoList();
        QCOMPARE(status(0), QStringLiteral("  相册〖空相册〗中总共包含 0 张照片"));
        m_browser->TreeChange(nullptr);
    }

    // The loaders let pending events run; a selection made then wins over the load under way.
    void selectionDuringALoad_data() {
        QTest::addColumn<QString>("entry");
        QTest::newRow("TreeChange") << "TreeChange";
        QTest::newRow("LoadPhotoList") << "LoadPhotoList";
        QTest::newRow("LoadPhotoThumbnails") << "LoadPhotoThumbnails";
    }

    void selectionDuringALoad() {
        QFETCH(QString, entry);
        openAlbum(QStringLiteral("数码相册"));
        if (entry == u"LoadPhotoThumbnails") QVERIFY(m_browser->viewCommand(312));
        QTRY_VERIFY(!m_browser->thumbnailsLoading());
        QTimer::singleShot(0, m_tree, [this] { m_tree->setCurrentItem(node(QStringLiteral("Colours"))); });
        if (entry == u"TreeChange") m_browser->TreeChange(node(QStringLiteral("数码相册")));
        else if (entry == u"LoadPhotoList") m_browser->LoadPhotoList();
        else m_browser->LoadPhotoThumbnails();
        QCOMPARE(albums::selectedNode(m_tree), node(QStringLiteral("Colours")));
        QCOMPARE(status(0), QStringLiteral("  相册〖Colours〗中总共包含 5 张照片"));
        if (entry == u"LoadPhotoThumbnails") {
            QTRY_VERIFY(!m_browser->thumbnailsLoading());
            QCOMPARE(m_browser->ImageEnMView1()->count(), 5);
            QCOMPARE(m_browser->ImageEnMView1()->caption(0), QStringLiteral("1-mono.png"));
        } else {
            QCOMPARE(listCaptions().size(), 5);
            QCOMPARE(listCaptions().first(), QStringLiteral("1-mono.png"));
            QVERIFY(status(5).startsWith(QStringLiteral(" 1-mono.png ")));
        }
        QVERIFY(m_browser->ProgressBar1()->isHidden());
    }

    void priorAndNextStopAtTheEnds() {
        openAlbum(QStringLiteral("数码相册"));
        const QString first = status(5);
        QVERIFY(first.startsWith(QStringLiteral(" a.png ")));
        m_browser->tbPriorClick();
        QCOMPARE(list()->selectedRow(), 0);
        QCOMPARE(status(5), first);
        m_browser->tbNextClick();
        QCOMPARE(list()->selectedRow(), 1);
        QVERIFY(status(5).startsWith(QStringLiteral(" b.jpg ")));
        m_browser->tbNextClick();
        m_browser->tbNextClick();
        QCOMPARE(list()->selectedRow(), 2);
        QVERIFY(status(5).startsWith(QStringLiteral(" c.jpg ")));
        m_browser->tbPriorClick();
        QCOMPARE(list()->selectedRow(), 1);
        // Without a selection neither moves.
        list()->selectRow(-1);
        m_browser->tbNextClick();
        m_browser->tbPriorClick();
        QCOMPARE(list()->selectedRow(), -1);
    }

    void sameRowWritesItsBlobOnce() {
        openAlbum(QStringLiteral("数码相册"));
        const QString temp = ui::GetAppTempDir();
        const QString file = list()->rowTempFile(0);
        QVERIFY(file.startsWith(temp));
        QVERIFY(file.endsWith(QStringLiteral(".png")));
        QCOMPARE(fileBytes(file), m_bytes.value("a.png"));
        QCOMPARE(status(5), QStringLiteral(" a.png ") + file);
        const int files = filesIn(temp);
        m_browser->ListView1Click();
        QCOMPARE(list()->rowTempFile(0), file);
        QCOMPARE(filesIn(temp), files);

        ui::DeleteTempFiles();
        m_browser->ListView1Click();
        const QString again = list()->rowTempFile(0);
        QVERIFY(again != file);
        QCOMPARE(fileBytes(again), m_bytes.value("a.png"));
        QCOMPARE(status(5), QStringLiteral(" a.png ") + again);
        QVERIFY(!preview()->isEmpty());
    }

    void informationRowsOfCameraJpeg() {
        openAlbum(QStringLiteral("数码相册"));
        showRow(1);   // b.jpg
        const auto rows = infoRows();
        QCOMPARE(rows.size(), kInfoCaptions.size() + 1);
        for (int i = 0; i < kInfoCaptions.size(); ++i) QCOMPARE(rows[i].first, kInfoCaptions[i]);
        QCOMPARE(infoValue("相机厂家"), QStringLiteral("TestMaker"));
        QCOMPARE(infoValue("相机型号"), QStringLiteral("Model X"));
        QCOMPARE(infoValue("拍摄时间"), QStringLiteral("2021:05:06 07:08:09"));
        QCOMPARE(infoValue("修改时间"), QStringLiteral("2021:05:07 10:11:12"));
        QCOMPARE(infoValue("曝光模式"), QStringLiteral("2"));
        QCOMPARE(infoValue("快门速度"), number("0.004"));
        QCOMPARE(infoValue("光圈系数"), number("5.6"));
        QCOMPARE(infoValue("焦距"), QStringLiteral("35"));
        QCOMPARE(infoValue("闪光灯"), QStringLiteral("使用"));
        QCOMPARE(infoValue("测光方式"), QStringLiteral("5"));
        QCOMPARE(infoValue("照片高度"), QStringLiteral("48"));
        QCOMPARE(infoValue("照片宽度"), QStringLiteral("64"));
        QCOMPARE(infoValue("色彩空间"), QStringLiteral("1"));
        QCOMPARE(infoValue("用户注释"), QStringLiteral("hello camera"));
        QCOMPARE(infoValue("照片描述"), QStringLiteral("a test photo"));
        QCOMPARE(rows.last(), qMakePair(QStringLiteral("iptc caption"), QStringLiteral("iptc caption")));
        QCOMPARE(status(1), QStringLiteral("24Bit"));
        QCOMPARE(status(2), QStringLiteral("64×48 真彩色32位"));

        // Row colours of the information panel.
        const QTableWidget* info = m_browser->lvInfo();
        QCOMPARE(info->item(0, 0)->background().color(), QColor(244, 252, 227));
        QCOMPARE(info->item(1, 1)->background().color(), QColor(254, 255, 243));
    }

    void informationRowsWithoutCameraData() {
        openAlbum(QStringLiteral("数码相册"));   // a.png is shown first
        const auto rows = infoRows();
        QCOMPARE(rows.size(), kInfoCaptions.size());
        const QStringList texts = {"相机厂家", "相机型号", "固件版本", "拍摄时间", "修改时间", "用户注释", "照片描述"};
        const QStringList numbers = {"曝光模式", "快门速度", "曝光补偿", "最大光圈", "光圈系数", "感光度ISO",
                                     "焦距", "白平衡", "光源", "测光方式", "色彩空间"};
        for (const QString& caption : texts) QCOMPARE(infoValue(caption), QString());
        for (const QString& caption : numbers) QCOMPARE(infoValue(caption), QStringLiteral("0"));
        QCOMPARE(infoValue("闪光灯"), QStringLiteral("未使用"));
        QCOMPARE(infoValue("照片高度"), QStringLiteral("30"));
        QCOMPARE(infoValue("照片宽度"), QStringLiteral("40"));
    }

    void colourNames_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("bits");
        QTest::addColumn<QString>("size");
        QTest::newRow("1-bit") << 0 << "1Bit" << "33×20 16色";
        QTest::newRow("8-bit palette") << 1 << "8Bit" << "34×20 256色";
        QTest::newRow("8-bit grey") << 2 << "8Bit" << "35×20 256色";
        QTest::newRow("16-bit grey") << 3 << "16Bit" << "36×20 增强色16位";
        QTest::newRow("24-bit") << 4 << "24Bit" << "37×20 真彩色32位";
    }

    void colourNames() {
        QFETCH(int, row);
        QFETCH(QString, bits);
        QFETCH(QString, size);
        openAlbum(QStringLiteral("Colours"));
        showRow(row);
        QCOMPARE(status(1), bits);
        QCOMPARE(status(2), size);
    }

    void previewTools() {
        openAlbum(QStringLiteral("数码相册"));   // a.png, 40 x 30, red top-left quarter
        QCOMPARE(preview()->imageWidth(), 40);
        m_browser->ToolButton4Click();
        QCOMPARE(preview()->zoom(), 100.0);
        QCOMPARE(status(4), QStringLiteral("100%"));
        m_browser->ToolButton1Click();
        QCOMPARE(status(4), QStringLiteral("110%"));
        m_browser->ToolButton2Click();
        m_browser->ToolButton2Click();
        QCOMPARE(status(4), QStringLiteral("90%"));
        for (int i = 0; i < 12; ++i) m_browser->ToolButton2Click();
        QCOMPARE(status(4), QStringLiteral("10%"));   // 0 and below are refused
        m_browser->ToolButton8Click();
        QVERIFY(preview()->zoom() > 100.0);   // a small image fitted grows
        QCOMPARE(status(4), QStringLiteral("10%"));

        m_browser->ToolButton13Click();   // clockwise: the red quarter goes top right
        QCOMPARE(preview()->imageWidth(), 30);
        QCOMPARE(preview()->imageHeight(), 40);
        QImage turned = preview()->image();
        QCOMPARE(QColor(turned.pixel(29, 0)), QColor(Qt::red));
        QCOMPARE(QColor(turned.pixel(0, 39)), QColor(Qt::blue));
        m_browser->ToolButton15Click();
        m_browser->ToolButton15Click();   // counter-clockwise twice: red goes bottom left
        turned = preview()->image();
        QCOMPARE(QColor(turned.pixel(0, 39)), QColor(Qt::red));
        QCOMPARE(QColor(turned.pixel(29, 0)), QColor(Qt::blue));
        QCOMPARE(status(4), QStringLiteral("10%"));
    }

    // The preview decodes a large photo once, at the size it shows it: the decoder's fit of
    // the limit has the shown pixels (rounded) in both directions, exactly where it can.
    void decodeLimitCoversTheShownSize_data() {
        QTest::addColumn<QSize>("full");
        QTest::addColumn<double>("scale");
        QTest::newRow("camera landscape") << QSize(6000, 4000) << 1003.0 / 6000;
        QTest::newRow("camera portrait") << QSize(4000, 6000) << 985.0 / 4000;
        QTest::newRow("panorama") << QSize(12000, 1000) << 0.083;
        QTest::newRow("odd sizes") << QSize(4321, 2879) << 0.2371;
        QTest::newRow("tall strip") << QSize(300, 9000) << 0.5;
    }

    void decodeLimitCoversTheShownSize() {
        QFETCH(QSize, full);
        QFETCH(double, scale);
        const QSizeF shown(full.width() * scale, full.height() * scale);
        const QSize target(qRound(shown.width()), qRound(shown.height()));
        const QSize limit = photos::decodeLimitFor(full, shown);
        QVERIFY(!limit.isEmpty());
        const QSize decoded = full.scaled(limit, Qt::KeepAspectRatio);
        QVERIFY(decoded.width() >= target.width() && decoded.height() >= target.height());
        QVERIFY(decoded.width() <= target.width() + 2 && decoded.height() <= target.height() + 2);
        // Shown at its own size or larger: decoded whole.
        QVERIFY(photos::decodeLimitFor(full, QSizeF(full)).isEmpty());
        QVERIFY(photos::decodeLimitFor(full, QSizeF(full) * 1.5).isEmpty());
    }

    void sourceExtensions_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("extension");
        QTest::newRow("windows path") << "C:\\Photos\\a.JPG" << ".JPG";
        QTest::newRow("unix path") << "/home/u/b.png" << ".png";
        QTest::newRow("dotted folder") << "C:\\my.photos\\scan" << "";
        QTest::newRow("no folder") << "c.tif" << ".tif";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("no escape") << "C:\\x\\a.jpg/../../evil" << "";
    }

    void sourceExtensions() {
        QFETCH(QString, fileName);
        QFETCH(QString, extension);
        QCOMPARE(photos::sourceExtension(fileName), extension);
    }

    void viewCommands_data() {
        QTest::addColumn<int>("tag");
        QTest::addColumn<int>("style");
        QTest::newRow("308 large icons") << 308 << int(photos::PhotoListView::ViewStyle::Icon);
        QTest::newRow("309 small icons") << 309 << int(photos::PhotoListView::ViewStyle::SmallIcon);
        QTest::newRow("310 list") << 310 << int(photos::PhotoListView::ViewStyle::List);
        QTest::newRow("311 report") << 311 << int(photos::PhotoListView::ViewStyle::Report);
    }

    void viewCommands() {
        QFETCH(int, tag);
        QFETCH(int, style);
        openAlbum(QStringLiteral("数码相册"));
        QSignalSpy commands(m_browser, &photos::PhotoBrowser::photoCommandsVisibleChanged);
        QVERIFY(m_browser->viewCommand(312));
        QCOMPARE(m_browser->DisplayMode(), QStringLiteral("2"));
        QVERIFY(m_browser->viewCommand(tag));
        QCOMPARE(int(list()->viewStyle()), style);
        QCOMPARE(m_browser->DisplayMode(), QStringLiteral("1"));
        QVERIFY(list()->isVisible());
        QVERIFY(m_browser->ImageEnMView1()->isHidden());
        QCOMPARE(commands.size(), 2);
        QCOMPARE(commands.at(0).at(0).toBool(), false);
        QCOMPARE(commands.at(1).at(0).toBool(), true);
        QCOMPARE(listCaptions(), QStringList({"a.png", "b.jpg", "c.jpg"}));
        QCOMPARE(list()->currentView()->isVisible(), true);
        // Row colours belong to the report style only.
        const QVariant background = list()->model()->index(0, 0).data(Qt::BackgroundRole);
        QCOMPARE(background.isValid(), tag == 311);
        QVERIFY(!m_browser->viewCommand(313));
    }

    void listRowsClickDoubleClickAndDrag() {
        openAlbum(QStringLiteral("数码相册"));
        QSignalSpy doubled(m_browser, &photos::PhotoBrowser::photoDoubleClicked);
        QTableView* report = list()->reportView();
        const QPoint at = report->visualRect(report->model()->index(2, 0)).center();
        QTest::mouseClick(report->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(list()->selectedRow(), 2);
        QVERIFY(status(5).startsWith(QStringLiteral(" c.jpg ")));
        QTest::mouseDClick(report->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(doubled.size(), 1);
        QCOMPARE(doubled.at(0).at(0).toInt(), 2);

        std::unique_ptr<QMimeData> mime(list()->model()->mimeData({list()->model()->index(2, 0)}));
        QVERIFY(mime);
        QCOMPARE(QString::fromUtf8(mime->data(photos::PhotoListModel::kPhotoIdMime)), list()->rowId(2));
        QCOMPARE(mime->text(), list()->rowId(2));
        QVERIFY(report->dragEnabled());
    }

    void thumbnailModeAndBack() {
        openAlbum(QStringLiteral("Thumbs"));
        QCOMPARE(list()->rowCount(), 3);
        QSignalSpy finished(m_browser, &photos::PhotoBrowser::thumbnailsFinished);
        QVERIFY(m_browser->viewCommand(312));
        QVERIFY(list()->isHidden());
        photos::ThumbnailView* thumbs = m_browser->ImageEnMView1();
        QVERIFY(thumbs->isVisible());
        QCOMPARE(ui::noticeHistory().last().text, QStringLiteral("在缩略图模式下不能对照片进行操作！"));
        QCOMPARE(ui::noticeHistory().last().kind, 1);
        QCOMPARE(status(0), QStringLiteral("  相册〖Thumbs〗中总共包含 3 张照片"));
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 20000);
        QVERIFY(!m_browser->thumbnailsLoading());
        QVERIFY(m_browser->ProgressBar1()->isHidden());

        // One thumbnail per photo in the rows' own order, each backed by a file of its bytes.
        QCOMPARE(thumbs->count(), 3);
        const QStringList names = {"embedded.jpg", "plain.jpg", "text.jpg"};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(thumbs->caption(i), names[i]);
            QVERIFY(thumbs->imageFile(i).startsWith(ui::GetAppTempDir()));
            QVERIFY(thumbs->imageFile(i).endsWith(QStringLiteral(".jpg")));
            QCOMPARE(fileBytes(thumbs->imageFile(i)), m_bytes.value(names[i]));
        }
        QCOMPARE(thumbs->infoText(0), QStringLiteral("has a thumbnail"));
        QCOMPARE(thumbs->model()->index(1, 0).data(Qt::ToolTipRole).toString(), QStringLiteral("no thumbnail"));
        // The camera's own thumbnail (red) stands for the photo (blue); the other is decoded.
        const QImage embedded = thumbs->model()->index(0, 0).data(Qt::DecorationRole).value<QPixmap>().toImage();
        const QImage decoded = thumbs->model()->index(1, 0).data(Qt::DecorationRole).value<QPixmap>().toImage();
        QVERIFY(!embedded.isNull() && !decoded.isNull());
        QVERIFY(embedded.width() <= 120 && embedded.height() <= 90);
        QVERIFY(qRed(embedded.pixel(10, 10)) > 200 && qBlue(embedded.pixel(10, 10)) < 60);
        QVERIFY(qGreen(decoded.pixel(10, 10)) > 100 && qRed(decoded.pixel(10, 10)) < 60);
        QVERIFY(!thumbs->hasImage(2));   // no picture: an empty box, no crash

        // A tree change in thumbnail mode empties the list and leaves the preview.
        const QString status5 = status(5);
        openAlbum(QStringLiteral("数码相册"));
        QCOMPARE(list()->rowCount(), 0);
        QCOMPARE(status(5), status5);
        QTRY_COMPARE(thumbs->count(), 3);
        QTRY_VERIFY(!m_browser->thumbnailsLoading());

        QVERIFY(m_browser->viewCommand(311));
        QVERIFY(thumbs->isHidden());
        QVERIFY(list()->isVisible());
        QCOMPARE(listCaptions(), QStringList({"a.png", "b.jpg", "c.jpg"}));
    }

    // Stopping the background work: nothing is written into the temporary directory after
    // it, and no worker keeps the library file open once a load has ended.
    void backgroundWorkStops() {
        const QString library = QFileInfo(m_library.path()).canonicalFilePath();
        const auto openHandles = [&library] {
            int n = 0;
            QDirIterator fds(QStringLiteral("/proc/self/fd"), QDir::System | QDir::Files);
            while (fds.hasNext())
                if (QFileInfo(fds.next()).symLinkTarget() == library) ++n;
            return n;
        };
        const int before = openHandles();
        QVERIFY(before >= 1);
        openAlbum(QStringLiteral("Thumbs"));
        QVERIFY(m_browser->viewCommand(312));
        QTRY_VERIFY(!m_browser->thumbnailsLoading());
        QCOMPARE(openHandles(), before);

        QVERIFY(m_browser->viewCommand(312));   // again, stopped at once this time
        m_browser->finishBackgroundWork();
        QVERIFY(!m_browser->thumbnailsLoading());
        QVERIFY(m_browser->ProgressBar1()->isHidden());
        ui::DeleteTempFiles();
        QTest::qWait(200);
        QCOMPARE(filesIn(ui::GetAppTempDir()), 0);
        QCOMPARE(openHandles(), before);
    }

    void thumbnailDrawing() {
        openAlbum(QStringLiteral("Thumbs"));
        QVERIFY(m_browser->viewCommand(312));
        QTRY_VERIFY(!m_browser->thumbnailsLoading());
        photos::ThumbnailView* thumbs = m_browser->ImageEnMView1();
        thumbs->setCurrentIndex(thumbs->model()->index(1, 0));
        const QImage shot = thumbs->viewport()->grab().toImage();
        const QRect cell = thumbs->visualRect(thumbs->model()->index(1, 0));
        // The selected cell is framed in red; the caption sits on its colour under the image.
        QCOMPARE(QColor(shot.pixel(cell.left() + 2, cell.center().y())), QColor(Qt::red));
        const QRect other = thumbs->visualRect(thumbs->model()->index(0, 0));
        const int captionTop = other.top() + 6 + 90 + 3;
        QCOMPARE(QColor(shot.pixel(other.left() + 8, captionTop + 2)), QColor(208, 239, 239));
        QVERIFY(QColor(shot.pixel(other.left() + 2, other.center().y())) != QColor(Qt::red));
    }

    void photosThatAreNoImage_data() {
        QTest::addColumn<int>("row");
        QTest::newRow("text bytes") << 1;
        QTest::newRow("truncated JPEG") << 2;
        QTest::newRow("zero bytes") << 3;
    }

    void photosThatAreNoImage() {
        QFETCH(int, row);
        openAlbum(QStringLiteral("Bad"));
        QVERIFY(!preview()->isEmpty());   // the good photo
        ui::clearNoticeHistory();
        showRow(row);
        QVERIFY(preview()->isEmpty());
        const QString file = list()->rowTempFile(row);
        QVERIFY(QFileInfo::exists(file));
        QCOMPARE(fileBytes(file), m_bytes.value(list()->caption(row)));
        QCOMPARE(status(5), u' ' + list()->caption(row) + u' ' + file);
        QCOMPARE(status(1), QString());
        QCOMPARE(status(2), QString());
        // The panel describes the empty preview: every row there, no values.
        QCOMPARE(infoRows().size(), kInfoCaptions.size());
        QCOMPARE(infoValue("相机厂家"), QString());
        QCOMPARE(infoValue("照片宽度"), QStringLiteral("0"));
        QCOMPARE(ui::noticeHistory().size(), 1);
        QCOMPARE(ui::noticeHistory().first().kind, 0);
        // The tools act on the empty preview without harm, and a good photo shows again.
        m_browser->ToolButton13Click();
        m_browser->ToolButton1Click();
        m_browser->ToolButton8Click();
        showRow(0);
        QCOMPARE(preview()->imageWidth(), 200);
        QCOMPARE(status(2), QStringLiteral("200×150 真彩色32位"));
    }

    void photoDeletedMeanwhile() {
        openAlbum(QStringLiteral("Bad"));
        const auto rowsBefore = infoRows();
        const QImage before = preview()->image();
        const QString bits = status(1), size = status(2);
        const int gone = 4;
        m_library.AdoConn().execute(QStringLiteral("delete from picture where id=") + list()->rowId(gone));
        const int files = filesIn(ui::GetAppTempDir());
        showRow(gone);
        QCOMPARE(preview()->image(), before);
        QCOMPARE(infoRows(), rowsBefore);
        QCOMPARE(status(1), bits);
        QCOMPARE(status(2), size);
        QCOMPARE(status(5), QStringLiteral(" 5-gone.jpg "));
        QCOMPARE(list()->subItemCount(gone), 4);
        QCOMPARE(filesIn(ui::GetAppTempDir()), files);
    }

    void thumbnailsOfPhotosThatAreNoImage() {
        // Photos whose bytes are no image get an empty box; the others their thumbnail.
        openAlbum(QStringLiteral("Bad"));
        const QStringList captions = listCaptions();
        QVERIFY(m_browser->viewCommand(312));
        QTRY_VERIFY(!m_browser->thumbnailsLoading());
        photos::ThumbnailView* thumbs = m_browser->ImageEnMView1();
        QCOMPARE(thumbs->count(), captions.size());
        for (int i = 0; i < thumbs->count(); ++i) {
            const bool picture = thumbs->caption(i) == u"1-good.jpg" || thumbs->caption(i) == u"5-gone.jpg";
            QCOMPARE(thumbs->hasImage(i), picture);
            QVERIFY(QFileInfo::exists(thumbs->imageFile(i)));
        }
    }
};

QTEST_MAIN(TestBrowser)
#include "test_browser.moc"
