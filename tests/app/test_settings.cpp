// The settings dialog on real library files: what a showing loads, what saving stores and in
// which order, the number filters, the fixed interval check box, the default library path in
// the settings file, the music table made on showing, Cancel, failures while saving, a
// read-only library, and the music page's player ending with the dialog.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "app/TFrm_Param.h"
#include "platform/db/Connection.h"
#include "platform/db/ConnectionString.h"
#include "platform/db/Query.h"
#include "platform/desktop/IniFile.h"
#include "platform/media/MusicPlayer.h"
#include "show/MusicListPage.h"
#include "store/PhotoLibrary.h"
#include "support/TestLibrary.h"
#include "support/WavFile.h"
#include "ui/Dialogs.h"

namespace {

const QString kDefaultTitle = QStringLiteral("晴窗影册 Fotarix 2006 光盘浏览版");

// The boolean settings with the check box that shows each.
const QList<QPair<QString, QString>> kBooleans = {
    {"空格切换照片", "CheckBox3"},     {"自动适应窗口", "CheckBox4"},
    {"全屏幕幻灯", "CheckBox6"},       {"重复放映", "CheckBox7"},
    {"每日一帖", "CheckBox2"},         {"工具栏提示", "CheckBox8"},
    {"自动升级更新", "CheckBox9"},     {"随机使用切换效果", "CheckBox1"},
    {"是否播放音乐", "CheckBox10"},    {"是否循环播放", "CheckBox11"},
};

// Every key the dialog stores, in the order it writes them.
const QStringList kWriteOrder = {"缩放比例",   "随机使用切换效果", "空格切换照片", "自动适应窗口",
                                 "切换时间",   "全屏幕幻灯",       "重复放映",     "每日一帖",
                                 "工具栏提示", "自动升级更新",     "是否播放音乐", "是否循环播放",
                                 "程序标题"};

}  // namespace

class TestSettings final : public QObject {
    Q_OBJECT

    QTemporaryDir* m_dir = nullptr;
    QString m_home;
    QString m_path;
    store::PhotoLibrary* m_library = nullptr;
    QList<ui::dialogs::Request> m_asked;
    ui::dialogs::Answer m_answer;

    QString ini() const { return m_home + "fotarix.ini"; }

    void openLibrary(bool readOnly) {
        delete m_library;
        m_library = new store::PhotoLibrary;
        m_library->AdoConn().setConnectionString(
            QString::fromLatin1(readOnly ? db::kReadOnlyConnection : db::kReadWriteConnection) +
            m_path);
        m_library->AdoConn().open();
    }

    // Rows of the settings this dialog stores: "key=value", in row order.
    QStringList settingRows() {
        db::Connection conn;
        conn.setConnectionString(QString::fromLatin1(db::kReadWriteConnection) + m_path);
        conn.open();
        db::Query q(&conn);
        q.setSql("select * from parameter order by id");
        q.open();
        QStringList out;
        for (q.first(); !q.eof(); q.next()) {
            const QString key = q.asText("domain_no");
            if (!kWriteOrder.contains(key)) continue;
            out << key + u'=' + q.asText("pvalue");
            if (q.asInteger("parent_id") != 0 || !q.asText("meaning").isEmpty())
                out.last() += QStringLiteral(" (bad row)");
        }
        return out;
    }

    void store(const QString& key, const QString& value) { m_library->WriteParameter(key, value); }

    template <typename T>
    static T* child(TFrm_Param& dialog, const char* name) {
        T* w = dialog.findChild<T*>(QLatin1String(name));
        if (!w) qWarning("no %s", name);
        return w;
    }
    static void save(TFrm_Param& dialog) { child<QPushButton>(dialog, "BtnSave")->click(); }

private slots:
    void init() {
        m_dir = new QTemporaryDir;
        m_home = m_dir->filePath("home/");
        QDir().mkpath(m_home);
        qputenv("FOTARIX_HOME", m_home.toUtf8());
        m_path = m_dir->filePath("lib.pmd");
        QVERIFY(testsupport::copyTemplateLibrary(m_path));
        openLibrary(false);
        m_asked.clear();
        m_answer = ui::dialogs::Answer();
        ui::dialogs::setResponder([this](const ui::dialogs::Request& r) {
            m_asked << r;
            return m_answer;
        });
    }
    void cleanup() {
        ui::dialogs::setResponder({});
        delete m_library;
        m_library = nullptr;
        delete m_dir;
        m_dir = nullptr;
    }

