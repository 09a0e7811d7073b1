// Tests of the shared UI layer: notices, wait windows, temporary files and file facts, the
// size text, the folder picker and the Enter rule of the dialogs.
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include "ui/AppPaths.h"
#include "ui/Dialogs.h"
#include "ui/Notice.h"
#include "ui/TFrmBase.h"
#include "ui/TFrm_Wait.h"
#include "ui/TFrm_Wait2.h"
#include "ui/TMsgForm.h"
#include "ui/Utils.h"
#include "ui/WaitWindows.h"

namespace {

QRect workArea()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

int areaBottom()
{
    return workArea().y() + workArea().height();
}

TMsgForm* lastNotice()
{
    const auto& live = TMsgForm::liveNotices();
    return live.isEmpty() ? nullptr : live.last();
}

// Walks a notice to its resting place without running the event loop (so its own timers
// never fire in between); false when it does not get there.
bool tickToRest(TMsgForm* form)
{
    for (int i = 0; i < 10000 && form->phase() == TMsgForm::Phase::SlidingIn; ++i)
        form->slideInTick();
    return form->phase() == TMsgForm::Phase::Resting;
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(path));
    f.write(bytes);
}

mode_t modeOf(const QString& path)
{
    struct stat st {};
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

// Makes dir/name a file that cannot be deleted: through the directory's permissions, or for
// root (whom permissions do not stop) through the immutable flag. Undone with locked=false.
bool setUndeletable(const QString& dir, const QString& name, bool locked)
{
    const QString path = dir + u'/' + name;
    if (::geteuid() != 0) {
        return QFile::setPermissions(dir, locked ? QFile::ReadOwner | QFile::ExeOwner
                                                 : QFile::ReadOwner | QFile::WriteOwner |
                                                       QFile::ExeOwner);
    }
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = locked ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

// A dialog of the program's kind with two fields, a memo, a grid and a button.
class SampleDialog final : public TFrmBase {
public:
    SampleDialog()
    {
        auto* layout = new QVBoxLayout(this);
        first = new QLineEdit(this);
        second = new QLineEdit(this);
        memo = new QPlainTextEdit(this);
        grid = new QTableView(this);
        grid->setModel(new QStandardItemModel(3, 2, grid));
        button = new QPushButton(QStringLiteral("确定"), this);
        for (QWidget* w : {static_cast<QWidget*>(first), static_cast<QWidget*>(second),
                           static_cast<QWidget*>(memo), static_cast<QWidget*>(grid),
                           static_cast<QWidget*>(button)})
            layout->addWidget(w);
    }
    QLineEdit* first;
    QLineEdit* second;
    QPlainTextEdit* memo;
    QTableView* grid;
    QPushButton* button;
};

}  // namespace

class TestUi final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void noticeKinds_data();
    void noticeKinds();
    void noticeHeight_data();
    void noticeHeight();
    void noticeSlideInSteps();
    void noticeClickSendsAway_data();
    void noticeClickSendsAway();
    void noticeSlidesOutAndFrees();
    void noticesOverlap();
    void noticeRunsOnItsTimersWithoutFocus();
    void noticesFreedAtExit();

    void waitWindowProgress();
    void waitWindowModes();
    void dualProgress();

    void tempDirFromTmpdir();
    void tempDirDefault();
    void tempDirRefusesForeignLink();
    void tempFileNames();
    void deleteTempFiles();
    void fileSize_data();
    void fileSize();
    void fileTime_data();
    void fileTime();
    void systemDir();
    void rightText_data();
    void rightText();
    void formatSizeKB_data();
    void formatSizeKB();
    void browseForFolder_data();
    void browseForFolder();

    void enterRule();
    void enterGoesToDefaultButton();

    void programPaths();
    void dialogFacade();

private:
    QTemporaryDir m_home;
    QTemporaryDir m_tmp;
};

void TestUi::initTestCase()
{
    QVERIFY(m_home.isValid());
    QVERIFY(m_tmp.isValid());
    qputenv("FOTARIX_HOME", QFile::encodeName(m_home.path()));
    qputenv("TMPDIR", QFile::encodeName(m_tmp.path()));
}

void TestUi::cleanup()
{
    TMsgForm::freeAll();
    ui::CloseWaitWindow();
    ui::CloseDualProgress();
    ui::dialogs::setResponder({});
    qputenv("TMPDIR", QFile::encodeName(m_tmp.path()));
}

// ---- notices ----

