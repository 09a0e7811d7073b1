#pragma once

#include <QDateTime>
#include <QString>

// Small operations shared by the program: the private temporary directory and the names of
// temporary files in it (every photo shown, edited or exported passes through such a file),
// file facts for the property windows, the size text they show, the system directory and the
// folder picker.
namespace ui {

// The user's private temporary directory + "Fotarix/", with the trailing '/'. The base is
// $TMPDIR when set, otherwise /tmp/fotarix-<uid>, made with mode 0700. A directory that is
// not the user's own, or is a link, is never used: <home>/temp/ takes its place. Created when
// missing; a failure to create is not reported (writing a file there then fails).
QString GetAppTempDir();
// GetAppTempDir() + a new "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" + extension (appended as
// given, when not empty). Creates no file.
QString MakeTempFileName(const QString& extension);
// Deletes everything in GetAppTempDir(), subfolders too, going on past what cannot be deleted.
// Reports nothing.
void DeleteTempFiles();

// Size in bytes of the file (or folder entry) the path names; -1 when there is none.
qint64 GetFileSizeOf(const QString& path);
// Creation (0), last access (1) or last write (2) time of a file, local time, rounded down to
// even seconds. Invalid when the path names nothing or a folder, when which is none of those,
// and outside the years 1980 to 2107 that such a time can hold. Where the file system keeps no
// creation time the last write time stands in for it.
QDateTime GetFileTimeOf(const QString& path, int which);
QDateTime GetFileWriteTimeOf(const QString& path);

// <home>/system, created on first use; no trailing separator.
QString GetSystemDir();

// The last count characters of text (a Chinese character, or a character outside the basic
// plane, counts as one); the whole text when count is not less than its length.
QString RightText(const QString& text, int count);

// The size in units of 1000 bytes, rounded down, with one "," before the last three digits
// when more than three remain, and "KB": 12345678 -> "12,345KB", 1234567890 -> "1234,567KB".
// 0 gives "0KB"; 1 to 999 give "1KB", so that a file with content never reads as empty; a
// negative size (no file) gives an empty text.
QString FormatSizeKB(qint64 size);

// The folder picker (through ui::dialogs). A folder that is not an existing directory is
// cleared first; the picker starts at folder, else at root, else at the desktop. True with
// folder set to the choice; false on cancel, folder left as after the clearing.
bool BrowseForFolder(const QString& caption, const QString& root, QString& folder);

}  // namespace ui
