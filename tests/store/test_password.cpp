// The password cipher, the password row of a real SQLite library file, and the two password
// windows driven through their real widgets on the offscreen platform.
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "platform/db/Connection.h"
#include "platform/db/ConnectionString.h"
#include "platform/db/DbError.h"
#include "platform/db/Query.h"
#include "store/Cipher.h"
#include "store/Password.h"
#include "store/TFrm_Login.h"
#include "store/TFrm_SetPwd.h"
#include "support/ModalDialogs.h"
#include "ui/Dialogs.h"
#include "ui/Notice.h"

using namespace store;

namespace {

const QString kKey = QString::fromLatin1(kCipherKey);
const QString kWrong = QStringLiteral("您输入的密码不正确，请重新输入密码！（密码区分大小写）");
const QString kThreeTimes = QStringLiteral("您连续输入了错误密码三次了，系统将自动退出！");
const QString kMismatch =
    QStringLiteral("您两次输入的新密码不一致，请再次确认！（注意：密码区分大小写）");

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray result;
    for (int v : values) result.append(static_cast<char>(v));
    return result;
}

QStringList noticeTexts() {
    QStringList texts;
    for (const ui::NoticeRecord& record : ui::noticeHistory()) texts << record.text;
    return texts;
}

void typeAndConfirm(QWidget* login, const QString& entry) {
    login->findChild<QLineEdit*>(QStringLiteral("edtPassword"))->setText(entry);
    login->findChild<QPushButton*>(QStringLiteral("BtnOK"))->click();
}

void fillSetPwd(QWidget* dialog, const QString& first, const QString& second) {
    dialog->findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(first);
    dialog->findChild<QLineEdit*>(QStringLiteral("Edit2"))->setText(second);
}

}  // namespace

class TestPassword final : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;
    db::Connection m_conn;

    void openLibrary(const char* connectionText) {
        m_conn.close();
        m_conn.setConnectionString(QString::fromLatin1(connectionText) + m_path);
        m_conn.open();
    }

    struct PasswordRow {
        int count = 0;
        qint64 parentId = -1;
        QString pvalue;
        QString meaning;
    };

    PasswordRow passwordRows() {
        db::Query q(&m_conn);
        q.setSql(QStringLiteral("select * from parameter where domain_no = 'password'"));
        q.open();
        PasswordRow row;
        row.count = q.recordCount();
        if (row.count > 0) {
            row.parentId = q.asInteger(QStringLiteral("parent_id"));
            row.pvalue = q.asText(QStringLiteral("pvalue"));
            row.meaning = q.asText(QStringLiteral("meaning"));
        }
        return row;
    }

    void storeCipherDirectly(const QString& cipher) {
        db::Query q(&m_conn);
        q.setSql(QStringLiteral("insert into parameter(parent_id,pvalue,domain_no,meaning) "
                                "values(0,'") +
                 cipher + QStringLiteral("','password','用户密码')"));
        q.execSql();
    }

