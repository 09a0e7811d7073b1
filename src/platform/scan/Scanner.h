#pragma once

// One SANE device, opened by name, and one scan from it into a QImage.
//
//   scan::Scanner scanner;
//   if (!scanner.open("test:0", &error)) ...;
//   scanner.setOption("mode", "Color", &error);
//   scan::ScanResult r = scanner.scan([](qint64 done, qint64 total) { return true; });
//
// A scan reads every frame SANE sends until the last one: a grey or RGB frame, or the red,
// green and blue frames of a three-pass scanner, at 1 (grey only), 8 or 16 bits per sample.
// The image is Format_Grayscale8 for grey scans and Format_RGB32 for colour; 16-bit samples
// keep their high byte. A device that does not know the height in advance (a hand scanner)
// is read until it ends. Other frame kinds (JPEG, infrared, text) are refused with an error.
//
// The scanner keeps SANE initialised while it exists (it holds a SaneSession).

#include <functional>

#include <QString>
#include <QStringList>
#include <QVariant>

#include "platform/scan/SaneSession.h"
#include "platform/scan/ScanTypes.h"

namespace scan {

class Scanner final {
public:
    // Called as data arrives: bytes of the current frame read so far and the frame's size in
    // bytes (-1 when the device does not know it). Returning false cancels the scan.
    using Progress = std::function<bool(qint64 done, qint64 total)>;

    Scanner();
    ~Scanner();
    Scanner(const Scanner&) = delete;
    Scanner& operator=(const Scanner&) = delete;

    bool open(const QString& deviceName, QString* error = nullptr);
    void close();
    bool isOpen() const { return m_handle != nullptr; }
    QString deviceName() const { return m_name; }

    // Options by their SANE name ("mode", "resolution", "depth", "three-pass", ...). Setting
    // takes a bool, an integer, a number (fixed-point options) or a text; false with *error
    // when the option is missing, inactive, not settable or refuses the value.
    bool setOption(const QString& name, const QVariant& value, QString* error = nullptr);
    // The option's current value; invalid when it is missing or inactive.
    QVariant option(const QString& name) const;
    // The texts a text option accepts; empty when it has no such list.
    QStringList optionChoices(const QString& name) const;

    // Scans once. Never throws; the result says how it ended.
    ScanResult scan(const Progress& progress = {});
    // Stops a scan under way (from its progress callback, for instance).
    void cancel();

private:
    int optionIndex(const QString& name) const;

    SaneSession m_session;
    void* m_handle = nullptr;
    QString m_name;
    bool m_cancelRequested = false;
};

}  // namespace scan
