#include "photos/ThumbnailLoader.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentMap>

#include "photos/BlobFiles.h"
#include "platform/image/Thumbnails.h"

namespace photos {

ThumbnailLoader::ThumbnailLoader(QObject* parent) : QObject(parent) {
    m_pool.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
}

ThumbnailLoader::~ThumbnailLoader() {
    cancel();
    m_pool.waitForDone();
}

void ThumbnailLoader::cancel() {
    if (!m_watcher) return;
    QFutureWatcher<ThumbnailOutcome>* old = m_watcher;
    m_watcher = nullptr;
    disconnect(old, nullptr, this, nullptr);
    old->future().cancel();
    if (old->isFinished()) {
        old->deleteLater();
    } else {
        connect(old, &QFutureWatcherBase::finished, old, &QObject::deleteLater);
    }
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
    if (!m_writer || m_writer->libraryPath() != libraryPath)
        m_writer = std::make_shared<BlobFileWriter>(libraryPath);

    auto* watcher = new QFutureWatcher<ThumbnailOutcome>(this);
    m_watcher = watcher;
    connect(watcher, &QFutureWatcherBase::resultsReadyAt, this,
            [this, watcher](int begin, int end) {
                if (watcher == m_watcher) deliver(watcher, begin, end);
            });
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        if (watcher != m_watcher) return;
        m_watcher = nullptr;
        watcher->deleteLater();
        emit finished();
    });

    const std::shared_ptr<BlobFileWriter> writer = m_writer;
    watcher->setFuture(QtConcurrent::mapped(&m_pool, tasks, [writer, box](const ThumbnailTask& task) {
        ThumbnailOutcome outcome;
        outcome.written = writer->write(task.photoId, task.file, &outcome.error);
        if (!outcome.written) return outcome;
        image::Thumbnail thumbnail = image::makeThumbnail(task.file, box);
        outcome.image = std::move(thumbnail.image);
        outcome.error = thumbnail.error;
        return outcome;
    }));
}

void ThumbnailLoader::deliver(QFutureWatcher<ThumbnailOutcome>* watcher, int begin, int end) {
    for (int i = begin; i < end; ++i) {
        const ThumbnailOutcome outcome = watcher->resultAt(i);
        ++m_done;
        emit thumbnailReady(i, outcome.image, outcome.error);
        if (watcher != m_watcher) return;   // a receiver started or cancelled a load
    }
    emit progress(m_done, m_total);
}

}  // namespace photos
