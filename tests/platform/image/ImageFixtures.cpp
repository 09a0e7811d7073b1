#include "ImageFixtures.h"

#include <exiv2/exiv2.hpp>

#include <QBuffer>
#include <QColor>
#include <QFile>
#include <QImageWriter>
#include <QPainter>

namespace fixtures {

namespace {

const QRgb kStripeColours[] = {qRgb(255, 0, 0), qRgb(0, 160, 0), qRgb(0, 0, 255),
                               qRgb(255, 255, 0), qRgb(255, 255, 255), qRgb(20, 20, 20)};

void put16(QByteArray& out, int value) {
    const auto v = quint16(qint16(value));
    out.append(char(v & 0xFF));
    out.append(char(v >> 8));
}

void put32(QByteArray& out, quint32 v) {
    put16(out, int(v & 0xFFFF));
    put16(out, int(v >> 16));
}

// One metafile record: size in 16-bit words, function number, parameters.
QByteArray record(quint16 function, std::initializer_list<int> params) {
    QByteArray r;
    put32(r, quint32(3 + params.size()));
    put16(r, function);
    for (int p : params)
        put16(r, p);
    return r;
}

QByteArray solidBrush(QRgb colour) {
    QByteArray r;
    put32(r, 7);
    put16(r, 0x02FC);   // CreateBrushIndirect
    put16(r, 0);        // BS_SOLID
    put32(r, quint32(qRed(colour)) | (quint32(qGreen(colour)) << 8) | (quint32(qBlue(colour)) << 16));
    put16(r, 0);
    return r;
}

QByteArray nullPen() {
    QByteArray r;
    put32(r, 8);
    put16(r, 0x02FA);   // CreatePenIndirect
    put16(r, 5);        // PS_NULL
    put16(r, 0);
    put16(r, 0);
    put32(r, 0);
    return r;
}

}  // namespace

QImage stripes(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, kStripeColours[((x + y) / 5) % 6]);
    return image;
}

QImage stripesAs(int width, int height, QImage::Format format) {
    if (format == QImage::Format_Mono) {
        QImage mono(width, height, QImage::Format_Mono);
        mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                mono.setPixel(x, y, uint(((x + y) / 3) % 2));
        return mono;
    }
    return stripes(width, height).convertToFormat(format);
}

QImage gradient(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(40 + 160 * x / std::max(1, width - 1), 60 + 120 * y / std::max(1, height - 1),
                                      200 - 100 * (x + y) / std::max(1, width + height - 2)));
    return image;
}

QImage grey16Ramp(int width, int height) {
    QImage image(width, height, QImage::Format_Grayscale16);
    const qint64 count = qint64(width) * height;
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<quint16*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = quint16((qint64(y) * width + x) * 65535 / std::max<qint64>(1, count - 1));
    }
    return image;
}

QImage halves(int width, int height, QColor left, QColor right) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(right);
    QPainter painter(&image);
    painter.fillRect(0, 0, width / 2, height, left);
    return image;
}

QByteArray metafile(int width, int height) {
    QByteArray body;
    body += record(0x020B, {0, 0});               // SetWindowOrg(y, x)
    body += record(0x020C, {height, width});      // SetWindowExt(y, x)
    body += nullPen();                            // object 0
    body += record(0x012D, {0});                  // SelectObject
    body += solidBrush(qRgb(255, 255, 255));      // object 1
    body += record(0x012D, {1});
    body += record(0x041B, {height, width, 0, 0});        // Rectangle(bottom, right, top, left)
    body += solidBrush(qRgb(255, 0, 0));          // object 2
    body += record(0x012D, {2});
    body += record(0x041B, {height, width / 2, 0, 0});
    body += record(0x0000, {});                   // end of file

    QByteArray header;
    put16(header, 1);                             // in memory
    put16(header, 9);                             // header words
    put16(header, 0x0300);
    put32(header, quint32((18 + body.size()) / 2));
    put16(header, 3);                             // objects
    put32(header, 8);                             // largest record, words
    put16(header, 0);

    QByteArray placeable;
    put32(placeable, 0x9AC6CDD7u);
    put16(placeable, 0);
    put16(placeable, 0);
    put16(placeable, 0);
    put16(placeable, width);
    put16(placeable, height);
    put16(placeable, 72);                         // units per inch
    put32(placeable, 0);
    quint16 checksum = 0;
    for (int i = 0; i < 20; i += 2)
        checksum ^= quint16(quint8(placeable[i]) | (quint8(placeable[i + 1]) << 8));
    put16(placeable, checksum);
    return placeable + header + body;
}

