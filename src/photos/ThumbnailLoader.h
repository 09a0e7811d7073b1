#pragma once

// Fills thumbnails in the background: for every photo, its bytes are streamed from the
// library into its temporary file and a thumbnail is made from that file (the embedded EXIF
// thumbnail when there is one, otherwise a reduced decode), on all cores. Photos are taken in
// list order, so the first screen comes first; each result arrives on the UI thread.
//
//   loader->start(libraryPath, {{id, tempFile}, ...}, {120, 90});
//   connect(loader, &ThumbnailLoader::thumbnailReady, ...);   // index, image (null: failed)
//   connect(loader, &ThumbnailLoader::finished, ...);
//
// Starting again, cancel() and the destructor drop the load under way; results of a dropped
// load are never delivered.

#include <memory>

#include <QImage>
#include <QList>
#include <QObject>
#include <QSize>
#include <QString>
#include <QThreadPool>

template <typename T>
class QFutureWatcher;

namespace photos {

class BlobFileWriter;

struct ThumbnailTask {
    qint64 photoId = 0;
    QString file;
};

struct ThumbnailOutcome {
    QImage image;      // null when the file could not be written or read
    bool written = false;
    QString error;
};

class ThumbnailLoader final : public QObject {
    Q_OBJECT
public:
    explicit ThumbnailLoader(QObject* parent = nullptr);
    ~ThumbnailLoader() override;

    void start(const QString& libraryPath, const QList<ThumbnailTask>& tasks, QSize box);
    void cancel();
    bool running() const { return m_watcher != nullptr; }
    int done() const { return m_done; }
    int total() const { return m_total; }

signals:
    void thumbnailReady(int index, const QImage& image, const QString& error);
    void progress(int done, int total);
    void finished();

private:
    void deliver(QFutureWatcher<ThumbnailOutcome>* watcher, int begin, int end);

    QThreadPool m_pool;
    std::shared_ptr<BlobFileWriter> m_writer;
    QFutureWatcher<ThumbnailOutcome>* m_watcher = nullptr;
    int m_done = 0;
    int m_total = 0;
};

}  // namespace photos
