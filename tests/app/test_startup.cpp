// Start-up of the real main window on real library files: finding or creating the library,
// read-only files, failures that end the program, the password, the root album, the tree and the
// view settings; and the view switches and the close question.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include "app/AppSettings.h"
#include "app/FileAttributes.h"
#include "app/TFrm_Main.h"
#include "platform/db/Connection.h"
#include "platform/db/ConnectionString.h"
#include "platform/db/Query.h"
#include "platform/desktop/IniFile.h"
#include "store/Password.h"
#include "ui/AppPaths.h"
#include "ui/Dialogs.h"
#include "ui/Notice.h"

namespace {

const QString kInitFailed = QStringLiteral("数码相册初始化失败，可能是因为您的程序被破坏！");
const QString kOpenFailed = QStringLiteral("相册数据库打开失败，您无法对照片库进行管理！");

QStringList rows(const QString& path, const QString& sql, const QStringList& columns) {
    db::Connection conn;
    conn.setConnectionString(QString::fromLatin1(db::kReadWriteConnection) + path);
    conn.open();
    db::Query q(&conn);
    q.setSql(sql);
    q.open();
    QStringList out;
    for (q.first(); !q.eof(); q.next()) {
        QStringList values;
        for (const QString& c : columns) values << q.asText(c);
        out << values.join(u'|');
    }
    return out;
}

void execOn(const QString& path, const QString& sql) {
    db::Connection conn;
    conn.setConnectionString(QString::fromLatin1(db::kReadWriteConnection) + path);
    conn.open();
    conn.execute(sql);
}

QStringList treeCaptions(QTreeWidget* tree) {
    QStringList out;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) out << (*it)->text(0);
    return out;
}

}  // namespace

class TestStartup final : public QObject {
    Q_OBJECT

    QTemporaryDir* m_root = nullptr;
    QString m_home;
    QString m_program;
    QList<ui::dialogs::Request> m_asked;
    QMessageBox::StandardButton m_answer = QMessageBox::Yes;

    QString home(const QString& name) const { return m_home + name; }
    QString ini() const { return home("fotarix.ini"); }
    QString defaultLibrary() const { return home("PicData.pmd"); }
    QStringList noticeTexts() const {
        QStringList out;
        for (const ui::NoticeRecord& n : ui::noticeHistory()) out << n.text;
        return out;
    }
    bool noticed(const QString& text, int kind) const {
        for (const ui::NoticeRecord& n : ui::noticeHistory())
            if (n.text == text && n.kind == kind) return true;
        return false;
    }
    void makeLibrary(const QString& path) {
        QVERIFY(QFile::copy(m_program + "Model.dll", path));
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner);
    }

