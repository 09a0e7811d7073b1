#include "platform/media/MusicPlayer.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QUrl>

namespace media {

MusicPlayer::MusicPlayer(QObject* parent)
    : QObject(parent), m_output(std::make_unique<QAudioOutput>()),
      m_player(std::make_unique<QMediaPlayer>()) {
    m_player->setAudioOutput(m_output.get());
    connect(m_player.get(), &QMediaPlayer::playbackStateChanged, this,
            [this] { emit modeChanged(mode()); });
    connect(m_player.get(), &QMediaPlayer::errorOccurred, this,
            [this](QMediaPlayer::Error error, const QString& text) {
                if (error != QMediaPlayer::NoError) onError(text);
            });
    connect(m_player.get(), &QMediaPlayer::mediaStatusChanged, this,
            [this](QMediaPlayer::MediaStatus status) {
                if (status == QMediaPlayer::InvalidMedia)
                    onError(m_player->errorString());
                else if (status == QMediaPlayer::EndOfMedia && m_open && !m_failed)
                    emit finished();
            });
}

MusicPlayer::~MusicPlayer() {
    m_player->stop();
}

void MusicPlayer::open() {
    if (m_open) close();
    m_error.clear();
    m_failed = false;
    m_open = true;
    m_openedFile = m_fileName;
    m_player->setSource(QUrl::fromLocalFile(m_fileName));
    emit modeChanged(mode());
}

void MusicPlayer::close() {
    if (!m_open) return;
    m_open = false;
    m_failed = false;
    m_player->stop();
    m_player->setSource(QUrl());
    emit modeChanged(mode());
}

void MusicPlayer::play() {
    if (m_open && !m_failed) m_player->play();
}

void MusicPlayer::pause() {
    if (mode() == Mode::Playing) m_player->pause();
}

void MusicPlayer::resume() {
    if (mode() == Mode::Paused) m_player->play();
}

void MusicPlayer::stop() {
    if (!m_open || m_failed) return;
    m_player->stop();  // also goes back to the start
    m_player->setPosition(0);
}

MusicPlayer::Mode MusicPlayer::mode() const {
    if (!m_open || m_failed) return Mode::NotReady;
    switch (m_player->playbackState()) {
        case QMediaPlayer::PlayingState: return Mode::Playing;
        case QMediaPlayer::PausedState: return Mode::Paused;
        case QMediaPlayer::StoppedState: break;
    }
    return Mode::Stopped;
}

qint64 MusicPlayer::position() const { return m_open ? m_player->position() : 0; }

void MusicPlayer::setPosition(qint64 ms) {
    if (m_open && !m_failed) m_player->setPosition(ms);
}

qint64 MusicPlayer::length() const { return m_open ? m_player->duration() : 0; }

void MusicPlayer::onError(const QString& reason) {
    // The back end tends to report one bad file several times over; tell it once.
    if (!m_open || m_failed) return;
    m_failed = true;
    m_error = reason.isEmpty() ? QStringLiteral("未知错误") : reason;
    m_player->stop();
    emit modeChanged(mode());
    emit failed(m_openedFile, m_error);
}

}  // namespace media
