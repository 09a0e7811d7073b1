// The main window's command entries: menus, tool bars, pop-up menus and the commands that
// belong to the window itself.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "app/TFrm_Main.h"
#include "ui/AppPaths.h"
#include "ui/Dialogs.h"
#include "ui/Notice.h"
#include "ui/Shell.h"

class TestCommands final : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;
    TFrm_Main* m_main = nullptr;
    QList<ui::dialogs::Request> m_asked;
    QMessageBox::StandardButton m_answer = QMessageBox::Yes;
    QList<QUrl> m_opened;

    QAction* action(const char* name) { return m_main->findChild<QAction*>(QLatin1String(name)); }
    QStringList captions(const QMenu* menu) {
        QStringList out;
        for (QAction* a : menu->actions())
            out << (a->isSeparator() ? QStringLiteral("-") : a->text()) + (a->isVisible() ? "" : "*");
        return out;
    }

private slots:
    void initTestCase() {
        const QString program = m_root.filePath("program/");
        QDir().mkpath(program);
        QVERIFY(QFile::copy(qEnvironmentVariable("FOTARIX_BUILD_DIR") + "/Model.dll",
                            program + "Model.dll"));
        ui::paths::setProgramDir(program);
        qputenv("FOTARIX_HOME", m_root.filePath("home").toUtf8());
        qputenv("TMPDIR", m_root.filePath("tmp").toUtf8());
        QDir().mkpath(m_root.filePath("tmp"));
        ui::dialogs::setResponder([this](const ui::dialogs::Request& r) {
            m_asked << r;
            ui::dialogs::Answer a;
            a.button = m_answer;
            return a;
        });
        ui::shell::setOpenHook([this](const QUrl& url) {
            m_opened << url;
            return true;
        });
        m_main = new TFrm_Main;
        QVERIFY(!m_main->terminated());
        m_main->library().WriteParameter("每日一帖", "False");  // no tips window when shown
    }
    void cleanupTestCase() {
        m_answer = QMessageBox::Yes;
        delete m_main;
        ui::dialogs::setResponder({});
        ui::shell::setOpenHook({});
    }
    void init() {
        m_asked.clear();
        m_opened.clear();
        ui::clearNoticeHistory();
    }

    void menuBar() {
        QStringList tops;
        for (QAction* a : m_main->menuBar()->actions()) tops << a->text();
        QCOMPARE(tops, QStringList({"文件(&F)", "操作(&E)", "查看(&V)", "工具(&O)", "视图(&W)", "帮助(&H)"}));
        const QMenu* view = m_main->menuBar()->actions()[4]->menu();
        QCOMPARE(captions(view), QStringList({"显示导航树", "显示工具栏", "显示状态栏", "显示收藏夹*",
                                              "显示照片属性", "-", "显示照片列表", "显示照片预览"}));
        for (QAction* a : view->actions())
            if (!a->isSeparator()) QVERIFY2(a->isChecked(), qPrintable(a->text()));
        const QMenu* help = m_main->menuBar()->actions()[5]->menu();
        QCOMPARE(captions(help), QStringList({"帮助主题", "技术支持", "每日一帖", "-*", "赞助我们*", "-", "关于"}));
    }

    void entries_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("tag");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<bool>("checked");
        QTest::newRow("N118") << "N118" << "新建相册" << 101 << true << false;
        QTest::newRow("N105") << "N105" << "导出到文件夹" << 0 << false << false;
        QTest::newRow("N57") << "N57" << "获取照片" << 0 << true << false;
        QTest::newRow("N72") << "N72" << "清空临时文件" << 116 << true << false;
        QTest::newRow("N9") << "N9" << "退出(&X)" << 114 << true << false;
        QTest::newRow("N38") << "N38" << "照片另存为..." << 202 << true << false;
        QTest::newRow("L1") << "L1" << "拉伸(&L)" << 206 << true << false;
        QTest::newRow("N76") << "N76" << "任意角度旋转" << 213 << true << false;
        QTest::newRow("N46") << "N46" << "转换文件格式" << 0 << false << false;
        QTest::newRow("N85") << "N85" << "按照片名称排序" << 301 << true << true;
        QTest::newRow("N88") << "N88" << "按照片说明排序" << 302 << true << false;
        QTest::newRow("N97") << "N97" << "详细资料" << 311 << true << true;
        QTest::newRow("N99") << "N99" << "缩略图显示" << 312 << true << false;
        QTest::newRow("N101") << "N101" << "自动刷新" << 313 << true << true;
        QTest::newRow("N109") << "N109" << "照片目录输出" << 0 << false << false;
        QTest::newRow("N107") << "N107" << "查找照片" << 408 << true << false;
        QTest::newRow("N15") << "N15" << "参数设置" << 409 << true << false;
        QTest::newRow("N140") << "N140" << "显示收藏夹" << 504 << false << true;
    }
    void entries() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(int, tag);
        QFETCH(bool, visible);
        QFETCH(bool, checked);
        QAction* a = m_main->findChild<QAction*>(name);
        QVERIFY(a);
        QCOMPARE(a->text(), caption);
        QCOMPARE(a->property("Tag").toInt(), tag);
        QCOMPARE(a->isVisible(), visible);
        QCOMPARE(a->isChecked(), checked);
    }

    void hints() {
        QCOMPARE(action("N57")->toolTip(), QString("从摄像头或扫描仪获取照片..."));
        QCOMPARE(action("N37")->toolTip(), QString("在出现照片索引有问题时，可使用本功能尝试修改照片库"));
    }

    void popupMenus() {
        QCOMPARE(captions(m_main->findChild<QMenu*>("PopupMenu3")),
                 QStringList({"打印设置", "打印照片...", "-*", "打印相册目录*", "打印照片目录*", "-*",
                              "相册目录打印格式*", "照片目录打印格式*"}));
        const QStringList album = captions(m_main->findChild<QMenu*>("PopupMenu4"));
        QCOMPARE(album.mid(0, 10), QStringList({"新建相册", "重命名相册", "相册属性", "-", "删除相册", "-",
                                                "导入相册", "导出相册", "-*", "导出到文件夹*"}));
        const QStringList photo = captions(m_main->findChild<QMenu*>("PopupMenu2"));
        QCOMPARE(photo.first(), QString("添加照片"));
        QCOMPARE(photo.last(), QString("编辑照片"));
        QVERIFY(photo.contains("转换文件格式*"));
    }

    void toolButtons_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<int>("tag");
        QTest::addColumn<QString>("menu");
        QTest::newRow("tbAlbum") << "tbAlbum" << "相册管理" << "增加、修改、删除、查找相册" << 21 << "PopupMenu4";
        QTest::newRow("tbPricture") << "tbPricture" << "照片操作"
                                    << "增加、修改、删除、查找照片，并进行照片编辑操作" << 0 << "PopupMenu2";
        QTest::newRow("tbBrowser") << "tbBrowser" << "照片浏览" << "" << 0 << "N93";
        QTest::newRow("ToolButton18") << "ToolButton18" << "查找照片" << "查找照片" << 408 << "";
        QTest::newRow("ToolButton20") << "ToolButton20" << "打印输出" << "打印输出照片" << 0 << "PopupMenu3";
        QTest::newRow("tbExit") << "tbExit" << "退 出" << "退出晴窗影册" << 114 << "";
        QTest::newRow("ToolButton26") << "ToolButton26" << "" << "设置为墙纸" << 0 << "N36";
        QTest::newRow("ToolButton16") << "ToolButton16" << "" << "打印当前照片" << 203 << "";
    }
    void toolButtons() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, hint);
        QFETCH(int, tag);
        QFETCH(QString, menu);
        auto* b = m_main->findChild<QToolButton*>(name);
        QVERIFY(b);
        QCOMPARE(b->text(), caption);
        QCOMPARE(b->toolTip(), hint);
        QCOMPARE(b->property("Tag").toInt(), tag);
        QCOMPARE(b->menu() ? b->menu()->objectName() : QString(), menu);
        if (name == "tbAlbum") QCOMPARE(b->popupMode(), QToolButton::MenuButtonPopup);
    }

    void hiddenToolButton() {
        QVERIFY(!m_main->findChild<QAction*>("ToolButton7Action")->isVisible());
    }

    void albumButtonDoesNothing() {
        m_main->findChild<QToolButton*>("tbAlbum")->click();
        QVERIFY(ui::noticeHistory().isEmpty());
        QVERIFY(m_asked.isEmpty());
    }

    void previewButtonsClickViewEntries() {
        m_main->findChild<QToolButton*>("ToolButton3")->click();
        QVERIFY(!action("N18")->isChecked());
        QVERIFY(m_main->findChild<QWidget*>("Panel5")->isHidden());
        m_main->findChild<QToolButton*>("ToolButton3")->click();
        QVERIFY(action("N18")->isChecked());
        m_main->findChild<QToolButton*>("ToolButton23")->click();
        QVERIFY(!action("N17")->isChecked());
        m_main->findChild<QToolButton*>("ToolButton23")->click();
        QVERIFY(!m_main->findChild<QWidget*>("Panel4")->isHidden());
    }

    void emptyTemporaryFolder() {
        const QString temp = qEnvironmentVariable("TMPDIR") + "/Fotarix/";
        QDir().mkpath(temp + "sub");
        QFile(temp + "{1}.jpg").open(QIODevice::WriteOnly);
        m_answer = QMessageBox::No;
        action("N72")->trigger();
        QCOMPARE(m_asked.size(), 1);
        QVERIFY(QFile::exists(temp + "{1}.jpg"));
        QVERIFY(ui::noticeHistory().isEmpty());
        m_answer = QMessageBox::Yes;
        action("N72")->trigger();
        QVERIFY(!QFile::exists(temp + "{1}.jpg"));
        QVERIFY(!QFile::exists(temp + "sub"));
        QVERIFY(!QFileInfo::exists(QDir::currentPath() + "/files/{1}.jpg"));  // not beside us
        QCOMPARE(ui::noticeHistory().last().text, QString("清空临时文件成功！"));
    }

    void helpAndSupportOpenThroughTheDesktop() {
        action("N22")->trigger();
        QCOMPARE(m_opened.size(), 1);
        QVERIFY(m_opened[0].toLocalFile().endsWith("help.html"));
        action("N23")->trigger();
        QCOMPARE(m_opened.size(), 2);
        QCOMPARE(m_opened[1].toString(), ui::shell::makerSupportSite());
    }

    void aboutOpensModally() {
        QString title;
        QTimer::singleShot(0, this, [&title] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                title = w->windowTitle();
                w->close();
            }
        });
        action("N27")->trigger();
        QCOMPARE(title, QString("关于晴窗影册"));
    }

    void exitAsks() {
        m_main->show();
        m_answer = QMessageBox::No;
        action("N9")->trigger();
        QCOMPARE(m_asked.last().text, QString("您是否要退出晴窗影册Fotarix？"));
        QVERIFY(m_main->isVisible());
    }
};

QTEST_MAIN(TestCommands)
#include "test_commands.moc"