void TestUi::noticeKinds_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QColor>("right");
    QTest::newRow("error") << 0 << "系统错误信息" << "imgError" << QColor(240, 128, 128);
    QTest::newRow("information") << 1 << "系统提示信息" << "imgInfo" << QColor(128, 224, 240);
    QTest::newRow("warning") << 2 << "系统警告信息" << "imgWarning" << QColor(224, 240, 128);
    QTest::newRow("other value") << 7 << "系统提示信息" << "imgInfo" << QColor(128, 224, 240);
    QTest::newRow("negative") << -1 << "系统提示信息" << "imgInfo" << QColor(128, 224, 240);
}

void TestUi::noticeKinds()
{
    QFETCH(int, kind);
    QFETCH(QString, title);
    QFETCH(QString, picture);
    QFETCH(QColor, right);

    ui::clearNoticeHistory();
    ui::ShowNotice(QStringLiteral("相册已删除"), kind);
    TMsgForm* form = lastNotice();
    QVERIFY(form);
    QCOMPARE(ui::noticeHistory().size(), 1);
    QCOMPARE(ui::noticeHistory().first().text, QStringLiteral("相册已删除"));
    QCOMPARE(ui::noticeHistory().first().kind, kind);

    QCOMPARE(form->findChild<QLabel*>("lblIcon")->text(), title);
    QCOMPARE(form->findChild<QLabel*>("lblMsg")->text(), QStringLiteral("相册已删除"));
    for (const char* name : {"imgError", "imgWarning", "imgInfo"})
        QCOMPARE(form->findChild<QLabel*>(name)->isVisible(), picture == QLatin1String(name));
    QVERIFY(!form->testAttribute(Qt::WA_WState_Hidden));
    QVERIFY(form->windowFlags() & Qt::WindowDoesNotAcceptFocus);

    // Gradient: white on the left, each column left + (right - left) * i / width, the same on
    // every row, inside a grey frame.
    const QImage& bg = form->background();
    QCOMPARE(bg.size(), form->size());
    const int w = bg.width();
    for (int i : {1, w / 3, w / 2, w - 2}) {
        const QColor expected(255 + (right.red() - 255) * i / w,
                              255 + (right.green() - 255) * i / w,
                              255 + (right.blue() - 255) * i / w);
        QCOMPARE(bg.pixelColor(i, 5), expected);
        QCOMPARE(bg.pixelColor(i, bg.height() - 2), expected);
    }
    for (QPoint p : {QPoint(0, 0), QPoint(w - 1, 40), QPoint(100, bg.height() - 1)})
        QCOMPARE(bg.pixelColor(p), QColor(119, 119, 119));
}

void TestUi::noticeHeight_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("grows");
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("short") << QStringLiteral("照片已保存") << false;
    QTest::newRow("long") << QStringLiteral("照片库文件无法打开，").repeated(20) << true;
    QTest::newRow("unbroken path")
        << (QStringLiteral("/home/user/") + QStringLiteral("x").repeated(300)) << true;
    QTest::newRow("more than the screen") << QStringLiteral("很长的提示").repeated(2000) << true;
}

void TestUi::noticeHeight()
{
    QFETCH(QString, text);
    QFETCH(bool, grows);

    ui::ShowNotice(text, 1);
    TMsgForm* form = lastNotice();
    QVERIFY(form);
    auto* lblMsg = form->findChild<QLabel*>("lblMsg");
    QCOMPARE(form->width(), 224);
    QCOMPARE(lblMsg->geometry().topLeft(), QPoint(24, 64));
    if (grows) {
        QVERIFY(form->height() > 131);
        QCOMPARE(lblMsg->height() - 57, form->height() - 131);
    } else {
        QCOMPARE(form->height(), 131);
        QCOMPARE(lblMsg->height(), 57);
    }
    QVERIFY(form->height() <= workArea().height());
    QCOMPARE(form->background().size(), form->size());

    // Starts with six pixels in view at the right edge, rests with its bottom on the
    // work-area bottom, the extra height included.
    const QRect area = workArea();
    QCOMPARE(form->x(), area.x() + area.width() - form->width() - 1);
    QCOMPARE(form->y(), areaBottom() - 6);
    QVERIFY(tickToRest(form));
    QCOMPARE(form->y() + form->height(), areaBottom());
    QCOMPARE(form->x(), area.x() + area.width() - form->width() - 1);
}

void TestUi::noticeSlideInSteps()
{
    ui::ShowNotice(QStringLiteral("已复制"), 1);
    TMsgForm* form = lastNotice();
    QList<int> steps;
    int y = form->y();
    for (int i = 0; i < 11; ++i) {
        form->slideInTick();
        steps << y - form->y();
        y = form->y();
    }
    QCOMPARE(steps, (QList<int>{1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 4}));
    QCOMPARE(form->phase(), TMsgForm::Phase::SlidingIn);
}

