// The recycle bin window on a real library file with real image bytes: which photos it lists,
// the preview through temporary files, restoring into an album chosen in the real album
// picker, deleting for good after the question, and a library opened read-only.
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "albums/TFrm_Select.h"
#include "photos/TFrm_RecycleBin.h"
#include "platform/db/Connection.h"
#include "platform/db/ConnectionString.h"
#include "platform/db/Query.h"
#include "platform/db/SqlText.h"
#include "platform/image/ImageView.h"
#include "store/PhotoLibrary.h"
#include "support/ModalDialogs.h"
#include "support/TestLibrary.h"
#include "ui/Dialogs.h"
#include "ui/Notice.h"
#include "ui/Utils.h"

using photos::TFrm_RecycleBin;

namespace {

const QString kReadOnly = QStringLiteral("当前照片库是以只读方式打开的，不能进行修改！");
const QString kRestoreFailed = QStringLiteral("从回收站恢复照片时出现错误，请重试！");

QByteArray encoded(const QSize& size, QColor colour, const char* format) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format, 90)) qFatal("cannot encode a %s fixture", format);
    return bytes;
}

}  // namespace

class TestRecycleBin final : public QObject {
    Q_OBJECT

    QTemporaryDir m_base;
    QString m_path;
    std::unique_ptr<store::PhotoLibrary> m_library;
    QList<ui::dialogs::Request> m_requests;
    QList<ui::dialogs::Answer> m_answers;
    QByteArray m_png;
    QByteArray m_jpeg;
    qint64 m_nullPhoto = 0;
    qint64 m_zeroPhoto = 0;
    qint64 m_keptPhoto = 0;

    qint64 addPhoto(const QString& album, const QString& name, const QString& remark,
                    const QString& fileName, const QByteArray& bytes) {
        m_library->AdoConn().execute(
            "insert into picture(album_id,pic_name,remark,file_name,create_date,pic_content) "
            "values(" + album + "," + db::quoted(name) + "," + db::quoted(remark) + "," +
            db::quoted(fileName) + ",'2009-05-01 10:20:30',X'" + QString::fromLatin1(bytes.toHex()) + "')");
        return m_library->AdoConn().lastInsertId();
    }

    // "NULL", "" (no such photo) or the album id of a photo, read back with SQL.
    QString albumOf(qint64 photo) {
        db::Query& q = m_library->temp("select album_id from picture where id=" + QString::number(photo));
        q.open();
        const QString album = q.isEmpty() ? QString() : q.isNull("album_id") ? QStringLiteral("NULL")
                                                                               : q.asText("album_id");
        q.close();
        return album;
    }

    std::unique_ptr<TFrm_RecycleBin> openBin(store::PhotoLibrary& library) {
        auto bin = std::make_unique<TFrm_RecycleBin>(library);
        bin->show();
        QCoreApplication::processEvents();
        return bin;
    }
    std::unique_ptr<TFrm_RecycleBin> openBin() { return openBin(*m_library); }

    static int rowOf(const TFrm_RecycleBin& bin, const QString& name) {
        for (int row = 0; row < bin.ListView1->rowCount(); ++row)
            if (bin.ListView1->item(row, TFrm_RecycleBin::NameColumn)->text() == name) return row;
        return -1;
    }
    static QStringList names(const TFrm_RecycleBin& bin) {
        QStringList out;
        for (int row = 0; row < bin.ListView1->rowCount(); ++row)
            out << bin.ListView1->item(row, TFrm_RecycleBin::NameColumn)->text();
        out.sort();
        return out;
    }
    static QString tempFileOf(const TFrm_RecycleBin& bin, int row) {
        return bin.ListView1->item(row, TFrm_RecycleBin::TempFileColumn)->text();
    }

    QStringList noticeTexts() const {
        QStringList texts;
        for (const ui::NoticeRecord& n : ui::noticeHistory())
            texts << QString::number(n.kind) + u':' + n.text;
        return texts;
    }

private slots:
    void initTestCase() {
        QVERIFY(m_base.isValid());
        for (const char* sub : {"home", "tmp"}) QDir(m_base.path()).mkpath(sub);
        qputenv("FOTARIX_HOME", QFile::encodeName(m_base.filePath("home")));
        qputenv("TMPDIR", QFile::encodeName(m_base.filePath("tmp")));
        QVERIFY(ui::GetAppTempDir().startsWith(m_base.filePath("tmp")));
        m_png = encoded(QSize(40, 30), Qt::red, "PNG");
        m_jpeg = encoded(QSize(64, 48), Qt::blue, "JPEG");
    }

