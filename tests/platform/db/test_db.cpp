// The database layer against real SQLite files: connection strings, the statement forms the
// program uses, blob streaming, filters and errors.
#include <sys/resource.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "platform/db/Connection.h"
#include "platform/db/ConnectionString.h"
#include "platform/db/DbError.h"
#include "platform/db/Query.h"
#include "platform/db/SqlText.h"

using namespace db;

namespace {

const char* const kSchema =
    "create table Album(id counter PRIMARY KEY, name TEXT COLLATE LOCALE, parent_id INTEGER,"
    " remark LONGTEXT);"
    "create table picture(id counter PRIMARY KEY, album_id INTEGER, pic_name TEXT COLLATE LOCALE,"
    " pic_type TEXT, create_date TEXT, modify_date TEXT, file_name TEXT, file_size INTEGER,"
    " remark LONGTEXT COLLATE LOCALE, pic_content LONGBINARY);";

long peakRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

class TestDb final : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;
    Connection m_conn;

    QString readWrite(const QString& path) { return QString::fromLatin1(kReadWriteConnection) + path; }

    QStringList column(const QString& sql, const QString& name) {
        Query q(&m_conn);
        q.setSql(sql);
        q.open();
        QStringList values;
        for (q.first(); !q.eof(); q.next()) values << q.asText(name);
        return values;
    }

private slots:
    void init() {
        m_path = m_dir.filePath(QStringLiteral("lib.pmd"));
        QFile::remove(m_path);
        QFile(m_path).open(QIODevice::WriteOnly);  // an empty file is an empty database
        m_conn.setConnectionString(readWrite(m_path));
        m_conn.open();
        m_conn.execute(QString::fromLatin1(kSchema));
    }
    void cleanup() { m_conn.close(); }