private slots:
    void init() {
        m_root = new QTemporaryDir;
        m_home = m_root->filePath("home/");
        m_program = m_root->filePath("program/");
        QDir().mkpath(m_home);
        QDir().mkpath(m_program);
        QVERIFY(QFile::copy(qEnvironmentVariable("FOTARIX_BUILD_DIR") + "/Model.dll",
                            m_program + "Model.dll"));
        qputenv("FOTARIX_HOME", m_home.toUtf8());
        qputenv("TMPDIR", m_root->filePath("tmp").toUtf8());
        QDir().mkpath(m_root->filePath("tmp"));
        ui::paths::setProgramDir(m_program);
        ui::clearNoticeHistory();
        m_asked.clear();
        m_answer = QMessageBox::Yes;
        ui::dialogs::setResponder([this](const ui::dialogs::Request& r) {
            m_asked << r;
            ui::dialogs::Answer a;
            a.button = m_answer;
            return a;
        });
        app::setFileAttributeHooks({});
    }
    void cleanup() {
        ui::dialogs::setResponder({});
        app::setFileAttributeHooks({});
        delete m_root;
        m_root = nullptr;
    }

    void firstStartCreatesTheLibrary() {
        TFrm_Main w;
        QVERIFY(!w.terminated());
        QVERIFY(noticed("照片库文件" + defaultLibrary() + "不存在，系统将新建一个空的照片库！", 1));
        QCOMPARE(desktop::iniRead(ini(), "PicDb", "picdbname"), defaultLibrary());
        QCOMPARE(w.PicDbPath(), defaultLibrary());
        QCOMPARE(rows(defaultLibrary(), "select * from Album", {"name", "parent_id", "remark"}),
                 QStringList{"数码相册|0|数码时代好伴侣"});
        QCOMPARE(treeCaptions(w.tree()), QStringList{"数码相册"});
        QCOMPARE(w.DisplayMode(), QString("1"));
        QCOMPARE(w.SortOrder(), QString("1"));
        QVERIFY(!w.library().readOnly());
        // The tables and columns of a library.
        QCOMPARE(w.library().AdoConn().tableNames(), QStringList({"Album", "parameter", "picture"}));
        const QStringList pictureColumns =
            rows(defaultLibrary(), "select name from pragma_table_info('picture')", {"name"});
        QCOMPARE(pictureColumns, QStringList({"id", "album_id", "pic_name", "pic_type", "create_date",
                                              "modify_date", "file_name", "file_size", "remark",
                                              "pic_content"}));
        QCOMPARE(rows(defaultLibrary(), "select name from pragma_table_info('parameter')", {"name"}),
                 QStringList({"id", "parent_id", "pvalue", "domain_no", "meaning"}));
        QVERIFY(!rows(defaultLibrary(), "select * from parameter where domain_no='提示词语'", {"pvalue"})
                     .isEmpty());
    }

    void treeCarriesTheFindEntry() {
        TFrm_Main w;
        auto* menu = w.findChild<QMenu*>("PopupMenu4");
        QVERIFY(menu);
        const QList<QAction*> actions = menu->actions();
        QCOMPARE(actions.last()->objectName(), QString("mniAutoFindTree"));
        QCOMPARE(actions.last()->text(), QString("查找(&F)"));
        QVERIFY(actions[actions.size() - 2]->isSeparator());
        QCOMPARE(actions.first()->text(), QString("新建相册"));
    }

    void secondStartKeepsTheLibrary() {
        { TFrm_Main first; }
        execOn(defaultLibrary(), "insert into Album(name,parent_id,remark) values('家庭',1,'')");
        ui::clearNoticeHistory();
        TFrm_Main w;
        QVERIFY(!w.terminated());
        QVERIFY(ui::noticeHistory().isEmpty());
        QCOMPARE(treeCaptions(w.tree()), QStringList({"数码相册", "家庭"}));
        QCOMPARE(rows(defaultLibrary(), "select count(id) as n from Album", {"n"}), QStringList{"2"});
    }

    void missingLibraryFoundInTheHomeFolder() {
        makeLibrary(home("Mine.pmd"));
        app::writeLibraryPath(m_root->filePath("gone/folder/Mine.pmd"));
        TFrm_Main w;
        QVERIFY(!w.terminated());
        QVERIFY(ui::noticeHistory().isEmpty());
        QCOMPARE(w.PicDbPath(), home("Mine.pmd"));
        QCOMPARE(app::readLibraryPath(), home("Mine.pmd"));
    }

    void readOnlyFile_data() {
        QTest::addColumn<bool>("staysReadOnly");
        QTest::newRow("attribute given back") << false;
        QTest::newRow("read-only media") << true;
    }
    void readOnlyFile() {
        QFETCH(bool, staysReadOnly);
        makeLibrary(defaultLibrary());
        execOn(defaultLibrary(), "insert into Album(name,parent_id,remark) values('数码相册',0,'')");
        app::writeLibraryPath(defaultLibrary());
        bool readOnly = true;
        app::setFileAttributeHooks({[&](const QString&) { return readOnly; },
                                    [&](const QString&) {
                                        if (!staysReadOnly) readOnly = false;
                                        return !staysReadOnly;
                                    }});
        TFrm_Main w;
        QVERIFY(!w.terminated());
        QVERIFY(noticed("当前数码相册数据文件“" + defaultLibrary() +
                            "”是以只读方式打开的，您可修改文件的属性，以便对照片库进行管理！",
                        1));
        QCOMPARE(w.library().readOnly(), staysReadOnly);
        QCOMPARE(treeCaptions(w.tree()), QStringList{"数码相册"});
        if (staysReadOnly) {
            // Writing commands refuse clearly and change nothing.
            m_asked.clear();
            w.ItemClick(w.findChild<QAction*>("N42"));
            QCOMPARE(m_asked.size(), 1);
            QCOMPARE(m_asked[0].text, QString("当前照片库是以只读方式打开的，不能进行修改！"));
        }
    }

    void realPermissionBitIsReadOnly() {
        makeLibrary(defaultLibrary());
        QFile::setPermissions(defaultLibrary(), QFileDevice::ReadOwner | QFileDevice::ReadGroup);
        QVERIFY(app::fileIsReadOnly(defaultLibrary()));
        QVERIFY(app::clearReadOnlyAttribute(defaultLibrary()));
        QVERIFY(!app::fileIsReadOnly(defaultLibrary()));
    }

    void templateMissingEndsTheProgram() {
        QFile::remove(m_program + "Model.dll");
        TFrm_Main w;
        QVERIFY(w.terminated());
        QCOMPARE(m_asked.size(), 1);
        QCOMPARE(m_asked[0].text, kInitFailed);
        QCOMPARE(m_asked[0].title, QString("提示信息"));
        QCOMPARE(m_asked[0].icon, QMessageBox::Warning);
        QVERIFY(!QFile::exists(defaultLibrary()));
    }

    void copyIntoMissingFolderEndsTheProgram() {
        const QString path = m_root->filePath("no/such/folder/Other.pmd");
        app::writeLibraryPath(path);
        TFrm_Main w;
        QVERIFY(w.terminated());
        QVERIFY(noticed("照片库文件" + path + "不存在，系统将新建一个空的照片库！", 1));
        QCOMPARE(m_asked.size(), 1);
        QCOMPARE(m_asked[0].text, kInitFailed);
        QVERIFY(!QFile::exists(path));
    }

    void unusableFileEndsTheProgramAndStaysUntouched_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("not a database") << "text";
        QTest::newRow("truncated library") << "truncated";
        QTest::newRow("a folder") << "folder";
        QTest::newRow("not a photo library") << "foreign";
    }
    void unusableFileEndsTheProgramAndStaysUntouched() {
        QFETCH(QString, kind);
        const QString path = defaultLibrary();
        if (kind == "text") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray("这不是照片库 not a library\n").repeated(5000));
        } else if (kind == "truncated") {
            makeLibrary(path);
            execOn(path, "insert into Album(name,parent_id,remark) values('a',0,'')");
            QFile f(path);
            QVERIFY(f.resize(65536));  // only the first page is left
        } else if (kind == "folder") {
            QDir().mkpath(path);
        } else {
            QFile(path).open(QIODevice::WriteOnly);
            execOn(path, "create table other(x)");
        }
        QByteArray before;
        if (QFileInfo(path).isFile()) {
            QFile f(path);
            f.open(QIODevice::ReadOnly);
            before = f.readAll();
        }
        app::writeLibraryPath(path);
        TFrm_Main w;
        QVERIFY(w.terminated());
        QVERIFY2(noticed(kOpenFailed, 2), qPrintable(noticeTexts().join('\n')));
        if (QFileInfo(path).isFile()) {
            QFile f(path);
            f.open(QIODevice::ReadOnly);
            QCOMPARE(f.readAll(), before);
        }
    }

    void emptyAlbumTableGetsTheRootAlbum() {
        makeLibrary(defaultLibrary());
        app::writeLibraryPath(defaultLibrary());
        TFrm_Main w;
        QCOMPARE(rows(defaultLibrary(), "select * from Album", {"name", "parent_id"}),
                 QStringList{"数码相册|0"});
    }

    void treeFailureIsReportedAndStartGoesOn() {
        const QString path = defaultLibrary();
        QFile(path).open(QIODevice::WriteOnly);
        execOn(path, "create table Album(id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT, remark TEXT);"
                     "create table parameter(id INTEGER PRIMARY KEY, parent_id INTEGER, pvalue TEXT,"
                     " domain_no TEXT, meaning TEXT)");
        execOn(path, "insert into Album(name,remark) values('x','')");
        app::writeLibraryPath(path);
        TFrm_Main w;
        QVERIFY(!w.terminated());
        QVERIFY(noticed("相册导航树创建失败！", 1));
    }

    // The login window is answered by a timer that types into the modal dialog.
    void password_data() {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<bool>("opens");
        QTest::newRow("right") << QStringList{"secret"} << true;
        QTest::newRow("two wrong then right") << QStringList{"a", "b", " secret "} << true;
        QTest::newRow("three wrong") << QStringList{"a", "b", "SECRET"} << false;
        QTest::newRow("cancelled") << QStringList{} << false;
    }
    void password() {
        QFETCH(QStringList, entries);
        QFETCH(bool, opens);
        makeLibrary(defaultLibrary());
        app::writeLibraryPath(defaultLibrary());
        {
            db::Connection conn;
            conn.setConnectionString(QString::fromLatin1(db::kReadWriteConnection) + defaultLibrary());
            conn.open();
            store::setPassword(conn, "secret");
        }
        QTimer::singleShot(0, this, [entries] {
            auto* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            auto* edit = dialog->findChild<QLineEdit*>("edtPassword");
            for (const QString& entry : entries) {
                if (!QApplication::activeModalWidget()) return;
                edit->setText(entry);
                dialog->findChild<QPushButton*>("BtnOK")->click();
            }
            if (entries.isEmpty()) dialog->findChild<QPushButton*>("BtnCLose")->click();
        });
        TFrm_Main w;
        QCOMPARE(!w.terminated(), opens);
        if (opens) QCOMPARE(treeCaptions(w.tree()), QStringList{"数码相册"});
    }

    void viewSettingsAtStart_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("hiddenPanel");
        QTest::newRow("preview False") << "显示照片预览" << "False" << "Panel5";
        QTest::newRow("list false (lower case)") << "显示照片列表" << "false" << "";
        QTest::newRow("tree False") << "显示导航树" << "False" << "PanelTree";
        QTest::newRow("list FALSE") << "显示照片列表" << "FALSE" << "";
        QTest::newRow("status bar False") << "显示状态栏" << "False" << "StatusBar1";
    }
    void viewSettingsAtStart() {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, hiddenPanel);
        app::WriteAppSetting(key, value);
        TFrm_Main w;
        for (const char* panel : {"PanelTree", "CoolBar1", "StatusBar1", "Panel4", "Panel5", "Panel7"}) {
            QWidget* widget = w.findChild<QWidget*>(panel);
            QVERIFY(widget);
            QCOMPARE(widget->isHidden(), hiddenPanel == panel);
        }
        QCOMPARE(w.panel4FillsArea(), hiddenPanel == "Panel5");
        const char* menu = key == "显示照片预览" ? "N18" : key == "显示导航树" ? "N16"
                           : key == "显示状态栏" ? "N21" : "N17";
        QCOMPARE(w.findChild<QAction*>(menu)->isChecked(), hiddenPanel.isEmpty());
    }

    void viewSwitches() {
        TFrm_Main w;
        w.library().WriteParameter("每日一帖", "False");
        w.resize(1000, 700);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* n18 = w.findChild<QAction*>("N18");
        auto* n17 = w.findChild<QAction*>("N17");
        n18->trigger();
        QVERIFY(w.findChild<QWidget*>("Panel5")->isHidden());
        QVERIFY(w.panel4FillsArea());
        QVERIFY(!n18->isChecked());
        QCOMPARE(app::ReadAppSetting("显示照片预览"), QString("False"));
        n18->trigger();
        QVERIFY(!w.findChild<QWidget*>("Panel5")->isHidden());
        QVERIFY(!w.panel4FillsArea());
        QCOMPARE(w.panel4Height(), 228);
        QCOMPARE(app::ReadAppSetting("显示照片预览"), QString("True"));

        // List hidden, preview hidden, list shown again: the list fills the area.
        n17->trigger();
        n18->trigger();
        n17->trigger();
        QVERIFY(!w.findChild<QWidget*>("Panel4")->isHidden());
        QVERIFY(w.panel4FillsArea());

        // The tree's close button is the View entry.
        w.findChild<QToolButton*>("sbCloseTree")->click();
        QVERIFY(w.findChild<QWidget*>("PanelTree")->isHidden());
        QVERIFY(!w.findChild<QAction*>("N16")->isChecked());
        QCOMPARE(app::ReadAppSetting("显示导航树"), QString("False"));
        w.findChild<QToolButton*>("sbCloseProp")->click();
        QCOMPARE(app::ReadAppSetting("显示照片属性"), QString("False"));
    }

    void hiddenTreeStaysHiddenAtNextStart() {
        {
            TFrm_Main w;
            w.findChild<QToolButton*>("sbCloseTree")->click();
        }
        TFrm_Main again;
        QVERIFY(again.findChild<QWidget*>("PanelTree")->isHidden());
    }

    void closeAsksFirst() {
        TFrm_Main w;
        w.library().WriteParameter("每日一帖", "False");
        w.show();
        const QString leftover = qEnvironmentVariable("TMPDIR") + "/Fotarix/";
        QDir().mkpath(leftover + "sub");
        QFile(leftover + "{A}.jpg").open(QIODevice::WriteOnly);
        m_answer = QMessageBox::No;
        QVERIFY(!w.close());
        QCOMPARE(m_asked.last().text, QString("您是否要退出晴窗影册Fotarix？"));
        QVERIFY(QFile::exists(leftover + "{A}.jpg"));
        m_answer = QMessageBox::Yes;
        QVERIFY(w.close());
        QVERIFY(QDir(leftover).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    }

    // The daily tips come up once per run, at the first activation, unless switched off.
    void dailyTipsAtActivation() {
        TFrm_Main w;
        int shown = 0;
        QTimer closer;
        connect(&closer, &QTimer::timeout, this, [&shown] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                if (modal->windowTitle() == "晴窗影册每日提示") ++shown;
                modal->close();
            }
        });
        closer.start(50);
        w.show();
        QTRY_COMPARE(shown, 1);
        QCOMPARE(w.TipsShown(), QString("2"));
        // Closing the tips window wrote the switch; another activation shows nothing more.
        QCOMPARE(w.library().ReadParameter("每日一帖"), QString("True"));
        w.hide();
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::qWait(200);
        QCOMPARE(shown, 1);
    }

    void dailyTipsSwitchedOff() {
        TFrm_Main w;
        w.library().WriteParameter("每日一帖", "False");
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::qWait(100);
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(w.TipsShown(), QString());
    }

    void commandsNotYetAvailableSaySo() {
        TFrm_Main w;
        ui::clearNoticeHistory();
        w.findChild<QAction*>("N10")->trigger();  // slide show
        QCOMPARE(ui::noticeHistory().size(), 1);
        w.findChild<QAction*>("N101")->trigger();  // "自动刷新": only its tick changes
        QCOMPARE(ui::noticeHistory().size(), 1);
        QVERIFY(!w.findChild<QAction*>("N101")->isChecked());
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