QString writeCameraData(const QString& path, const ExifValues& v) {
    try {
        auto image = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
        image->readMetadata();
        Exiv2::ExifData& exif = image->exifData();
        exif["Exif.Image.Make"] = v.make.toStdString();
        exif["Exif.Image.Model"] = v.model.toStdString();
        exif["Exif.Image.DateTime"] = v.dateTime.toStdString();
        exif["Exif.Image.ImageDescription"] = v.imageDescription.toStdString();
        Exiv2::URationalValue whitePoint;
        whitePoint.read("313/1000 329/1000");
        exif.add(Exiv2::ExifKey("Exif.Image.WhitePoint"), &whitePoint);
        exif["Exif.Photo.DateTimeOriginal"] = v.dateTimeOriginal.toStdString();
        exif["Exif.Photo.ExposureProgram"] = uint16_t(v.exposureProgram);
        exif["Exif.Photo.ExposureTime"] = Exiv2::URational(1, 250);
        exif["Exif.Photo.ExposureBiasValue"] = Exiv2::Rational(-2, 3);
        exif["Exif.Photo.MaxApertureValue"] = Exiv2::URational(3, 1);
        exif["Exif.Photo.FNumber"] = Exiv2::URational(56, 10);
        exif["Exif.Photo.ISOSpeedRatings"] = uint16_t(v.isoSpeed);
        exif["Exif.Photo.FocalLength"] = Exiv2::URational(50, 1);
        exif["Exif.Photo.Flash"] = uint16_t(v.flash);
        exif["Exif.Photo.LightSource"] = uint16_t(v.lightSource);
        exif["Exif.Photo.MeteringMode"] = uint16_t(v.meteringMode);
        exif["Exif.Photo.ColorSpace"] = uint16_t(v.colorSpace);
        Exiv2::DataValue flashpix(Exiv2::undefined);
        flashpix.read(reinterpret_cast<const Exiv2::byte*>("0100"), 4);
        exif.add(Exiv2::ExifKey("Exif.Photo.FlashpixVersion"), &flashpix);
        exif["Exif.Photo.UserComment"] = "charset=Unicode " + v.userComment.toStdString();
        Exiv2::IptcData& iptc = image->iptcData();
        if (!v.iptc.isEmpty()) {
            iptc["Iptc.Envelope.CharacterSet"] = "\x1B%G";   // UTF-8
            iptc["Iptc.Application2.Caption"] = v.iptc.first().toStdString();
            for (qsizetype i = 1; i < v.iptc.size(); ++i) {
                Exiv2::StringValue keyword(v.iptc[i].toStdString());
                iptc.add(Exiv2::IptcKey("Iptc.Application2.Keywords"), &keyword);
            }
        }
        image->writeMetadata();
        return {};
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    }
}

QString writeExifBytes(const QString& path, const char* key, const QByteArray& raw) {
    try {
        auto image = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
        image->readMetadata();
        image->exifData()[key] = raw.toStdString();
        image->writeMetadata();
        return {};
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    }
}

QString writeExifThumbnail(const QString& path, const QImage& thumbnail) {
    QByteArray jpeg;
    {
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        if (!writer.write(thumbnail))
            return writer.errorString();
    }
    try {
        auto image = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
        image->readMetadata();
        Exiv2::ExifData& exif = image->exifData();
        if (exif.empty())
            exif["Exif.Image.Make"] = "FotoCam";
        Exiv2::ExifThumb thumb(exif);
        thumb.setJpegThumbnail(reinterpret_cast<const Exiv2::byte*>(jpeg.constData()), long(jpeg.size()));
        image->writeMetadata();
        return {};
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    }
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace fixtures
