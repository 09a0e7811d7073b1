#include "platform/image/ImageIo.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>

#include <algorithm>

#include "platform/image/Codecs.h"
#include "platform/image/codecs/Decoded.h"
#include "platform/image/codecs/ExifReader.h"
#include "platform/image/codecs/GifEncoder.h"
#include "platform/image/codecs/HeaderProbe.h"
#include "platform/image/codecs/Jpeg2000Codec.h"
#include "platform/image/codecs/JpegCodec.h"
#include "platform/image/codecs/MagickCodec.h"

namespace image {

namespace {

using detail::Decoded;

// Files larger than this are refused rather than read into memory whole.
constexpr qint64 kMaxFileBytes = qint64(1) << 30;

const char* qtFormatName(FileFormat format) {
    switch (format) {
    case FileFormat::Png: return "png";
    case FileFormat::Bmp: return "bmp";
    case FileFormat::Gif: return "gif";
    case FileFormat::Tiff: return "tiff";
    case FileFormat::Ico: return "ico";
    case FileFormat::Cur: return "cur";
    case FileFormat::Pbm: return "pbm";
    case FileFormat::Pgm: return "pgm";
    case FileFormat::Ppm: return "ppm";
    case FileFormat::Wbmp: return "wbmp";
    default: return nullptr;
    }
}

const char* magickName(FileFormat format) {
    switch (format) {
    case FileFormat::Pcx: return "PCX";
    case FileFormat::Tga: return "TGA";
    case FileFormat::Wmf: return "WMF";
    case FileFormat::Fax: return "FAX";
    default: return nullptr;
    }
}

Decoded decodeWithQt(const QByteArray& data, FileFormat format) {
    Decoded result;
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, qtFormatName(format));
    reader.setAutoTransform(false);
    reader.setAllocationLimit(1024);   // MB: large scans are photos too
    if (format == FileFormat::Ico || format == FileFormat::Cur) {
        const detail::IconChoice icon = detail::iconChoice(data);
        if (icon.index > 0)
            reader.jumpToImage(icon.index);
        result.format = icon.format;
    } else if (format == FileFormat::Gif) {
        result.format = detail::gifPixelFormat(data);
    }
    if ((format == FileFormat::Bmp && !detail::bmpComplete(data))
        || (format == FileFormat::Gif && !detail::gifFirstImageComplete(data))) {
        result.error = QStringLiteral("%1 文件不完整（数据被截断）").arg(formatName(format));
        return result;
    }
    const QImage::Format declared = reader.imageFormat();
    QImage image = reader.read();
    if (image.isNull()) {
        result.error = QStringLiteral("%1 解码失败（%2）").arg(formatName(format), reader.errorString());
        return result;
    }
    if (result.format.kind == PixelKind::None)
        result.format = detail::pixelFormatOfQtFormat(declared == QImage::Format_Invalid ? image.format() : declared);
    result.fullSize = image.size();
    result.image = image;
    return result;
}

PixelFormat magickPixelFormat(FileFormat format, const QByteArray& data) {
    switch (format) {
    case FileFormat::Pcx: return detail::pcxPixelFormat(data);
    case FileFormat::Tga: return detail::tgaPixelFormat(data);
    case FileFormat::Fax: return pixelFormatFor(PixelKind::OneBit);
    default: return pixelFormatFor(PixelKind::Rgb24);   // metafiles are drawn in colour
    }
}

Decoded decode(FileFormat format, const QByteArray& data, const QSize& maxSize, bool fast) {
    Decoded result;
    switch (format) {
    case FileFormat::Jpeg:
        return detail::decodeJpeg(data, maxSize, fast);
    case FileFormat::Jp2:
    case FileFormat::J2k:
        return detail::decodeJpeg2000(data, format == FileFormat::J2k, maxSize);
    case FileFormat::Emf:
        result.error = QStringLiteral("本系统没有 EMF 增强型图元文件的解码器");
        return result;
    case FileFormat::Unknown:
        result.error = QStringLiteral("无法识别的图像格式");
        return result;
    default:
        break;
    }
    if (const char* magick = magickName(format)) {
        result = detail::decodeWithMagick(data, magick);
        if (result.error.isEmpty())
            result.format = magickPixelFormat(format, data);
    } else {
        result = decodeWithQt(data, format);
    }
    if (result.error.isEmpty())
        result.image = detail::scaledTo(result.image, detail::fittedSize(result.fullSize, maxSize));
    return result;
}

LoadResult loadData(const QByteArray& data, const QString& nameHint, const LoadOptions& options) {
    const bool fast = options.fast;
    installCodecs();
    LoadResult result;
    if (data.isEmpty()) {
        result.error = QStringLiteral("图像文件是空的");
        return result;
    }
    const FileFormat byContent = formatFromContent(data.left(256));
    const FileFormat byName = formatFromExtension(QFileInfo(nameHint).fileName());
    FileFormat format = byContent != FileFormat::Unknown ? byContent : byName;
    Decoded decoded = decode(format, data, options.maxSize, fast);
    // Signatures of some formats (PCX, icons) are weak: a file that fails as what its first
    // bytes suggest is given one more chance as what its name says.
    if (!decoded.error.isEmpty() && byContent != FileFormat::Unknown && byName != FileFormat::Unknown
        && byName != byContent) {
        Decoded second = decode(byName, data, options.maxSize, fast);
        if (second.error.isEmpty()) {
            decoded = second;
            format = byName;
        }
    }
    if (!decoded.error.isEmpty() || decoded.image.isNull()) {
        result.error = decoded.error.isEmpty() ? QStringLiteral("图像解码失败") : decoded.error;
        return result;
    }
    result.document.fileFormat = format;
    result.document.image = decoded.image;
    result.document.originalSize = decoded.fullSize;
    result.document.pixelFormat = decoded.format;
    if (options.readMetadata)
        result.document.camera = detail::readCameraData(data);
    return result;
}

QByteArray readWholeFile(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("无法打开图像文件“%1”（%2）").arg(path, file.errorString());
        return {};
    }
    if (file.size() > kMaxFileBytes) {
        *error = QStringLiteral("图像文件“%1”过大").arg(path);
        return {};
    }
    QByteArray data = file.readAll();
    if (data.isEmpty() && file.error() != QFile::NoError)
        *error = QStringLiteral("无法读取图像文件“%1”（%2）").arg(path, file.errorString());
    return data;
}

