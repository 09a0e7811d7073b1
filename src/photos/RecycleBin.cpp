#include "photos/RecycleBin.h"

#include "photos/BlobFiles.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/Query.h"
#include "store/PhotoLibrary.h"

namespace photos {
namespace {

// An id as it goes into a statement: bare digits, nothing else.
QString idDigits(const QString& id) {
    const QString digits = id.trimmed();
    bool numeric = false;
    digits.toLongLong(&numeric);
    if (!numeric || digits.startsWith(u'-') || digits.startsWith(u'+'))
        throw db::DbError(QStringLiteral("无效的编号：") + id);
    return digits;
}

}  // namespace

std::vector<BinPhoto> recycleBinPhotos(store::PhotoLibrary& library) {
    db::Query& query = library.temp(QStringLiteral(
        "Select id,album_id,pic_name,create_date,modify_date,file_name,file_size,remark from "
        "Picture where album_id = 0 or album_id is NULL"));
    query.open();
    std::vector<BinPhoto> photos;
    photos.reserve(static_cast<size_t>(query.recordCount()));
    const QString id = QStringLiteral("id"), name = QStringLiteral("pic_name"),
                  remark = QStringLiteral("remark");
    for (query.first(); !query.eof(); query.next())
        photos.push_back({query.asText(id), query.asText(name), query.asText(remark)});
    query.close();
    return photos;
}

QString writePhotoTempFile(store::PhotoLibrary& library, const QString& photoId) {
    return writePhotoTempFile(library, idDigits(photoId).toLongLong());
}

void restorePhoto(store::PhotoLibrary& library, const QString& photoId, const QString& albumId) {
    library
        .temp(QStringLiteral("update picture set album_id=") + idDigits(albumId) +
              QStringLiteral(" where id=") + idDigits(photoId))
        .execSql();
    if (library.AdoConn().changes() != 1)
        throw db::DbError(QStringLiteral("照片不存在：") + photoId);
}

void purgePhoto(store::PhotoLibrary& library, const QString& photoId) {
    library.temp(QStringLiteral("delete from picture where id=") + idDigits(photoId)).execSql();
}

}  // namespace photos
