#include "platform/image/codecs/ExifReader.h"

#include <cmath>

#include <exiv2/exiv2.hpp>

#include <QFile>
#include <QStringDecoder>

namespace image::detail {

namespace {

// EXIF and IPTC texts carry no reliable encoding: UTF-8 when they are valid UTF-8, else the
// Chinese Windows code page older software wrote (GB18030 covers GBK), else Latin-1.
QString decodeText(const std::string& raw) {
    std::string text = raw;
    while (!text.empty() && (text.back() == '\0' || text.back() == ' '))
        text.pop_back();
    const QByteArray bytes = QByteArray::fromStdString(text);
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString decoded = utf8(bytes);
    if (!utf8.hasError())
        return decoded;
    QStringDecoder legacy("GB18030");
    if (legacy.isValid()) {
        const QString chinese = legacy(bytes);
        if (!legacy.hasError())
            return chinese;
    }
    return QString::fromLatin1(bytes);
}

class ExifFields {
public:
    explicit ExifFields(const Exiv2::ExifData& data) : m_data(data) {}

    const Exiv2::Exifdatum* find(const char* key) const {
        const auto it = m_data.findKey(Exiv2::ExifKey(key));
        return it == m_data.end() ? nullptr : &*it;
    }

    QString text(const char* key) const {
        const Exiv2::Exifdatum* d = find(key);
        if (!d)
            return {};
        if (d->typeId() == Exiv2::undefined || d->typeId() == Exiv2::unsignedByte) {
            std::string bytes(d->size(), '\0');
            d->copy(reinterpret_cast<Exiv2::byte*>(bytes.data()), Exiv2::littleEndian);
            return decodeText(bytes);
        }
        return decodeText(d->toString());
    }

    double number(const char* key, long index = 0) const {
        const Exiv2::Exifdatum* d = find(key);
        if (!d || d->count() <= index)
            return 0.0;
        if (d->typeId() == Exiv2::unsignedRational || d->typeId() == Exiv2::signedRational) {
            // Divide in double: the float conversion would turn 56/10 into 5.5999999.
            const Exiv2::Rational r = d->toRational(index);
            return r.second == 0 ? 0.0 : double(r.first) / double(r.second);
        }
        const float value = d->toFloat(index);
        return std::isfinite(value) ? double(value) : 0.0;
    }

    int integer(const char* key, long index = 0) const {
        const Exiv2::Exifdatum* d = find(key);
        if (!d || d->count() <= index)
            return 0;
        return int(d->toLong(index));
    }

    QString comment(const char* key) const {
        const Exiv2::Exifdatum* d = find(key);
        if (!d)
            return {};
        if (const auto* value = dynamic_cast<const Exiv2::CommentValue*>(&d->value()))
            return decodeText(value->comment());
        return text(key);
    }

private:
    const Exiv2::ExifData& m_data;
};

CameraData fromImage(Exiv2::Image& image) {
    image.readMetadata();
    CameraData camera;
    const Exiv2::ExifData& exif = image.exifData();
    if (!exif.empty()) {
        const ExifFields f(exif);
        camera.hasExif = true;
        camera.make = f.text("Exif.Image.Make");
        camera.model = f.text("Exif.Image.Model");
        camera.flashpixVersion = f.text("Exif.Photo.FlashpixVersion");
        camera.dateTimeOriginal = f.text("Exif.Photo.DateTimeOriginal");
        camera.dateTime = f.text("Exif.Image.DateTime");
        camera.exposureProgram = f.integer("Exif.Photo.ExposureProgram");
        camera.exposureTime = f.number("Exif.Photo.ExposureTime");
        camera.exposureBias = f.number("Exif.Photo.ExposureBiasValue");
        camera.maxAperture = f.number("Exif.Photo.MaxApertureValue");
        camera.fNumber = f.number("Exif.Photo.FNumber");
        camera.isoSpeed = f.integer("Exif.Photo.ISOSpeedRatings");
        camera.focalLength = f.number("Exif.Photo.FocalLength");
        camera.flash = f.integer("Exif.Photo.Flash");
        camera.whitePoint = f.number("Exif.Image.WhitePoint", 1);
        camera.lightSource = f.integer("Exif.Photo.LightSource");
        camera.meteringMode = f.integer("Exif.Photo.MeteringMode");
        camera.colorSpace = f.integer("Exif.Photo.ColorSpace");
        camera.userComment = f.comment("Exif.Photo.UserComment");
        camera.imageDescription = f.text("Exif.Image.ImageDescription");
    }
    for (const Exiv2::Iptcdatum& record : image.iptcData())
        camera.iptc.append(decodeText(record.toString()));
    return camera;
}

}  // namespace

void initialiseExiv2() {
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    Exiv2::XmpParser::initialize();
}

CameraData readCameraData(const QByteArray& encoded) {
    if (encoded.isEmpty())
        return {};
    try {
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(
            reinterpret_cast<const Exiv2::byte*>(encoded.constData()), long(encoded.size()));
        if (!image.get())
            return {};
        return fromImage(*image);
    } catch (const std::exception&) {
        return {};   // no metadata Exiv2 can read: the fields stay empty
    }
}

CameraData readCameraDataFile(const QString& path) {
    try {
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
        if (!image.get())
            return {};
        return fromImage(*image);
    } catch (const std::exception&) {
        return {};
    }
}

QByteArray readExifThumbnail(const QString& path) {
    try {
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
        if (!image.get())
            return {};
        image->readMetadata();
        if (image->exifData().empty())
            return {};
        const Exiv2::ExifThumbC thumb(image->exifData());
        if (std::string(thumb.mimeType()) != "image/jpeg")
            return {};
        const Exiv2::DataBuf data = thumb.copy();
        if (data.size_ <= 0)
            return {};
        return QByteArray(reinterpret_cast<const char*>(data.pData_), int(data.size_));
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace image::detail
