#include "photos/PhotoImport.h"

#include <QDateTime>
#include <QFileInfo>

#include "platform/db/DbError.h"
#include "platform/db/Query.h"
#include "platform/db/Transaction.h"
#include "store/PhotoLibrary.h"

namespace photos {
namespace {

// One file as one picture row; returns the new row's id. Throws db::DbError.
qint64 insertPhoto(store::PhotoLibrary& library, const QString& albumId, const QString& path) {
    db::Query& q = library.temp(QStringLiteral("select * from picture where 1<>1"));
    q.open();
    try {
        const QFileInfo info(path);
        q.insert();
        q.setText(QStringLiteral("album_id"), albumId);
        q.setText(QStringLiteral("pic_name"), info.fileName());
        q.setText(QStringLiteral("file_name"), info.absoluteFilePath());
        q.setDateTime(QStringLiteral("create_date"), QDateTime::currentDateTime());
        q.loadBlobFromFile(QStringLiteral("pic_content"), path);
        q.post();
        const qint64 id = q.asInteger(QStringLiteral("id"));
        q.close();
        return id;
    } catch (...) {
        q.close();
        throw;
    }
}

// Which of the ids are rows of picture now.
QList<qint64> existing(store::PhotoLibrary& library, const QList<qint64>& ids) {
    QList<qint64> found;
    if (ids.isEmpty()) return found;
    QStringList digits;
    for (qint64 id : ids) digits << QString::number(id);
    db::Query& q = library.temp(QStringLiteral("select id from picture where id in (") +
                                digits.join(u',') + u')');
    q.open();
    for (q.first(); !q.eof(); q.next()) found << q.asInteger(QStringLiteral("id"));
    q.close();
    return found;
}

}  // namespace

ImportResult addPhotoFiles(store::PhotoLibrary& library, const QString& albumId,
                           const QStringList& files, const ImportProgress& progress,
                           const ImportOptions& options) {
    ImportResult result;
    qsizetype next = 0;
    while (next < files.size()) {
        const qsizetype batchStart = next;
        QList<qint64> batchIds;
        QString fileFailure;    // files[next] could not be added
        QString batchFailure;   // the transaction itself failed
        try {
            db::Transaction transaction(library.AdoConn());
            qint64 bytes = 0;
            while (next < files.size() && (batchIds.isEmpty() ||
                                           (bytes < options.batchBytes &&
                                            batchIds.size() < options.batchFiles))) {
                try {
                    batchIds << insertPhoto(library, albumId, files[next]);
                } catch (const db::DbError& e) {
                    fileFailure = e.message();
                    break;
                }
                bytes += QFileInfo(files[next]).size();
                ++next;
                if (progress) progress(static_cast<int>(result.ids.size() + batchIds.size()));
            }
            transaction.commit();
        } catch (const db::DbError& e) {
            batchFailure = e.message();
        }

        // The photos of the batch that the engine kept; any it lost (a failed commit, or a
        // transaction the engine rolled back) are added again, each on its own.
        const QList<qint64> kept = existing(library, batchIds);
        for (qsizetype i = 0; i < batchIds.size(); ++i) {
            if (kept.contains(batchIds[i])) {
                result.ids << batchIds[i];
                continue;
            }
            try {
                result.ids << insertPhoto(library, albumId, files[batchStart + i]);
            } catch (const db::DbError& e) {
                result.failedFile = files[batchStart + i];
                result.error = e.message();
                return result;
            }
        }
        if (!fileFailure.isEmpty()) {
            result.failedFile = files[next];
            result.error = fileFailure;
            return result;
        }
        if (!batchFailure.isEmpty() && batchIds.isEmpty()) {
            // Not even the transaction could start: nothing more can be added.
            result.failedFile = files[next];
            result.error = batchFailure;
            return result;
        }
    }
    return result;
}

}  // namespace photos