void TestUi::noticeClickSendsAway_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("window") << QString();
    QTest::newRow("message") << QStringLiteral("lblMsg");
    QTest::newRow("title") << QStringLiteral("lblIcon");
    QTest::newRow("picture") << QStringLiteral("imgWarning");
}

void TestUi::noticeClickSendsAway()
{
    QFETCH(QString, target);
    ui::ShowNotice(QStringLiteral("请先选择相册"), 2);
    TMsgForm* form = lastNotice();
    for (int i = 0; i < 8; ++i)
        form->slideInTick();
    const int yAtClick = form->y();
    QWidget* clicked = target.isEmpty() ? static_cast<QWidget*>(form)
                                        : form->findChild<QWidget*>(target);
    QVERIFY(clicked);
    QTest::mouseClick(clicked, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(form->phase(), TMsgForm::Phase::SlidingOut);
    QCOMPARE(form->y(), yAtClick);
    form->slideOutTick();
    QVERIFY(form->y() > yAtClick);
}

void TestUi::noticeSlidesOutAndFrees()
{
    ui::ShowNotice(QStringLiteral("导出完成"), 1);
    QPointer<TMsgForm> form = lastNotice();
    QVERIFY(tickToRest(form));
    form->endRest();
    // It leaves fast and slows down: every step is at most the one before.
    int y = form->y();
    int lastStep = INT_MAX;
    for (int i = 0; i < 10000 && form->phase() == TMsgForm::Phase::SlidingOut; ++i) {
        form->slideOutTick();
        const int step = form->y() - y;
        QVERIFY(step >= 1 && step <= lastStep);
        lastStep = step;
        y = form->y();
    }
    QCOMPARE(form->phase(), TMsgForm::Phase::Closed);
    QVERIFY(form->y() >= areaBottom());
    flushDeletes();
    QVERIFY(form.isNull());
    QVERIFY(TMsgForm::liveNotices().isEmpty());
}

void TestUi::noticesOverlap()
{
    ui::ShowNotice(QStringLiteral("第一条"), 1);
    QPointer<TMsgForm> first = lastNotice();
    ui::ShowNotice(QStringLiteral("第二条"), 0);
    QPointer<TMsgForm> second = lastNotice();
    QVERIFY(first != second);
    QCOMPARE(TMsgForm::liveNotices().size(), 2);
    QCOMPARE(second->geometry(), first->geometry());
    QVERIFY(tickToRest(first));
    QVERIFY(tickToRest(second));
    QCOMPARE(second->geometry(), first->geometry());

    // Each goes on its own schedule.
    first->endRest();
    QCOMPARE(second->phase(), TMsgForm::Phase::Resting);
    while (first && first->phase() == TMsgForm::Phase::SlidingOut)
        first->slideOutTick();
    flushDeletes();
    QVERIFY(first.isNull());
    QVERIFY(second);
    QCOMPARE(second->y() + second->height(), areaBottom());
}

void TestUi::noticeRunsOnItsTimersWithoutFocus()
{
    QWidget main;
    auto* edit = new QLineEdit(&main);
    main.show();
    QApplication::setActiveWindow(&main);
    QVERIFY(QTest::qWaitForWindowActive(&main));
    edit->setFocus();
    QTRY_VERIFY(edit->hasFocus());

    ui::ShowNotice(QStringLiteral("照片已移入回收站"), 1);
    QPointer<TMsgForm> form = lastNotice();
    QTRY_COMPARE_WITH_TIMEOUT(form->phase(), TMsgForm::Phase::Resting, 3000);
    QCOMPARE(form->y() + form->height(), areaBottom());
    QVERIFY(edit->hasFocus());
    QVERIFY(!form->isActiveWindow());
    QTRY_VERIFY_WITH_TIMEOUT(form.isNull(), 6000);
}

void TestUi::noticesFreedAtExit()
{
    ui::ShowNotice(QStringLiteral("甲"), 1);
    ui::ShowNotice(QStringLiteral("乙"), 2);
    QPointer<TMsgForm> a = TMsgForm::liveNotices().at(0);
    QPointer<TMsgForm> b = TMsgForm::liveNotices().at(1);
    TMsgForm::freeAll();
    QVERIFY(a.isNull());
    QVERIFY(b.isNull());
    QVERIFY(TMsgForm::liveNotices().isEmpty());
}

// ---- wait windows ----

void TestUi::waitWindowProgress()
{
    QVERIFY(!ui::waitWindow());
    ui::SetWaitProgress(3);  // nothing open: nothing happens
    ui::CloseWaitWindow();
    QVERIFY(!ui::waitWindow());

    ui::ShowWaitWindow(QStringLiteral("2"), QStringLiteral("任意"), 5);
    QPointer<TFrm_Wait> w = ui::waitWindow();
    QVERIFY(w);
    QVERIFY(w->isVisible());
    QCOMPARE(w->size(), QSize(368, 54));
    QCOMPARE(w->geometry().center(), workArea().center());
    auto* bar = w->findChild<QProgressBar*>("ProgressBar1");
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->maximum(), 5);
    QCOMPARE(bar->value(), 0);
    for (int i = 1; i <= 5; ++i) {
        ui::SetWaitProgress(i);
        QCOMPARE(bar->value(), i);
    }
    QCOMPARE(bar->value(), bar->maximum());
    ui::SetWaitProgress(9);  // beyond the end stays full
    QCOMPARE(bar->value(), 5);

    ui::CloseWaitWindow();
    QVERIFY(w.isNull());
    QVERIFY(!ui::waitWindow());
    ui::SetWaitProgress(2);
    QVERIFY(!ui::waitWindow());
}