    void init() {
        m_requests.clear();
        m_answers.clear();
        ui::clearNoticeHistory();
        ui::dialogs::setResponder([this](const ui::dialogs::Request& request) {
            m_requests << request;
            if (!m_answers.isEmpty()) return m_answers.takeFirst();
            ui::dialogs::Answer answer;
            answer.button =
                request.buttons.testFlag(QMessageBox::Yes) ? QMessageBox::Yes : QMessageBox::Ok;
            return answer;
        });

        m_path = m_base.filePath("bin.pmd");
        QFile::remove(m_path);
        QVERIFY(testsupport::makeEmptyLibrary(m_path));
        m_library = std::make_unique<store::PhotoLibrary>();
        m_library->AdoConn().setConnectionString(QLatin1String(db::kReadWriteConnection) + m_path);
        m_library->AdoConn().open();
        m_library->AdoConn().execute("insert into Album(name,parent_id) values('家庭',0)");
        m_library->AdoConn().execute("insert into Album(name,parent_id) values('旅行',1)");

        // Stored paths from another system keep their extension whatever the separators.
        m_nullPhoto = addPhoto("NULL", "null.png", "空的相册", "C:\\pics.old\\null.png", m_png);
        m_zeroPhoto = addPhoto("0", "zero.jpg", "it's zero", "/home/u/zero.jpg", m_jpeg);
        m_keptPhoto = addPhoto("1", "kept.png", "在相册里", "/home/u/kept.png", m_png);
    }

    void cleanup() {
        TFrm_Select::FreeInstance();
        ui::dialogs::setResponder({});
        m_library.reset();
    }

