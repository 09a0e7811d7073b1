// The photo search window on a real library file: every photo on an empty text, fragments of
// names and descriptions (quotes, pattern characters, backslashes and Chinese taken as typed),
// the grid's columns and rows, locating by button and by double click, and engine errors.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "photos/PhotoSearchModel.h"
#include "photos/TFrm_Search.h"
#include "platform/db/Connection.h"
#include "platform/db/ConnectionString.h"
#include "platform/db/SqlText.h"
#include "store/PhotoLibrary.h"
#include "support/TestLibrary.h"
#include "ui/Dialogs.h"
#include "ui/Notice.h"

using photos::PhotoSearchModel;
using photos::TFrm_Search;

namespace {

struct Located {
    QString albumId;
    QString photoId;
};

}  // namespace

class TestSearch final : public QObject {
    Q_OBJECT

    QTemporaryDir m_base;
    std::unique_ptr<store::PhotoLibrary> m_library;
    QList<ui::dialogs::Request> m_requests;
    QList<Located> m_located;

    void openLibrary(const QString& name) {
        const QString path = m_base.filePath(name);
        QFile::remove(path);
        QVERIFY(testsupport::makeEmptyLibrary(path));
        m_library = std::make_unique<store::PhotoLibrary>();
        m_library->AdoConn().setConnectionString(QLatin1String(db::kReadWriteConnection) + path);
        m_library->AdoConn().open();
    }

    qint64 addAlbum(const QString& name, qint64 parent) {
        m_library->AdoConn().execute("insert into Album(name,parent_id) values(" + db::quoted(name) +
                                     "," + QString::number(parent) + ")");
        return m_library->AdoConn().lastInsertId();
    }

    // album: an id, "NULL" or "0".
    qint64 addPhoto(const QString& album, const QString& name, const QString& remark,
                    const QString& created = QStringLiteral("2009-05-01 10:20:30")) {
        m_library->AdoConn().execute(
            "insert into picture(album_id,pic_name,remark,create_date,file_name,pic_content) "
            "values(" + album + "," + db::quoted(name) + "," + db::quoted(remark) + "," +
            db::quoted(created) + "," + db::quoted("D:\\pics\\" + name) + ",X'FFD8FFD9')");
        return m_library->AdoConn().lastInsertId();
    }

    // The standard library: two albums and photos whose names and descriptions carry the
    // characters a search must take literally.
    void fillStandard() {
        openLibrary(QStringLiteral("search.pmd"));
        const qint64 family = addAlbum(QStringLiteral("家庭"), 0);
        const qint64 travel = addAlbum(QStringLiteral("旅行"), family);
        QCOMPARE(family, 1);
        QCOMPARE(travel, 2);
        addPhoto("1", "IMG_0001.jpg", "春游 在公园里");
        addPhoto("2", "beach.png", "O'Brien's party");
        addPhoto("NULL", "100%_done.jpg", "deleted");
        addPhoto("0", "a_b.jpg", "zero bin");
        addPhoto("2", "100 percent.jpg", "ab c");
        addPhoto("1", "axb.jpg", "平常的一天");
        addPhoto("1", "IMG_0002.JPG", "C:\\photos\\old");
    }

    static QStringList column(const PhotoSearchModel* model, PhotoSearchModel::Column c) {
        QStringList values;
        for (int row = 0; row < model->rowCount(); ++row) values << model->storedText(row, c);
        return values;
    }

    std::unique_ptr<TFrm_Search> openWindow() {
        auto window = std::make_unique<TFrm_Search>(
            *m_library, [this](const QString& albumId, const QString& photoId) {
                m_located.append({albumId, photoId});
            });
        window->show();
        QCoreApplication::processEvents();
        return window;
    }

    int rowOf(const PhotoSearchModel* model, const QString& name) {
        for (int row = 0; row < model->rowCount(); ++row)
            if (model->storedText(row, PhotoSearchModel::PicName) == name) return row;
        return -1;
    }

private slots:
    void initTestCase() {
        QVERIFY(m_base.isValid());
        for (const char* sub : {"home", "tmp"}) QDir(m_base.path()).mkpath(sub);
        qputenv("FOTARIX_HOME", QFile::encodeName(m_base.filePath("home")));
        qputenv("TMPDIR", QFile::encodeName(m_base.filePath("tmp")));
    }

