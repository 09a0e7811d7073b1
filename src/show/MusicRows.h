#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace db {
class Connection;
class Query;
}  // namespace db

// The background music list: rows of ScrFiles with scr_type '1' that keep only the path of a
// music file on disk. Every function uses the given scratch query for one statement at a time
// and raises db::DbError from the engine.
namespace show {

struct MusicRow {
    QString id;
    QString title;
    QString fileName;
};

// The statement that makes the table where a library lacks it.
inline constexpr const char* kCreateScrFiles =
    "create table ScrFiles(id counter PRIMARY KEY, scr_type LONGTEXT,title LONGTEXT,"
    "remark LONGTEXT,file_name LONGTEXT,file_content LONGBINARY)";

// The file name without its folder and without its last four characters, whatever the
// extension: "song.mp3" gives "song", "dance.midi" gives "dance.".
QString musicTitle(const QString& path);

bool hasScrFiles(const db::Connection& connection);

// The music rows in the order the engine returns them; none when the table is missing.
QList<MusicRow> readMusicRows(db::Query& query);
// Appends one row per file, in the order given; no check of type or duplicates.
void addMusicFiles(db::Query& query, const QStringList& files);
void deleteMusicRow(db::Query& query, const QString& id);

}  // namespace show
