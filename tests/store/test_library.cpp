// The library's data operations on a real library made from the template.
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "platform/db/ConnectionString.h"
#include "platform/db/DbError.h"
#include "platform/db/SqlText.h"
#include "store/PhotoLibrary.h"

class TestLibrary final : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;
    store::PhotoLibrary* m_lib = nullptr;

    QStringList parameterRows(const QString& key) {
        db::Query& q = m_lib->temp("select * from parameter where domain_no=" + db::quoted(key));
        q.open();
        QStringList out;
        for (q.first(); !q.eof(); q.next())
            out << q.asText("parent_id") + "|" + q.asText("pvalue") + "|" + q.asText("meaning");
        q.close();
        return out;
    }

private slots:
    void init() {
        m_path = m_dir.filePath("lib.pmd");
        QFile::remove(m_path);
        QString error;
        QVERIFY2(store::copyLibraryFile(qEnvironmentVariable("FOTARIX_BUILD_DIR") + "/Model.dll",
                                        m_path, &error),
                 qPrintable(error));
        m_lib = new store::PhotoLibrary;
        m_lib->AdoConn().setConnectionString(QString::fromLatin1(db::kReadWriteConnection) + m_path);
        m_lib->AdoConn().open();
    }
    void cleanup() {
        delete m_lib;
        m_lib = nullptr;
    }

    void parameters_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("plain") << "每日一帖" << "False";
        QTest::newRow("quotes") << "it's 'key'" << "O'Brien's \"photo\" ''";
        QTest::newRow("empty value") << "程序标题" << "";
    }
    void parameters() {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QCOMPARE(m_lib->ReadParameter(key), QString());
        m_lib->WriteParameter(key, value);
        QCOMPARE(parameterRows(key), QStringList{"0|" + value + "|"});
        m_lib->WriteParameter(key, value + "2");
        QCOMPARE(parameterRows(key), QStringList{"0|" + value + "2|"});  // updated, not added
        QCOMPARE(m_lib->ReadParameter(key), value + "2");
    }

    void notConnectedDoesNothing() {
        store::PhotoLibrary closed;
        QCOMPARE(closed.ReadParameter("每日一帖"), QString());
        closed.WriteParameter("每日一帖", "True");  // no error, nothing written
    }

    void readParameterEndsAWalkOfTheScratchQuery() {
        db::Query& q = m_lib->temp("select * from parameter");
        q.open();
        QVERIFY(!q.isEmpty());
        m_lib->ReadParameter("每日一帖");
        QVERIFY(!q.active());
    }

    void tableExistsIgnoresCase() {
        QVERIFY(!m_lib->TableExists("ScrFiles"));
        m_lib->ExecuteSql("create table ScrFiles(id counter PRIMARY KEY, scr_type LONGTEXT,title "
                          "LONGTEXT,remark LONGTEXT,file_name LONGTEXT,file_content LONGBINARY\t)");
        QVERIFY(m_lib->TableExists("scrfiles"));
        QVERIFY(m_lib->TableExists("ALBUM"));
        QVERIFY(!m_lib->TableExists("sqlite_sequence"));
    }

    void recycleBinRowsAppearInNoAlbum() {
        m_lib->ExecuteSql("insert into Album(name,parent_id) values('a',0)");
        m_lib->ExecuteSql("insert into picture(album_id,pic_name) values(0,'zero')");
        m_lib->ExecuteSql("insert into picture(album_id,pic_name) values(NULL,'null')");
        m_lib->ExecuteSql("insert into picture(album_id,pic_name) values(1,'kept')");
        db::Query& bin = m_lib->temp("Select id,album_id,pic_name,create_date,modify_date,file_name,"
                                     "file_size,remark from Picture where album_id = 0 or album_id is NULL");
        bin.open();
        QCOMPARE(bin.recordCount(), 2);
        db::Query& album = m_lib->temp("select * from picture where album_id=1");
        album.open();
        QCOMPARE(album.recordCount(), 1);
    }

    void readOnlyLibraryRefusesWrites() {
        store::PhotoLibrary ro;
        ro.AdoConn().setConnectionString(QString::fromLatin1(db::kReadOnlyConnection) + m_path);
        ro.AdoConn().open();
        QVERIFY(ro.readOnly());
        QCOMPARE(ro.ReadParameter("x"), QString());
        QVERIFY_THROWS_EXCEPTION(db::DbError, ro.WriteParameter("x", "y"));
        QCOMPARE(m_lib->ReadParameter("x"), QString());
    }

    void copyNeverOverwrites() {
        const QString other = m_dir.filePath("other.pmd");
        QFile f(other);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("keep me");
        f.close();
        QString error;
        QVERIFY(!store::copyLibraryFile(m_path, other, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("keep me"));
        QVERIFY(!store::copyLibraryFile(m_path, m_dir.filePath("missing/folder/x.pmd"), &error));
        QVERIFY(!QFile::exists(m_dir.filePath("missing/folder/x.pmd.part")));
    }
};

QTEST_GUILESS_MAIN(TestLibrary)
#include "test_library.moc"
