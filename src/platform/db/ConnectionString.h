#pragma once

#include <QString>

namespace db {

// The two connection texts a library is opened with; the path follows directly.
inline constexpr const char* kReadOnlyConnection =
    "Provider=Microsoft.Jet.OLEDB.4.0;Mode=Read|Share Deny Read|Share Deny Write;"
    "Persist Security Info=False;Data Source=";
inline constexpr const char* kReadWriteConnection =
    "Provider=Microsoft.Jet.OLEDB.4.0;Mode=ReadWrite;Persist Security Info=False;Data Source=";

// What a connection string asks for: the file and whether writing is allowed.
struct ConnectionTarget {
    QString path;
    bool readOnly = false;
};

// Parses "Key=Value;...;Data Source=<path>". The data source runs to the end of the text, so
// a path containing ';' survives. A Mode naming Read without Write opens read-only.
ConnectionTarget parseConnectionString(const QString& text);

}  // namespace db
