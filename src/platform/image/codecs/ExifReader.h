#pragma once

// The one place that talks to Exiv2 (its 0.27 API uses std::auto_ptr; 0.28 changed it).

#include <QByteArray>
#include <QString>

#include "platform/image/CameraData.h"

namespace image::detail {

void initialiseExiv2();

// Camera data of an encoded image in memory or in a file; empty on any failure.
CameraData readCameraData(const QByteArray& encoded);
CameraData readCameraDataFile(const QString& path);

// The embedded EXIF thumbnail's JPEG bytes, or empty when there is none.
QByteArray readExifThumbnail(const QString& path);

}  // namespace image::detail
