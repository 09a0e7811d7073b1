#include "store/Password.h"

#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/Query.h"
#include "platform/db/SqlText.h"
#include "store/Cipher.h"
#include "store/TFrm_Login.h"
#include "store/TFrm_SetPwd.h"
#include "ui/Dialogs.h"

namespace store {

namespace {

const QString kPasswordSelect =
    QStringLiteral("select * from parameter where domain_no ='password'");

}  // namespace

QString trimBlanks(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= u' ') ++begin;
    while (end > begin && text.at(end - 1).unicode() <= u' ') --end;
    return text.mid(begin, end - begin);
}

std::optional<QString> readPasswordCipher(db::Connection& connection) {
    db::Query query(&connection);
    query.setSql(kPasswordSelect);
    query.open();
    std::optional<QString> cipher;
    if (!query.isEmpty()) cipher = query.asText(QStringLiteral("pvalue"));
    query.close();
    return cipher;
}

bool isPasswordProtected(db::Connection& connection) {
    const std::optional<QString> cipher = readPasswordCipher(connection);
    if (!cipher) return false;
    try {
        return !DecryptText(*cipher, QString::fromLatin1(kCipherKey)).isEmpty();
    } catch (const CipherError&) {
        return true;
    }
}

void setPassword(db::Connection& connection, const QString& plain) {
    if (connection.connected() && connection.readOnly()) {
        throw db::DbError(QStringLiteral("照片库以只读方式打开，无法设置访问密码。"));
    }
    const QString cipher = EncryptText(plain, QString::fromLatin1(kCipherKey));

    db::Query query(&connection);
    query.setSql(kPasswordSelect);
    query.open();
    const bool exists = !query.isEmpty();
    query.close();

    if (!exists) {
        query.setSql(
            QStringLiteral("insert into parameter(parent_id,pvalue,domain_no,meaning) values(0,") %
            db::quoted(cipher) % QStringLiteral(",'password','用户密码')"));
    } else {
        query.setSql(QStringLiteral("update parameter set pvalue=") % db::quoted(cipher) %
                     QStringLiteral(" where domain_no = 'password'"));
    }
    query.execSql();
}

bool runSetPasswordCommand(QWidget* parent, db::Connection& connection) {
    TFrm_SetPwd dialog(parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    setPassword(connection, dialog.password());
    return true;
}

bool checkPasswordAtStartup(QWidget* parent, db::Connection& connection) {
    const std::optional<QString> cipher = readPasswordCipher(connection);
    if (!cipher) return true;
    try {
        if (DecryptText(*cipher, QString::fromLatin1(kCipherKey)).isEmpty()) return true;
    } catch (const CipherError& error) {
        // A modal refusal rather than a notice: the program ends right after it.
        ui::dialogs::warn(parent, error.message());
        return false;
    }
    TFrm_Login login(parent);
    login.SetCipher(*cipher);
    return login.exec() == QDialog::Accepted;
}

}  // namespace store