LoadResult loadFile(const QString& path, const LoadOptions& options) {
    QString error;
    const QByteArray data = readWholeFile(path, &error);
    if (!error.isEmpty())
        return {{}, error};
    LoadResult result = loadData(data, path, options);
    if (result.ok())
        result.document.path = path;
    else
        result.error = QStringLiteral("“%1”：%2").arg(QFileInfo(path).fileName(), result.error);
    return result;
}

// Formats without an alpha channel get transparent parts on white, as they are shown.
QImage flattened(const QImage& image) {
    if (!image.hasAlphaChannel())
        return image;
    QImage out(image.size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter painter(&out);
    painter.drawImage(0, 0, image);
    painter.end();
    return out;
}

bool keepsAlpha(FileFormat format) {
    switch (format) {
    case FileFormat::Png:
    case FileFormat::Tiff:
    case FileFormat::Ico:
    case FileFormat::Cur:
    case FileFormat::Gif:
    case FileFormat::Tga:
    case FileFormat::Jp2:
    case FileFormat::J2k:
        return true;
    default:
        return false;
    }
}

// The toolkit writes cursors as icons (directory type 1). A cursor's directory has type 2
// and keeps the hot spot where an icon keeps planes and bit count; the hot spot is the
// top-left corner.
void markAsCursor(QByteArray& bytes) {
    if (bytes.size() < 6 || bytes[2] != 1)
        return;
    bytes[2] = 2;
    const int count = quint8(bytes[4]) | (quint8(bytes[5]) << 8);
    for (int i = 0; i < count && 6 + 16 * (i + 1) <= bytes.size(); ++i)
        bytes.replace(6 + 16 * i + 4, 4, QByteArray(4, '\0'));
}

QByteArray encodeWithQt(const QImage& image, FileFormat format, QString* error) {
    QImage toWrite = image;
    if (format == FileFormat::Ico || format == FileFormat::Cur) {
        // Icon directories hold at most 256 pixels a side.
        if (toWrite.width() > 256 || toWrite.height() > 256)
            toWrite = toWrite.scaled(256, 256, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, qtFormatName(format));
    if (format == FileFormat::Tiff)
        writer.setCompression(1);   // LZW
    if (!writer.write(toWrite)) {
        *error = QStringLiteral("%1 编码失败（%2）").arg(formatName(format), writer.errorString());
        return {};
    }
    if (format == FileFormat::Cur)
        markAsCursor(bytes);
    return bytes;
}

QByteArray encode(const QImage& source, FileFormat format, const SaveOptions& options, QString* error) {
    const QImage image = keepsAlpha(format) ? source : flattened(source);
    switch (format) {
    case FileFormat::Jpeg:
        return detail::encodeJpeg(image, options.jpegQuality, error);
    case FileFormat::Gif:
        return detail::encodeGif(image, error);
    case FileFormat::Jp2:
    case FileFormat::J2k:
        return detail::encodeJpeg2000(image, format == FileFormat::J2k, error);
    case FileFormat::Pcx:
    case FileFormat::Tga:
        return detail::encodeWithMagick(image, magickName(format), error);
    case FileFormat::Fax:
        return encodeWithQt(image, FileFormat::Tiff, error);   // fax files are TIFF here
    default:
        break;
    }
    if (qtFormatName(format))
        return encodeWithQt(image, format, error);
    *error = QStringLiteral("不能保存为 %1 格式").arg(formatName(format));
    return {};
}

// Checks that the bytes an encoder produced are of the format asked for.
bool wroteFormat(const QByteArray& bytes, FileFormat format) {
    switch (format) {
    case FileFormat::Tga:
        return detail::plausibleTga(bytes);
    case FileFormat::Fax:
        return formatFromContent(bytes.left(256)) == FileFormat::Tiff;
    case FileFormat::Wbmp:
        return bytes.size() >= 4 && bytes[0] == 0 && bytes[1] == 0;
    case FileFormat::Ppm:
    case FileFormat::Pgm:
    case FileFormat::Pbm: {
        const FileFormat written = formatFromContent(bytes.left(256));
        return written == FileFormat::Ppm || written == FileFormat::Pgm || written == FileFormat::Pbm;
    }
    default:
        return formatFromContent(bytes.left(256)) == format;
    }
}

}  // namespace

LoadResult loadImage(const QString& path, const LoadOptions& options) {
    return loadFile(path, options);
}

LoadResult loadImageData(const QByteArray& data, const QString& nameHint, const LoadOptions& options) {
    return loadData(data, nameHint, options);
}

LoadResult decodeForDisplay(const QString& path, QSize maxSize) {
    return loadFile(path, LoadOptions{maxSize, false, false});
}

CameraData readCameraData(const QString& path) {
    installCodecs();
    return detail::readCameraDataFile(path);
}

ImageStatus saveImage(const QImage& image, const QString& path, const SaveOptions& options) {
    const FileFormat format = formatFromExtension(QFileInfo(path).fileName());
    if (format == FileFormat::Unknown)
        return {QStringLiteral("无法从文件名“%1”确定要保存的图像格式").arg(QFileInfo(path).fileName())};
    return saveImageAs(image, path, format, options);
}

ImageStatus saveImageAs(const QImage& image, const QString& path, FileFormat format,
                        const SaveOptions& options) {
    installCodecs();
    if (image.isNull())
        return {QStringLiteral("没有可保存的图像")};
    if (!canWrite(format))
        return {QStringLiteral("不能保存为 %1 格式").arg(formatName(format))};
    QString error;
    const QByteArray bytes = encode(image, format, options, &error);
    if (bytes.isEmpty())
        return {error.isEmpty() ? QStringLiteral("%1 编码失败").arg(formatName(format)) : error};
    if (!wroteFormat(bytes, format))
        return {QStringLiteral("%1 编码器没有写出 %1 数据").arg(formatName(format))};
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {QStringLiteral("无法写入“%1”（%2）").arg(path, file.errorString())};
    if (file.write(bytes) != bytes.size() || !file.commit())
        return {QStringLiteral("无法写入“%1”（%2）").arg(path, file.errorString())};
    return {};
}

bool canRead(FileFormat format) {
    switch (format) {
    case FileFormat::Unknown:
    case FileFormat::Emf:
        return false;
    case FileFormat::Wmf:
        return installCodecs().metafiles;
    case FileFormat::Gif:
        return installCodecs().gifLzwRead;
    case FileFormat::Tiff:
        return installCodecs().tiffLzwRead;
    default:
        return true;
    }
}

bool canWrite(FileFormat format) {
    switch (format) {
    case FileFormat::Unknown:
    case FileFormat::Wmf:
    case FileFormat::Emf:
        return false;
    case FileFormat::Tiff:
    case FileFormat::Fax:
        return installCodecs().tiffLzwWrite;
    default:
        return true;
    }
}

}  // namespace image
