#pragma once

class QString;

namespace testsupport {

// Writes a mono 16-bit PCM WAV file holding a 440 Hz sine tone of the given length. False
// when the file cannot be written whole.
bool writeToneWav(const QString& path, double seconds, int rate = 8000);

}  // namespace testsupport
