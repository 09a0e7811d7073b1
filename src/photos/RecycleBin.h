#pragma once

// What the recycle bin does to the library: list the photos in it (album_id NULL or 0), write
// one photo's bytes to a temporary file for the preview, restore a photo into an album, and
// delete a photo for good. The recycle bin window collects the choices and calls these.
//
// Ids are the decimal texts the rows carry; anything else is refused with db::DbError before
// a statement is composed. Every function raises db::DbError from the engine.

#include <vector>

#include <QString>

namespace store {
class PhotoLibrary;
}

namespace photos {

struct BinPhoto {
    QString id;
    QString name;    // pic_name
    QString remark;
};

// The photos in the recycle bin in the order the engine returns them.
std::vector<BinPhoto> recycleBinPhotos(store::PhotoLibrary& library);

// Streams the photo's pic_content to a new temporary file named with the extension of its
// file_name, and answers the file's path; empty (and no file) when the photo does not exist.
QString writePhotoTempFile(store::PhotoLibrary& library, const QString& photoId);

// Puts the photo into the album. Raises db::DbError also when no photo row was changed, so
// that a restore that did not happen is never reported as done.
void restorePhoto(store::PhotoLibrary& library, const QString& photoId, const QString& albumId);

// Deletes the photo's row, its bytes with it.
void purgePhoto(store::PhotoLibrary& library, const QString& photoId);

}  // namespace photos
