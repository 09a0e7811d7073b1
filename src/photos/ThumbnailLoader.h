#pragma once

// Fills thumbnails in the background: for every photo, its bytes are streamed from the
// library into its temporary file and a thumbnail is made from that file (the embedded EXIF
// thumbnail when there is one, otherwise a reduced decode). One worker per core takes the
// photos one at a time in list order, so the first screen comes first; prioritize() moves
// the photos the user scrolled to ahead of the others. Each result arrives on the UI thread
// as soon as it is made.
//
//   loader->start(libraryPath, {{id, tempFile}, ...}, {120, 90});
//   connect(loader, &ThumbnailLoader::thumbnailReady, ...);   // index, image (null: failed)
//   connect(loader, &ThumbnailLoader::finished, ...);         // every photo has its result
//
// Starting again, cancel() and the destructor drop the load under way (the photos being
// worked on are finished, the rest is left); results of a dropped load are never delivered.

#include <memory>

#include <QImage>
#include <QList>
#include <QObject>
#include <QSize>
#include <QString>
#include <QThreadPool>

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

    // Workers used by the next start (default: one per core).
    void setThreadCount(int threads);
    int threadCount() const { return m_threads; }

    void start(const QString& libraryPath, const QList<ThumbnailTask>& tasks, QSize box);
    void cancel();
    // Blocks until no worker runs any more (after cancel(): until the photos being worked on
    // are finished). No result is delivered while waiting.
    void waitForIdle();
    // Moves these photos (indexes into the tasks) ahead of the others still waiting.
    void prioritize(const QList<int>& indexes);
    bool running() const { return m_job != nullptr; }
    int done() const { return m_done; }
    int total() const { return m_total; }

signals:
    void thumbnailReady(int index, const QImage& image, const QString& error);
    void progress(int done, int total);
    void finished();

private:
    struct Job;
    static void work(const std::shared_ptr<Job>& job, ThumbnailLoader* loader);
    void receive(const std::shared_ptr<Job>& job, int index, const ThumbnailOutcome& outcome);

    QThreadPool m_pool;
    int m_threads = 1;
    std::shared_ptr<Job> m_job;
    int m_done = 0;
    int m_total = 0;
};

}  // namespace photos
