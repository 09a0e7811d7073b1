#pragma once

#include <QImage>
#include <QString>

namespace scan {

// One device as SANE lists it: the name opens it, the rest is for people.
struct DeviceInfo {
    QString name;     // "test:0", "epson2:libusb:001:004"
    QString vendor;
    QString model;
    QString type;     // "flatbed scanner", "virtual device", ...
    // "vendor model (name)", the text of a device list.
    QString label() const;
};

// The outcome of one scan: an image, or cancelled, or an error text.
struct ScanResult {
    QImage image;
    bool cancelled = false;   // the user (or the device) stopped the scan
    QString error;            // set on failure; empty when cancelled or done
    bool ok() const { return !image.isNull(); }
};

}  // namespace scan