void TestUi::waitWindowModes()
{
    ui::ShowWaitWindow(QStringLiteral("1"), QStringLiteral("正在备份照片库，请稍候..."), 0);
    TFrm_Wait* w = ui::waitWindow();
    QVERIFY(w && w->isVisible());
    auto* panel = w->findChild<QLabel*>("Panel1");
    auto* bar = w->findChild<QProgressBar*>("ProgressBar1");
    QCOMPARE(panel->text(), QStringLiteral("正在备份照片库，请稍候..."));
    QVERIFY(panel->alignment() & Qt::AlignHCenter);
    QVERIFY(!bar->isVisible());

    // Another mode changes nothing; the same window is used again.
    ui::ShowWaitWindow(QStringLiteral("3"), QStringLiteral("别的"), 9);
    QCOMPARE(ui::waitWindow(), w);
    QCOMPARE(panel->text(), QStringLiteral("正在备份照片库，请稍候..."));
    QVERIFY(!bar->isVisible());

    // Mode "2" shows the bar and leaves the text.
    ui::ShowWaitWindow(QStringLiteral("2"), QStringLiteral("别的"), 0);
    QCOMPARE(ui::waitWindow(), w);
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->value(), 0);
    ui::SetWaitProgress(1);  // an empty range keeps an empty bar, not a busy one
    QCOMPARE(bar->value(), bar->minimum());
    QVERIFY(bar->maximum() > bar->minimum());
    QCOMPARE(panel->text(), QStringLiteral("正在备份照片库，请稍候..."));
}

void TestUi::dualProgress()
{
    ui::CloseDualProgress();  // without a show: nothing
    ui::SetDualProgress(1, 2, 3);
    QVERIFY(!ui::dualProgressWindow());

    ui::ShowDualProgress(QStringLiteral("正在导出相册"), 3);
    QPointer<TFrm_Wait2> w = ui::dualProgressWindow();
    QVERIFY(w && w->isVisible());
    QCOMPARE(w->size(), QSize(368, 77));
    auto* label = w->findChild<QLabel*>("Label1");
    auto* outer = w->findChild<QProgressBar*>("ProgressBar1");
    auto* inner = w->findChild<QProgressBar*>("ProgressBar2");
    QCOMPARE(label->text(), QStringLiteral("正在导出相册"));
    QVERIFY(outer->isVisible() && inner->isVisible());
    QCOMPARE(outer->maximum(), 3);
    QCOMPARE(outer->value(), 0);
    QCOMPARE(inner->value(), 0);

    ui::SetDualProgress(1, 10, 4);
    QCOMPARE(outer->value(), 1);
    QCOMPARE(inner->maximum(), 10);
    QCOMPARE(inner->value(), 4);
    ui::SetDualProgress(2, 4, 9);  // inner position past the new maximum: a full bar
    QCOMPARE(outer->value(), 2);
    QCOMPARE(inner->maximum(), 4);
    QCOMPARE(inner->value(), 4);

    ui::ShowDualProgress(QStringLiteral("第二次"), 6);
    QCOMPARE(ui::dualProgressWindow(), w.data());
    QCOMPARE(outer->maximum(), 6);
    QCOMPARE(outer->value(), 0);
    QCOMPARE(inner->value(), 0);

    ui::CloseDualProgress();
    QVERIFY(w.isNull());
    ui::CloseDualProgress();
    QVERIFY(!ui::dualProgressWindow());
}

