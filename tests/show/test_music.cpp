// The background music list on a real library file: titles, rows added and deleted, the
// delete question, a read-only library, and listening through the real media player to WAV
// files the test writes, a file that cannot be played and a file that is gone.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "platform/db/Connection.h"
#include "platform/db/ConnectionString.h"
#include "platform/db/Query.h"
#include "platform/media/MusicPlayer.h"
#include "show/MusicListPage.h"
#include "show/MusicRows.h"
#include "support/TestLibrary.h"
#include "support/WavFile.h"
#include "ui/Dialogs.h"

using Mode = media::MusicPlayer::Mode;

namespace {

// Bytes no decoder takes for audio: below 0xE0, so not even an MPEG frame sync can occur.
void writeNoise(const QString& path) {
    QByteArray bytes(20000, '\0');
    for (int i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 7919 + 13) % 0xE0);
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

}  // namespace

class TestMusic final : public QObject {
    Q_OBJECT

    QTemporaryDir* m_dir = nullptr;
    QString m_library;
    db::Connection* m_conn = nullptr;
    db::Query* m_scratch = nullptr;
    QList<ui::dialogs::Request> m_asked;
    ui::dialogs::Answer m_answer;

    QString file(const QString& name) const { return m_dir->filePath(name); }

    void openLibrary(bool readOnly) {
        delete m_scratch;
        delete m_conn;
        m_conn = new db::Connection;
        m_conn->setConnectionString(
            QString::fromLatin1(readOnly ? db::kReadOnlyConnection : db::kReadWriteConnection) +
            m_library);
        m_conn->open();
        m_scratch = new db::Query(m_conn);
    }

    // "title|file_name" of every music row, in row order.
    QStringList rows() {
        db::Connection conn;
        conn.setConnectionString(QString::fromLatin1(db::kReadWriteConnection) + m_library);
        conn.open();
        db::Query q(&conn);
        q.setSql(QStringLiteral("select * from ScrFiles order by id"));
        q.open();
        QStringList out;
        for (q.first(); !q.eof(); q.next()) {
            out << q.asText("scr_type") + u'|' + q.asText("title") + u'|' + q.asText("file_name");
            if (!q.isNull("remark") || q.blobSize("file_content") > 0)
                out.last() += QStringLiteral("|extra");
        }
        return out;
    }

    void createScrFiles() {
        m_conn->execute(QString::fromLatin1(show::kCreateScrFiles));
    }

    void insertRow(const QString& title, const QString& fileName) {
        m_conn->execute(QStringLiteral("insert into ScrFiles(scr_type,title,file_name) values('1','") +
                        title + "','" + fileName + "')");
    }

    QStringList captions(QTreeWidget* list) {
        QStringList out;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* it = list->topLevelItem(i);
            out << it->text(0) + u'|' + it->text(1);
        }
        return out;
    }

    static QTreeWidget* listOf(show::MusicListPage& page) {
        return page.findChild<QTreeWidget*>(QStringLiteral("ListView1"));
    }
    static QPushButton* buttonOf(show::MusicListPage& page, const char* name) {
        return page.findChild<QPushButton*>(QLatin1String(name));
    }
    static void select(show::MusicListPage& page, int row) {
        QTreeWidget* list = listOf(page);
        list->setCurrentItem(list->topLevelItem(row));
    }

    // A page over a library with one music row for the given file, that row selected.
    void pageWith(show::MusicListPage& page, const QString& path) {
        createScrFiles();
        insertRow(QStringLiteral("t"), path);
        page.fillMusicList();
        select(page, 0);
    }