private slots:
    void init() {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("PicData.pmd"));
        m_conn.close();
        QFile::remove(m_path);
        QVERIFY(QFile(m_path).open(QIODevice::WriteOnly));  // an empty file is an empty database
        openLibrary(db::kReadWriteConnection);
        m_conn.execute(QStringLiteral(
            "create table parameter(id INTEGER PRIMARY KEY AUTOINCREMENT, parent_id INTEGER,"
            " pvalue TEXT, domain_no TEXT, meaning TEXT)"));
        ui::clearNoticeHistory();
        ui::dialogs::setResponder({});
    }

    void cleanup() {
        ui::dialogs::setResponder({});
        m_conn.close();
    }

    // ---- the cipher ----

    void everyByteRoundTripsWhateverTheFirstValue() {
        const QByteArray key(kCipherKey);
        for (int first = 0; first < 256; ++first) {
            for (int b = 1; b < 256; ++b) {
                const QByteArray plain = bytes({b});
                const QString cipher = EncryptBytes(plain, key, first);
                QCOMPARE(cipher.size(), 4);
                QCOMPARE(DecryptBytes(cipher, key), plain);
            }
        }
        for (int b = 1; b < 256; ++b) {
            const QByteArray plain = bytes({b});
            QCOMPARE(DecryptBytes(EncryptBytes(plain, key), key), plain);
        }
    }

    void longByteTextsRoundTrip() {
        // Every byte value in one text, forwards and backwards, and runs of 255: these pass
        // through every previous value, 255 included.
        QByteArray ascending, descending;
        for (int b = 1; b < 256; ++b) ascending.append(static_cast<char>(b));
        for (int b = 255; b >= 1; --b) descending.append(static_cast<char>(b));
        const QByteArray high(40, '\xFF');
        for (const QByteArray& key :
             {QByteArray(kCipherKey), QByteArray("k"), QByteArray("\xB4\xB0")}) {
            for (int first = 0; first < 256; ++first) {
                for (const QByteArray& plain : {ascending, descending, high}) {
                    QCOMPARE(DecryptBytes(EncryptBytes(plain, key, first), key), plain);
                }
            }
        }
    }

    void knownCipherTexts_data() {
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<int>("first");
        QTest::addColumn<QString>("cipher");
        // (0x10 + 0x41) mod 255 = 0x51, xor 'Q' = 0.
        QTest::newRow("one byte") << QByteArray("A") << QByteArray("Q") << 0x10 << "1000";
        // 200 + 100 = 300, mod 255 = 45 (mod 256 would give 44); then (0x7C + 100) mod 255.
        QTest::newRow("modulus 255") << QByteArray("dd") << QByteArray("Qe") << 200 << "C87C85";
        // The key restarts at its first character after its last.
        QTest::newRow("key cycles") << QByteArray("AAA") << QByteArray("ab") << 0 << "00200325";
        QTest::newRow("empty key means the default")
            << QByteArray("A") << QByteArray() << 0x10 << "1000";
        QTest::newRow("empty plain") << QByteArray() << QByteArray("Q") << 7 << "";
    }

    void knownCipherTexts() {
        QFETCH(QByteArray, plain);
        QFETCH(QByteArray, key);
        QFETCH(int, first);
        QFETCH(QString, cipher);
        QCOMPARE(EncryptBytes(plain, key, first), cipher);
        QCOMPARE(DecryptBytes(cipher, key), plain);
    }

    void cipherLengthCountsCodePageBytes_data() {
        QTest::addColumn<QString>("plain");
        QTest::addColumn<int>("digits");
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("one letter") << "a" << 4;
        QTest::newRow("ascii 7") << "Secret1" << 16;
        QTest::newRow("one Chinese") << "晴" << 6;
        QTest::newRow("two Chinese") << "晴窗" << 10;
        QTest::newRow("mixed") << "ab晴窗12" << 2 + 2 * (4 + 4);
    }

    void cipherLengthCountsCodePageBytes() {
        QFETCH(QString, plain);
        QFETCH(int, digits);
        const QString cipher = EncryptText(plain, kKey);
        QCOMPARE(cipher.size(), digits);
        static const QRegularExpression upperHex(QStringLiteral("^[0-9A-F]*$"));
        QVERIFY2(upperHex.match(cipher).hasMatch(), qPrintable(cipher));
    }

    void textRoundTrips_data() {
        QTest::addColumn<QString>("plain");
        QTest::newRow("ascii") << "Secret1";
        QTest::newRow("Chinese") << "晴窗影册密码";
        QTest::newRow("mixed") << "abc中文123";
        QTest::newRow("quotes") << "it's \"quoted\"";
        QTest::newRow("symbols") << "~!@#$%^&*()_+{}|:<>?";
        QTest::newRow("ideographic space") << "全角　空格";
        QTest::newRow("euro sign of code page 936") << "€100";
        QTest::newRow("pinyin letter") << "é";
    }

    void textRoundTrips() {
        QFETCH(QString, plain);
        QCOMPARE(DecryptText(EncryptText(plain, kKey), kKey), plain);
        QCOMPARE(DecryptText(EncryptText(plain, QString()), kKey), plain);
    }

    void cipherUsesCodePageBytes() {
        // "晴" is C7 E7 in code page 936: cipher texts keep their meaning across programs.
        QCOMPARE(DecryptBytes(EncryptText(QStringLiteral("晴"), kKey), QByteArray(kCipherKey)),
                 bytes({0xC7, 0xE7}));
        QCOMPARE(DecryptText(EncryptBytes(bytes({0xC7, 0xE7}), QByteArray(kCipherKey), 99), kKey),
                 QStringLiteral("晴"));
    }

    void twoEncryptionsDiffer() {
        const QString plain = QStringLiteral("Secret1");
        QSet<QString> ciphers;
        for (int i = 0; i < 8; ++i) {
            const QString cipher = EncryptText(plain, kKey);
            QCOMPARE(DecryptText(cipher, kKey), plain);
            ciphers.insert(cipher);
        }
        // Eight equal first values out of 256 would be a broken random source.
        QVERIFY(ciphers.size() > 1);
    }

    void decryptAcceptsStoredForms() {
        const QString plain = QStringLiteral("Pass晴9");
        const QString cipher = EncryptText(plain, kKey);
        QCOMPARE(DecryptText(cipher.toLower(), kKey), plain);
        QCOMPARE(DecryptText(cipher + QLatin1Char('7'), kKey), plain);
        QCOMPARE(DecryptText(cipher.toLower() + QLatin1Char('f'), kKey), plain);
        QCOMPARE(DecryptText(QStringLiteral("A"), kKey), QString());
        QCOMPARE(DecryptText(QStringLiteral("A3"), kKey), QString());
        QCOMPARE(DecryptText(QString(), kKey), QString());
    }

    void decryptRefusesDamagedCipher_data() {
        QTest::addColumn<QString>("cipher");
        QTest::newRow("first pair") << "G01234";
        QTest::newRow("later pair") << "10122Z";
        QTest::newRow("blank inside") << "10 234";
        QTest::newRow("sign") << "10-1";
        // Valid hex whose bytes (a lone FF) are no code-page 936 text.
        QTest::newRow("not a text") << EncryptBytes(bytes({0xFF}), QByteArray(kCipherKey), 3);
        QTest::newRow("half a character") << EncryptBytes(bytes({0xC7}), QByteArray(kCipherKey), 3);
    }

    void decryptRefusesDamagedCipher() {
        QFETCH(QString, cipher);
        QVERIFY_THROWS_EXCEPTION(CipherError, DecryptText(cipher, kKey));
    }

    void encryptRefusesWhatTheCodePageCannotHold_data() {
        QTest::addColumn<QString>("plain");
        QTest::newRow("emoji") << "pass😀";
        QTest::newRow("Hangul") << "한";
        QTest::newRow("Thai") << "ก";
        QTest::newRow("nul") << QString(QChar(u'\0'));
        QTest::newRow("lone surrogate") << QString(QChar(0xD800));
    }

    void encryptRefusesWhatTheCodePageCannotHold() {
        QFETCH(QString, plain);
        QVERIFY(!canEncipher(plain));
        QVERIFY_THROWS_EXCEPTION(CipherError, EncryptText(plain, kKey));
        QVERIFY(canEncipher(QStringLiteral("晴窗abc")));
        QVERIFY_THROWS_EXCEPTION(CipherError, EncryptBytes(bytes({65, 0}), QByteArray(kCipherKey)));
    }

    // ---- the password row ----

    void firstSettingInsertsTheRow() {
        QVERIFY(!readPasswordCipher(m_conn).has_value());
        QVERIFY(!isPasswordProtected(m_conn));
        setPassword(m_conn, QStringLiteral("Secret1"));
        const PasswordRow row = passwordRows();
        QCOMPARE(row.count, 1);
        QCOMPARE(row.parentId, 0);
        QCOMPARE(row.meaning, QStringLiteral("用户密码"));
        QCOMPARE(DecryptText(row.pvalue, kKey), QStringLiteral("Secret1"));
        QCOMPARE(readPasswordCipher(m_conn).value(), row.pvalue);
        QVERIFY(isPasswordProtected(m_conn));
    }

    void secondSettingUpdatesTheRow() {
        m_conn.execute(
            QStringLiteral("insert into parameter(parent_id,pvalue,domain_no,meaning) "
                           "values(0,'100','缩放比例','')"));
        setPassword(m_conn, QStringLiteral("first"));
        setPassword(m_conn, QStringLiteral("第二个"));
        const PasswordRow row = passwordRows();
        QCOMPARE(row.count, 1);
        QCOMPARE(DecryptText(row.pvalue, kKey), QStringLiteral("第二个"));
        db::Query q(&m_conn);
        q.setSql(QStringLiteral("select * from parameter where domain_no = '缩放比例'"));
        q.open();
        QCOMPARE(q.asText(QStringLiteral("pvalue")), QStringLiteral("100"));
    }

    void emptyPasswordRemovesProtection() {
        setPassword(m_conn, QStringLiteral("Secret1"));
        QVERIFY(isPasswordProtected(m_conn));
        setPassword(m_conn, QString());
        const PasswordRow row = passwordRows();
        QCOMPARE(row.count, 1);
        QCOMPARE(row.pvalue, QString());
        QVERIFY(!isPasswordProtected(m_conn));
        // The start-up check then asks for nothing (a dialog here would time the test out).
        QVERIFY(checkPasswordAtStartup(nullptr, m_conn));
    }

    void quoteInPasswordSurvives() {
        // Cipher texts are hex, but the statement still quotes them; the password itself is
        // what the user typed, quote and all.
        setPassword(m_conn, QStringLiteral("it's'"));
        QCOMPARE(DecryptText(passwordRows().pvalue, kKey), QStringLiteral("it's'"));
    }

    void protectionFollowsTheStoredCipher_data() {
        QTest::addColumn<QString>("cipher");
        QTest::addColumn<bool>("protectedLibrary");
        QTest::newRow("empty cipher") << QString() << false;
        QTest::newRow("cipher of a password") << EncryptText(QStringLiteral("x"), kKey) << true;
        QTest::newRow("only the random pair") << "A7" << false;
        QTest::newRow("damaged cipher") << "A7ZZ" << true;
    }

    void protectionFollowsTheStoredCipher() {
        QFETCH(QString, cipher);
        QFETCH(bool, protectedLibrary);
        storeCipherDirectly(cipher);
        QCOMPARE(isPasswordProtected(m_conn), protectedLibrary);
    }

    void readOnlyLibraryRefusesAPassword() {
        setPassword(m_conn, QStringLiteral("before"));
        const QString stored = passwordRows().pvalue;
        openLibrary(db::kReadOnlyConnection);
        QVERIFY(m_conn.readOnly());
        QVERIFY_THROWS_EXCEPTION(db::DbError, setPassword(m_conn, QStringLiteral("after")));
        openLibrary(db::kReadWriteConnection);
        QCOMPARE(passwordRows().pvalue, stored);
    }

    void missingTableIsAnEngineError() {
        m_conn.execute(QStringLiteral("drop table parameter"));
        QVERIFY_THROWS_EXCEPTION(db::DbError, setPassword(m_conn, QStringLiteral("x")));
        QVERIFY_THROWS_EXCEPTION(db::DbError, isPasswordProtected(m_conn));
    }

    // ---- the login window ----

    void loginLayout() {
        TFrm_Login login;
        login.show();
        QCOMPARE(login.windowTitle(), QStringLiteral("请输入访问密码"));
        QCOMPARE(login.size(), QSize(387, 242));
        auto* edit = login.findChild<QLineEdit*>(QStringLiteral("edtPassword"));
        auto* ok = login.findChild<QPushButton*>(QStringLiteral("BtnOK"));
        auto* close = login.findChild<QPushButton*>(QStringLiteral("BtnCLose"));
        QVERIFY(edit && ok && close);
        QCOMPARE(edit->echoMode(), QLineEdit::Password);
        QCOMPARE(edit->geometry(), QRect(144, 124, 155, 20));
        QCOMPARE(ok->text(), QStringLiteral("确定(&O)"));
        QCOMPARE(close->text(), QStringLiteral("退出(&C)"));
        QCOMPARE(ok->geometry(), QRect(90, 194, 80, 28));
        QCOMPARE(close->geometry(), QRect(225, 194, 80, 28));
        QVERIFY(ok->isDefault());
        QVERIFY(!close->isDefault());
        QCOMPARE(login.focusWidget(), edit);
        QStringList texts;
        for (const QLabel* label : login.findChildren<QLabel*>()) texts << label->text();
        QVERIFY(texts.contains(QStringLiteral("欢迎使用晴窗影册")));
        QVERIFY(texts.contains(QStringLiteral("请输入您的访问密码：（注意密码区分大小写）")));
        QCOMPARE(texts.count(QStringLiteral("密  码：")), 2);
    }

    void loginTries_data() {
        QTest::addColumn<QString>("cipher");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QStringList>("notices");
        const QString secret = EncryptText(QStringLiteral("Secret1"), kKey);
        QTest::newRow("right at once") << secret << QStringList{"Secret1"} << true << QStringList{};
        QTest::newRow("wrong twice then right") << secret << QStringList{"secret1", "", "Secret1"}
                                                << true << QStringList{kWrong, kWrong};
        QTest::newRow("three wrong") << secret << QStringList{"a", "b", "c"} << false
                                     << QStringList{kWrong, kWrong, kThreeTimes};
        QTest::newRow("blanks around")
            << secret << QStringList{"  Secret1 \t"} << true << QStringList{};
        QTest::newRow("inner blank matters")
            << secret << QStringList{"Secret 1", "Secret1"} << true << QStringList{kWrong};
        QTest::newRow("lower-case password typed upper-case")
            << EncryptText(QStringLiteral("abc"), kKey) << QStringList{"ABC", "Abc", "abc"} << true
            << QStringList{kWrong, kWrong};
        QTest::newRow("Chinese password") << EncryptText(QStringLiteral("晴窗123"), kKey)
                                          << QStringList{"晴窗123"} << true << QStringList{};
        QTest::newRow("stored with trailing digit")
            << secret + QLatin1Char('5') << QStringList{"Secret1"} << true << QStringList{};
        QTest::newRow("damaged cipher opens nothing")
            << "10ZZ" << QStringList{"", "10ZZ", "ZZ"} << false
            << QStringList{kWrong, kWrong, kThreeTimes};
    }

    void loginTries() {
        QFETCH(QString, cipher);
        QFETCH(QStringList, entries);
        QFETCH(bool, accepted);
        QFETCH(QStringList, notices);
        TFrm_Login login;
        login.SetCipher(cipher);
        login.show();
        for (const QString& entry : entries) {
            QVERIFY2(login.isVisible(), "closed before the last entry");
            typeAndConfirm(&login, entry);
        }
        QVERIFY(!login.isVisible());
        QCOMPARE(login.result(), accepted ? QDialog::Accepted : QDialog::Rejected);
        QCOMPARE(noticeTexts(), notices);
        for (const ui::NoticeRecord& record : ui::noticeHistory()) QCOMPARE(record.kind, 1);
    }

    void loginKeys() {
        const QString cipher = EncryptText(QStringLiteral("pw"), kKey);
        {
            // Enter in the field presses the default button.
            TFrm_Login login;
            login.SetCipher(cipher);
            login.show();
            QVERIFY(QTest::qWaitForWindowActive(&login));
            auto* edit = login.findChild<QLineEdit*>(QStringLiteral("edtPassword"));
            edit->setFocus();
            QTest::keyClicks(edit, QStringLiteral("nope"));
            QTest::keyClick(edit, Qt::Key_Return);
            QVERIFY(login.isVisible());
            QCOMPARE(login.wrongCount(), 1);
            edit->setText(QStringLiteral("pw"));
            QTest::keyClick(edit, Qt::Key_Return);
            QCOMPARE(login.result(), QDialog::Accepted);
        }
        {
            TFrm_Login login;
            login.SetCipher(cipher);
            login.show();
            QVERIFY(QTest::qWaitForWindowActive(&login));
            QTest::keyClick(login.findChild<QLineEdit*>(QStringLiteral("edtPassword")),
                            Qt::Key_Escape);
            QVERIFY(!login.isVisible());
            QCOMPARE(login.result(), QDialog::Rejected);
        }
        {
            TFrm_Login login;
            login.SetCipher(cipher);
            login.show();
            login.findChild<QPushButton*>(QStringLiteral("BtnCLose"))->click();
            QCOMPARE(login.result(), QDialog::Rejected);
            QCOMPARE(login.wrongCount(), 0);
        }
        QCOMPARE(noticeTexts(), QStringList{kWrong});
    }

    void startupCheck() {
        // No row: nothing is asked.
        QVERIFY(checkPasswordAtStartup(nullptr, m_conn));

        setPassword(m_conn, QStringLiteral("Secret1"));
        testsupport::whenModal("QDialog", [](QWidget* login) {
            typeAndConfirm(login, QStringLiteral("wrong"));
            typeAndConfirm(login, QStringLiteral(" Secret1 "));
        });
        QVERIFY(checkPasswordAtStartup(nullptr, m_conn));
        QCOMPARE(noticeTexts(), QStringList{kWrong});

        ui::clearNoticeHistory();
        testsupport::whenModal("QDialog", [](QWidget* login) {
            for (const char* entry : {"1", "2", "3"}) typeAndConfirm(login, QLatin1String(entry));
        });
        QVERIFY(!checkPasswordAtStartup(nullptr, m_conn));
        QCOMPARE(noticeTexts(), (QStringList{kWrong, kWrong, kThreeTimes}));

        testsupport::whenModal("QDialog", [](QWidget* login) {
            login->findChild<QPushButton*>(QStringLiteral("BtnCLose"))->click();
        });
        QVERIFY(!checkPasswordAtStartup(nullptr, m_conn));
    }

    void startupCheckWithDamagedCipher() {
        storeCipherDirectly(QStringLiteral("12XY34"));
        QList<ui::dialogs::Request> asked;
        ui::dialogs::setResponder([&asked](const ui::dialogs::Request& request) {
            asked << request;
            return ui::dialogs::Answer{};
        });
        QVERIFY(!checkPasswordAtStartup(nullptr, m_conn));
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.first().title, QStringLiteral("提示信息"));
        QCOMPARE(asked.first().icon, QMessageBox::Warning);
        QVERIFY2(asked.first().text.contains(QStringLiteral("XY")), qPrintable(asked.first().text));
    }

    // ---- the set-password window ----

    void setPwdLayout() {
        TFrm_SetPwd dialog;
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("设置照片库访问密码"));
        QCOMPARE(dialog.size(), QSize(319, 177));
        auto* edit1 = dialog.findChild<QLineEdit*>(QStringLiteral("Edit1"));
        auto* edit2 = dialog.findChild<QLineEdit*>(QStringLiteral("Edit2"));
        auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("BtnOK"));
        auto* close = dialog.findChild<QPushButton*>(QStringLiteral("BtnClose"));
        QVERIFY(edit1 && edit2 && ok && close);
        QCOMPARE(edit1->echoMode(), QLineEdit::Password);
        QCOMPARE(edit2->echoMode(), QLineEdit::Password);
        QCOMPARE(edit1->geometry(), QRect(88, 51, 177, 20));
        QCOMPARE(edit2->geometry().topLeft(), QPoint(88, 83));
        QCOMPARE(ok->text(), QStringLiteral("确认(&O)"));
        QCOMPARE(close->text(), QStringLiteral("取消(&C)"));
        QCOMPARE(ok->geometry(), QRect(56, 131, 80, 26));
        QCOMPARE(close->geometry(), QRect(192, 131, 80, 26));
        QStringList texts;
        for (const QLabel* label : dialog.findChildren<QLabel*>()) texts << label->text();
        for (const char* text : {"请输入照片库访问密码：", "口令：", "确认："})
            QVERIFY2(texts.contains(QString::fromUtf8(text)), text);
    }

    void setPwdEntries_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("notice");
        QTest::newRow("differ") << "abc"
                                << "abd" << false << QString() << kMismatch;
        QTest::newRow("case differs") << "abc"
                                      << "ABC" << false << QString() << kMismatch;
        QTest::newRow("one empty") << "abc"
                                   << "" << false << QString() << kMismatch;
        QTest::newRow("agree") << "Secret1"
                               << "Secret1" << true << "Secret1" << QString();
        QTest::newRow("agree up to blanks") << "  晴窗 1 "
                                            << "晴窗 1" << true << "晴窗 1" << QString();
        QTest::newRow("both empty") << ""
                                    << "  " << true << "" << QString();
        QTest::newRow("no code-page form")
            << "a😀"
            << "a😀" << false << QString()
            << QStringLiteral("密码中含有无法保存的字符，请换用其他字符！");
    }

    void setPwdEntries() {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(bool, accepted);
        QFETCH(QString, password);
        QFETCH(QString, notice);
        TFrm_SetPwd dialog;
        dialog.show();
        fillSetPwd(&dialog, first, second);
        dialog.findChild<QPushButton*>(QStringLiteral("BtnOK"))->click();
        QCOMPARE(dialog.isVisible(), !accepted);
        if (accepted) {
            QCOMPARE(dialog.result(), QDialog::Accepted);
            QCOMPARE(dialog.password(), password);
            QVERIFY(ui::noticeHistory().isEmpty());
        } else {
            QCOMPARE(noticeTexts(), QStringList{notice});
            // The user may correct the entries and confirm again.
            fillSetPwd(&dialog, QStringLiteral("ok"), QStringLiteral("ok"));
            dialog.findChild<QPushButton*>(QStringLiteral("BtnOK"))->click();
            QCOMPARE(dialog.result(), QDialog::Accepted);
        }
    }

    void setPwdEnterMovesBetweenFields() {
        TFrm_SetPwd dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto* edit1 = dialog.findChild<QLineEdit*>(QStringLiteral("Edit1"));
        auto* edit2 = dialog.findChild<QLineEdit*>(QStringLiteral("Edit2"));
        QCOMPARE(dialog.focusWidget(), edit1);
        QTest::keyClicks(edit1, QStringLiteral("abc"));
        QTest::keyClick(edit1, Qt::Key_Return);
        QCOMPARE(dialog.focusWidget(), edit2);
        QVERIFY(dialog.isVisible());
        QVERIFY(ui::noticeHistory().isEmpty());
    }

    void setPasswordCommand() {
        // Cancel changes nothing.
        testsupport::whenModal("QDialog", [](QWidget* dialog) {
            fillSetPwd(dialog, QStringLiteral("x"), QStringLiteral("x"));
            dialog->findChild<QPushButton*>(QStringLiteral("BtnClose"))->click();
        });
        QVERIFY(!runSetPasswordCommand(nullptr, m_conn));
        QCOMPARE(passwordRows().count, 0);

        // A mismatch first, then agreeing entries: the trimmed first entry is stored.
        testsupport::whenModal("QDialog", [](QWidget* dialog) {
            fillSetPwd(dialog, QStringLiteral("O'Neil"), QStringLiteral("o'neil"));
            dialog->findChild<QPushButton*>(QStringLiteral("BtnOK"))->click();
            fillSetPwd(dialog, QStringLiteral(" O'Neil "), QStringLiteral("O'Neil"));
            dialog->findChild<QPushButton*>(QStringLiteral("BtnOK"))->click();
        });
        QVERIFY(runSetPasswordCommand(nullptr, m_conn));
        QCOMPARE(noticeTexts(), QStringList{kMismatch});
        PasswordRow row = passwordRows();
        QCOMPARE(row.count, 1);
        QCOMPARE(DecryptText(row.pvalue, kKey), QStringLiteral("O'Neil"));

        // Both fields empty on a protected library: the protection is gone.
        testsupport::whenModal("QDialog", [](QWidget* dialog) {
            dialog->findChild<QPushButton*>(QStringLiteral("BtnOK"))->click();
        });
        QVERIFY(runSetPasswordCommand(nullptr, m_conn));
        row = passwordRows();
        QCOMPARE(row.count, 1);
        QCOMPARE(row.pvalue, QString());
        QVERIFY(checkPasswordAtStartup(nullptr, m_conn));
    }

    void setPasswordCommandOnReadOnlyLibrary() {
        openLibrary(db::kReadOnlyConnection);
        testsupport::whenModal("QDialog", [](QWidget* dialog) {
            fillSetPwd(dialog, QStringLiteral("x"), QStringLiteral("x"));
            dialog->findChild<QPushButton*>(QStringLiteral("BtnOK"))->click();
        });
        QVERIFY_THROWS_EXCEPTION(db::DbError, runSetPasswordCommand(nullptr, m_conn));
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        openLibrary(db::kReadWriteConnection);
        QCOMPARE(passwordRows().count, 0);
    }
};

QTEST_MAIN(TestPassword)
#include "test_password.moc"