// ---- temporary files and file facts ----

void TestUi::tempDirFromTmpdir()
{
    QTemporaryDir base;
    qputenv("TMPDIR", QFile::encodeName(base.path() + "/"));
    const QString dir = ui::GetAppTempDir();
    QCOMPARE(dir, base.path() + QStringLiteral("/Fotarix/"));
    QVERIFY(QFileInfo(dir).isDir());
    QCOMPARE(modeOf(dir), mode_t(0700));
    QCOMPARE(ui::GetAppTempDir(), dir);  // a second call finds it
}

void TestUi::tempDirDefault()
{
    const QString base = QStringLiteral("/tmp/fotarix-%1").arg(::getuid());
    const bool existed = QFileInfo::exists(base);
    qunsetenv("TMPDIR");
    const QString dir = ui::GetAppTempDir();
    QCOMPARE(dir, base + QStringLiteral("/Fotarix/"));
    QCOMPARE(modeOf(base), mode_t(0700));
    QCOMPARE(modeOf(dir), mode_t(0700));
    if (!existed)
        QDir(base).removeRecursively();
}

void TestUi::tempDirRefusesForeignLink()
{
    // A "Fotarix" entry that is a link (planted in a shared TMPDIR) is not followed.
    QTemporaryDir base;
    QTemporaryDir elsewhere;
    QVERIFY(QFile::link(elsewhere.path(), base.path() + QStringLiteral("/Fotarix")));
    qputenv("TMPDIR", QFile::encodeName(base.path()));
    const QString dir = ui::GetAppTempDir();
    QCOMPARE(dir, m_home.path() + QStringLiteral("/temp/Fotarix/"));
    QCOMPARE(modeOf(dir), mode_t(0700));
    writeFile(ui::MakeTempFileName(QStringLiteral(".jpg")), "x");
    QVERIFY(QDir(elsewhere.path()).isEmpty());
    ui::DeleteTempFiles();
}

void TestUi::tempFileNames()
{
    const QString dir = ui::GetAppTempDir();
    const QString a = ui::MakeTempFileName(QStringLiteral(".jpg"));
    const QString b = ui::MakeTempFileName(QStringLiteral(".jpg"));
    QVERIFY(a != b);
    const QRegularExpression guid(QStringLiteral(
        "^\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}\\.jpg$"));
    for (const QString& name : {a, b}) {
        QVERIFY(name.startsWith(dir));
        QVERIFY2(guid.match(name.mid(dir.size())).hasMatch(), qPrintable(name));
        QVERIFY(!QFileInfo::exists(name));
    }
    const QString bare = ui::MakeTempFileName(QString());
    QCOMPARE(bare.size(), dir.size() + 38);
    QVERIFY(bare.endsWith(u'}'));
}

void TestUi::deleteTempFiles()
{
    const QString dir = ui::GetAppTempDir();
    writeFile(ui::MakeTempFileName(QStringLiteral(".jpg")), "photo");
    writeFile(dir + QStringLiteral(".hidden"), "h");
    QVERIFY(QDir(dir).mkpath(QStringLiteral("sub/deeper")));
    writeFile(dir + QStringLiteral("sub/deeper/a.png"), "a");
    QTemporaryDir outside;
    writeFile(outside.filePath(QStringLiteral("keep.txt")), "k");
    QVERIFY(QFile::link(outside.path(), dir + QStringLiteral("link")));
    const QString lockedDir = dir + QStringLiteral("locked");
    QVERIFY(QDir(dir).mkdir(QStringLiteral("locked")));
    writeFile(lockedDir + QStringLiteral("/kept.bmp"), "k");
    const bool locked = setUndeletable(lockedDir, QStringLiteral("kept.bmp"), true);

    ui::DeleteTempFiles();

    const auto entries = [&dir] {
        return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                   QDir::NoDotAndDotDot);
    };
    if (locked) {
        // What cannot go stays; everything else went.
        QCOMPARE(entries(), QStringList{QStringLiteral("locked")});
        QVERIFY(QFile::exists(lockedDir + QStringLiteral("/kept.bmp")));
        QVERIFY(setUndeletable(lockedDir, QStringLiteral("kept.bmp"), false));
        ui::DeleteTempFiles();
    }
    QVERIFY(entries().isEmpty());
    QVERIFY(QFileInfo(dir).isDir());  // the folder itself stays
    QVERIFY(QFile::exists(outside.filePath(QStringLiteral("keep.txt"))));  // link not followed
    if (!locked)
        QSKIP("no way to make an undeletable file here");
}

