#pragma once

#include <memory>

#include <QObject>
#include <QString>

class QAudioOutput;
class QMediaPlayer;

namespace media {

// A music player in the manner of a media device: give it a file name, open it, play, pause,
// resume, stop, close. Playing is asynchronous; a file that cannot be played is reported once
// through failed() with the back end's reason, after which the player is not ready until it
// is opened again. finished() tells that a track played to its end.
class MusicPlayer final : public QObject {
    Q_OBJECT
public:
    enum class Mode { NotReady, Stopped, Playing, Paused };
    Q_ENUM(Mode)

    explicit MusicPlayer(QObject* parent = nullptr);
    ~MusicPlayer() override;

    void setFileName(const QString& path) { m_fileName = path; }
    QString fileName() const { return m_fileName; }

    // Opens fileName(); the player is then stopped at the start until play().
    void open();
    // Stops and lets the file go; the player is not ready afterwards.
    void close();
    bool isOpen() const { return m_open; }

    void play();
    // Pauses only while playing; resume() continues only while paused.
    void pause();
    void resume();
    // Stops and goes back to the start.
    void stop();

    Mode mode() const;
    // Milliseconds.
    qint64 position() const;
    void setPosition(qint64 ms);
    qint64 length() const;

    // Why the last open file could not be played; empty when nothing failed.
    QString errorString() const { return m_error; }

signals:
    void modeChanged(media::MusicPlayer::Mode mode);
    // fileName is the file that was opened, whatever fileName() says by now.
    void failed(const QString& fileName, const QString& reason);
    void finished();

private:
    void onError(const QString& reason);

    // The output outlives the player that renders into it.
    std::unique_ptr<QAudioOutput> m_output;
    std::unique_ptr<QMediaPlayer> m_player;
    QString m_fileName;
    QString m_openedFile;
    QString m_error;
    bool m_open = false;
    bool m_failed = false;
};

}  // namespace media
