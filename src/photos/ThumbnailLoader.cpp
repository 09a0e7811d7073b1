#include "photos/ThumbnailLoader.h"

#include <algorithm>
#include <atomic>
#include <deque>
#include <mutex>

#include <QThread>
#include <QtConcurrent/QtConcurrentRun>

#include "photos/BlobFiles.h"
#include "platform/image/Thumbnails.h"

namespace photos {

// What the workers of one load share.
struct ThumbnailLoader::Job {
    QList<ThumbnailTask> tasks;
    QSize box;
    std::shared_ptr<BlobFileWriter> writer;
    std::mutex mutex;
    std::deque<int> waiting;            // indexes not yet taken, in the order to take them
    std::atomic<bool> cancelled{false};

    bool take(int* index) {
        const std::lock_guard<std::mutex> lock(mutex);
        if (cancelled || waiting.empty()) return false;
        *index = waiting.front();
        waiting.pop_front();
        return true;
    }
};

ThumbnailLoader::ThumbnailLoader(QObject* parent) : QObject(parent) {
    setThreadCount(QThread::idealThreadCount());
}

ThumbnailLoader::~ThumbnailLoader() {
    cancel();
    m_pool.waitForDone();
}

void ThumbnailLoader::waitForIdle() { m_pool.waitForDone(); }

void ThumbnailLoader::setThreadCount(int threads) {
    m_threads = std::max(1, threads);
    m_pool.setMaxThreadCount(m_threads);
}

void ThumbnailLoader::cancel() {
    if (!m_job) return;
    m_job->cancelled = true;
    m_job.reset();
}

void ThumbnailLoader::start(const QString& libraryPath, const QList<ThumbnailTask>& tasks,
                            QSize box) {
    cancel();
    m_done = 0;
    m_total = static_cast<int>(tasks.size());
    if (tasks.isEmpty()) {
        emit finished();
        return;
    }
    auto job = std::make_shared<Job>();
    job->tasks = tasks;
    job->box = box;
    // The workers' connections live as long as the load: none keeps the library file open
    // afterwards (the file may be replaced by a restore or a repair).
    job->writer = std::make_shared<BlobFileWriter>(libraryPath);
    for (int i = 0; i < m_total; ++i) job->waiting.push_back(i);
    m_job = job;
    const int workers = std::min(m_threads, m_total);
    for (int w = 0; w < workers; ++w)
        static_cast<void>(QtConcurrent::run(&m_pool, &ThumbnailLoader::work, job, this));
}

void ThumbnailLoader::prioritize(const QList<int>& indexes) {
    if (!m_job) return;
    const std::lock_guard<std::mutex> lock(m_job->mutex);
    std::deque<int>& waiting = m_job->waiting;
    for (auto it = indexes.crbegin(); it != indexes.crend(); ++it) {
        const auto found = std::find(waiting.begin(), waiting.end(), *it);
        if (found == waiting.end() || found == waiting.begin()) continue;
        waiting.erase(found);
        waiting.push_front(*it);
    }
}

// One worker: takes the next photo until none is left or the load is dropped.
void ThumbnailLoader::work(const std::shared_ptr<Job>& job, ThumbnailLoader* loader) {
    int index = 0;
    while (job->take(&index)) {
        const ThumbnailTask& task = job->tasks[index];
        ThumbnailOutcome outcome;
        outcome.written = job->writer->write(task.photoId, task.file, &outcome.error);
        if (outcome.written) {
            image::Thumbnail thumbnail = image::makeThumbnail(task.file, job->box);
            outcome.image = std::move(thumbnail.image);
            outcome.error = thumbnail.error;
        }
        // Queued to the loader's thread; dropped there when the job is no longer current.
        QMetaObject::invokeMethod(
            loader, [loader, job, index, outcome] { loader->receive(job, index, outcome); },
            Qt::QueuedConnection);
    }
}

void ThumbnailLoader::receive(const std::shared_ptr<Job>& job, int index,
                              const ThumbnailOutcome& outcome) {
    if (job != m_job) return;
    ++m_done;
    emit thumbnailReady(index, outcome.image, outcome.error);
    if (job != m_job) return;   // a receiver started or cancelled a load
    emit progress(m_done, m_total);
    if (m_done == m_total) {
        m_job.reset();
        emit finished();
    }
}

}  // namespace photos