    void connectionStrings_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("read-write") << readWrite("/a/b.pmd") << "/a/b.pmd" << false;
        QTest::newRow("read-only") << QString::fromLatin1(kReadOnlyConnection) + "/a/b.pmd"
                                   << "/a/b.pmd" << true;
        QTest::newRow("path with ;") << readWrite("/x;y/照片.pmd") << "/x;y/照片.pmd" << false;
    }
    void connectionStrings() {
        QFETCH(QString, text);
        const ConnectionTarget target = parseConnectionString(text);
        QFETCH(QString, path);
        QFETCH(bool, readOnly);
        QCOMPARE(target.path, path);
        QCOMPARE(target.readOnly, readOnly);
    }

    void readOnlyConnectionRefusesWrites() {
        Connection ro;
        ro.setConnectionString(QString::fromLatin1(kReadOnlyConnection) + m_path);
        ro.open();
        QVERIFY(ro.readOnly());
        Query q(&ro);
        q.setSql("select * from Album");
        q.open();
        QVERIFY(q.isEmpty());
        QVERIFY_THROWS_EXCEPTION(DbError, ro.execute("insert into Album(name,parent_id) values('a',0)"));
    }

    void tableNamesLeaveOutSystemTables() {
        const QStringList names = m_conn.tableNames();
        QCOMPARE(names, QStringList({"Album", "picture"}));  // no sqlite_sequence
        m_conn.execute("create table ScrFiles(id counter PRIMARY KEY, scr_type LONGTEXT,title "
                       "LONGTEXT,remark LONGTEXT,file_name LONGTEXT,file_content LONGBINARY)");
        QVERIFY(m_conn.tableNames().contains("ScrFiles"));
        // The Jet words became an auto-increment key, text and blob columns.
        QCOMPARE(column("select sql from sqlite_master where name='ScrFiles'", "sql").value(0),
                 QString("CREATE TABLE ScrFiles(id INTEGER PRIMARY KEY AUTOINCREMENT, scr_type "
                         "TEXT,title TEXT,remark TEXT,file_name TEXT,file_content BLOB)"));
    }

    void statementForms() {
        m_conn.execute("insert into Album(name,parent_id,remark) values('乙',0,'r1')");
        m_conn.execute("insert into Album(name,parent_id,remark) values('甲',0,'r2')");
        m_conn.execute("insert into Album(name,parent_id,remark) values('b',1,NULL)");
        QCOMPARE(column("select Max(id) as MaxID from Album", "MaxID"), QStringList{"3"});
        QCOMPARE(column("select count(id) as mycount from Album", "mycount"), QStringList{"3"});
        // Names sort by the language's order (pinyin: jia before yi), not by code point.
        const QStringList byName = column("Select * from Album order by name ASC", "name");
        QVERIFY2(byName.indexOf("甲") < byName.indexOf("乙"), qPrintable(byName.join(',')));
        QCOMPARE(column("Select * from Album order by id Desc", "id"), QStringList({"3", "2", "1"}));
        QCOMPARE(column("select * from Album where remark is NULL", "name"), QStringList{"b"});
        QCOMPARE(column("select * from Album where name like '%甲%'", "id"), QStringList{"2"});
        QVERIFY(column("select * from Album where 1<>1", "id").isEmpty());
        m_conn.execute("insert into picture(album_id,pic_name,remark) values(2,'p.jpg','x')");
        m_conn.execute("insert into picture(album_id,pic_name) values(NULL,'bin.jpg')");
        QCOMPARE(column("select p.id as id,p.pic_name as pic_name,a.name as album_name from "
                        "picture p left join album a on p.album_id = a.id order by p.id",
                        "album_name"),
                 QStringList({"甲", ""}));
        m_conn.execute("update picture set album_id=1 where id=1");
        m_conn.execute("delete from picture where id=2");
        QCOMPARE(column("Select id,album_id,pic_name from Picture where album_id=1", "pic_name"),
                 QStringList{"p.jpg"});
    }

    void quotesSurvive() {
        const QString name = QStringLiteral("it's \"quoted\" ''");
        m_conn.execute("insert into Album(name,parent_id,remark) values(" + quoted(name) + ",0," +
                       quoted("a'b") + ")");
        QCOMPARE(column("select * from Album where name=" + quoted(name), "remark"),
                 QStringList{"a'b"});
    }

    void navigationAndEditing() {
        Query q(&m_conn);
        q.setSql("select * from picture where 1<>1");
        q.open();
        QVERIFY(q.isEmpty());
        for (int i = 1; i <= 3; ++i) {
            q.append();
            q.setInteger("album_id", i);
            q.setText("pic_name", QString("n%1").arg(i));
            q.setDateTime("create_date", QDateTime(QDate(2020, 1, i), QTime(8, 0)));
            q.post();
        }
        QCOMPARE(q.recordCount(), 3);
        QCOMPARE(q.asInteger("id"), 3);  // the counter is read back after posting
        q.setRecNo(2);
        QCOMPARE(q.asText("pic_name"), QString("n2"));
        QCOMPARE(q.asDateTime("create_date"), QDateTime(QDate(2020, 1, 2), QTime(8, 0)));
        QVERIFY(q.isNull("modify_date"));
        q.edit();
        q.setText("remark", "changed");
        q.post();
        QVERIFY(q.locate("pic_name", "n3"));
        QCOMPARE(q.recNo(), 3);
        q.deleteRow();
        QCOMPARE(column("select * from picture order by id", "remark"), QStringList({"", "changed"}));
        q.first();
        q.next();
        q.next();
        QVERIFY(q.eof());
    }

    void filterNarrowsRows() {
        for (const char* sql : {"insert into Album(name,parent_id) values('a',0)",
                                "insert into Album(name,parent_id) values('b',1)",
                                "insert into Album(name,parent_id) values('c',1)"})
            m_conn.execute(sql);
        Query q(&m_conn);
        q.setSql("select * from Album");
        q.open();
        q.setFilter("parent_id = '1'");
        QCOMPARE(q.recordCount(), 3);  // not filtered yet
        q.setFiltered(true);
        QCOMPARE(q.recordCount(), 2);
        QCOMPARE(q.asText("name"), QString("b"));
        q.setFiltered(false);
        QCOMPARE(q.recordCount(), 3);
    }

    void errorsCarryTheEngineMessage() {
        Query q(&m_conn);
        q.setSql("select * from NoSuchTable");
        try {
            q.open();
            QFAIL("no error");
        } catch (const DbError& e) {
            QVERIFY2(e.message().contains("no such table"), qPrintable(e.message()));
        }
        QVERIFY_THROWS_EXCEPTION(DbError, m_conn.execute("selec oops"));
    }

    void badFilesDoNotOpen_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("text file") << QByteArray("this is not a photo library at all, just text\n");
        QTest::newRow("missing") << QByteArray();
    }
    void badFilesDoNotOpen() {
        QFETCH(QByteArray, content);
        const QString path = m_dir.filePath("bad.pmd");
        QFile::remove(path);
        if (!content.isEmpty()) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content.repeated(200));
        }
        Connection c;
        c.setConnectionString(readWrite(path));
        QVERIFY_THROWS_EXCEPTION(DbError, c.open());
        QVERIFY(!c.connected());
        if (content.isEmpty()) QVERIFY(!QFile::exists(path));  // never created
        else QCOMPARE(QFile(path).size(), content.size() * 200);  // left untouched
    }

    // A photo larger than 100 MB goes into the library and out again through files, and the
    // process never holds it in memory.
    void largeBlobRoundTrip() {
        const qint64 size = 120LL * 1024 * 1024 + 12345;
        const QString source = m_dir.filePath("big.bin");
        {
            QFile f(source);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QByteArray block(1 << 20, Qt::Uninitialized);
            quint32 x = 12345;
            for (qint64 written = 0; written < size;) {
                for (char& c : block) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 24);
                const qint64 n = std::min<qint64>(block.size(), size - written);
                f.write(block.constData(), n);
                written += n;
            }
        }
        const long before = peakRssKb();
        {
            Query q(&m_conn);
            q.setSql("select * from picture where 1<>1");
            q.open();
            q.append();
            q.setText("pic_name", "big.bin");
            q.loadBlobFromFile("pic_content", source);
            q.post();
        }
        const QString out = m_dir.filePath("out.bin");
        {
            Query q(&m_conn);
            q.setSql("Select * from picture where id=1");
            q.open();
            QCOMPARE(q.blobSize("pic_content"), size);
            q.saveBlobToFile("pic_content", out);
        }
        const long growthKb = peakRssKb() - before;
        QVERIFY2(growthKb < 32 * 1024, qPrintable(QString("peak grew by %1 KB").arg(growthKb)));
        QFile a(source), b(out);
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        QCOMPARE(b.size(), size);
        while (!a.atEnd()) QVERIFY(a.read(1 << 20) == b.read(1 << 20));
    }

    void blobFromMissingFileLeavesNoRow() {
        Query q(&m_conn);
        q.setSql("select * from picture where 1<>1");
        q.open();
        q.append();
        QVERIFY_THROWS_EXCEPTION(DbError, q.loadBlobFromFile("pic_content", m_dir.filePath("nope")));
        q.cancel();
        QVERIFY(column("select * from picture", "id").isEmpty());
    }

    void nullBlobSavesEmptyFile() {
        m_conn.execute("insert into picture(pic_name) values('empty')");
        Query q(&m_conn);
        q.setSql("select * from picture");
        q.open();
        const QString out = m_dir.filePath("empty.out");
        q.saveBlobToFile("pic_content", out);
        QCOMPARE(QFile(out).size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestDb)
#include "test_db.moc"