    void init() {
        m_requests.clear();
        m_located.clear();
        ui::clearNoticeHistory();
        ui::dialogs::setResponder([this](const ui::dialogs::Request& request) {
            m_requests << request;
            return ui::dialogs::Answer{};
        });
        fillStandard();
    }

    void cleanup() {
        ui::dialogs::setResponder({});
        m_library.reset();
    }

    void windowAsDrawn() {
        auto window = openWindow();
        QCOMPARE(window->windowTitle(), QStringLiteral("查找照片"));
        QCOMPARE(window->size(), QSize(584, 417));
        QCOMPARE(window->findChild<QLabel*>("Label1")->text(), QStringLiteral("请输入照片名称或说明："));
        QCOMPARE(window->findChild<QPushButton*>("BtnOK")->text(), QStringLiteral("查找(&S)"));
        QCOMPARE(window->findChild<QPushButton*>("BtnLocate")->text(), QStringLiteral("定位(&L)"));
        QCOMPARE(window->findChild<QPushButton*>("BtnClose")->text(), QStringLiteral("取消(&C)"));
        QVERIFY(window->findChild<QLineEdit*>("EdtValue"));
        QCOMPARE(window->findChild<QLabel*>("StatusText")->text(),
                 QStringLiteral("  查询条件支持模糊查询，只需要输入您要查找的关键字即可。双击即可定位到相应的图片"));

        auto* grid = window->findChild<QTableView*>("DBGridEh1");
        QVERIFY(grid);
        const QStringList titles = {"所属相册", "照片名称", "照片说明", "创建日期", "修改日期"};
        const QList<int> widths = {107, 213, 270, 118, 125};
        QCOMPARE(grid->model()->columnCount(), titles.size());
        for (int c = 0; c < titles.size(); ++c) {
            QCOMPARE(grid->model()->headerData(c, Qt::Horizontal).toString(), titles[c]);
            QCOMPARE(grid->columnWidth(c), widths[c]);
        }
        QCOMPARE(grid->verticalHeader()->defaultSectionSize(), 18);
        QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(grid->selectionBehavior(), QAbstractItemView::SelectRows);

        window->BtnClose->click();
        QVERIFY(!window->isVisible());
    }

    // Opening lists every photo, the recycle bin's too, by album id descending (NULL last).
    void emptyTextListsEveryPhoto() {
        auto window = openWindow();
        const PhotoSearchModel* model = window->model();
        QCOMPARE(model->rowCount(), 7);
        QStringList albums;
        for (int row = 0; row < model->rowCount(); ++row) albums << model->albumId(row);
        QCOMPARE(albums, (QStringList{"2", "2", "1", "1", "1", "0", ""}));
        QCOMPARE(model->storedText(6, PhotoSearchModel::PicName), QStringLiteral("100%_done.jpg"));
        QCOMPARE(window->DBGridEh1->currentIndex().row(), 0);

        // Spaces alone are an empty text too.
        window->EdtValue->setText("IMG");
        window->EdtValue->setText("   ");
        QCOMPARE(model->rowCount(), 7);
    }