void TestUi::fileSize_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("missing") << "missing.jpg" << qint64(-1) << qint64(-1);
    QTest::newRow("empty") << "empty.jpg" << qint64(0) << qint64(0);
    QTest::newRow("small") << "small.jpg" << qint64(1234) << qint64(1234);
    const qint64 big = (qint64(5) << 30) + 7;  // sparse: takes no disk space
    QTest::newRow("over 4 GiB") << "big.bin" << big << big;
    QTest::newRow("empty path") << "" << qint64(-1) << qint64(-1);
}

void TestUi::fileSize()
{
    QFETCH(QString, name);
    QFETCH(qint64, size);
    QFETCH(qint64, expected);
    QTemporaryDir dir;
    const QString path = name.isEmpty() ? QString() : dir.filePath(name);
    if (size >= 0) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(size));
    }
    QCOMPARE(ui::GetFileSizeOf(path), expected);
}

void TestUi::fileTime_data()
{
    QTest::addColumn<QDateTime>("written");
    QTest::addColumn<int>("which");
    QTest::addColumn<QDateTime>("expected");
    const QDate day(2021, 3, 4);
    QTest::newRow("write, odd second")
        << QDateTime(day, QTime(5, 6, 7, 450)) << 2 << QDateTime(day, QTime(5, 6, 6));
    QTest::newRow("write, even second")
        << QDateTime(day, QTime(23, 59, 58)) << 2 << QDateTime(day, QTime(23, 59, 58));
    QTest::newRow("access") << QDateTime(day, QTime(10, 0, 1)) << 1
                            << QDateTime(day, QTime(10, 0, 0));
    QTest::newRow("before 1980") << QDateTime(QDate(1975, 6, 1), QTime(12, 0)) << 2
                                 << QDateTime();
    QTest::newRow("unknown which") << QDateTime(day, QTime(5, 6, 7)) << 3 << QDateTime();
}

void TestUi::fileTime()
{
    QFETCH(QDateTime, written);
    QFETCH(int, which);
    QFETCH(QDateTime, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("照片.jpg"));
    writeFile(path, "x");
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(written, QFileDevice::FileModificationTime));
        QVERIFY(f.setFileTime(written, QFileDevice::FileAccessTime));
    }
    QCOMPARE(ui::GetFileTimeOf(path, which), expected);
    if (which == 2)
        QCOMPARE(ui::GetFileWriteTimeOf(path), expected);

    // Creation time: a real time, never after the file's first write (now).
    const QDateTime created = ui::GetFileTimeOf(path, 0);
    QVERIFY(created.isValid());
    QVERIFY(created <= QDateTime::currentDateTime());
    QCOMPARE(created.time().second() % 2, 0);

    QVERIFY(!ui::GetFileTimeOf(dir.path(), 2).isValid());  // a folder
    QVERIFY(!ui::GetFileTimeOf(dir.filePath(QStringLiteral("none.jpg")), 2).isValid());
}

void TestUi::systemDir()
{
    const QString dir = ui::GetSystemDir();
    QCOMPARE(dir, m_home.path() + QStringLiteral("/system"));
    QVERIFY(QFileInfo(dir).isDir());
}

void TestUi::rightText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("expected");
    QTest::newRow("chinese") << "照片库文件" << 3 << "库文件";
    QTest::newRow("whole") << "照片库文件" << 5 << "照片库文件";
    QTest::newRow("more than length") << "abc" << 10 << "abc";
    QTest::newRow("zero") << "abc" << 0 << "";
    QTest::newRow("negative") << "abc" << -2 << "";
    QTest::newRow("empty") << "" << 3 << "";
    QTest::newRow("outside the basic plane") << "a\U0001F600b" << 2 << "\U0001F600b";
    QTest::newRow("rare ideograph") << "\U00020000\U00020001" << 1 << "\U00020001";
}

void TestUi::rightText()
{
    QFETCH(QString, text);
    QFETCH(int, count);
    QFETCH(QString, expected);
    QCOMPARE(ui::RightText(text, count), expected);
}

