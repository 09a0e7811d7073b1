#pragma once

// Writing photo bytes out of the library into files.
//
//   photos::writeBlobFile(query, "pic_content", path);   // current row; streams in chunks
//   QString file = photos::writePhotoTempFile(library, id); // a photo to a new temporary file
//
//   photos::BlobFileWriter writer(libraryPath);           // for background threads
//   QString error;
//   if (!writer.write(id, path, &error)) ...
//
// A file that could not be written whole is removed, so that no half-written photo is ever
// taken for the photo.

#include <memory>
#include <mutex>
#include <vector>

#include <QString>

namespace db {
class Connection;
class Query;
}  // namespace db

namespace store {
class PhotoLibrary;
}

namespace photos {

// Streams the blob column of the query's current row to `path`. Raises db::DbError when the
// engine or the file fails; the file is then removed.
void writeBlobFile(const db::Query& query, const QString& column, const QString& path);

// Streams the photo's pic_content, read through the library's scratch query, to a new
// temporary file named with the extension of its file_name, and answers the file's path; empty
// (and no file) when the photo does not exist. Raises db::DbError as writeBlobFile does.
QString writePhotoTempFile(store::PhotoLibrary& library, qint64 photoId);

// Streams photos' pic_content to files from any thread, over read-only connections of its
// own to the library file (one per thread at a time, kept for reuse).
class BlobFileWriter final {
public:
    explicit BlobFileWriter(const QString& libraryPath);
    ~BlobFileWriter();
    BlobFileWriter(const BlobFileWriter&) = delete;
    BlobFileWriter& operator=(const BlobFileWriter&) = delete;

    QString libraryPath() const { return m_path; }
    // False with a message when the photo no longer exists or its bytes cannot be written.
    bool write(qint64 photoId, const QString& path, QString* error);

private:
    std::unique_ptr<db::Connection> acquire();
    void release(std::unique_ptr<db::Connection> connection);

    QString m_path;
    std::mutex m_mutex;
    std::vector<std::unique_ptr<db::Connection>> m_idle;
};

}  // namespace photos