private slots:
    void init() {
        m_dir = new QTemporaryDir;
        m_library = file("lib.pmd");
        QVERIFY(testsupport::copyTemplateLibrary(m_library));
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
        delete m_scratch;
        m_scratch = nullptr;
        delete m_conn;
        m_conn = nullptr;
        delete m_dir;
        m_dir = nullptr;
    }

    void title_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("title");
        QTest::newRow("mp3") << "/music/song.mp3" << "song";
        QTest::newRow("four-letter extension keeps its dot") << "/music/dance.midi" << "dance.";
        QTest::newRow("chinese name") << "/音乐/春天的故事.wav" << "春天的故事";
        QTest::newRow("no extension loses letters") << "/music/readme" << "re";
        QTest::newRow("shorter than four") << "/music/a.b" << "";
    }
    void title() {
        QFETCH(QString, path);
        QFETCH(QString, title);
        QCOMPARE(show::musicTitle(path), title);
    }

    void addFilesInOrder() {
        show::MusicListPage page(*m_scratch);
        page.fillMusicList();  // no ScrFiles yet: an empty list, no message
        QVERIFY(m_asked.isEmpty());
        QCOMPARE(listOf(page)->topLevelItemCount(), 0);

        const QStringList chosen{"/m/song.mp3", "/m/dance.midi", "/m/it's.wav"};
        m_answer.files = chosen;
        buttonOf(page, "sbAdd")->click();

        QCOMPARE(m_asked.size(), 1);
        QCOMPARE(m_asked[0].kind, ui::dialogs::Kind::OpenFiles);
        QCOMPARE(m_asked[0].text, QStringLiteral("选择音乐文件"));
        for (const char* pattern : {"*.mp3", "*.wma", "*.wav", "*.mid", "*.midi", "*.RMI"})
            QVERIFY2(m_asked[0].filter.contains(QLatin1String(pattern)), pattern);
        QCOMPARE(rows(), (QStringList{"1|song|/m/song.mp3", "1|dance.|/m/dance.midi",
                                      "1|it's|/m/it's.wav"}));
        QCOMPARE(captions(listOf(page)),
                 (QStringList{"song|/m/song.mp3", "dance.|/m/dance.midi", "it's|/m/it's.wav"}));
        // The id column carries the row id and is a single pixel wide.
        QVERIFY(listOf(page)->topLevelItem(0)->text(2).toInt() > 0);
        QCOMPARE(listOf(page)->header()->sectionSize(2), 1);

        // The same file again is a second entry; a cancelled dialog adds nothing.
        m_answer.files = {"/m/song.mp3"};
        buttonOf(page, "sbAdd")->click();
        m_answer.accepted = false;
        buttonOf(page, "sbAdd")->click();
        QCOMPARE(rows().size(), 4);
        QCOMPARE(rows().last(), QStringLiteral("1|song|/m/song.mp3"));
    }

    void listShowsOnlyMusicRows() {
        createScrFiles();
        insertRow("a", "/m/a.mp3");
        m_conn->execute("insert into ScrFiles(scr_type,title,file_name) values('2','pic','/p.jpg')");
        insertRow("b", "/m/b.mp3");
        show::MusicListPage page(*m_scratch);
        page.fillMusicList();
        QCOMPARE(captions(listOf(page)), (QStringList{"a|/m/a.mp3", "b|/m/b.mp3"}));
    }

    void deleteAsksFirst_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("yes") << int(QMessageBox::Yes);
        QTest::newRow("no") << int(QMessageBox::No);
    }
    void deleteAsksFirst() {
        QFETCH(int, answer);
        const QString a = file("a.wav"), b = file("b.wav");
        QVERIFY(testsupport::writeToneWav(a, 0.1));
        createScrFiles();
        insertRow("a", a);
        insertRow("b", b);
        show::MusicListPage page(*m_scratch);
        page.fillMusicList();

        buttonOf(page, "sbDel")->click();  // nothing selected: nothing asked
        QVERIFY(m_asked.isEmpty());

        select(page, 0);
        m_answer.button = static_cast<QMessageBox::StandardButton>(answer);
        buttonOf(page, "sbDel")->click();
        QCOMPARE(m_asked.size(), 1);
        QCOMPARE(m_asked[0].title, QStringLiteral("是否删除"));
        QCOMPARE(m_asked[0].text, QStringLiteral("您真的要删除") + a + QStringLiteral("吗？"));
        QCOMPARE(m_asked[0].icon, QMessageBox::Warning);
        QCOMPARE(m_asked[0].buttons, QMessageBox::Yes | QMessageBox::No);

        const QStringList expected = answer == QMessageBox::Yes
                                         ? QStringList{"1|b|" + b}
                                         : QStringList{"1|a|" + a, "1|b|" + b};
        QCOMPARE(rows(), expected);
        QCOMPARE(listOf(page)->topLevelItemCount(), expected.size());
        QVERIFY(QFile::exists(a));  // the music file itself is never touched
    }

    void readOnlyLibraryRefusesChanges() {
        createScrFiles();
        insertRow("a", "/m/a.mp3");
        openLibrary(true);
        show::MusicListPage page(*m_scratch);
        page.fillMusicList();
        QCOMPARE(listOf(page)->topLevelItemCount(), 1);

        m_answer.files = {"/m/b.mp3"};
        buttonOf(page, "sbAdd")->click();
        select(page, 0);
        m_answer.button = QMessageBox::Yes;
        buttonOf(page, "sbDel")->click();

        QCOMPARE(m_asked.size(), 2);
        for (const auto& r : m_asked) {
            QCOMPARE(r.kind, ui::dialogs::Kind::MessageBox);
            QCOMPARE(r.title, QStringLiteral("提示信息"));
            QCOMPARE(r.text, QStringLiteral("当前照片库是以只读方式打开的，不能进行修改！"));
            QCOMPARE(r.icon, QMessageBox::Warning);
        }
        QCOMPARE(rows(), QStringList{"1|a|/m/a.mp3"});
    }

    void databaseErrorIsShown() {
        createScrFiles();
        insertRow("a", "/m/a.mp3");
        show::MusicListPage page(*m_scratch);
        page.fillMusicList();
        // The table goes away behind the page's back: adding fails with the engine's message.
        m_conn->execute("drop table ScrFiles");
        m_conn->execute("create table ScrFiles(id counter PRIMARY KEY, scr_type LONGTEXT)");
        m_answer.files = {"/m/b.mp3"};
        buttonOf(page, "sbAdd")->click();
        QCOMPARE(m_asked.size(), 2);  // the file picker, then the error, told once
        QCOMPARE(m_asked[1].icon, QMessageBox::Critical);
        QVERIFY2(m_asked[1].text.contains("title"), qPrintable(m_asked[1].text));
    }

    void selectingSetsFileNameOnly() {
        const QString a = file("a.wav");
        QVERIFY(testsupport::writeToneWav(a, 0.5));
        createScrFiles();
        insertRow("a", a);
        insertRow("gone", file("gone.wav"));
        show::MusicListPage page(*m_scratch);
        page.fillMusicList();
        select(page, 0);
        QCOMPARE(page.player()->fileName(), a);
        QCOMPARE(page.player()->mode(), Mode::NotReady);
        select(page, 1);  // a missing file leaves the player's file as it was
        QCOMPARE(page.player()->fileName(), a);
    }

    void playPauseResumeStop() {
        const QString path = file("tone.wav");
        QVERIFY(testsupport::writeToneWav(path, 30));
        show::MusicListPage page(*m_scratch);
        pageWith(page, path);
        media::MusicPlayer* player = page.player();
        QPushButton* pause = buttonOf(page, "sbPasue");

        pause->click();  // not playing: nothing happens
        QCOMPARE(pause->text(), QStringLiteral("暂停"));

        buttonOf(page, "sbPlay")->click();
        QTRY_COMPARE_WITH_TIMEOUT(player->mode(), Mode::Playing, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(player->position() > 0, 10000);
        QCOMPARE(player->fileName(), path);

        pause->click();
        QTRY_COMPARE_WITH_TIMEOUT(player->mode(), Mode::Paused, 10000);
        QCOMPARE(pause->text(), QStringLiteral("继续"));
        const qint64 held = player->position();
        QTest::qWait(400);
        QVERIFY(qAbs(player->position() - held) < 150);

        pause->click();
        QTRY_COMPARE_WITH_TIMEOUT(player->mode(), Mode::Playing, 10000);
        QCOMPARE(pause->text(), QStringLiteral("暂停"));
        QTRY_VERIFY_WITH_TIMEOUT(player->position() > held + 100, 10000);

        // Stop rewinds and leaves the pause button's caption as it is.
        pause->click();
        QCOMPARE(pause->text(), QStringLiteral("继续"));
        buttonOf(page, "sbStop")->click();
        QTRY_COMPARE_WITH_TIMEOUT(player->mode(), Mode::Stopped, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(player->position(), qint64(0), 10000);
        QCOMPARE(pause->text(), QStringLiteral("继续"));
        pause->click();  // stopped: nothing happens
        QCOMPARE(player->mode(), Mode::Stopped);

        // Playing again starts from the beginning and the button offers to pause again.
        buttonOf(page, "sbPlay")->click();
        QTRY_COMPARE_WITH_TIMEOUT(player->mode(), Mode::Playing, 10000);
        QCOMPARE(pause->text(), QStringLiteral("暂停"));

        page.closePlayer();
        QCOMPARE(player->mode(), Mode::NotReady);
        QVERIFY(m_asked.isEmpty());
    }

    void doubleClickPlays() {
        const QString path = file("tone.wav");
        QVERIFY(testsupport::writeToneWav(path, 30));
        show::MusicListPage page(*m_scratch);
        pageWith(page, path);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QTreeWidget* list = listOf(page);
        const QRect cell = list->visualItemRect(list->topLevelItem(0));
        // A widget double click arrives after the press of the first click.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
        QTRY_COMPARE_WITH_TIMEOUT(page.player()->mode(), Mode::Playing, 10000);
    }

    void unplayableFileIsReported() {
        const QString bad = file("noise.mp3");
        writeNoise(bad);
        show::MusicListPage page(*m_scratch);
        pageWith(page, bad);
        buttonOf(page, "sbPlay")->click();
        QTRY_COMPARE_WITH_TIMEOUT(m_asked.size(), 1, 15000);
        QCOMPARE(m_asked[0].kind, ui::dialogs::Kind::MessageBox);
        QCOMPARE(m_asked[0].title, QStringLiteral("提示信息"));
        QCOMPARE(m_asked[0].icon, QMessageBox::Warning);
        QVERIFY2(m_asked[0].text.startsWith(QStringLiteral("无法播放音乐文件“") + bad + "”："),
                 qPrintable(m_asked[0].text));
        QCOMPARE(page.player()->mode(), Mode::NotReady);
        QVERIFY(!page.player()->errorString().isEmpty());

        // Told once; the entry stays; pause and stop do nothing.
        QTest::qWait(500);
        QCOMPARE(m_asked.size(), 1);
        buttonOf(page, "sbPasue")->click();
        buttonOf(page, "sbStop")->click();
        QCOMPARE(buttonOf(page, "sbPasue")->text(), QStringLiteral("暂停"));
        QCOMPARE(rows(), QStringList{"1|t|" + bad});
        QCOMPARE(listOf(page)->topLevelItemCount(), 1);
        QVERIFY(QFile::exists(bad));

        // A good file plays afterwards.
        const QString good = file("tone.wav");
        QVERIFY(testsupport::writeToneWav(good, 30));
        insertRow("good", good);
        page.fillMusicList();
        select(page, 1);
        buttonOf(page, "sbPlay")->click();
        QTRY_COMPARE_WITH_TIMEOUT(page.player()->mode(), Mode::Playing, 10000);
        QCOMPARE(m_asked.size(), 1);
    }

    void missingFileDoesNothing() {
        show::MusicListPage page(*m_scratch);
        pageWith(page, file("gone.mp3"));
        buttonOf(page, "sbPlay")->click();
        QTest::qWait(500);
        QCOMPARE(page.player()->mode(), Mode::NotReady);
        QVERIFY(!page.player()->isOpen());
        QVERIFY(m_asked.isEmpty());
        QCOMPARE(rows().size(), 1);
    }

    void playerTellsTheEndOfATrack() {
        const QString path = file("short.wav");
        QVERIFY(testsupport::writeToneWav(path, 0.3));
        media::MusicPlayer player;
        QSignalSpy finished(&player, &media::MusicPlayer::finished);
        QSignalSpy failed(&player, &media::MusicPlayer::failed);
        player.setFileName(path);
        player.open();
        player.play();
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 15000);
        QCOMPARE(failed.size(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(player.length() >= 250 && player.length() <= 350, 5000);
    }
};

int main(int argc, char** argv) {
    // Qt, the sound server client and GStreamer write under these; keep them out of the
    // user's own folders. The GStreamer back end plays without a sound card.
    QTemporaryDir env;
    QDir().mkpath(env.filePath("home"));
    QDir().mkpath(env.filePath("run"));
    QFile::setPermissions(env.filePath("run"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("HOME", env.filePath("home").toUtf8());
    qputenv("XDG_RUNTIME_DIR", env.filePath("run").toUtf8());
    qputenv("QT_MEDIA_BACKEND", "gstreamer");
    QApplication app(argc, argv);
    TestMusic test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_music.moc"
