// Tests of the photo properties dialog: the basic page from real image files of several
// formats and colour depths, the information rows page, and the preparation from the photo
// list (selection, notices, temporary files) over a real library.
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QImage>
#include <QImageWriter>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QtEndian>

#include "albums/TTreeMaker.h"
#include "albums/TreeHooks.h"
#include "photos/PhotoBrowser.h"
#include "photos/PhotoListView.h"
#include "photos/TFrm_PicProp.h"
#include "platform/db/ConnectionString.h"
#include "platform/db/Query.h"
#include "platform/image/Codecs.h"
#include "platform/image/ImageIo.h"
#include "platform/image/InfoRows.h"
#include "store/PhotoLibrary.h"
#include "support/TestLibrary.h"
#include "ui/Notice.h"
#include "ui/Utils.h"
#include "ui/TMsgForm.h"

namespace {

// An EXIF block (APP1) with Make and Model in IFD0, little-endian.
QByteArray exifSegment(const QByteArray& make, const QByteArray& model)
{
    QByteArray tiff("II*\0", 4);
    auto put16 = [&tiff](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        tiff.append(b, 2);
    };
    auto put32 = [&tiff](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        tiff.append(b, 4);
    };
    put32(8);
    const quint32 data = 8 + 2 + 2 * 12 + 4;
    put16(2);
    put16(271), put16(2), put32(make.size() + 1), put32(data);
    put16(272), put16(2), put32(model.size() + 1), put32(data + make.size() + 1);
    put32(0);
    tiff += make + '\0' + model + '\0';
    QByteArray body = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray segment("\xFF\xE1", 2);
    char len[2];
    qToBigEndian(quint16(body.size() + 2), len);
    segment.append(len, 2);
    return segment + body;
}

QImage sampleImage(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(x * 255 / w, y * 255 / h, 128));
    return img;
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(path));
    f.write(bytes);
}

QByteArray encode(const QImage& img, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(img))
        qWarning("cannot encode %s: %s", format, qPrintable(writer.errorString()));
    return bytes;
}

// What the main window hands over for a file: its name and what the preview loaded.
TFrm_PicProp::Input inputFor(const QString& name, const QString& path)
{
    const image::LoadResult loaded = image::loadImage(path);
    if (!loaded.ok())
        qWarning("cannot load %s: %s", qPrintable(path), qPrintable(loaded.error));
    TFrm_PicProp::Input input;
    input.picName = name;
    input.tempFile = path;
    input.imageSize = loaded.document.originalSize;
    input.pixelKind = loaded.document.pixelFormat.kind;
    input.infoRows = image::informationRows(loaded.document);
    return input;
}

QString valueOf(QWidget* dialog, const char* name)
{
    auto* label = dialog->findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<missing %1>").arg(QLatin1String(name));
}

}  // namespace

