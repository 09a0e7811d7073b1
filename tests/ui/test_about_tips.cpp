// Tests of the About window (version label, key trail, contact links) and of the daily tips
// window (random first tip, next with wrap-around, the start-up switch, broken templates),
// on real widgets and real SQLite template files made by the test.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>

#include "platform/db/Connection.h"
#include "platform/db/ConnectionString.h"
#include "platform/db/SqlText.h"
#include "ui/AppPaths.h"
#include "ui/Dialogs.h"
#include "ui/Notice.h"
#include "ui/Shell.h"
#include "ui/TFrm_About.h"
#include "ui/TFrm_Tips.h"
#include "ui/TMsgForm.h"

namespace {

const QString kTipsDomain = QStringLiteral("提示词语");

// Writes a template library "Model.dll" into dir: a parameter table with the given tip rows
// and, to show they are passed over, two rows of other domains.
void makeTemplate(const QString& dir, const QStringList& tips, bool withTable = true)
{
    const QString path = dir + QStringLiteral("/Model.dll");
    QFile::remove(path);
    {
        QFile file(path);  // an empty file is an empty SQLite database
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    db::Connection conn;
    conn.setConnectionString(QString::fromLatin1(db::kReadWriteConnection) + path);
    conn.open();
    if (!withTable) {
        conn.execute(QStringLiteral("create table other(id counter primary key, x LONGTEXT)"));
        return;
    }
    conn.execute(QStringLiteral(
        "create table parameter(id counter primary key, parent_id integer, pvalue LONGTEXT, "
        "domain_no LONGTEXT, meaning LONGTEXT)"));
    conn.execute(QStringLiteral("insert into parameter(parent_id,pvalue,domain_no,meaning) "
                                "values(0,'True','每日一帖','')"));
    for (const QString& tip : tips)
        conn.execute(QStringLiteral("insert into parameter(parent_id,pvalue,domain_no,meaning) "
                                    "values(0,") +
                     db::quoted(tip) + u',' + db::quoted(kTipsDomain) + QStringLiteral(",'')"));
    conn.execute(QStringLiteral("insert into parameter(parent_id,pvalue,domain_no,meaning) "
                                "values(0,'不是提示','password','')"));
}

QStringList numberedTips(int count)
{
    QStringList tips;
    for (int i = 1; i <= count; ++i)
        tips << QStringLiteral("第%1条提示：照片库可以备份。").arg(i);
    return tips;
}

// The library's "每日一帖" as the tips window sees it, with every write remembered.
struct Switch {
    QString value;
    QStringList writes;

    TFrm_Tips::ReadSwitch reader()
    {
        return [this] { return value; };
    }
    TFrm_Tips::WriteSwitch writer()
    {
        return [this](const QString& v) {
            value = v;
            writes << v;
        };
    }
};

template <typename T>
T* child(QWidget* parent, const char* name)
{
    T* w = parent->findChild<T*>(QString::fromLatin1(name));
    if (!w)
        qWarning("missing child %s", name);
    return w;
}

}  // namespace

class TestAboutTips final : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QList<ui::dialogs::Request> m_boxes;
    QList<QUrl> m_opened;

    // Types text into whatever has the focus in the window, as a person would.
    static void type(QWidget* window, const QString& text)
    {
        for (QChar c : text) {
            QWidget* target = QApplication::focusWidget();
            if (!target || target->window() != window)
                target = window;
            QTest::keyClick(target, c.toLatin1());
        }
    }

    int hiddenMessages() const
    {
        int n = 0;
        for (const auto& box : m_boxes)
            n += box.text == TFrm_About::hiddenMessage();
        return n;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        ui::paths::setProgramDir(m_dir.path());
        ui::dialogs::setResponder([this](const ui::dialogs::Request& r) {
            m_boxes << r;
            return ui::dialogs::Answer{};
        });
        ui::shell::setOpenHook([this](const QUrl& url) {
            m_opened << url;
            return true;
        });
    }

    void init()
    {
        m_boxes.clear();
        m_opened.clear();
        ui::clearNoticeHistory();
        TFrm_About::resetKeyTrail();
        QCoreApplication::setApplicationVersion(QString());
    }

    void cleanup()
    {
        TMsgForm::freeAll();
    }

    void cleanupTestCase()
    {
        ui::shell::setOpenHook({});
        ui::dialogs::setResponder({});
        ui::paths::setProgramDir(QString());
    }

    // ---- Shell ---------------------------------------------------------------------------

