#pragma once

// The library password: one row of the parameter table whose domain_no is "password" and
// whose pvalue holds the password's cipher text. A missing row, or one whose cipher text
// deciphers to the empty text, leaves the library unprotected.

#include <QString>
#include <optional>

class QWidget;

namespace db {
class Connection;
}

namespace store {

// Removes leading and trailing blanks (every character up to and including the space), the
// way both password windows compare their entries.
QString trimBlanks(const QString& text);

// The stored cipher text, or nothing when the library has no password row.
// Throws db::DbError when the statement fails.
std::optional<QString> readPasswordCipher(db::Connection& connection);

// True when opening the library must ask for a password. A stored cipher text that cannot be
// deciphered counts as protected: a damaged guard never opens the library.
bool isPasswordProtected(db::Connection& connection);

// Stores EncryptText(plain) in the password row, inserting the row the first time and
// updating it afterwards; the empty text removes the protection. Throws db::DbError when the
// library is open read-only or the statement fails, CipherError when the text has a character
// the cipher cannot represent.
void setPassword(db::Connection& connection, const QString& plain);

// The command "设置密码": shows TFrm_SetPwd and, when it ends with OK, stores the entered
// password. True when a password was stored. Errors of setPassword reach the caller.
bool runSetPasswordCommand(QWidget* parent, db::Connection& connection);

// The start-up check: true when the library may be opened, that is when it has no password or
// the user entered the right one in TFrm_Login. A stored cipher text that cannot be
// deciphered is reported with an error notice and keeps the library closed.
bool checkPasswordAtStartup(QWidget* parent, db::Connection& connection);

}  // namespace store