    void windowAsDrawn() {
        auto bin = openBin();
        QCOMPARE(bin->windowTitle(), QStringLiteral("照片回收站"));
        QCOMPARE(bin->size(), QSize(611, 389));
        QTableWidget* list = bin->findChild<QTableWidget*>("ListView1");
        QVERIFY(list);
        const QStringList titles = {"照片名称", "照片说明", "id", "tempfileName"};
        for (int c = 0; c < titles.size(); ++c)
            QCOMPARE(list->horizontalHeaderItem(c)->text(), titles[c]);
        QCOMPARE(list->columnWidth(0), 150);
        QCOMPARE(list->columnWidth(1), 173);
        QVERIFY(!list->isColumnHidden(0) && !list->isColumnHidden(1));
        QVERIFY(list->isColumnHidden(2) && list->isColumnHidden(3));
        QVERIFY(list->showGrid());
        QCOMPARE(list->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(list->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(bin->findChild<QLabel*>("Label1")->text(), QStringLiteral("照片缩略图预览："));
        QCOMPARE(bin->findChild<QPushButton*>("BtnResume")->text(), QStringLiteral("恢复(&R)"));
        QCOMPARE(bin->findChild<QPushButton*>("BitBtn1")->text(), QStringLiteral("彻底删除"));
        QCOMPARE(bin->findChild<QPushButton*>("BtnClose")->text(), QStringLiteral("关闭(&C)"));
        auto* preview = bin->findChild<image::ImageView*>("ImageEn1");
        QVERIFY(preview);
        QCOMPARE(preview->background(), QColor(255, 251, 240));
        QCOMPARE(bin->StatusText->minimumWidth(), 500);
        bin->BtnClose->click();
        QVERIFY(!bin->isVisible());
    }

    // Album id NULL and album id 0 are the bin; a photo in an album is not.
    void listsEveryPhotoOfTheBinAndNoOther() {
        auto bin = openBin();
        QCOMPARE(names(*bin), (QStringList{"null.png", "zero.jpg"}));
        const int zero = rowOf(*bin, "zero.jpg");
        QCOMPARE(bin->ListView1->item(zero, TFrm_RecycleBin::RemarkColumn)->text(), QStringLiteral("it's zero"));
        QCOMPARE(bin->ListView1->item(zero, TFrm_RecycleBin::IdColumn)->text(), QString::number(m_zeroPhoto));
        QCOMPARE(bin->StatusText->text(),
                 QStringLiteral("  照片库回收站中共有 2 张照片；您可进行恢复和彻底删除操作，在回收站中删除的照片将无法恢复"));
        // Report rows alternate their colours.
        QCOMPARE(bin->ListView1->item(0, 0)->background().color(), QColor(244, 252, 227));
        QCOMPARE(bin->ListView1->item(1, 1)->background().color(), QColor(254, 255, 243));
        // The first row is selected and shown.
        QCOMPARE(bin->ListView1->selectedItems().first()->row(), 0);
        QVERIFY(!bin->ImageEn1->isEmpty());
        const bool pngFirst = bin->ListView1->item(0, 0)->text() == u"null.png";
        QCOMPARE(bin->ImageEn1->imageWidth(), pngFirst ? 40 : 64);
    }

    void emptyBin() {
        m_library->AdoConn().execute("delete from picture where album_id = 0 or album_id is NULL");
        auto bin = openBin();
        QCOMPARE(bin->ListView1->rowCount(), 0);
        QVERIFY(bin->ImageEn1->isEmpty());
        QVERIFY(bin->StatusText->text().startsWith(QStringLiteral("  照片库回收站中共有 0 张照片；")));
    }

    // The preview goes through a temporary file holding the photo's exact bytes, written once.
    void previewWritesThePhotosBytes() {
        auto bin = openBin();
        struct Expected { QString name; QString suffix; QByteArray bytes; QSize size; };
        const QList<Expected> photos = {{"null.png", "png", m_png, {40, 30}},
                                        {"zero.jpg", "jpg", m_jpeg, {64, 48}}};
        for (const Expected& photo : photos) {
            const int row = rowOf(*bin, photo.name);
            bin->ListView1->selectRow(row);
            const QString file = tempFileOf(*bin, row);
            QVERIFY2(file.startsWith(ui::GetAppTempDir()), qPrintable(file));
            QCOMPARE(QFileInfo(file).suffix(), photo.suffix);
            QFile written(file);
            QVERIFY(written.open(QIODevice::ReadOnly));
            QCOMPARE(written.readAll(), photo.bytes);
            QCOMPARE(QSize(bin->ImageEn1->imageWidth(), bin->ImageEn1->imageHeight()), photo.size);
        }
        // Shown again from the same file; a file that went away is written anew.
        const int png = rowOf(*bin, "null.png");
        const QString first = tempFileOf(*bin, png);
        bin->ListView1->selectRow(png);
        QCOMPARE(tempFileOf(*bin, png), first);
        QVERIFY(QFile::remove(first));
        bin->ListView1->clearSelection();
        bin->ListView1->selectRow(png);
        const QString again = tempFileOf(*bin, png);
        QVERIFY(again != first);
        QFile rewritten(again);
        QVERIFY(rewritten.open(QIODevice::ReadOnly));
        QCOMPARE(rewritten.readAll(), m_png);
        QCOMPARE(bin->ImageEn1->imageWidth(), 40);
    }

    void restore_data() {
        QTest::addColumn<QString>("album");   // chosen in the picker; empty: cancelled
        QTest::addColumn<QString>("albumAfter");
        QTest::addColumn<QString>("notice");
        QTest::newRow("into an album") << "旅行" << "2" << "1:照片【zero.jpg】恢复成功！";
        QTest::newRow("into a top-level album") << "家庭" << "1" << "1:照片【zero.jpg】恢复成功！";
        QTest::newRow("picker cancelled") << "" << "0" << "1:您没有选择照片所属相册，无法恢复照片！";
    }
    void restore() {
        QFETCH(QString, album);
        QFETCH(QString, albumAfter);
        QFETCH(QString, notice);
        auto bin = openBin();
        bin->ListView1->selectRow(rowOf(*bin, "zero.jpg"));
        const QString status = bin->StatusText->text();
        testsupport::answerAlbumPicker(album);
        bin->BtnResume->click();

        QCOMPARE(albumOf(m_zeroPhoto), albumAfter);
        QCOMPARE(albumOf(m_nullPhoto), QStringLiteral("NULL"));
        QCOMPARE(noticeTexts(), QStringList{notice});
        if (album.isEmpty()) {
            QCOMPARE(bin->ListView1->rowCount(), 2);
            return;
        }
        QCOMPARE(names(*bin), QStringList{"null.png"});
        QVERIFY(bin->ImageEn1->isEmpty());
        QVERIFY(bin->ListView1->selectedItems().isEmpty());
        QCOMPARE(bin->StatusText->text(), status);  // counted again only when shown again
        QCOMPARE(bin->ListView1->item(0, 0)->background().color(), QColor(244, 252, 227));
    }

    // A restore that changes no row is an error, never a success.
    void restoreOfAPhotoThatIsGone() {
        auto bin = openBin();
        bin->ListView1->selectRow(rowOf(*bin, "zero.jpg"));
        m_library->AdoConn().execute("delete from picture where id=" + QString::number(m_zeroPhoto));
        testsupport::answerAlbumPicker("旅行");
        bin->BtnResume->click();
        QCOMPARE(noticeTexts(), QStringList{"0:" + kRestoreFailed});
        QCOMPARE(bin->ListView1->rowCount(), 2);
    }

    void restoreWithoutASelectedPhoto() {
        auto bin = openBin();
        bin->ListView1->clearSelection();
        testsupport::answerAlbumPicker("旅行");
        bin->BtnResume->click();
        QCOMPARE(noticeTexts(), QStringList{"0:" + kRestoreFailed});
        QCOMPARE(albumOf(m_zeroPhoto), QStringLiteral("0"));
        QCOMPARE(albumOf(m_nullPhoto), QStringLiteral("NULL"));
    }

    void purge_data() {
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::newRow("yes") << QMessageBox::Yes;
        QTest::newRow("no") << QMessageBox::No;
    }
    void purge() {
        QFETCH(QMessageBox::StandardButton, answer);
        auto bin = openBin();
        bin->ListView1->selectRow(rowOf(*bin, "null.png"));
        ui::dialogs::Answer reply;
        reply.button = answer;
        m_answers << reply;
        bin->BitBtn1->click();

        QCOMPARE(m_requests.size(), 1);
        QCOMPARE(m_requests[0].title, QStringLiteral("删除照片？"));
        QCOMPARE(m_requests[0].text,
                 QStringLiteral("您真的要彻底删除照片【null.png】吗？（删除后将不能恢复，请慎重操作）"));
        QCOMPARE(m_requests[0].icon, QMessageBox::Warning);
        QCOMPARE(m_requests[0].buttons, QMessageBox::Yes | QMessageBox::No);
        if (answer == QMessageBox::Yes) {
            QCOMPARE(albumOf(m_nullPhoto), QString());  // the row is gone
            QCOMPARE(names(*bin), QStringList{"zero.jpg"});
            QVERIFY(bin->ImageEn1->isEmpty());
        } else {
            QCOMPARE(albumOf(m_nullPhoto), QStringLiteral("NULL"));
            QCOMPARE(bin->ListView1->rowCount(), 2);
            QVERIFY(!bin->ImageEn1->isEmpty());
        }
        QCOMPARE(albumOf(m_zeroPhoto), QStringLiteral("0"));
        QCOMPARE(albumOf(m_keptPhoto), QStringLiteral("1"));
        QVERIFY(ui::noticeHistory().isEmpty());
    }

    void purgeWithoutASelectedPhoto() {
        auto bin = openBin();
        bin->ListView1->clearSelection();
        bin->BitBtn1->click();
        QVERIFY(m_requests.isEmpty());
        QCOMPARE(noticeTexts(), QStringList{"1:请选择您要删除的照片，否则无法删除！"});
        QCOMPARE(albumOf(m_nullPhoto), QStringLiteral("NULL"));
        QCOMPARE(albumOf(m_zeroPhoto), QStringLiteral("0"));
    }

    // A library opened read-only lists and previews, but restores and deletes nothing.
    void readOnlyLibraryRefuses() {
        store::PhotoLibrary readOnly;
        readOnly.AdoConn().setConnectionString(QLatin1String(db::kReadOnlyConnection) + m_path);
        readOnly.AdoConn().open();
        QVERIFY(readOnly.readOnly());
        auto bin = openBin(readOnly);
        QCOMPARE(bin->ListView1->rowCount(), 2);
        QVERIFY(!bin->ImageEn1->isEmpty());

        // Were the picker shown, this closes it and records it, so that the test cannot hang.
        testsupport::ModalWatchdog watchdog;
        bin->BtnResume->click();
        bin->BitBtn1->click();
        watchdog.stop();

        QVERIFY(watchdog.opened().isEmpty());
        QCOMPARE(m_requests.size(), 2);
        for (const ui::dialogs::Request& request : m_requests) {
            QCOMPARE(request.text, kReadOnly);
            QCOMPARE(request.title, QStringLiteral("提示信息"));
            QCOMPARE(request.icon, QMessageBox::Warning);
        }
        QCOMPARE(bin->ListView1->rowCount(), 2);
        QCOMPARE(albumOf(m_nullPhoto), QStringLiteral("NULL"));
        QCOMPARE(albumOf(m_zeroPhoto), QStringLiteral("0"));
    }
};

QTEST_MAIN(TestRecycleBin)
#include "test_recycle_bin.moc"
