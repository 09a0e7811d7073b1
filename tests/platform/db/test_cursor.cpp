// The forward-only cursor over a real SQLite file: values as they are stored, NULLs, texts in
// any language, and engine errors at prepare and at step time.
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "platform/db/Connection.h"
#include "platform/db/ConnectionString.h"
#include "platform/db/Cursor.h"
#include "platform/db/DbError.h"

class TestCursor final : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    db::Connection m_conn;

private slots:
    void init() {
        const QString path = m_dir.filePath(QStringLiteral("lib.pmd"));
        QFile::remove(path);
        QFile(path).open(QIODevice::WriteOnly);
        m_conn.setConnectionString(QString::fromLatin1(db::kReadWriteConnection) + path);
        m_conn.open();
        m_conn.execute(QStringLiteral(
            "create table picture(id counter PRIMARY KEY, album_id INTEGER, pic_name TEXT,"
            " pic_content LONGBINARY);"
            "insert into picture(album_id, pic_name, pic_content) values (7, 'IMG_1.jpg', X'00FF10');"
            "insert into picture(album_id, pic_name, pic_content) values (NULL, '春游 it''s', NULL);"));
    }
    void cleanup() { m_conn.close(); }

    void walksRowsInOrder() {
        db::Cursor rows(m_conn, QStringLiteral(
                                    "select id, album_id, pic_name, pic_content from picture order by id"));
        QCOMPARE(rows.columnCount(), 4);
        QCOMPARE(rows.columnName(2), QStringLiteral("pic_name"));
        QCOMPARE(rows.columnName(9), QString());

        QVERIFY(rows.next());
        QCOMPARE(rows.integer(0), 1);
        QCOMPARE(rows.integer(1), 7);
        QVERIFY(!rows.isNull(1));
        QCOMPARE(rows.text(2), QStringLiteral("IMG_1.jpg"));
        QCOMPARE(rows.utf8(3).toByteArray(), QByteArray("\x00\xFF\x10", 3));

        QVERIFY(rows.next());
        QVERIFY(rows.isNull(1));
        QCOMPARE(rows.integer(1), 0);
        QCOMPARE(rows.text(1), QString());
        QCOMPARE(rows.text(2), QStringLiteral("春游 it's"));
        QCOMPARE(rows.utf8(2).toByteArray(), QStringLiteral("春游 it's").toUtf8());
        QVERIFY(rows.isNull(3));
        QVERIFY(rows.utf8(3).isEmpty());

        QVERIFY(!rows.next());
        // Past the last row, and outside the columns, everything reads as NULL.
        QVERIFY(rows.isNull(0));
        QCOMPARE(rows.text(2), QString());
    }

    void columnsOutsideTheRowReadAsNull() {
        db::Cursor rows(m_conn, QStringLiteral("select pic_name from picture"));
        QVERIFY(rows.isNull(0));  // before the first next()
        QVERIFY(rows.next());
        QVERIFY(rows.isNull(-1));
        QVERIFY(rows.isNull(1));
        QCOMPARE(rows.integer(5), 0);
    }

    void errors_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing table") << "select * from nowhere" << "no such table: nowhere";
        QTest::newRow("syntax") << "select from" << "syntax error";
        // Fails only when the row is computed, not when the statement is prepared.
        QTest::newRow("at step") << "select abs(-9223372036854775807 - 1)" << "integer overflow";
    }
    void errors() {
        QFETCH(QString, sql);
        QFETCH(QString, message);
        try {
            db::Cursor rows(m_conn, sql);
            while (rows.next()) {}
            QFAIL("no error raised");
        } catch (const db::DbError& e) {
            QVERIFY2(e.message().contains(message), qPrintable(e.message()));
        }
    }

    void closedConnectionRefuses() {
        m_conn.close();
        QVERIFY_THROWS_EXCEPTION(db::DbError, db::Cursor(m_conn, QStringLiteral("select 1")));
    }
};

QTEST_GUILESS_MAIN(TestCursor)
#include "test_cursor.moc"
