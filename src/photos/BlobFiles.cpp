#include "photos/BlobFiles.h"

#include <QFile>

#include "photos/PreviewDecode.h"
#include "platform/db/Connection.h"
#include "platform/db/ConnectionString.h"
#include "platform/db/DbError.h"
#include "platform/db/Query.h"
#include "store/PhotoLibrary.h"
#include "ui/Utils.h"

namespace photos {

void writeBlobFile(const db::Query& query, const QString& column, const QString& path) {
    try {
        query.saveBlobToFile(column, path);
    } catch (...) {
        QFile::remove(path);
        throw;
    }
}

QString writePhotoTempFile(store::PhotoLibrary& library, qint64 photoId) {
    db::Query& query =
        library.temp(QStringLiteral("Select * from picture where id=") + QString::number(photoId));
    query.open();
    if (query.isEmpty()) {
        query.close();
        return {};
    }
    const QString file =
        ui::MakeTempFileName(sourceExtension(query.asText(QStringLiteral("file_name"))));
    try {
        writeBlobFile(query, QStringLiteral("pic_content"), file);
    } catch (...) {
        query.close();
        throw;
    }
    query.close();
    return file;
}

BlobFileWriter::BlobFileWriter(const QString& libraryPath) : m_path(libraryPath) {}

BlobFileWriter::~BlobFileWriter() = default;

std::unique_ptr<db::Connection> BlobFileWriter::acquire() {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_idle.empty()) {
            std::unique_ptr<db::Connection> connection = std::move(m_idle.back());
            m_idle.pop_back();
            return connection;
        }
    }
    auto connection = std::make_unique<db::Connection>();
    connection->setConnectionString(QLatin1String(db::kReadOnlyConnection) + m_path);
    connection->open();
    return connection;
}

void BlobFileWriter::release(std::unique_ptr<db::Connection> connection) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_idle.push_back(std::move(connection));
}

bool BlobFileWriter::write(qint64 photoId, const QString& path, QString* error) {
    try {
        std::unique_ptr<db::Connection> connection = acquire();
        bool found = false;
        {
            db::Query query(connection.get());
            query.setSql(QStringLiteral("Select pic_content from picture where id=") +
                         QString::number(photoId));
            query.open();
            found = !query.isEmpty();
            if (found) writeBlobFile(query, QStringLiteral("pic_content"), path);
        }
        release(std::move(connection));
        if (!found && error) *error = QStringLiteral("照片已不存在");
        return found;
    } catch (const db::DbError& e) {
        if (error) *error = e.message();
        return false;
    }
}

}  // namespace photos