    void mailUrlEncodesSubject()
    {
        const QUrl url = ui::shell::mailUrl(QStringLiteral("a@b.example"), QStringLiteral("晴窗影册"));
        QCOMPARE(url.scheme(), QStringLiteral("mailto"));
        QCOMPARE(url.path(), QStringLiteral("a@b.example"));
        QCOMPARE(QUrlQuery(url).queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
                 QStringLiteral("晴窗影册"));
        QCOMPARE(url.toEncoded(),
                 QByteArray("mailto:a@b.example?subject=%E6%99%B4%E7%AA%97%E5%BD%B1%E5%86%8C"));
    }

    void openUrlGoesThroughHookOnly()
    {
        QVERIFY(ui::shell::openUrl(QUrl(QStringLiteral("http://www.fotarix.example/x"))));
        QVERIFY(!ui::shell::openUrl(QUrl()));  // nothing to open: the hook is not asked
        QVERIFY(ui::shell::openFile(QStringLiteral("/opt/fotarix/help.html")));
        QCOMPARE(m_opened.size(), 2);
        QCOMPARE(m_opened.at(0), QUrl(QStringLiteral("http://www.fotarix.example/x")));
        QVERIFY(m_opened.at(1).isLocalFile());
        QCOMPARE(m_opened.at(1).toLocalFile(), QStringLiteral("/opt/fotarix/help.html"));
    }

    // ---- About window --------------------------------------------------------------------