void TestUi::formatSizeKB_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("expected");
    QTest::newRow("1000") << qint64(1000) << "1KB";
    QTest::newRow("1999") << qint64(1999) << "1KB";
    QTest::newRow("999999") << qint64(999999) << "999KB";
    QTest::newRow("1000000") << qint64(1000000) << "1,000KB";
    QTest::newRow("12345678") << qint64(12345678) << "12,345KB";
    QTest::newRow("1234567890") << qint64(1234567890) << "1234,567KB";
    QTest::newRow("6 GB") << qint64(6000000000) << "6000,000KB";
    QTest::newRow("0") << qint64(0) << "0KB";
    QTest::newRow("1") << qint64(1) << "1KB";
    QTest::newRow("999") << qint64(999) << "1KB";
    QTest::newRow("missing") << qint64(-1) << "";
}

void TestUi::formatSizeKB()
{
    QFETCH(qint64, size);
    QFETCH(QString, expected);
    QCOMPARE(ui::FormatSizeKB(size), expected);
}

void TestUi::browseForFolder_data()
{
    QTest::addColumn<bool>("folderExists");
    QTest::addColumn<bool>("withRoot");
    QTest::addColumn<bool>("pick");
    QTest::newRow("existing folder, picked") << true << true << true;
    QTest::newRow("missing folder, starts at root") << false << true << true;
    QTest::newRow("missing folder, cancelled") << false << true << false;
    QTest::newRow("existing folder, cancelled") << true << false << false;
}

void TestUi::browseForFolder()
{
    QFETCH(bool, folderExists);
    QFETCH(bool, withRoot);
    QFETCH(bool, pick);
    QTemporaryDir root;
    const QString existing = root.filePath(QStringLiteral("旅行"));
    QVERIFY(QDir().mkpath(existing));
    const QString chosen = root.filePath(QStringLiteral("导出"));
    QVERIFY(QDir().mkpath(chosen));

    QList<ui::dialogs::Request> asked;
    ui::dialogs::setResponder([&](const ui::dialogs::Request& r) {
        asked << r;
        ui::dialogs::Answer a;
        a.accepted = pick;
        a.text = pick ? chosen : QString();
        return a;
    });
    QString folder = folderExists ? existing : root.filePath(QStringLiteral("不存在"));
    const QString rootArg = withRoot ? root.path() : QString();
    const bool ok = ui::BrowseForFolder(QStringLiteral("请选择导出目录"), rootArg, folder);

    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked.first().kind, ui::dialogs::Kind::Folder);
    QCOMPARE(asked.first().text, QStringLiteral("请选择导出目录"));
    QCOMPARE(asked.first().initial, folderExists ? existing : root.path());
    QCOMPARE(ok, pick);
    if (pick)
        QCOMPARE(folder, chosen);
    else
        QCOMPARE(folder, folderExists ? existing : QString());
}

// ---- the Enter rule ----

void TestUi::enterRule()
{
    SampleDialog dlg;
    QCOMPARE(dlg.font().pixelSize(), 12);
    QVERIFY(dlg.font().families().contains(QStringLiteral("SimSun")));
    QSignalSpy clicks(dlg.button, &QPushButton::clicked);
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    QCOMPARE(dlg.frameGeometry().center().x(), workArea().center().x());

    // A single-line field: on to the next field; the button is not pressed.
    dlg.first->setFocus();
    QTRY_VERIFY(dlg.first->hasFocus());
    QTest::keyClick(dlg.first, Qt::Key_Return);
    QVERIFY(dlg.second->hasFocus());
    QTest::keyClick(dlg.second, Qt::Key_Enter, Qt::KeypadModifier);
    QVERIFY(dlg.memo->hasFocus());
    QCOMPARE(clicks.count(), 0);
    QVERIFY(dlg.isVisible());

    // A memo breaks the line.
    QTest::keyClicks(dlg.memo, QStringLiteral("ab"));
    QTest::keyClick(dlg.memo, Qt::Key_Return);
    QTest::keyClicks(dlg.memo, QStringLiteral("c"));
    QCOMPARE(dlg.memo->toPlainText(), QStringLiteral("ab\nc"));
    QVERIFY(dlg.memo->hasFocus());

    // A grid swallows it.
    dlg.grid->setFocus();
    QTRY_VERIFY(dlg.grid->hasFocus());
    QTest::keyClick(dlg.grid, Qt::Key_Return);
    QVERIFY(dlg.grid->hasFocus());
    QCOMPARE(clicks.count(), 0);

    // Other keys pass unchanged.
    dlg.first->setFocus();
    QTest::keyClicks(dlg.first, QStringLiteral("x"));
    QCOMPARE(dlg.first->text(), QStringLiteral("x"));
    QVERIFY(dlg.first->hasFocus());

    // A focused button is pressed.
    dlg.button->setFocus();
    QTest::keyClick(dlg.button, Qt::Key_Return);
    QCOMPARE(clicks.count(), 1);
}

