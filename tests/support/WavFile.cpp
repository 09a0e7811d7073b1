#include "support/WavFile.h"

#include <cmath>

#include <QByteArray>
#include <QFile>
#include <QString>

namespace testsupport {
namespace {

// value as `bytes` bytes, least significant first.
QByteArray littleEndian(quint32 value, int bytes) {
    QByteArray out;
    for (int i = 0; i < bytes; ++i) out.append(static_cast<char>((value >> (8 * i)) & 0xff));
    return out;
}

}  // namespace

bool writeToneWav(const QString& path, double seconds, int rate) {
    const int frames = static_cast<int>(seconds * rate);
    QByteArray pcm;
    pcm.reserve(frames * 2);
    for (int i = 0; i < frames; ++i) {
        const auto sample =
            static_cast<qint16>(8000.0 * std::sin(2.0 * M_PI * 440.0 * i / rate));
        pcm.append(static_cast<char>(sample & 0xff));
        pcm.append(static_cast<char>((sample >> 8) & 0xff));
    }
    const auto pcmSize = static_cast<quint32>(pcm.size());
    const auto sampleRate = static_cast<quint32>(rate);
    const QByteArray wav = "RIFF" + littleEndian(36 + pcmSize, 4) + "WAVEfmt " +
                           littleEndian(16, 4) + littleEndian(1, 2) + littleEndian(1, 2) +
                           littleEndian(sampleRate, 4) + littleEndian(sampleRate * 2, 4) +
                           littleEndian(2, 2) + littleEndian(16, 2) + "data" +
                           littleEndian(pcmSize, 4) + pcm;
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(wav) == wav.size();
}

}  // namespace testsupport
