// The album commands on a real library file: new album, properties, delete, rename, the drops
// onto the navigation tree and the album picker, with real widgets and the results read back
// from the file with SQL through a second connection.
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <functional>
#include <memory>
#include <optional>

#include "albums/AlbumCommands.h"
#include "albums/AlbumIcons.h"
#include "albums/TFrmAlbum_New.h"
#include "albums/TFrm_Select.h"
#include "albums/TTreeMaker.h"
#include "platform/db/Connection.h"
#include "platform/db/ConnectionString.h"
#include "platform/db/DbError.h"
#include "platform/db/Query.h"
#include "platform/db/SqlText.h"
#include "store/PhotoLibrary.h"
#include "support/ModalDialogs.h"
#include "support/TestLibrary.h"
#include "support/TreeNodes.h"
#include "ui/Dialogs.h"
#include "ui/Notice.h"

using testsupport::answerAlbumPicker;
using testsupport::findNode;
using testsupport::whenModalNamed;

namespace {

const QString kReadOnlyText = QStringLiteral("当前照片库是以只读方式打开的，不能进行修改！");

// Root(1) > A(2) > B(3) > C(4) > F(6); B(3) > E(5); a second top-level album Other(7).
const QString kAlbums = QStringLiteral("1:Root:0;2:A:1;3:B:2;4:C:3;5:E:3;6:F:4;7:Other:0");
// Photos: id:name:album.
const QString kPhotos = QStringLiteral("1:pa.jpg:2;2:pb.jpg:3;3:pc.jpg:4;4:pe.jpg:5");

}  // namespace

class TestAlbumOps final : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
    std::unique_ptr<store::PhotoLibrary> m_library;
    std::unique_ptr<db::Connection> m_check;  // a second connection that reads the file back
    std::unique_ptr<QWidget> m_window;
    QTreeWidget* m_tree = nullptr;
    TTreeMaker* m_maker = nullptr;
    std::unique_ptr<albums::AlbumCommands> m_commands;

    QList<ui::dialogs::Request> m_requests;
    QList<ui::dialogs::Answer> m_answers;  // given in order; afterwards OK / Yes / accepted
    int m_rebuilds = 0;
    int m_reloads = 0;
    std::optional<albums::SelectedPhoto> m_selectedPhoto;

    // ---- the library ----------------------------------------------------------------------

    // A library file made from the schema, holding `albums` ("id:name:parent;...") and
    // `photos` ("id:name:album;..."), opened as the main window opens it.
    void makeLibrary(const QString& albums, const QString& photos, bool readOnly = false) {
        m_dir = std::make_unique<QTemporaryDir>();
        m_path = m_dir->filePath(QStringLiteral("lib.pmd"));
        QVERIFY(testsupport::makeEmptyLibrary(m_path));
        {
            db::Connection maker;
            maker.setConnectionString(QString::fromLatin1(db::kReadWriteConnection) + m_path);
            maker.open();
            for (const QString& row : albums.split(u';', Qt::SkipEmptyParts)) {
                const QStringList f = row.split(u':');
                maker.execute(QStringLiteral(
                                  "insert into Album(id,name,parent_id,remark) values(%1,%2,%3,%4)")
                                  .arg(f[0], db::quoted(f[1]), f[2],
                                       db::quoted(QStringLiteral("about ") + f[1])));
            }
            for (const QString& row : photos.split(u';', Qt::SkipEmptyParts)) {
                const QStringList f = row.split(u':');
                maker.execute(
                    QStringLiteral("insert into picture(id,pic_name,album_id) values(%1,%2,%3)")
                        .arg(f[0], db::quoted(f[1]), f[2]));
            }
        }
        m_library = std::make_unique<store::PhotoLibrary>();
        m_library->AdoConn().setConnectionString(
            QString::fromLatin1(readOnly ? db::kReadOnlyConnection : db::kReadWriteConnection) +
            m_path);
        m_library->AdoConn().open();
        m_library->ReloadAlbums();
        m_check = std::make_unique<db::Connection>();
        m_check->setConnectionString(QString::fromLatin1(db::kReadWriteConnection) + m_path);
        m_check->open();
    }

    // The main window's tree, builder and commands, wired as the main window wires them.
    void makeWindow() {
        m_window = std::make_unique<QWidget>();
        m_window->resize(400, 500);
        m_tree = new QTreeWidget(m_window.get());
        m_tree->setHeaderHidden(true);
        m_tree->setGeometry(0, 0, 400, 500);
        m_maker = new TTreeMaker(m_window.get());
        m_maker->setTreeView(m_tree);
        m_maker->setDataSet(&m_library->ADOQuery1());
        m_maker->setCaptionField(QStringLiteral("name"));
        m_maker->setSonIDField(QStringLiteral("id"));
        m_maker->setParentIDField(QStringLiteral("parent_id"));
        m_commands = std::make_unique<albums::AlbumCommands>(albums::AlbumContext{
            .library = *m_library,
            .tree = m_tree,
            .treeMaker = m_maker,
            .dialogParent = m_window.get(),
            .rebuildTree =
                [this] {
                    ++m_rebuilds;
                    try {
                        m_maker->BuildTree(QStringLiteral("0"));
                    } catch (...) {
                    }
                },
            .reloadPhotos = [this] { ++m_reloads; },
            .selectedPhoto = [this] { return m_selectedPhoto; },
        });
        m_commands->installDropHandling();
        m_maker->BuildTree(QStringLiteral("0"));
        m_rebuilds = 0;
    }

    void setUp(const QString& albums = kAlbums, const QString& photos = kPhotos,
               bool readOnly = false) {
        makeLibrary(albums, photos, readOnly);
        makeWindow();
    }

    // ---- reading back ---------------------------------------------------------------------

    // Every row of a select, columns joined by '|', NULL as "null".
    QStringList rows(const QString& sql) {
        db::Query q(m_check.get());
        q.setSql(sql);
        q.open();
        QStringList out;
        for (q.first(); !q.eof(); q.next()) {
            QStringList values;
            for (const QString& c : q.columnNames())
                values << (q.isNull(c) ? QStringLiteral("null") : q.asText(c));
            out << values.join(u'|');
        }
        return out;
    }
    QString value(const QString& sql) { return rows(sql).value(0); }
    QString albumTable() {
        return rows(QStringLiteral("select id,name,parent_id,remark from Album order by id"))
            .join(u';');
    }
    QString photoTable() {
        return rows(QStringLiteral("select id,album_id from picture order by id")).join(u';');
    }

    // "caption(child,...)" of the main tree, top-level nodes separated by ','.
    static QString dump(const QTreeWidgetItem* node) {
        QString text = node->text(0);
        if (node->childCount() > 0) {
            QStringList children;
            for (int i = 0; i < node->childCount(); ++i) children << dump(node->child(i));
            text += u'(' + children.join(u',') + u')';
        }
        return text;
    }
    static QString dump(const QTreeWidget* tree) {
        QStringList top;
        for (int i = 0; i < tree->topLevelItemCount(); ++i) top << dump(tree->topLevelItem(i));
        return top.join(u',');
    }

    void select(const QString& caption) {
        QTreeWidgetItem* node = findNode(m_tree, caption);
        QVERIFY2(node, qPrintable(caption));
        m_tree->setCurrentItem(node);
    }

    QStringList noticeTexts() const {
        QStringList texts;
        for (const ui::NoticeRecord& n : ui::noticeHistory())
            texts << QString::number(n.kind) + u':' + n.text;
        return texts;
    }

    QStringList requestTexts() const {
        QStringList texts;
        for (const ui::dialogs::Request& r : m_requests) texts << r.text;
        return texts;
    }