void TestUi::enterGoesToDefaultButton()
{
    SampleDialog dlg;
    dlg.button->setDefault(true);
    QSignalSpy clicks(dlg.button, &QPushButton::clicked);
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    dlg.first->setFocus();
    QTRY_VERIFY(dlg.first->hasFocus());
    QTest::keyClick(dlg.first, Qt::Key_Return);
    QCOMPARE(clicks.count(), 1);
    QVERIFY(dlg.first->hasFocus());
    // The memo still keeps its Enter.
    dlg.memo->setFocus();
    QTest::keyClick(dlg.memo, Qt::Key_Return);
    QCOMPARE(dlg.memo->toPlainText(), QStringLiteral("\n"));
    QCOMPARE(clicks.count(), 1);
}

// ---- program paths and the dialog facade ----

void TestUi::programPaths()
{
    QTemporaryDir program;
    QTemporaryDir data;
    const QByteArray savedHome = qgetenv("FOTARIX_HOME");
    const QByteArray savedData = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));

    QCOMPARE(ui::paths::homeDir(), m_home.path() + u'/');
    QCOMPARE(ui::paths::settingsFile(), m_home.path() + QStringLiteral("/fotarix.ini"));

    qunsetenv("FOTARIX_HOME");
    ui::paths::setProgramDir(program.path());
    QCOMPARE(ui::paths::programDir(), program.path() + u'/');
    QCOMPARE(ui::paths::homeDir(), program.path() + u'/');  // writable: a portable install

    ui::paths::setProgramDir(program.filePath(QStringLiteral("gone")));
    QCOMPARE(ui::paths::homeDir(), data.path() + QStringLiteral("/Fotarix/"));
    QVERIFY(QFileInfo(data.path() + QStringLiteral("/Fotarix")).isDir());

    ui::paths::setProgramDir(QString());
    QCOMPARE(ui::paths::programDir(), QCoreApplication::applicationDirPath() + u'/');
    qputenv("FOTARIX_HOME", savedHome);
    if (savedData.isEmpty())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", savedData);
}

void TestUi::dialogFacade()
{
    QVERIFY(!ui::dialogs::hasResponder());
    QList<ui::dialogs::Request> asked;
    QMessageBox::StandardButton press = QMessageBox::Yes;
    bool accept = true;
    ui::dialogs::setResponder([&](const ui::dialogs::Request& r) {
        asked << r;
        ui::dialogs::Answer a;
        a.button = press;
        a.accepted = accept;
        a.text = QStringLiteral("新相册");
        return a;
    });
    QVERIFY(ui::dialogs::hasResponder());

    QVERIFY(ui::dialogs::askYesNo(nullptr, QStringLiteral("确实要删除吗？")));
    QCOMPARE(asked.last().kind, ui::dialogs::Kind::MessageBox);
    QCOMPARE(asked.last().title, QStringLiteral("提示信息"));
    QCOMPARE(asked.last().text, QStringLiteral("确实要删除吗？"));
    QCOMPARE(asked.last().icon, QMessageBox::Information);
    QCOMPARE(asked.last().buttons, QMessageBox::Yes | QMessageBox::No);
    press = QMessageBox::No;
    QVERIFY(!ui::dialogs::askYesNo(nullptr, QStringLiteral("确实要删除吗？")));

    ui::dialogs::warn(nullptr, QStringLiteral("不能删除"));
    QCOMPARE(asked.last().icon, QMessageBox::Warning);
    QCOMPARE(asked.last().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));

    QString value = QStringLiteral("旧名");
    QVERIFY(ui::dialogs::inputText(nullptr, QStringLiteral("改名"), QStringLiteral("名称"), value));
    QCOMPARE(asked.last().initial, QStringLiteral("旧名"));
    QCOMPARE(value, QStringLiteral("新相册"));
    accept = false;
    value = QStringLiteral("旧名");
    QVERIFY(!ui::dialogs::inputText(nullptr, QStringLiteral("改名"), QStringLiteral("名称"), value));
    QCOMPARE(value, QStringLiteral("旧名"));
    QVERIFY(ui::dialogs::saveFile(nullptr, QString(), QString(), QString()).isEmpty());
    QVERIFY(ui::dialogs::openFiles(nullptr, QString(), QString(), QString()).isEmpty());

    ui::dialogs::setResponder({});
    QVERIFY(!ui::dialogs::hasResponder());
}

QTEST_MAIN(TestUi)
#include "test_ui.moc"