    void controlsAndCaptions() {
        TFrm_Param dialog(*m_library);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("系统设置"));
        auto* pages = dialog.findChild<QTabWidget*>();
        QVERIFY(pages);
        QCOMPARE(pages->count(), 2);
        QCOMPARE(pages->tabText(0), QStringLiteral(" 基本参数设置 "));
        QCOMPARE(pages->tabText(1), QStringLiteral(" 幻灯片音乐 "));
        QCOMPARE(child<QPushButton>(dialog, "BtnSave")->text(), QStringLiteral("确定(&S)"));
        QCOMPARE(child<QPushButton>(dialog, "BtnCancel")->text(), QStringLiteral("取消(&C)"));
        QCOMPARE(child<QCheckBox>(dialog, "CheckBox5")->text(), QStringLiteral("切换时间         秒"));
        QCOMPARE(child<QCheckBox>(dialog, "CheckBox12")->text(), QStringLiteral("光盘浏览版程序标题"));
        QCOMPARE(child<QLineEdit>(dialog, "EdtTime")->toolTip(), QStringLiteral("1000毫秒为1秒"));
        QVERIFY(child<QLineEdit>(dialog, "EdtPicDb")->isReadOnly());
        QVERIFY(child<QToolButton>(dialog, "SpeedButton1"));
        // The music controls sit on the second page, with the two music settings.
        QWidget* music = pages->widget(1);
        for (const char* name : {"CheckBox10", "CheckBox11", "ListView1", "sbAdd", "sbDel",
                                 "sbPlay", "sbPasue", "sbStop", "Label3"})
            QVERIFY2(music->findChild<QWidget*>(QLatin1String(name)), name);
        QCOMPARE(child<QCheckBox>(dialog, "CheckBox10")->text(), QStringLiteral("是否播放音乐"));
        QCOMPARE(child<QPushButton>(dialog, "sbPasue")->text(), QStringLiteral("暂停"));
    }

    void emptyLibraryShowsDefaultsAndSavesTrue() {
        TFrm_Param dialog(*m_library);
        dialog.findChild<QTabWidget*>()->setCurrentIndex(1);
        dialog.show();
        QCOMPARE(dialog.findChild<QTabWidget*>()->currentIndex(), 0);
        QCOMPARE(child<QLineEdit>(dialog, "EdtZoom")->text(), QStringLiteral("10"));
        QCOMPARE(child<QLineEdit>(dialog, "EdtTime")->text(), QStringLiteral("2"));
        QCOMPARE(child<QLineEdit>(dialog, "EdtTitle")->text(), kDefaultTitle);
        QCOMPARE(child<QLineEdit>(dialog, "EdtPicDb")->text(), QString());
        for (const auto& [key, box] : kBooleans)
            QVERIFY2(child<QCheckBox>(dialog, box.toLatin1())->isChecked(), qPrintable(key));
        QVERIFY(child<QCheckBox>(dialog, "CheckBox5")->isChecked());

        save(dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
        QStringList expected;
        for (const QString& key : kWriteOrder) {
            if (key == u"缩放比例") expected << key + "=10";
            else if (key == u"切换时间") expected << key + "=2";
            else if (key == u"程序标题") expected << key + u'=' + kDefaultTitle;
            else expected << key + "=True";
        }
        QCOMPARE(settingRows(), expected);  // one row each, inserted in the writing order
        QVERIFY(m_asked.isEmpty());

        // Saving again updates the rows rather than adding more.
        TFrm_Param again(*m_library);
        again.show();
        child<QCheckBox>(again, "CheckBox7")->setChecked(false);
        save(again);
        expected[kWriteOrder.indexOf("重复放映")] = "重复放映=False";
        QCOMPARE(settingRows(), expected);
    }

    void checkedUnlessExactlyFalse_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("checked");
        QTest::newRow("False") << "False" << false;
        QTest::newRow("True") << "True" << true;
        QTest::newRow("lower-case false") << "false" << true;
        QTest::newRow("upper-case FALSE") << "FALSE" << true;
        QTest::newRow("zero") << "0" << true;
        QTest::newRow("False with a blank") << "False " << true;
    }
    void checkedUnlessExactlyFalse() {
        QFETCH(QString, stored);
        QFETCH(bool, checked);
        for (const auto& entry : kBooleans) store(entry.first, stored);
        TFrm_Param dialog(*m_library);
        dialog.show();
        for (const auto& [key, box] : kBooleans)
            QVERIFY2(child<QCheckBox>(dialog, box.toLatin1())->isChecked() == checked,
                     qPrintable(key));
    }

    void storedTextsAreShown() {
        store("缩放比例", "25");
        store("切换时间", "5");
        store("程序标题", "我的'相册'");
        desktop::iniWrite(ini(), "PicDb", "picdbname", "/data/照片/Pic.pmd");
        TFrm_Param dialog(*m_library);
        dialog.show();
        QCOMPARE(child<QLineEdit>(dialog, "EdtZoom")->text(), QStringLiteral("25"));
        QCOMPARE(child<QLineEdit>(dialog, "EdtTime")->text(), QStringLiteral("5"));
        QCOMPARE(child<QLineEdit>(dialog, "EdtTitle")->text(), QStringLiteral("我的'相册'"));
        QCOMPARE(child<QLineEdit>(dialog, "EdtPicDb")->text(), QStringLiteral("/data/照片/Pic.pmd"));
        save(dialog);
        QCOMPARE(desktop::iniRead(ini(), "PicDb", "picdbname"), QStringLiteral("/data/照片/Pic.pmd"));
        QVERIFY(settingRows().contains(QStringLiteral("程序标题=我的'相册'")));
    }

    void fieldsAsSaved_data() {
        QTest::addColumn<QString>("zoom");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("storedZoom");
        QTest::addColumn<QString>("storedTime");
        QTest::addColumn<QString>("storedTitle");
        QTest::addColumn<QString>("zoomNextTime");
        QTest::newRow("all empty") << "" << "" << "" << "" << "2" << kDefaultTitle << "10";
        QTest::newRow("blank title") << "50" << "3" << "   " << "50" << "3" << kDefaultTitle << "50";
        QTest::newRow("trimmed title") << "12.5" << "2.5" << "  新标题 " << "12.5" << "2.5"
                                       << "新标题" << "12.5";
    }
    void fieldsAsSaved() {
        QFETCH(QString, zoom);
        QFETCH(QString, time);
        QFETCH(QString, title);
        QFETCH(QString, storedZoom);
        QFETCH(QString, storedTime);
        QFETCH(QString, storedTitle);
        QFETCH(QString, zoomNextTime);
        {
            TFrm_Param dialog(*m_library);
            dialog.show();
            child<QLineEdit>(dialog, "EdtZoom")->setText(zoom);
            child<QLineEdit>(dialog, "EdtTime")->setText(time);
            child<QLineEdit>(dialog, "EdtTitle")->setText(title);
            save(dialog);
        }
        QCOMPARE(m_library->ReadParameter("缩放比例"), storedZoom);
        QCOMPARE(m_library->ReadParameter("切换时间"), storedTime);
        QCOMPARE(m_library->ReadParameter("程序标题"), storedTitle);
        TFrm_Param dialog(*m_library);
        dialog.show();
        QCOMPARE(child<QLineEdit>(dialog, "EdtZoom")->text(), zoomNextTime);
    }

    void numberFieldsFilterKeys_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letters") << "abc" << "";
        QTest::newRow("minus") << "-5" << "5";
        QTest::newRow("comma") << "1,5" << "15";
        QTest::newRow("decimal") << "12.5" << "12.5";
        QTest::newRow("blank and plus") << "1 +2" << "12";
        QTest::newRow("chinese") << "五5" << "5";
    }
    void numberFieldsFilterKeys() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        TFrm_Param dialog(*m_library);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        for (const char* name : {"EdtZoom", "EdtTime"}) {
            QLineEdit* edit = child<QLineEdit>(dialog, name);
            edit->setFocus();
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Backspace);
            QCOMPARE(edit->text(), QString());
            for (const QChar c : typed)
                QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), {});
            QCOMPARE(edit->text(), shown);
        }
    }

    void pastedLettersDoNotGetIn() {
        TFrm_Param dialog(*m_library);
        dialog.show();
        QLineEdit* edit = child<QLineEdit>(dialog, "EdtTime");
        edit->selectAll();
        QGuiApplication::clipboard()->setText(QStringLiteral("3秒"));
        edit->paste();
        QCOMPARE(edit->text(), QStringLiteral("2"));
        QGuiApplication::clipboard()->setText(QStringLiteral("7.5"));
        edit->selectAll();
        edit->paste();
        QCOMPARE(edit->text(), QStringLiteral("7.5"));
    }

    void intervalCheckBoxStaysChecked() {
        TFrm_Param dialog(*m_library);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCheckBox* box = child<QCheckBox>(dialog, "CheckBox5");
        box->click();
        QVERIFY(box->isChecked());
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Space);
        QVERIFY(box->isChecked());
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
        QVERIFY(box->isChecked());
        // The interval field sits inside it and takes clicks of its own.
        QLineEdit* time = child<QLineEdit>(dialog, "EdtTime");
        QCOMPARE(time->parentWidget(), box);
        QVERIFY(box->rect().contains(time->geometry()));
    }

    void libraryPathWrittenEvenWhenEmpty() {
        TFrm_Param dialog(*m_library);
        dialog.show();
        save(dialog);
        QFile f(ini());
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString content = QString::fromUtf8(f.readAll());
        QVERIFY2(content.contains("[PicDb]") && content.contains(QRegularExpression("^picdbname=$",
                                                   QRegularExpression::MultilineOption)),
                 qPrintable(content));
    }

    void choosingTheLibraryFile_data() {
        QTest::addColumn<bool>("accepted");
        QTest::newRow("chosen") << true;
        QTest::newRow("cancelled") << false;
    }
    void choosingTheLibraryFile() {
        QFETCH(bool, accepted);
        desktop::iniWrite(ini(), "PicDb", "picdbname", "/data/old/Pic.pmd");
        TFrm_Param dialog(*m_library);
        dialog.show();
        m_answer.accepted = accepted;
        m_answer.text = "/data/new/其他.pmd";
        child<QToolButton>(dialog, "SpeedButton1")->click();
        QCOMPARE(m_asked.size(), 1);
        QCOMPARE(m_asked[0].kind, ui::dialogs::Kind::OpenFiles);
        QCOMPARE(m_asked[0].text, QStringLiteral("请选择照片库文件"));
        QCOMPARE(m_asked[0].filter, QStringLiteral("照片库文件 (*.pmd)"));
        QCOMPARE(m_asked[0].initial, QStringLiteral("/data/old"));
        const QString expected = accepted ? "/data/new/其他.pmd" : "/data/old/Pic.pmd";
        QCOMPARE(child<QLineEdit>(dialog, "EdtPicDb")->text(), expected);
        // Nothing is written until OK.
        QCOMPARE(desktop::iniRead(ini(), "PicDb", "picdbname"), QStringLiteral("/data/old/Pic.pmd"));
        save(dialog);
        QCOMPARE(desktop::iniRead(ini(), "PicDb", "picdbname"), expected);
    }

    void showingCreatesTheMusicTable() {
        QVERIFY(!m_library->TableExists("ScrFiles"));
        {
            TFrm_Param dialog(*m_library);
            dialog.show();
            child<QPushButton>(dialog, "BtnCancel")->click();
        }
        QVERIFY(m_library->TableExists("ScrFiles"));
        db::Query& q = m_library->temp("select * from ScrFiles where 1<>1");
        q.open();
        QCOMPARE(q.columnNames(), (QStringList{"id", "scr_type", "title", "remark", "file_name",
                                               "file_content"}));
        q.close();
        db::Query& ddl = m_library->temp("select sql from sqlite_master where name = 'ScrFiles'");
        ddl.open();
        QVERIFY2(ddl.asText("sql").endsWith(QStringLiteral("BLOB\t)")), qPrintable(ddl.asText("sql")));
        ddl.close();
        // Rows get counter ids; a second showing keeps the table and lists them.
        m_library->ExecuteSql("insert into ScrFiles(scr_type,title,file_name) values('1','a','/a.mp3')");
        TFrm_Param dialog(*m_library);
        dialog.show();
        QVERIFY(m_asked.isEmpty());
        auto* list = dialog.findChild<QTreeWidget*>("ListView1");
        QCOMPARE(list->topLevelItemCount(), 1);
        QCOMPARE(list->topLevelItem(0)->text(2), QStringLiteral("1"));
    }

    void cancelWritesNothing_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("cancel button") << 0;
        QTest::newRow("escape") << 1;
        QTest::newRow("window closed") << 2;
    }
    void cancelWritesNothing() {
        QFETCH(int, how);
        TFrm_Param dialog(*m_library);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        child<QLineEdit>(dialog, "EdtTitle")->setText("changed");
        child<QCheckBox>(dialog, "CheckBox1")->setChecked(false);
        if (how == 0) child<QPushButton>(dialog, "BtnCancel")->click();
        else if (how == 1) QTest::keyClick(&dialog, Qt::Key_Escape);
        else dialog.close();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(settingRows(), QStringList());
        QVERIFY(!QFile::exists(ini()));
    }

    void failingRowStopsSaveAndKeepsDialogOpen() {
        // The engine refuses the fifth row; the four before it stay written.
        m_library->ExecuteSql(
            "create trigger refuse before insert on parameter when new.domain_no = '切换时间' "
            "begin select raise(abort, '磁盘已满'); end");
        TFrm_Param dialog(*m_library);
        dialog.show();
        save(dialog);
        QVERIFY(dialog.isVisible());
        QCOMPARE(m_asked.size(), 1);
        QCOMPARE(m_asked[0].icon, QMessageBox::Critical);
        QVERIFY2(m_asked[0].text.contains(QStringLiteral("磁盘已满")), qPrintable(m_asked[0].text));
        QCOMPARE(settingRows(), (QStringList{"缩放比例=10", "随机使用切换效果=True",
                                             "空格切换照片=True", "自动适应窗口=True"}));
        QVERIFY(!QFile::exists(ini()));
    }

    void unwritableSettingsFileKeepsDialogOpen() {
        QDir().mkpath(ini());  // a folder where the file should be
        TFrm_Param dialog(*m_library);
        dialog.show();
        save(dialog);
        QVERIFY(dialog.isVisible());
        QCOMPARE(m_asked.size(), 1);
        QVERIFY2(m_asked[0].text.contains(QStringLiteral("设置文件")), qPrintable(m_asked[0].text));
        QCOMPARE(settingRows().size(), kWriteOrder.size());
    }

    void readOnlyLibraryRefusesToSave() {
        store("切换时间", "7");
        openLibrary(true);
        TFrm_Param dialog(*m_library);
        dialog.show();
        QVERIFY(m_asked.isEmpty());  // the missing music table is not an error here
        QCOMPARE(child<QLineEdit>(dialog, "EdtTime")->text(), QStringLiteral("7"));
        QVERIFY(!m_library->TableExists("ScrFiles"));
        child<QLineEdit>(dialog, "EdtTime")->setText("3");
        save(dialog);
        QVERIFY(dialog.isVisible());
        QCOMPARE(m_asked.size(), 1);
        QCOMPARE(m_asked[0].title, QStringLiteral("提示信息"));
        QCOMPARE(m_asked[0].text, QStringLiteral("当前照片库是以只读方式打开的，不能保存设置！"));
        QCOMPARE(m_asked[0].icon, QMessageBox::Warning);
        QCOMPARE(settingRows(), QStringList{"切换时间=7"});
        QVERIFY(!QFile::exists(ini()));
    }

    void musicAddedThroughTheDialogStaysOnCancel() {
        TFrm_Param dialog(*m_library);
        dialog.show();
        m_answer.files = {"/m/song.mp3"};
        dialog.findChild<QPushButton*>("sbAdd")->click();
        child<QPushButton>(dialog, "BtnCancel")->click();
        db::Query& q = m_library->temp("select title, file_name from ScrFiles where scr_type = '1'");
        q.open();
        QCOMPARE(q.recordCount(), 1);
        QCOMPARE(q.asText("title"), QStringLiteral("song"));
        q.close();
    }

    void closingTheDialogEndsTheMusic() {
        const QString tone = m_dir->filePath("tone.wav");
        QVERIFY(testsupport::writeToneWav(tone, 30));
        TFrm_Param dialog(*m_library);
        dialog.show();
        m_answer.files = {tone};
        dialog.findChild<QPushButton*>("sbAdd")->click();
        auto* list = dialog.findChild<QTreeWidget*>("ListView1");
        list->setCurrentItem(list->topLevelItem(0));
        dialog.findChild<QPushButton*>("sbPlay")->click();
        auto* player = dialog.findChild<media::MusicPlayer*>("MediaPlayer1");
        QVERIFY(player);
        QTRY_COMPARE_WITH_TIMEOUT(player->mode(), media::MusicPlayer::Mode::Playing, 10000);
        dialog.close();
        QCOMPARE(player->mode(), media::MusicPlayer::Mode::NotReady);
        QVERIFY(!player->isOpen());
    }
};

int main(int argc, char** argv) {
    // Qt, the sound server client and GStreamer write under these; the GStreamer back end
    // plays without a sound card.
    QTemporaryDir env;
    QDir().mkpath(env.filePath("home"));
    QDir().mkpath(env.filePath("run"));
    QFile::setPermissions(env.filePath("run"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("HOME", env.filePath("home").toUtf8());
    qputenv("XDG_RUNTIME_DIR", env.filePath("run").toUtf8());
    qputenv("QT_MEDIA_BACKEND", "gstreamer");
    QApplication app(argc, argv);
    TestSettings test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_settings.moc"
