#pragma once

// Small images and files the image tests make for themselves.

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

namespace fixtures {

// Diagonal stripes of six colours: few colours, so lossless formats (GIF included) must
// give every pixel back.
QImage stripes(int width, int height);

// The same stripes converted to other pixel formats.
QImage stripesAs(int width, int height, QImage::Format format);

// Smooth colour gradients (what lossy codecs are made for).
QImage gradient(int width, int height);

// A 16-bit grey ramp using the whole range.
QImage grey16Ramp(int width, int height);

// Left half `left`, right half `right`.
QImage halves(int width, int height, QColor left, QColor right);

// A Windows metafile: white background, left half red. `width` x `height` logical units at
// 72 units per inch, so it renders at that pixel size.
QByteArray metafile(int width, int height);

struct ExifValues {
    QString make = "FotoCam";
    QString model = "FC-100";
    QString dateTimeOriginal = "2008:07:01 10:20:30";
    QString dateTime = "2009:01:02 03:04:05";
    int exposureProgram = 2;
    int isoSpeed = 400;
    int flash = 1;
    int lightSource = 4;
    int meteringMode = 5;
    int colorSpace = 1;
    QString imageDescription = "Lake view";
    QString userComment = "北京的冬天";
    QStringList iptc = {"Holiday caption", "lake", "winter"};
};

// Writes EXIF (the values above, plus fixed rationals: exposure 1/250 s, bias -2/3,
// max aperture 3, f 5.6, focal length 50, white point 313/1000 329/1000, Flashpix "0100")
// and IPTC records with Exiv2. Returns an error text or empty.
QString writeCameraData(const QString& path, const ExifValues& values = {});

// Sets one EXIF ASCII tag to raw bytes (e.g. "Exif.Image.ImageDescription" in GBK).
QString writeExifBytes(const QString& path, const char* key, const QByteArray& raw);

// Embeds `thumbnail` (as JPEG) as the file's EXIF thumbnail. Returns an error text or empty.
QString writeExifThumbnail(const QString& path, const QImage& thumbnail);

QByteArray readFile(const QString& path);
bool writeFile(const QString& path, const QByteArray& bytes);

}  // namespace fixtures