    void versionText_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("expected");
        QTest::newRow("project version") << "3.5.2.1" << QStringLiteral("程序版本：3.5.2 (Build 1 )");
        QTest::newRow("three-digit build")
            << "3.5.2.119" << QStringLiteral("程序版本：3.5.2 (Build 119 )");
        QTest::newRow("no version") << "" << QStringLiteral("程序版本：");
        QTest::newRow("not a number") << "beta" << QStringLiteral("程序版本：");
        QTest::newRow("missing parts") << "4.1" << QStringLiteral("程序版本：4.1.0 (Build 0 )");
    }

    void versionText()
    {
        QFETCH(QString, version);
        QFETCH(QString, expected);
        QCOMPARE(TFrm_About::versionText(version), expected);
        QCoreApplication::setApplicationVersion(version);
        TFrm_About about;
        QCOMPARE(child<QLabel>(&about, "lbVersion")->text(), expected);
    }

    void aboutLayout()
    {
        TFrm_About about;
        QCOMPARE(about.windowTitle(), QStringLiteral("关于晴窗影册"));
        QCOMPARE(about.minimumSize(), about.maximumSize());  // cannot be resized
        QVERIFY(!(about.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(!(about.windowFlags() & Qt::WindowMinimizeButtonHint));
        auto* memo = child<QTextEdit>(&about, "Memo1");
        QVERIFY(memo && memo->isReadOnly());
        const QStringList lines = memo->toPlainText().split(u'\n');
        QCOMPARE(lines.size(), 15);  // eight lines with an empty line between each two
        QCOMPARE(lines.first(),
                 QStringLiteral("晴窗影册是一款集数码相册管理，照片浏览、处理等功能为一体的免费应用软件。"));
        QCOMPARE(lines.at(1), QString());
        QCOMPARE(lines.at(12), QStringLiteral("    5.具有多种图片处理效果，完美您的照片。"));
        QCOMPARE(lines.last(), QStringLiteral("    "));
        auto* ok = child<QPushButton>(&about, "BtnOK");
        QCOMPARE(ok->text(), QStringLiteral("确定(&O)"));
        QCOMPARE(child<QLabel>(&about, "lbMail")->text(), ui::shell::makerMailAddress());
        QVERIFY(ui::shell::makerWebSite().startsWith(child<QLabel>(&about, "lbWebSite")->text()));
    }

    void okAndEscapeCloseWithOk()
    {
        {
            TFrm_About about;
            QTimer::singleShot(0, &about, [&about] {
                QTest::mouseClick(about.findChild<QPushButton*>(QStringLiteral("BtnOK")),
                                  Qt::LeftButton);
            });
            QCOMPARE(about.exec(), int(QDialog::Accepted));
        }
        {
            TFrm_About about;
            QTimer::singleShot(0, &about, [&about] { QTest::keyClick(&about, Qt::Key_Escape); });
            QCOMPARE(about.exec(), int(QDialog::Accepted));
        }
    }

    void keyTrail_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("messages");
        QTest::addColumn<QString>("trailAfter");
        QTest::newRow("the word") << "ACAT" << 1 << "";
        QTest::newRow("lower case counts") << "acat" << 1 << "";
        QTest::newRow("twice in a row") << "ACATACAT" << 2 << "";
        QTest::newRow("digits and punctuation skipped") << "A1C2A-T," << 1 << "";
        QTest::newRow("wrong first letter") << "XACAT" << 0 << "XACAT";
        QTest::newRow("other word") << "LOVE" << 0 << "LOVE";
        QTest::newRow("too short") << "ACA" << 0 << "ACA";
    }

    void keyTrail()
    {
        QFETCH(QString, typed);
        QFETCH(int, messages);
        QFETCH(QString, trailAfter);
        TFrm_About about;
        about.show();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        type(&about, typed);
        QCOMPARE(hiddenMessages(), messages);
        QCOMPARE(TFrm_About::keyTrail(), trailAfter);
        if (messages > 0) {
            const auto& box = m_boxes.last();
            QCOMPARE(box.title, QStringLiteral("提示信息"));
            QCOMPARE(box.icon, QMessageBox::Information);
            QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        }
    }

    // The trail belongs to the program, not to one window; once a wrong letter is in it the
    // word no longer matches for the rest of the run.
    void keyTrailSurvivesReopening()
    {
        {
            TFrm_About about;
            about.show();
            QVERIFY(QTest::qWaitForWindowActive(&about));
            type(&about, QStringLiteral("AC"));
        }
        QCOMPARE(TFrm_About::keyTrail(), QStringLiteral("AC"));
        {
            TFrm_About about;
            about.show();
            QVERIFY(QTest::qWaitForWindowActive(&about));
            type(&about, QStringLiteral("AT"));
        }
        QCOMPARE(hiddenMessages(), 1);
        {
            TFrm_About about;
            about.show();
            QVERIFY(QTest::qWaitForWindowActive(&about));
            type(&about, QStringLiteral("QACAT"));
        }
        QCOMPARE(hiddenMessages(), 1);
    }

    void keysWithModifiersAreNotLetters()
    {
        TFrm_About about;
        about.show();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &about;
        QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(target, Qt::Key_C, Qt::AltModifier);
        QCOMPARE(TFrm_About::keyTrail(), QString());
        // Keys typed into another window are not collected.
        QWidget other;
        other.show();
        QTest::keyClicks(&other, QStringLiteral("ACAT"));
        QCOMPARE(TFrm_About::keyTrail(), QString());
        QCOMPARE(hiddenMessages(), 0);
    }

    void aboutLinks()
    {
        TFrm_About about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        auto* web = child<QLabel>(&about, "lbWebSite");
        auto* mail = child<QLabel>(&about, "lbMail");
        QVERIFY(web->font().underline());
        QCOMPARE(web->cursor().shape(), Qt::PointingHandCursor);

        QTest::mouseClick(web, Qt::LeftButton);
        QTest::mouseClick(mail, Qt::LeftButton);
        QTest::mouseClick(web, Qt::RightButton);  // only the left button follows a link
        QCOMPARE(m_opened.size(), 2);
        QCOMPARE(m_opened.at(0), QUrl(ui::shell::makerWebSite()));
        const QUrl sent = m_opened.at(1);
        QCOMPARE(sent.scheme(), QStringLiteral("mailto"));
        QCOMPARE(sent.path(), ui::shell::makerMailAddress());
        QCOMPARE(QUrlQuery(sent).queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
                 QStringLiteral("晴窗影册"));

        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(mail, &leave);
        QVERIFY(!mail->font().underline());
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(mail, &enter);
        QVERIFY(mail->font().underline());
    }

    // ---- Tips window ---------------------------------------------------------------------

    void tipsLayout()
    {
        makeTemplate(m_dir.path(), numberedTips(3));
        Switch sw{QStringLiteral("True"), {}};
        TFrm_Tips tips(sw.reader(), sw.writer());
        QCOMPARE(tips.windowTitle(), QStringLiteral("晴窗影册每日提示"));
        QCOMPARE(tips.size(), QSize(449, 293));
        QCOMPARE(tips.minimumSize(), tips.maximumSize());
        QCOMPARE(child<QCheckBox>(&tips, "CheckBox1")->text(), QStringLiteral("启动时显示每日提示"));
        QCOMPARE(child<QPushButton>(&tips, "BtnNext")->text(), QStringLiteral("下一帖(&N)"));
        QCOMPARE(child<QPushButton>(&tips, "BtnClose")->text(), QStringLiteral("关闭(&C)"));
        QCOMPARE(child<QLabel>(&tips, "lbSite")->text(), QStringLiteral("晴窗影册官方网站"));
        auto* area = child<QTextBrowser>(&tips, "RichEdit1");
        QVERIFY(area->isReadOnly());
        QCOMPARE(area->size(), QSize(314, 121));
    }

    void firstTipIsRandom()
    {
        const QStringList tipTexts = numberedTips(10);
        makeTemplate(m_dir.path(), tipTexts);
        QSet<int> firstRows;
        for (int i = 0; i < 30; ++i) {
            Switch sw{QStringLiteral("True"), {}};
            TFrm_Tips tips(sw.reader(), sw.writer());
            tips.show();
            QCOMPARE(tips.tipCount(), 10);
            const int row = tips.currentRow();
            QVERIFY(row >= 1 && row <= 10);
            QCOMPARE(tips.currentTip(), tipTexts.at(row - 1));
            firstRows.insert(row);
        }
        QVERIFY2(firstRows.size() >= 2, "30 openings all began with the same tip");
    }

    void nextWrapsToFirst()
    {
        const QStringList tipTexts = numberedTips(10);
        makeTemplate(m_dir.path(), tipTexts);
        Switch sw{QStringLiteral("True"), {}};
        TFrm_Tips tips(sw.reader(), sw.writer());
        tips.show();
        auto* next = child<QPushButton>(&tips, "BtnNext");
        // Each "next" shows the following row; after the last comes the first.
        for (int step = 0; step < 12; ++step) {
            const int before = tips.currentRow();
            QTest::mouseClick(next, Qt::LeftButton);
            const int expected = before == 10 ? 1 : before + 1;
            QCOMPARE(tips.currentRow(), expected);
            QCOMPARE(tips.currentTip(), tipTexts.at(expected - 1));
        }
    }

    void singleTipStays()
    {
        makeTemplate(m_dir.path(), {QStringLiteral("只有一条")});
        Switch sw{QStringLiteral("True"), {}};
        TFrm_Tips tips(sw.reader(), sw.writer());
        tips.show();
        QCOMPARE(tips.currentTip(), QStringLiteral("只有一条"));
        tips.BtnNextClick();
        QCOMPARE(tips.currentTip(), QStringLiteral("只有一条"));
    }

    void startupSwitch_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<bool>("toggle");
        QTest::addColumn<int>("closeBy");  // 0 BtnClose, 1 title bar, 2 Escape
        QTest::addColumn<QString>("written");
        QTest::newRow("on, cleared, closed by button") << "True" << true << true << 0 << "False";
        QTest::newRow("on, kept, title bar") << "True" << true << false << 1 << "True";
        QTest::newRow("off, kept") << "False" << false << false << 0 << "False";
        QTest::newRow("off, ticked, Escape") << "False" << false << true << 2 << "True";
        QTest::newRow("missing reads ticked") << "" << true << false << 1 << "True";
        QTest::newRow("only exact False clears") << "false" << true << false << 0 << "True";
    }

    void startupSwitch()
    {
        QFETCH(QString, stored);
        QFETCH(bool, ticked);
        QFETCH(bool, toggle);
        QFETCH(int, closeBy);
        QFETCH(QString, written);
        makeTemplate(m_dir.path(), numberedTips(2));
        Switch sw{stored, {}};
        TFrm_Tips tips(sw.reader(), sw.writer());
        tips.show();
        QVERIFY(QTest::qWaitForWindowActive(&tips));
        auto* box = child<QCheckBox>(&tips, "CheckBox1");
        QCOMPARE(box->isChecked(), ticked);
        QVERIFY(sw.writes.isEmpty());
        if (toggle)
            QTest::mouseClick(box, Qt::LeftButton);
        if (closeBy == 0)
            QTest::mouseClick(child<QPushButton>(&tips, "BtnClose"), Qt::LeftButton);
        else if (closeBy == 1)
            tips.close();
        else
            QTest::keyClick(&tips, Qt::Key_Escape);
        QVERIFY(!tips.isVisible());
        QCOMPARE(sw.writes, QStringList{written});
    }

    // As the menu command and the start-up use it: modal, closed by the user.
    void modalRunWritesOnce()
    {
        makeTemplate(m_dir.path(), numberedTips(4));
        Switch sw{QStringLiteral("True"), {}};
        TFrm_Tips tips(sw.reader(), sw.writer());
        QTimer::singleShot(0, &tips, [&tips] {
            QTest::mouseClick(tips.findChild<QCheckBox*>(QStringLiteral("CheckBox1")),
                              Qt::LeftButton);
            QTest::mouseClick(tips.findChild<QPushButton*>(QStringLiteral("BtnClose")),
                              Qt::LeftButton);
        });
        tips.exec();
        QCOMPARE(sw.writes, QStringList{QStringLiteral("False")});
        // Opened again with "False": shown cleared, and closing keeps "False".
        TFrm_Tips again(sw.reader(), sw.writer());
        QTimer::singleShot(0, &again, [&again] {
            QVERIFY(!again.findChild<QCheckBox*>(QStringLiteral("CheckBox1"))->isChecked());
            again.close();
        });
        again.exec();
        QCOMPARE(sw.value, QStringLiteral("False"));
        QCOMPARE(sw.writes.size(), 2);
    }

    void templateWithoutTips()
    {
        makeTemplate(m_dir.path(), {});
        Switch sw{QStringLiteral("True"), {}};
        TFrm_Tips tips(sw.reader(), sw.writer());
        tips.show();
        QCOMPARE(tips.tipCount(), 0);
        QCOMPARE(tips.currentTip(), QString());
        tips.BtnNextClick();
        QCOMPARE(tips.currentTip(), QString());
        QVERIFY(ui::noticeHistory().isEmpty());
        QVERIFY(m_boxes.isEmpty());
        tips.close();
        QCOMPARE(sw.writes, QStringList{QStringLiteral("True")});
    }

    void brokenTemplate_data()
    {
        QTest::addColumn<int>("kind");  // 0 missing, 1 not a database, 2 no parameter table
        QTest::newRow("missing") << 0;
        QTest::newRow("not a database") << 1;
        QTest::newRow("no parameter table") << 2;
    }

    void brokenTemplate()
    {
        QFETCH(int, kind);
        const QString path = m_dir.path() + QStringLiteral("/Model.dll");
        QFile::remove(path);
        if (kind == 1) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(4096, 'x'));
        } else if (kind == 2) {
            makeTemplate(m_dir.path(), {}, false);
        }
        Switch sw{QStringLiteral("True"), {}};
        TFrm_Tips tips(sw.reader(), sw.writer());
        tips.show();
        QCOMPARE(tips.tipCount(), 0);
        QCOMPARE(tips.currentTip(), QString());
        tips.BtnNextClick();
        QCOMPARE(tips.currentTip(), QString());
        QCOMPARE(ui::noticeHistory().size(), 1);
        QCOMPARE(ui::noticeHistory().first().kind, int(ui::NoticeWarning));
        QVERIFY(ui::noticeHistory().first().text.contains(path));
        QCOMPARE(child<QCheckBox>(&tips, "CheckBox1")->isChecked(), true);
        QTest::mouseClick(child<QPushButton>(&tips, "BtnClose"), Qt::LeftButton);
        QCOMPARE(sw.writes, QStringList{QStringLiteral("True")});
        if (kind == 0)
            QVERIFY(!QFile::exists(path));  // the open creates no file
    }

    // A switch that cannot be written (a library opened read-only) is reported; the window
    // still closes.
    void failingWriteIsReported()
    {
        makeTemplate(m_dir.path(), numberedTips(1));
        TFrm_Tips tips([] { return QStringLiteral("True"); },
                       [](const QString&) { throw std::runtime_error("attempt to write a readonly database"); });
        tips.show();
        tips.close();
        QVERIFY(!tips.isVisible());
        QCOMPARE(m_boxes.size(), 1);
        QCOMPARE(m_boxes.first().icon, QMessageBox::Critical);
        QCOMPARE(m_boxes.first().text, QStringLiteral("attempt to write a readonly database"));
    }

    void siteLink()
    {
        makeTemplate(m_dir.path(), numberedTips(1));
        Switch sw{QStringLiteral("True"), {}};
        TFrm_Tips tips(sw.reader(), sw.writer());
        tips.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tips));
        auto* site = child<QLabel>(&tips, "lbSite");
        QVERIFY(!site->font().underline());
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(site, &enter);
        QVERIFY(site->font().underline());
        QCOMPARE(site->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(site->cursor().shape(), Qt::PointingHandCursor);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(site, &leave);
        QVERIFY(!site->font().underline());
        QCOMPARE(site->palette().color(QPalette::WindowText), QColor(0, 0, 0));
        QCOMPARE(site->cursor().shape(), Qt::ArrowCursor);
        QTest::mouseClick(site, Qt::LeftButton);
        QCOMPARE(m_opened, QList<QUrl>{QUrl(ui::shell::makerWebSite())});
    }
};

QTEST_MAIN(TestAboutTips)
#include "test_about_tips.moc"