private slots:
    void init() {
        m_requests.clear();
        m_answers.clear();
        m_selectedPhoto.reset();
        m_rebuilds = m_reloads = 0;
        ui::clearNoticeHistory();
        ui::dialogs::setResponder([this](const ui::dialogs::Request& request) {
            m_requests << request;
            if (!m_answers.isEmpty()) return m_answers.takeFirst();
            ui::dialogs::Answer answer;
            answer.button =
                request.buttons.testFlag(QMessageBox::Yes) ? QMessageBox::Yes : QMessageBox::Ok;
            answer.text = request.initial;
            return answer;
        });
    }

    void cleanup() {
        ui::dialogs::setResponder({});
        TFrm_Select::FreeInstance();
        m_commands.reset();
        m_window.reset();  // the tree and its builder
        m_tree = nullptr;
        m_maker = nullptr;
        m_check.reset();
        m_library.reset();
        m_dir.reset();
    }

    // ---- delete ---------------------------------------------------------------------------

    void deleteMovesDirectChildrenUpAndOnlyOwnPhotosToTheBin() {
        setUp();
        select(QStringLiteral("B"));
        m_commands->run(103);

        QCOMPARE(requestTexts(),
                 QStringList{QStringLiteral(
                     "您真的要删除相册〖B〗吗？（删除相册后，B中所有的照片都会进入回收站)")});
        QCOMPARE(m_requests.first().buttons, QMessageBox::Yes | QMessageBox::No);
        // C and E now hang from A; F stays below C.
        QCOMPARE(albumTable(),
                 QStringLiteral("1|Root|0|about Root;2|A|1|about A;4|C|2|about C;5|E|2|about E;"
                                "6|F|4|about F;7|Other|0|about Other"));
        QCOMPARE(photoTable(), QStringLiteral("1|2;2|null;3|4;4|5"));
        QCOMPARE(dump(m_tree), QStringLiteral("Other,Root(A(C(F),E))"));
        QCOMPARE(m_rebuilds, 1);
        QCOMPARE(noticeTexts(),
                 QStringList{QStringLiteral("1:删除相册成功，相册中的照片被转入回收站！")});
    }

    void deleteIsOneTransaction() {
        setUp();
        // The last of the three statements fails: nothing of the deletion may stay.
        m_check->execute(
            QStringLiteral("create trigger no_bin before update of album_id on picture "
                           "begin select raise(abort, 'bin refused'); end"));
        const QString albumsBefore = albumTable();
        select(QStringLiteral("B"));
        bool raised = false;
        try {
            m_commands->DeleteAlbum();
        } catch (const db::DbError& e) {
            raised = e.message().contains(QStringLiteral("bin refused"));
        }
        QVERIFY(raised);
        QCOMPARE(albumTable(), albumsBefore);
        QCOMPARE(photoTable(), QStringLiteral("1|2;2|3;3|4;4|5"));
        // The album query and the tree show the file again, B included.
        QCOMPARE(dump(m_tree), QStringLiteral("Other,Root(A(B(C(F),E)))"));
        QVERIFY(m_library->ADOQuery1().locate(QStringLiteral("id"), QStringLiteral("3")));
        QVERIFY(noticeTexts().isEmpty());
    }

    void deleteRefusals_data() {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<bool>("answerYes");
        QTest::addColumn<QString>("notice");
        QTest::addColumn<int>("questions");
        QTest::newRow("no selection")
            << QString() << true << QStringLiteral("0:请选择要删除的相册！") << 0;
        QTest::newRow("top-level album")
            << QStringLiteral("Root") << true << QStringLiteral("0:根相册目录不允许删除！") << 0;
        QTest::newRow("answered no") << QStringLiteral("C") << false << QString() << 1;
    }

    void deleteRefusals() {
        QFETCH(QString, selected);
        QFETCH(bool, answerYes);
        QFETCH(QString, notice);
        QFETCH(int, questions);
        setUp();
        if (!selected.isEmpty()) select(selected);
        ui::dialogs::Answer no;
        no.button = QMessageBox::No;
        if (!answerYes) m_answers << no;
        const QString albumsBefore = albumTable();
        m_commands->run(103);
        QCOMPARE(m_requests.size(), questions);
        QCOMPARE(noticeTexts(), notice.isEmpty() ? QStringList() : QStringList{notice});
        QCOMPARE(albumTable(), albumsBefore);
        QCOMPARE(photoTable(), QStringLiteral("1|2;2|3;3|4;4|5"));
        QCOMPARE(m_rebuilds, 0);
    }

    void commandsWithoutSelection_data() {
        QTest::addColumn<int>("tag");
        QTest::addColumn<QStringList>("notices");
        QTest::newRow("properties")
            << 102 << QStringList{QStringLiteral("1:请选择相册后再编辑相册的属性！")};
        QTest::newRow("rename") << 119 << QStringList();
    }

    void commandsWithoutSelection() {
        QFETCH(int, tag);
        QFETCH(QStringList, notices);
        setUp();
        QVERIFY(m_commands->run(tag));
        QCOMPARE(noticeTexts(), notices);
        QVERIFY(m_requests.isEmpty());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }

    // ---- album drop -----------------------------------------------------------------------

    void albumDrop_data() {
        QTest::addColumn<QString>("dragged");
        QTest::addColumn<QString>("target");  // empty: no node under the drop point
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("notice");
        QTest::addColumn<QString>("newParentOfDragged");
        QTest::newRow("top-level album") << "Root"
                                         << "Other" << QMessageBox::Ok << ""
                                         << ""
                                         << "0";
        QTest::newRow("onto itself") << "B"
                                     << "B" << QMessageBox::Ok << ""
                                     << ""
                                     << "2";
        QTest::newRow("onto no node") << "B"
                                      << "" << QMessageBox::Ok << ""
                                      << ""
                                      << "2";
        QTest::newRow("onto a child") << "B"
                                      << "C" << QMessageBox::Ok << ""
                                      << "1:不能把父节点相册拖动到子节点相册下面！"
                                      << "2";
        QTest::newRow("onto a grandchild") << "B"
                                           << "F" << QMessageBox::Ok << ""
                                           << "1:不能把父节点相册拖动到子节点相册下面！"
                                           << "2";
        QTest::newRow("cancelled")
            << "B"
            << "Other" << QMessageBox::Cancel << "您真的要把相册【B】归属于相册【Other】？"
            << ""
            << "2";
        QTest::newRow("moved") << "B"
                               << "Other" << QMessageBox::Ok
                               << "您真的要把相册【B】归属于相册【Other】？"
                               << ""
                               << "7";
    }

    void albumDrop() {
        QFETCH(QString, dragged);
        QFETCH(QString, target);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(QString, question);
        QFETCH(QString, notice);
        QFETCH(QString, newParentOfDragged);
        setUp();
        select(dragged);
        ui::dialogs::Answer a;
        a.button = answer;
        m_answers << a;
        const QString id =
            value(QStringLiteral("select id from Album where name=") + db::quoted(dragged));
        m_commands->TreeDragDrop(m_tree, target.isEmpty() ? nullptr : findNode(m_tree, target),
                                 nullptr);

        QCOMPARE(requestTexts(), question.isEmpty() ? QStringList() : QStringList{question});
        if (!question.isEmpty())
            QCOMPARE(m_requests.first().buttons, QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(noticeTexts(), notice.isEmpty() ? QStringList() : QStringList{notice});
        QCOMPARE(value(QStringLiteral("select parent_id from Album where id=") + id),
                 newParentOfDragged);
        if (newParentOfDragged == u"7") {
            QCOMPARE(dump(m_tree), QStringLiteral("Other(B(C(F),E)),Root(A)"));
            QCOMPARE(m_rebuilds, 1);
        } else {
            QCOMPARE(m_rebuilds, 0);
        }
    }

    void isAncestorAlbum_data() {
        QTest::addColumn<QString>("ancestor");
        QTest::addColumn<QString>("album");
        QTest::addColumn<bool>("expected");
        QTest::newRow("parent") << "3"
                                << "4" << true;
        QTest::newRow("top of the chain") << "1"
                                          << "6" << true;
        QTest::newRow("child is no ancestor") << "4"
                                              << "3" << false;
        QTest::newRow("itself") << "3"
                                << "3" << false;
        QTest::newRow("other branch") << "7"
                                      << "6" << false;
        QTest::newRow("chain breaks off") << "1"
                                          << "9" << false;
        QTest::newRow("missing album") << "1"
                                       << "99" << false;
        QTest::newRow("parent cycle") << "1"
                                      << "10" << false;
        QTest::newRow("not an id") << "1"
                                   << "4 or 1=1" << false;
    }

    void isAncestorAlbum() {
        QFETCH(QString, ancestor);
        QFETCH(QString, album);
        QFETCH(bool, expected);
        // 9 names a parent that does not exist; 10 and 11 are each other's parent.
        setUp(kAlbums + QStringLiteral(";9:Lost:42;10:X:11;11:Y:10"), kPhotos);
        QCOMPARE(m_commands->IsAncestorAlbum(ancestor, album), expected);
        QVERIFY(!m_library->AdoTemp().active());
    }

    // ---- photo drop -----------------------------------------------------------------------

    void photoDropFromThePhotoList() {
        setUp();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QTreeWidgetItem* target = findNode(m_tree, QStringLiteral("Other"));
        const QPoint at = m_tree->visualItemRect(target).center();
        QWidget* viewport = m_tree->viewport();

        QMimeData mime;
        mime.setData(QString::fromLatin1(albums::kPhotoIdMimeType), QByteArrayLiteral("2"));
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(viewport, &enter);
        QVERIFY(enter.isAccepted());
        QCOMPARE(enter.dropAction(), Qt::CopyAction);

        QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &drop);
        QVERIFY(drop.isAccepted());
        QTRY_COMPARE(m_reloads, 1);
        QCOMPARE(requestTexts(),
                 QStringList{QStringLiteral("您真的要把照片【pb.jpg】放到相册【Other】中？")});
        QCOMPARE(m_requests.first().buttons, QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(photoTable(), QStringLiteral("1|2;2|7;3|4;4|5"));
        QVERIFY(m_library->ADOQuery1().active());

        // The album commands go on at once.
        select(QStringLiteral("C"));
        ui::dialogs::Answer renamed;
        renamed.text = QStringLiteral("C2");
        m_answers << renamed;
        m_commands->run(119);
        QCOMPARE(value(QStringLiteral("select name from Album where id=4")), QStringLiteral("C2"));
    }

    void photoDropIgnored_data() {
        QTest::addColumn<QByteArray>("mimeId");
        QTest::addColumn<bool>("onNode");
        QTest::newRow("no node under the drop") << QByteArray("2") << false;
        QTest::newRow("id is not digits") << QByteArray("2 or 1=1") << true;
        QTest::newRow("photo does not exist") << QByteArray("77") << true;
    }

    void photoDropIgnored() {
        QFETCH(QByteArray, mimeId);
        QFETCH(bool, onNode);
        setUp();
        QMimeData mime;
        mime.setData(QString::fromLatin1(albums::kPhotoIdMimeType), mimeId);
        QTreeWidgetItem* other = onNode ? findNode(m_tree, QStringLiteral("Other")) : nullptr;
        m_commands->TreeDragDrop(nullptr, other, &mime);
        QVERIFY(m_requests.isEmpty());
        QCOMPARE(photoTable(), QStringLiteral("1|2;2|3;3|4;4|5"));
        QCOMPARE(m_reloads, 0);
    }

    void photoDropFallsBackToTheSelectedPhoto() {
        setUp();
        QObject photoList;  // a drag source of the program other than the tree
        m_selectedPhoto = albums::SelectedPhoto{QStringLiteral("3"), QStringLiteral("pc.jpg")};
        m_commands->TreeDragDrop(&photoList, findNode(m_tree, QStringLiteral("A")), nullptr);
        QCOMPARE(requestTexts(),
                 QStringList{QStringLiteral("您真的要把照片【pc.jpg】放到相册【A】中？")});
        QCOMPARE(photoTable(), QStringLiteral("1|2;2|3;3|2;4|5"));
        QCOMPARE(m_reloads, 1);

        // Without a selected photo nothing happens.
        m_requests.clear();
        m_selectedPhoto.reset();
        m_commands->TreeDragDrop(&photoList, findNode(m_tree, QStringLiteral("Other")), nullptr);
        QVERIFY(m_requests.isEmpty());
        QCOMPARE(m_reloads, 1);
    }

    // ---- new album ------------------------------------------------------------------------

    void newAlbumUnderTheSelectedAlbum() {
        setUp();
        select(QStringLiteral("A"));
        QString title, parentShown;
        QStringList refusals;
        bool stayedOpen = false;
        whenModalNamed(QStringLiteral("TFrmAlbum_New"), [&](QWidget* w) {
            auto* dialog = static_cast<TFrmAlbum_New*>(w);
            title = dialog->windowTitle();
            parentShown = dialog->Edit2->text();
            dialog->BtnSave->click();  // no name yet
            stayedOpen = dialog->isVisible();
            refusals = requestTexts();
            dialog->Edit1->setText(QStringLiteral("  Trip  "));
            dialog->Memo1->setPlainText(QStringLiteral("  summer\nholiday  "));
            dialog->BtnSave->click();
        });
        m_commands->run(101);

        QCOMPARE(title, QStringLiteral("新建相册"));
        QCOMPARE(parentShown, QStringLiteral("A"));
        QVERIFY(stayedOpen);
        QCOMPARE(refusals, QStringList{QStringLiteral("请填写相册名称，以便系统进行正确管理！")});
        QCOMPARE(m_requests.first().title, QStringLiteral("提示信息"));
        QCOMPARE(m_requests.first().icon, QMessageBox::Information);
        QCOMPARE(rows(QStringLiteral("select name,parent_id,remark from Album where id>7")),
                 QStringList{QStringLiteral("Trip|2|summer\nholiday")});
        QCOMPARE(dump(m_tree), QStringLiteral("Other,Root(A(B(C(F),E),Trip))"));
        QCOMPARE(m_rebuilds, 1);
        QCOMPARE(noticeTexts(), QStringList{QStringLiteral("1:新增相册成功！")});
    }

    void newAlbumNeedsAParent() {
        setUp();
        QStringList refusals;
        QString chosenShown;
        whenModalNamed(QStringLiteral("TFrmAlbum_New"), [&](QWidget* w) {
            auto* dialog = static_cast<TFrmAlbum_New*>(w);
            dialog->Edit1->setText(QStringLiteral("Loose"));
            dialog->BtnSave->click();  // no parent: refused
            refusals = requestTexts();
            answerAlbumPicker(QString());  // cancelled: still no parent
            dialog->SpeedButton1->click();
            answerAlbumPicker(QStringLiteral("Other"));
            dialog->SpeedButton1->click();
            chosenShown = dialog->Edit2->text();
            dialog->BtnSave->click();
        });
        m_commands->run(101);

        QCOMPARE(refusals, QStringList{QStringLiteral("请选择所属的相册，以便系统进行正确管理！")});
        QVERIFY(noticeTexts().contains(QStringLiteral("1:您没有选择所属相册，请选择！")));
        QCOMPARE(chosenShown, QStringLiteral("Other"));
        QCOMPARE(rows(QStringLiteral("select name,parent_id from Album where id>7")),
                 QStringList{QStringLiteral("Loose|7")});
    }

    void newAlbumCancelledWritesNothing() {
        setUp();
        select(QStringLiteral("A"));
        whenModalNamed(QStringLiteral("TFrmAlbum_New"), [](QWidget* w) {
            auto* dialog = static_cast<TFrmAlbum_New*>(w);
            dialog->Edit1->setText(QStringLiteral("Never"));
            dialog->BtnClose->click();
        });
        const QString before = albumTable();
        m_commands->run(101);
        QCOMPARE(albumTable(), before);
        QCOMPARE(m_rebuilds, 0);
        QVERIFY(noticeTexts().isEmpty());
    }

    void quotesInNamesAndRemarksSurvive() {
        setUp();
        select(QStringLiteral("A"));
        const QString name = QStringLiteral("O'Brien's \"best\" 相册");
        const QString remark = QStringLiteral("it's'; drop table Album; --");
        whenModalNamed(QStringLiteral("TFrmAlbum_New"), [&](QWidget* w) {
            auto* dialog = static_cast<TFrmAlbum_New*>(w);
            dialog->Edit1->setText(name);
            dialog->Memo1->setPlainText(remark);
            dialog->BtnSave->click();
        });
        m_commands->run(101);
        QCOMPARE(rows(QStringLiteral("select name,remark from Album where id>7")),
                 QStringList{name + u'|' + remark});

        // Its photo drop question and its rename keep the quotes as well.
        select(name);
        ui::dialogs::Answer renamed;
        renamed.text = QStringLiteral("it''s ' \"x\"");
        m_answers << renamed;
        m_commands->run(119);
        QCOMPARE(value(QStringLiteral("select name from Album where id>7")), renamed.text);
        QCOMPARE(rows(QStringLiteral("select count(*) from Album")),
                 QStringList{QStringLiteral("8")});
    }

    // ---- properties -----------------------------------------------------------------------

    void propertiesRefuseItselfOrASubAlbumAsParent_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("refused");
        QTest::newRow("itself") << "B" << true;
        QTest::newRow("child") << "C" << true;
        QTest::newRow("grandchild") << "F" << true;
        QTest::newRow("top-level album") << "Root" << false;
        QTest::newRow("other branch") << "Other" << false;
    }

    void propertiesRefuseItselfOrASubAlbumAsParent() {
        QFETCH(QString, chosen);
        QFETCH(bool, refused);
        setUp();
        select(QStringLiteral("B"));
        QString title, name, remark, parentBefore, parentAfter, parentIdAfter;
        whenModalNamed(QStringLiteral("TFrmAlbum_New"), [&](QWidget* w) {
            auto* dialog = static_cast<TFrmAlbum_New*>(w);
            title = dialog->windowTitle();
            name = dialog->Edit1->text();
            remark = dialog->Memo1->toPlainText();
            parentBefore = dialog->Edit2->text();
            answerAlbumPicker(chosen);
            dialog->SpeedButton1->click();
            parentAfter = dialog->Edit2->text();
            parentIdAfter = dialog->parentId();
            dialog->BtnSave->click();
        });
        m_commands->run(102);

        QCOMPARE(title, QStringLiteral("编辑相册属性"));
        QCOMPARE(name, QStringLiteral("B"));
        QCOMPARE(remark, QStringLiteral("about B"));
        QCOMPARE(parentBefore, QStringLiteral("A"));
        const QString refusal = QStringLiteral("1:该相册的所属相册不应该为自己或者自己的子相册！");
        QCOMPARE(noticeTexts().contains(refusal), refused);
        QCOMPARE(parentAfter, refused ? QStringLiteral("A") : chosen);
        const QString expectedParent =
            refused
                ? QStringLiteral("2")
                : value(QStringLiteral("select id from Album where name=") + db::quoted(chosen));
        QCOMPARE(parentIdAfter, expectedParent);
        QCOMPARE(value(QStringLiteral("select parent_id from Album where id=3")), expectedParent);
        QVERIFY(noticeTexts().contains(QStringLiteral("1:修改相册属性成功！")));
        QCOMPARE(m_rebuilds, 1);
    }

    void propertiesNeverMakeAnAlbumItsOwnParent() {
        setUp();
        select(QStringLiteral("B"));
        whenModalNamed(QStringLiteral("TFrmAlbum_New"), [](QWidget* w) {
            auto* dialog = static_cast<TFrmAlbum_New*>(w);
            dialog->setParentAlbum(QStringLiteral("3"), QStringLiteral("B"));
            dialog->Edit1->setText(QStringLiteral(" B2 "));
            dialog->Memo1->setPlainText(QStringLiteral("changed"));
            dialog->BtnSave->click();
        });
        m_commands->run(102);
        QCOMPARE(rows(QStringLiteral("select name,parent_id,remark from Album where id=3")),
                 QStringList{QStringLiteral("B2|0|changed")});
        QCOMPARE(dump(m_tree), QStringLiteral("B2(C(F),E),Other,Root(A)"));
    }

    void topLevelPropertiesNeedAParent() {
        setUp();
        select(QStringLiteral("Other"));
        QString parentShown;
        bool stayedOpen = false;
        QStringList refusals;
        whenModalNamed(QStringLiteral("TFrmAlbum_New"), [&](QWidget* w) {
            auto* dialog = static_cast<TFrmAlbum_New*>(w);
            parentShown = dialog->Edit2->text();
            dialog->Edit1->setText(QStringLiteral("Other renamed"));
            dialog->BtnSave->click();
            stayedOpen = dialog->isVisible();
            refusals = requestTexts();
            answerAlbumPicker(QStringLiteral("A"));
            dialog->SpeedButton1->click();
            dialog->BtnSave->click();
        });
        m_commands->run(102);

        QCOMPARE(parentShown, QStringLiteral(" "));
        QVERIFY(stayedOpen);
        QCOMPARE(refusals, QStringList{QStringLiteral("请选择所属的相册，以便系统进行正确管理！")});
        QCOMPARE(m_requests.first().icon, QMessageBox::Information);
        QCOMPARE(rows(QStringLiteral("select name,parent_id from Album where id=7")),
                 QStringList{QStringLiteral("Other renamed|2")});
        QCOMPARE(dump(m_tree), QStringLiteral("Root(A(B(C(F),E),Other renamed))"));
    }

    // ---- rename ---------------------------------------------------------------------------

    void rename_data() {
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("same name with blanks") << true << "  Alpha   "
                                               << " Alpha ";
        QTest::newRow("empty") << true << "   "
                               << " Alpha ";
        QTest::newRow("cancelled") << false << "Beta"
                                   << " Alpha ";
        QTest::newRow("new name") << true << "  Beta'1 "
                                  << "Beta'1";
    }

    void rename() {
        QFETCH(bool, accepted);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        setUp(QStringLiteral("1:Root:0;2: Alpha :1;3:Gamma:1"), QString());
        // Every write to Album leaves a trace.
        m_check->execute(QStringLiteral(
            "create table writes(id integer); create trigger album_write after update on Album "
            "begin insert into writes values(new.id); end"));
        select(QStringLiteral(" Alpha "));
        QTreeWidgetItem* node = findNode(m_tree, QStringLiteral(" Alpha "));
        ui::dialogs::Answer answer;
        answer.accepted = accepted;
        answer.text = typed;
        m_answers << answer;
        m_commands->run(119);

        QCOMPARE(m_requests.size(), 1);
        QCOMPARE(m_requests.first().kind, ui::dialogs::Kind::InputText);
        QCOMPARE(m_requests.first().title, QStringLiteral("请输入新的相册名称"));
        QCOMPARE(m_requests.first().text, QString());
        QCOMPARE(m_requests.first().initial, QStringLiteral("Alpha"));
        QCOMPARE(value(QStringLiteral("select name from Album where id=2")), stored);
        const bool written = stored != u" Alpha ";
        QCOMPARE(value(QStringLiteral("select count(*) from writes")),
                 written ? QStringLiteral("1") : QStringLiteral("0"));
        QCOMPARE(noticeTexts(),
                 written ? QStringList{QStringLiteral("1:重命名相册名称成功！")} : QStringList());
        // Patched in place: the same node, still selected, and no rebuild.
        QCOMPARE(node->text(0), stored);
        QCOMPARE(m_tree->currentItem(), node);
        QCOMPARE(m_rebuilds, 0);
    }

    // ---- picker ---------------------------------------------------------------------------

    void pickerShowsTheAlbumsAsTheyAreNow() {
        setUp();
        TFrm_Select* picker = TFrm_Select::Instance(*m_library, m_window.get());
        QCOMPARE(TFrm_Select::Instance(*m_library, m_window.get()), picker);
        QCOMPARE(picker->windowTitle(), QStringLiteral("选择相册"));
        QCOMPARE(picker->size(), QSize(337, 414));
        QCOMPARE(picker->Label1->text(), QStringLiteral("请选择照片所属相册："));
        QCOMPARE(picker->Label1->palette().color(QPalette::WindowText), QColor(0, 0, 128));
        auto* status = picker->StatusBar1->findChild<QLabel*>();
        QVERIFY(status);
        QCOMPARE(status->text(),
                 QStringLiteral("双击可直接选择相册，按Enter选择当前相册，ESC取消选择"));

        QString shown;
        bool okWithoutSelection = true;
        bool iconsRight = true;
        whenModalNamed(QStringLiteral("TFrm_Select"), [&](QWidget* w) {
            auto* p = static_cast<TFrm_Select*>(w);
            shown = dump(p->TreeView1);
            for (QTreeWidgetItemIterator it(p->TreeView1); *it; ++it) {
                const qint64 expected = (*it)->parent() ? albums::albumIcon().cacheKey()
                                                        : albums::topAlbumIcon().cacheKey();
                iconsRight = iconsRight && (*it)->icon(0).cacheKey() == expected;
            }
            p->BtnOK->click();  // nothing selected: stays open
            okWithoutSelection = !p->isVisible();
            p->TreeView1->setCurrentItem(findNode(p->TreeView1, QStringLiteral("E")));
            p->BtnOK->click();
        });
        QCOMPARE(picker->exec(), int(QDialog::Accepted));
        QCOMPARE(shown, QStringLiteral("Other,Root(A(B(C(F),E)))"));
        QVERIFY(iconsRight);
        QVERIFY(!okWithoutSelection);
        QString id;
        picker->treeMaker()->GetSelectedId(id);
        QCOMPARE(id, QStringLiteral("5"));
        QCOMPARE(picker->selectedCaption(), QStringLiteral("E"));
        QVERIFY(!m_library->AdoTemp().active());

        // B's sub-tree is deleted and an album added behind the picker's back.
        select(QStringLiteral("B"));
        m_commands->run(103);
        m_check->execute(QStringLiteral("delete from Album where id=5"));
        m_check->execute(QStringLiteral("insert into Album(name,parent_id) values('New',7)"));
        whenModalNamed(QStringLiteral("TFrm_Select"), [&](QWidget* w) {
            auto* p = static_cast<TFrm_Select*>(w);
            shown = dump(p->TreeView1);
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(p->TreeView1, &escape);
            if (p->isVisible()) p->reject();
        });
        QCOMPARE(picker->exec(), int(QDialog::Rejected));
        QCOMPARE(shown, QStringLiteral("Other(New),Root(A(C(F)))"));
    }

    void pickerChoosesOnDoubleClickAndEnter() {
        setUp();
        TFrm_Select* picker = TFrm_Select::Instance(*m_library, m_window.get());
        whenModalNamed(QStringLiteral("TFrm_Select"), [](QWidget* w) {
            auto* p = static_cast<TFrm_Select*>(w);
            QTreeWidgetItem* node = findNode(p->TreeView1, QStringLiteral("C"));
            p->TreeView1->setCurrentItem(node);
            emit p->TreeView1->itemDoubleClicked(node, 0);
            if (p->isVisible()) p->reject();
        });
        QCOMPARE(picker->exec(), int(QDialog::Accepted));
        QCOMPARE(picker->selectedCaption(), QStringLiteral("C"));

        whenModalNamed(QStringLiteral("TFrm_Select"), [](QWidget* w) {
            auto* p = static_cast<TFrm_Select*>(w);
            p->TreeView1->setFocus();
            p->TreeView1->setCurrentItem(findNode(p->TreeView1, QStringLiteral("Other")));
            QTest::keyClick(p->TreeView1, Qt::Key_Return);
            if (p->isVisible()) p->reject();
        });
        QCOMPARE(picker->exec(), int(QDialog::Accepted));
        QCOMPARE(picker->selectedCaption(), QStringLiteral("Other"));
    }

    // ---- refresh and read-only ------------------------------------------------------------

    void refreshAlbumTreeRecreatesTheRootAlbum() {
        setUp(QString(), QString());
        m_commands->RefreshAlbumTree();
        QCOMPARE(rows(QStringLiteral("select name,parent_id,remark from Album")),
                 QStringList{QStringLiteral("我的相册|0|数码时代好伴侣")});
        QCOMPARE(dump(m_tree), QStringLiteral("我的相册"));
        QCOMPARE(m_rebuilds, 1);
    }

    void readOnlyLibraryRefusesEveryChange_data() {
        QTest::addColumn<int>("command");  // a tag, or 1 for an album drop, 2 for a photo drop
        QTest::newRow("new album") << 101;
        QTest::newRow("properties") << 102;
        QTest::newRow("delete") << 103;
        QTest::newRow("rename") << 119;
        QTest::newRow("album drop") << 1;
        QTest::newRow("photo drop") << 2;
    }

    void readOnlyLibraryRefusesEveryChange() {
        QFETCH(int, command);
        setUp(kAlbums, kPhotos, true);
        QVERIFY(m_library->readOnly());
        const QString albumsBefore = albumTable();
        const QString photosBefore = photoTable();
        select(QStringLiteral("B"));
        // Any dialog that opens is recorded and closed, so that a fault cannot hang the run.
        testsupport::ModalWatchdog watchdog;
        if (command == 1) {
            m_commands->TreeDragDrop(m_tree, findNode(m_tree, QStringLiteral("Other")), nullptr);
        } else if (command == 2) {
            QMimeData mime;
            mime.setData(QString::fromLatin1(albums::kPhotoIdMimeType), QByteArrayLiteral("1"));
            m_commands->TreeDragDrop(nullptr, findNode(m_tree, QStringLiteral("Other")), &mime);
        } else {
            m_commands->run(command);
        }
        watchdog.stop();
        QVERIFY2(watchdog.opened().isEmpty(), qPrintable(watchdog.opened().join(u',')));
        QCOMPARE(requestTexts(), QStringList{kReadOnlyText});
        QCOMPARE(m_requests.first().title, QStringLiteral("提示信息"));
        QCOMPARE(m_requests.first().icon, QMessageBox::Warning);
        QCOMPARE(albumTable(), albumsBefore);
        QCOMPARE(photoTable(), photosBefore);
        QVERIFY(noticeTexts().isEmpty());
        QCOMPARE(m_rebuilds, 0);
        QCOMPARE(m_reloads, 0);
    }
};

QTEST_MAIN(TestAlbumOps)
#include "test_album_ops.moc"