class TestPicProp final : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_tmp;

    QString file(const QString& name) const { return m_dir.path() + u'/' + name; }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_tmp = file(QStringLiteral("tmp"));
        QDir().mkpath(m_tmp);
        qputenv("TMPDIR", m_tmp.toUtf8());
        qputenv("FOTARIX_HOME", file(QStringLiteral("home")).toUtf8());
        image::installCodecs();
    }

    void cleanup()
    {
        TMsgForm::freeAll();
        ui::clearNoticeHistory();
    }

    void layout()
    {
        const QString path = file(QStringLiteral("layout.png"));
        QVERIFY(sampleImage(20, 10).save(path));
        TFrm_PicProp dialog(inputFor(QStringLiteral("小图"), path));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("照片的属性信息"));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        auto* pages = dialog.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
        QVERIFY(pages);
        QCOMPARE(pages->count(), 2);
        QCOMPARE(pages->tabText(0), QStringLiteral(" 基本属性 "));
        QCOMPARE(pages->tabText(1), QStringLiteral(" 扩展信息 "));
        auto* info = dialog.findChild<QTableWidget*>(QStringLiteral("lvInfo"));
        QVERIFY(info);
        QCOMPARE(info->horizontalHeaderItem(0)->text(), QStringLiteral("属性名称"));
        QCOMPARE(info->horizontalHeaderItem(1)->text(), QStringLiteral("属性值"));
        QCOMPARE(info->columnWidth(0), 200);
        QCOMPARE(info->columnWidth(1), 215);
        QCOMPARE(info->editTriggers(), QAbstractItemView::NoEditTriggers);
        QVERIFY(info->showGrid());
        QCOMPARE(info->selectionBehavior(), QAbstractItemView::SelectRows);
        auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("BtnOK"));
        QCOMPARE(ok->text(), QStringLiteral("确定(&O)"));
        QCOMPARE(valueOf(&dialog, "Label9"), QStringLiteral("照片的属性信息"));
    }

    void enterCloses()
    {
        const QString path = file(QStringLiteral("enter.png"));
        QVERIFY(sampleImage(8, 8).save(path));
        TFrm_PicProp dialog(inputFor(QStringLiteral("x"), path));
        QTimer::singleShot(0, &dialog, [&dialog] { QTest::keyClick(&dialog, Qt::Key_Return); });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    }

    void basicPage_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QImage>("image");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QString>("ext");
        QTest::addColumn<QString>("colour");

        const QImage rgb = sampleImage(64, 48);
        QImage grey = rgb.convertToFormat(QImage::Format_Grayscale8);
        QImage grey16 = rgb.convertToFormat(QImage::Format_Grayscale16);
        QImage mono = rgb.convertToFormat(QImage::Format_Mono);
        QImage indexed = rgb.convertToFormat(QImage::Format_Indexed8);
        QTest::newRow("jpeg") << "a.jpg" << rgb << QByteArray("jpeg") << "JPG" << "真彩色32位";
        QTest::newRow("png rgb") << "b.png" << rgb << QByteArray("png") << "PNG" << "真彩色32位";
        QTest::newRow("png grey") << "c.png" << grey << QByteArray("png") << "PNG" << "256色";
        QTest::newRow("png 16-bit grey")
            << "d.png" << grey16 << QByteArray("png") << "PNG" << "增强色16位";
        QTest::newRow("bmp 1-bit") << "e.bmp" << mono << QByteArray("bmp") << "BMP" << "16色";
        QTest::newRow("bmp palette") << "f.Bmp" << indexed << QByteArray("bmp") << "BMP" << "256色";
        QTest::newRow("gif") << "g.gif" << indexed << QByteArray("gif") << "GIF" << "256色";
    }

    void basicPage()
    {
        QFETCH(QString, fileName);
        QFETCH(QImage, image);
        QFETCH(QByteArray, format);
        QFETCH(QString, ext);
        QFETCH(QString, colour);
        const QString path = file(fileName);
        QByteArray bytes;
        if (format == "gif") {
            // Qt reads GIF only; the image engine writes it.
            QVERIFY(image::saveImage(image, path).ok());
            QFile written(path);
            QVERIFY(written.open(QIODevice::ReadOnly));
            bytes = written.readAll();
        } else {
            bytes = encode(image, format.constData());
            QVERIFY(!bytes.isEmpty());
            writeBytes(path, bytes);
        }
        TFrm_PicProp dialog(inputFor(QStringLiteral("海边日落"), path));
        QCOMPARE(valueOf(&dialog, "lbPicName"), QStringLiteral("海边日落"));
        QCOMPARE(valueOf(&dialog, "lbFbl"), QStringLiteral("64（宽） ×48（高）"));
        QCOMPARE(valueOf(&dialog, "LbExt"), ext);
        QCOMPARE(valueOf(&dialog, "LbColor"), colour);
        QCOMPARE(valueOf(&dialog, "lbDbMax"),
                 bytes.size() < 1000 ? QStringLiteral("1KB")
                                     : QString::number(bytes.size() / 1000) + QStringLiteral("KB"));
    }

    // The size is that of the stored bytes, trailing data included.
    void sizeText()
    {
        const QString path = file(QStringLiteral("big.png"));
        QByteArray bytes = encode(sampleImage(32, 32), "png");
        bytes.append(QByteArray(1234567 - bytes.size(), '\0'));
        writeBytes(path, bytes);
        TFrm_PicProp dialog(inputFor(QStringLiteral("大"), path));
        QCOMPARE(valueOf(&dialog, "lbDbMax"), QStringLiteral("1,234KB"));
    }

    void fileTimes()
    {
        const QString path = file(QStringLiteral("times.jpg"));
        writeBytes(path, encode(sampleImage(30, 20), "jpeg"));
        const TFrm_PicProp::Input input = inputFor(QStringLiteral("t"), path);
        const QDateTime written(QDate(2009, 5, 3), QTime(14, 22, 8));
        const QDateTime visited(QDate(2010, 1, 2), QTime(3, 4, 6));
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(written, QFileDevice::FileModificationTime));
            QVERIFY(f.setFileTime(visited, QFileDevice::FileAccessTime));
        }
        TFrm_PicProp dialog(input);
        const QLocale locale = QLocale::system();
        const QString modified = valueOf(&dialog, "lbModifyDate");
        QVERIFY2(modified.startsWith(locale.toString(written.date(), QLocale::ShortFormat)),
                 qPrintable(modified));
        QVERIFY2(modified.contains(QStringLiteral("14:22:08")) ||
                     modified.contains(QStringLiteral("2:22:08")),
                 qPrintable(modified));
        const QString access = valueOf(&dialog, "lbVisitDate");
        QVERIFY2(access.startsWith(locale.toString(visited.date(), QLocale::ShortFormat)),
                 qPrintable(access));
        QVERIFY2(access.contains(QStringLiteral("3:04:06")), qPrintable(access));
        // Created now (or, where no creation time is kept, at the last write).
        const QString created = valueOf(&dialog, "lbCreateDate");
        QVERIFY(created.startsWith(locale.toString(QDate::currentDate(), QLocale::ShortFormat)) ||
                created == modified);
        // No time zone in the long time text.
        QVERIFY2(!modified.contains(written.timeZoneAbbreviation()), qPrintable(modified));
    }

    // A temporary file that went away: no size and no dates, rather than invented ones.
    void missingFile()
    {
        const QString path = file(QStringLiteral("gone.png"));
        QVERIFY(sampleImage(12, 9).save(path));
        const TFrm_PicProp::Input input = inputFor(QStringLiteral("没了"), path);
        QVERIFY(QFile::remove(path));
        TFrm_PicProp dialog(input);
        QCOMPARE(valueOf(&dialog, "lbDbMax"), QString());
        QCOMPARE(valueOf(&dialog, "lbCreateDate"), QString());
        QCOMPARE(valueOf(&dialog, "lbModifyDate"), QString());
        QCOMPARE(valueOf(&dialog, "lbVisitDate"), QString());
        QCOMPARE(valueOf(&dialog, "LbExt"), QStringLiteral("PNG"));
        QCOMPARE(valueOf(&dialog, "lbFbl"), QStringLiteral("12（宽） ×9（高）"));
    }

    void pngHasEmptyCameraRows()
    {
        const QString path = file(QStringLiteral("plain.png"));
        QVERIFY(sampleImage(40, 30).save(path));
        TFrm_PicProp dialog(inputFor(QStringLiteral("p"), path));
        auto* info = dialog.findChild<QTableWidget*>(QStringLiteral("lvInfo"));
        QCOMPARE(info->rowCount(), 21);
        auto row = [info](int r) { return info->item(r, 1)->text(); };
        QCOMPARE(info->item(0, 0)->text(), QStringLiteral("相机厂家"));
        QCOMPARE(row(0), QString());   // make
        QCOMPARE(row(1), QString());   // model
        QCOMPARE(row(5), QStringLiteral("0"));   // exposure program
        QCOMPARE(row(6), QStringLiteral("0"));   // shutter speed
        QCOMPARE(info->item(12, 0)->text(), QStringLiteral("闪光灯"));
        QCOMPARE(row(12), QStringLiteral("未使用"));
        QCOMPARE(info->item(16, 0)->text(), QStringLiteral("照片高度"));
        QCOMPARE(row(16), QStringLiteral("30"));
        QCOMPARE(row(17), QStringLiteral("40"));
        QCOMPARE(row(19), QString());  // user comment
        QCOMPARE(row(20), QString());  // description
        // Without the row colours of the main window's panel.
        QCOMPARE(info->item(0, 0)->background().style(), Qt::NoBrush);
    }

    void jpegCameraRows()
    {
        QByteArray jpeg = encode(sampleImage(50, 40), "jpeg");
        jpeg.insert(2, exifSegment("FotoCam", "FX-1 Pro"));
        const QString path = file(QStringLiteral("camera.jpg"));
        writeBytes(path, jpeg);
        const TFrm_PicProp::Input input = inputFor(QStringLiteral("相机"), path);
        TFrm_PicProp dialog(input);
        auto* info = dialog.findChild<QTableWidget*>(QStringLiteral("lvInfo"));
        QCOMPARE(info->rowCount(), input.infoRows.size());
        QCOMPARE(info->item(0, 1)->text(), QStringLiteral("FotoCam"));
        QCOMPARE(info->item(1, 0)->text(), QStringLiteral("相机型号"));
        QCOMPARE(info->item(1, 1)->text(), QStringLiteral("FX-1 Pro"));
        for (int r = 0; r < info->rowCount(); ++r) {
            QCOMPARE(info->item(r, 0)->text(), input.infoRows.at(r).caption);
            QCOMPARE(info->item(r, 1)->text(), input.infoRows.at(r).value);
        }
    }

    // ---- preparation from the photo list -------------------------------------------------

    void collectFromPhotoList()
    {
        // A real library with the root album, an album of two photos and an empty one.
        const QString libPath = file(QStringLiteral("lib.pmd"));
        writeBytes(libPath, {});
        store::PhotoLibrary lib;
        lib.AdoConn().setConnectionString(QString::fromLatin1(db::kReadWriteConnection) + libPath);
        lib.AdoConn().open();
        const QString schema = testsupport::schemaSql();
        QVERIFY(!schema.isEmpty());
        lib.ExecuteSql(schema);
        lib.ExecuteSql(QStringLiteral(
            "insert into Album(id,name,parent_id,remark) values(1,'数码相册',0,'');"
            "insert into Album(id,name,parent_id,remark) values(2,'旅行',1,'');"
            "insert into Album(id,name,parent_id,remark) values(3,'空相册',1,'')"));
        const QString wide = file(QStringLiteral("src_wide.png"));
        const QString tall = file(QStringLiteral("src_tall.jpg"));
        QVERIFY(sampleImage(80, 20).save(wide));
        writeBytes(tall, encode(sampleImage(16, 60), "jpeg"));
        {
            db::Query add(&lib.AdoConn());
            add.setSql(QStringLiteral("select * from picture where 1<>1"));
            add.open();
            const struct {
                const char* name;
                QString source;
                const char* storedName;
            } photosToAdd[] = {{"A 宽", wide, "D:\\照片\\宽.png"}, {"B 高", tall, "D:\\照片\\高.JPG"}};
            for (const auto& p : photosToAdd) {
                add.append();
                add.setInteger(QStringLiteral("album_id"), 2);
                add.setText(QStringLiteral("pic_name"), QString::fromUtf8(p.name));
                add.setText(QStringLiteral("file_name"), QString::fromUtf8(p.storedName));
                add.setText(QStringLiteral("remark"), QString());
                add.loadBlobFromFile(QStringLiteral("pic_content"), p.source);
                add.post();
            }
        }
        lib.ReloadAlbums();

        QWidget window;
        auto* tree = new QTreeWidget(&window);
        auto* listHost = new QWidget(&window);
        auto* previewHost = new QWidget(&window);
        auto* infoHost = new QWidget(&window);
        auto* status = new QStatusBar(&window);
        previewHost->resize(400, 300);
        TTreeMaker maker(&window);
        maker.setTreeView(tree);
        maker.setDataSet(&lib.ADOQuery1());
        maker.setCaptionField(QStringLiteral("name"));
        maker.setSonIDField(QStringLiteral("id"));
        maker.setParentIDField(QStringLiteral("parent_id"));
        maker.BuildTree(QStringLiteral("0"));
        photos::PhotoBrowser browser({&lib, &maker, tree, listHost, previewHost, infoHost, status});
        window.show();

        auto node = [tree](const QString& caption) {
            const auto found = tree->findItems(caption, Qt::MatchExactly | Qt::MatchRecursive);
            return found.isEmpty() ? nullptr : found.first();
        };
        QVERIFY(node(QStringLiteral("旅行")));

        // No album selected.
        QVERIFY(!TFrm_PicProp::collect(browser, tree));
        QCOMPARE(ui::noticeHistory().size(), 1);
        QCOMPARE(ui::noticeHistory().last().text, QStringLiteral("请选择相册后再进行操作！"));
        QCOMPARE(ui::noticeHistory().last().kind, int(ui::NoticeInfo));

        // An album without photos.
        albums::selectTreeNode(tree, node(QStringLiteral("空相册")));
        browser.TreeChange(node(QStringLiteral("空相册")));
        QVERIFY(!TFrm_PicProp::collect(browser, tree));
        QCOMPARE(ui::noticeHistory().last().text, QStringLiteral("相册【空相册】中现在还没有照片！"));

        // Photos, none selected: the first is selected and shown first.
        albums::selectTreeNode(tree, node(QStringLiteral("旅行")));
        browser.TreeChange(node(QStringLiteral("旅行")));
        QCOMPARE(browser.rowCount(), 2);
        browser.selectRow(-1);
        auto first = TFrm_PicProp::collect(browser, tree);
        QVERIFY(first);
        QCOMPARE(browser.selectedRow(), 0);
        QCOMPARE(first->picName, QStringLiteral("A 宽"));
        QVERIFY(QFile::exists(first->tempFile));
        QVERIFY(first->tempFile.startsWith(m_tmp));
        QVERIFY(first->tempFile.endsWith(QStringLiteral(".png")));
        QCOMPARE(first->imageSize, QSize(80, 20));
        QCOMPARE(first->pixelKind, image::PixelKind::Rgb24);
        QCOMPARE(first->infoRows.size(), 21);
        {
            TFrm_PicProp dialog(*first);
            QCOMPARE(valueOf(&dialog, "LbExt"), QStringLiteral("PNG"));
            QCOMPARE(valueOf(&dialog, "lbFbl"), QStringLiteral("80（宽） ×20（高）"));
        }

        // A selected row not shown yet: it is shown (and written) first.
        browser.selectRow(1);
        QVERIFY(browser.rowTempFile(1).isEmpty());
        auto second = TFrm_PicProp::collect(browser, tree);
        QVERIFY(second);
        QCOMPARE(second->picName, QStringLiteral("B 高"));
        QVERIFY(QFile::exists(second->tempFile));
        QVERIFY(second->tempFile.endsWith(QStringLiteral(".JPG")));
        QCOMPARE(second->imageSize, QSize(16, 60));
        {
            TFrm_PicProp dialog(*second);
            QCOMPARE(valueOf(&dialog, "LbExt"), QStringLiteral("JPG"));
            QCOMPARE(valueOf(&dialog, "lbDbMax"),
                     ui::FormatSizeKB(QFileInfo(tall).size()));
        }

        // The temporary folder was emptied: the photo is written out again.
        QVERIFY(QFile::remove(second->tempFile));
        auto again = TFrm_PicProp::collect(browser, tree);
        QVERIFY(again);
        QVERIFY(again->tempFile != second->tempFile);
        QVERIFY(QFile::exists(again->tempFile));
        QCOMPARE(browser.rowTempFile(1), again->tempFile);

        // In thumbnail mode an album's photos go to the thumbnails only: the list is empty and
        // the album reads as having no photos.
        browser.thumbnailModeSwitch();
        browser.TreeChange(node(QStringLiteral("旅行")));
        QCOMPARE(browser.rowCount(), 0);
        QVERIFY(!TFrm_PicProp::collect(browser, tree));
        QCOMPARE(ui::noticeHistory().last().text, QStringLiteral("相册【旅行】中现在还没有照片！"));
        QTRY_VERIFY_WITH_TIMEOUT(!browser.thumbnailsLoading(), 20000);
    }
};

QTEST_MAIN(TestPicProp)
#include "test_picprop.moc"
