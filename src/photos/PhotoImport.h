#pragma once

// Adding image files to an album as photos, without widgets: the part of the add-photos and
// acquire commands that writes the library.
//
// Each file becomes one picture row through the scratch query: an empty result of
// "select * from picture where 1<>1", a new row with album_id, pic_name (the file name without
// its folder), file_name (the full path) and create_date (now), and pic_content streamed from
// the file, whose bytes are stored unchanged. A file over 1 GB is refused.
//
// Files go in in the given order, in transactions of several files (a few tens of megabytes)
// so that the disk is synchronised once per batch rather than once per photo. The first file
// that cannot be added ends the run: every photo added before it stays, and the result names
// the file and the reason. Should the engine lose an open batch (a full disk, an I/O error
// rolls a transaction back), the photos of that batch are added again one by one, so the
// outcome is still "everything before the failing file".

#include <functional>

#include <QList>
#include <QString>
#include <QStringList>

namespace store {
class PhotoLibrary;
}

namespace photos {

struct ImportResult {
    QList<qint64> ids;     // the new photos' ids, in the order of their files
    QString failedFile;    // the file that stopped the run; empty when every file went in
    QString error;         // why it stopped
    int added() const { return static_cast<int>(ids.size()); }
    bool ok() const { return error.isEmpty(); }
};

struct ImportOptions {
    qint64 batchBytes = 64LL * 1024 * 1024;   // a batch is committed past this many bytes
    int batchFiles = 100;                     // ... or this many files
};

// Called after each photo added, with the number of files done so far.
using ImportProgress = std::function<void(int done)>;

// Adds the files to the album `albumId` (its id as digits). Never throws: a database error
// also ends the run and is reported in the result.
ImportResult addPhotoFiles(store::PhotoLibrary& library, const QString& albumId,
                           const QStringList& files, const ImportProgress& progress = {},
                           const ImportOptions& options = {});

}  // namespace photos
