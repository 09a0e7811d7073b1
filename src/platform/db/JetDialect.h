#pragma once

#include <QString>

namespace db {

// Maps the Jet type words of a "create table" statement to SQLite's: counter becomes an
// auto-increment integer key, LONGTEXT text, LONGBINARY blob. Other statements pass unchanged.
QString translateJetSql(const QString& sql);

}  // namespace db