    void gridShowsAlbumAndDates() {
        m_library->AdoConn().execute(
            "update picture set modify_date='2010-01-02 03:04:05' where pic_name='beach.png'");
        auto window = openWindow();
        const QAbstractItemModel* grid = window->DBGridEh1->model();
        const int beach = rowOf(window->model(), "beach.png");
        QCOMPARE(grid->index(beach, PhotoSearchModel::AlbumName).data().toString(), QStringLiteral("旅行"));
        QCOMPARE(grid->index(beach, PhotoSearchModel::PicName).data().toString(), QStringLiteral("beach.png"));
        QCOMPARE(grid->index(beach, PhotoSearchModel::Remark).data().toString(), QStringLiteral("O'Brien's party"));
        const QString created = grid->index(beach, PhotoSearchModel::CreateDate).data().toString();
        const QLocale locale = QLocale::system();
        QVERIFY2(created.startsWith(locale.toString(QDate(2009, 5, 1), QLocale::ShortFormat)),
                 qPrintable(created));
        QVERIFY2(created.contains("20:30"), qPrintable(created));
        QVERIFY(grid->index(beach, PhotoSearchModel::ModifyDate).data().toString().contains("04:05"));
        QCOMPARE(window->model()->storedText(beach, PhotoSearchModel::ModifyDate),
                 QStringLiteral("2010-01-02 03:04:05"));
        QCOMPARE(grid->index(rowOf(window->model(), "axb.jpg"), PhotoSearchModel::ModifyDate)
                     .data().toString(), QString());

        // Photos in the recycle bin, by NULL or by 0, show the bin as their album.
        for (const char* name : {"100%_done.jpg", "a_b.jpg"})
            QCOMPARE(grid->index(rowOf(window->model(), name), PhotoSearchModel::AlbumName)
                         .data().toString(), PhotoSearchModel::recycleBinCaption());
        QCOMPARE(window->model()->storedText(rowOf(window->model(), "a_b.jpg"),
                                             PhotoSearchModel::AlbumName), QString());
    }

    void fragments_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("name") << "IMG" << QStringList{"IMG_0001.jpg", "IMG_0002.JPG"};
        QTest::newRow("letters in any case") << "img_000" << QStringList{"IMG_0001.jpg", "IMG_0002.JPG"};
        QTest::newRow("extension in any case") << ".jpg"
            << QStringList{"IMG_0001.jpg", "100%_done.jpg", "a_b.jpg", "100 percent.jpg", "axb.jpg", "IMG_0002.JPG"};
        QTest::newRow("description") << "party" << QStringList{"beach.png"};
        QTest::newRow("chinese") << "春游" << QStringList{"IMG_0001.jpg"};
        QTest::newRow("chinese inside") << "的一" << QStringList{"axb.jpg"};
        QTest::newRow("quote") << "O'Brien's" << QStringList{"beach.png"};
        QTest::newRow("quote alone") << "'" << QStringList{"beach.png"};
        QTest::newRow("percent is literal") << "100%" << QStringList{"100%_done.jpg"};
        QTest::newRow("percent alone") << "%" << QStringList{"100%_done.jpg"};
        QTest::newRow("underscore is literal") << "a_b" << QStringList{"a_b.jpg"};
        QTest::newRow("underscore alone") << "_"
            << QStringList{"IMG_0001.jpg", "100%_done.jpg", "a_b.jpg", "IMG_0002.JPG"};
        QTest::newRow("backslash") << "C:\\photos" << QStringList{"IMG_0002.JPG"};
        QTest::newRow("surrounding blanks") << "  beach  " << QStringList{"beach.png"};
        QTest::newRow("nothing") << "no such photo" << QStringList{};
    }
    void fragments() {
        QFETCH(QString, text);
        QFETCH(QStringList, found);
        auto window = openWindow();
        window->EdtValue->setText(text);  // every keystroke searches
        const QStringList names = column(window->model(), PhotoSearchModel::PicName);
        QCOMPARE(QSet<QString>(names.begin(), names.end()), QSet<QString>(found.begin(), found.end()));
        QCOMPARE(names.size(), found.size());
        // The search button runs the same search again.
        window->BtnOK->click();
        QCOMPARE(window->model()->rowCount(), found.size());
    }

    // Texts are read for the rows drawn; every row still shows its own photo, far down too.
    void everyRowShowsItsOwnPhoto() {
        openLibrary(QStringLiteral("many.pmd"));
        QList<qint64> albums;
        for (int a = 0; a < 5; ++a) albums << addAlbum("相册" + QString::number(a), 0);
        for (int i = 0; i < 300; ++i) {
            const QString album = i % 50 == 0 ? QStringLiteral("NULL") : QString::number(albums[i % 5]);
            const qint64 id = addPhoto(album, "photo", "note");
            m_library->AdoConn().execute("update picture set pic_name='P" + QString::number(id) +
                                         "', remark='R" + QString::number(id) + "' where id=" +
                                         QString::number(id));
        }
        auto window = openWindow();
        const PhotoSearchModel* model = window->model();
        QCOMPARE(model->rowCount(), 300);
        // Read from the last row backwards, so that texts are read out of order.
        for (int row = model->rowCount() - 1; row >= 0; --row) {
            const QString id = model->photoId(row);
            QCOMPARE(model->storedText(row, PhotoSearchModel::PicName), "P" + id);
            QCOMPARE(model->index(row, PhotoSearchModel::Remark).data().toString(), "R" + id);
            const QString albumId = model->albumId(row);
            const QString album = model->storedText(row, PhotoSearchModel::AlbumName);
            QCOMPARE(album, albumId.isEmpty() ? QString() : "相册" + QString::number(albumId.toInt() - 1));
            if (row > 0) QVERIFY(model->albumId(row - 1).toInt() >= albumId.toInt() || albumId.isEmpty());
        }
        window->EdtValue->setText("P1");
        for (int row = 0; row < model->rowCount(); ++row)
            QVERIFY(model->storedText(row, PhotoSearchModel::PicName).startsWith("P1"));
        QCOMPARE(model->rowCount(), 111);  // P1, P10..P19, P100..P199
    }

    void locate_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("byDoubleClick");
        QTest::addColumn<QString>("albumId");  // empty: the recycle-bin message instead
        QTest::newRow("button") << "beach.png" << false << "2";
        QTest::newRow("double click") << "axb.jpg" << true << "1";
        QTest::newRow("bin by NULL") << "100%_done.jpg" << false << "";
        QTest::newRow("bin by 0") << "a_b.jpg" << false << "";
        QTest::newRow("bin by double click") << "a_b.jpg" << true << "";
    }
    void locate() {
        QFETCH(QString, name);
        QFETCH(bool, byDoubleClick);
        QFETCH(QString, albumId);
        auto window = openWindow();
        QTableView* grid = window->DBGridEh1;
        const int row = rowOf(window->model(), name);
        QVERIFY(row >= 0);
        const QString photoId = window->model()->photoId(row);
        if (byDoubleClick) {
            grid->scrollTo(grid->model()->index(row, 1));
            const QRect cell = grid->visualRect(grid->model()->index(row, 1));
            // A widget double click arrives after the press of the first click.
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
            QCOMPARE(grid->currentIndex().row(), row);
        } else {
            grid->setCurrentIndex(grid->model()->index(row, 0));
            window->BtnLocate->click();
        }
        if (albumId.isEmpty()) {
            QVERIFY(m_located.isEmpty());
            QCOMPARE(m_requests.size(), 1);
            QCOMPARE(m_requests[0].title, QStringLiteral("提示信息"));
            QCOMPARE(m_requests[0].text, QStringLiteral("该照片已经被删除到回收站中，请到回收站中查看！"));
            QCOMPARE(m_requests[0].icon, QMessageBox::Information);
            QCOMPARE(m_requests[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        } else {
            QVERIFY(m_requests.isEmpty());
            QCOMPARE(m_located.size(), 1);
            QCOMPARE(m_located[0].albumId, albumId);
            QCOMPARE(m_located[0].photoId, photoId);
        }
        QVERIFY(window->isVisible());  // the window stays open after locating
    }

    void locateWithoutRowsDoesNothing() {
        auto window = openWindow();
        window->EdtValue->setText("no such photo");
        window->BtnLocate->click();
        QVERIFY(m_located.isEmpty());
        QVERIFY(m_requests.isEmpty());
    }

    // A failing search is reported and leaves the grid empty; the next one works again.
    void engineErrorLeavesGridEmpty() {
        auto window = openWindow();
        QCOMPARE(window->model()->rowCount(), 7);
        m_library->AdoConn().execute("alter table picture rename to picture_gone");
        window->EdtValue->setText("IMG");
        QCOMPARE(window->model()->rowCount(), 0);
        QCOMPARE(ui::noticeHistory().size(), 1);
        QCOMPARE(ui::noticeHistory()[0].kind, int(ui::NoticeError));
        QVERIFY(ui::noticeHistory()[0].text.contains("picture"));
        m_library->AdoConn().execute("alter table picture_gone rename to picture");
        window->EdtValue->setText("IMG_");
        QCOMPARE(window->model()->rowCount(), 2);
    }
};

QTEST_MAIN(TestSearch)
#include "test_search.moc"
