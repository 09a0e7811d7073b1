#include "platform/image/FileFormat.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <cstring>

namespace image {

namespace {

quint16 le16(const QByteArray& b, int at) {
    return quint16(quint8(b[at]) | (quint8(b[at + 1]) << 8));
}

quint32 le32(const QByteArray& b, int at) {
    return quint32(le16(b, at)) | (quint32(le16(b, at + 2)) << 16);
}

bool isPnmSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f' || c == '#';
}

// An icon directory: reserved 0, type 1 (icon) or 2 (cursor), at least one entry whose
// reserved byte is 0 and whose data lies after the directory.
FileFormat iconDirectory(const QByteArray& h) {
    if (h.size() < 22 || le16(h, 0) != 0)
        return FileFormat::Unknown;
    const quint16 type = le16(h, 2);
    const quint16 count = le16(h, 4);
    if ((type != 1 && type != 2) || count == 0 || quint8(h[9]) != 0)
        return FileFormat::Unknown;
    if (le32(h, 14) == 0 || le32(h, 18) < 6u + 16u * count)
        return FileFormat::Unknown;
    return type == 1 ? FileFormat::Ico : FileFormat::Cur;
}

bool isPcx(const QByteArray& h) {
    if (h.size() < 128 || quint8(h[0]) != 0x0A)
        return false;
    const quint8 version = quint8(h[1]);
    const quint8 encoding = quint8(h[2]);
    const quint8 bits = quint8(h[3]);
    const quint8 planes = quint8(h[65]);
    const bool versionOk = version == 0 || version == 2 || version == 3 || version == 4 || version == 5;
    const bool bitsOk = bits == 1 || bits == 2 || bits == 4 || bits == 8;
    return versionOk && encoding <= 1 && bitsOk && planes >= 1 && planes <= 4
        && le16(h, 8) >= le16(h, 4) && le16(h, 10) >= le16(h, 6);
}

bool isWmfHeader(const QByteArray& h, int at) {
    if (h.size() < at + 18)
        return false;
    const quint16 type = le16(h, at);
    const quint16 headerWords = le16(h, at + 2);
    const quint16 version = le16(h, at + 4);
    return (type == 1 || type == 2) && headerWords == 9 && (version == 0x0100 || version == 0x0300);
}

}  // namespace

FileFormat formatFromExtension(const QString& pathOrSuffix) {
    static const QHash<QString, FileFormat> byExtension = {
        {"jpg", FileFormat::Jpeg},  {"jpeg", FileFormat::Jpeg}, {"jpe", FileFormat::Jpeg},
        {"jfif", FileFormat::Jpeg}, {"png", FileFormat::Png},   {"bmp", FileFormat::Bmp},
        {"dib", FileFormat::Bmp},   {"rle", FileFormat::Bmp},   {"gif", FileFormat::Gif},
        {"tif", FileFormat::Tiff},  {"tiff", FileFormat::Tiff}, {"fax", FileFormat::Fax},
        {"g3n", FileFormat::Fax},   {"g3f", FileFormat::Fax},   {"pcx", FileFormat::Pcx},
        {"ico", FileFormat::Ico},   {"cur", FileFormat::Cur},   {"tga", FileFormat::Tga},
        {"targa", FileFormat::Tga}, {"vda", FileFormat::Tga},   {"icb", FileFormat::Tga},
        {"vst", FileFormat::Tga},   {"pix", FileFormat::Tga},   {"pbm", FileFormat::Pbm},
        {"pgm", FileFormat::Pgm},   {"ppm", FileFormat::Ppm},   {"pxm", FileFormat::Ppm},
        {"pnm", FileFormat::Ppm},   {"wbmp", FileFormat::Wbmp}, {"jp2", FileFormat::Jp2},
        {"j2k", FileFormat::J2k},   {"jpc", FileFormat::J2k},   {"j2c", FileFormat::J2k},
        {"wmf", FileFormat::Wmf},   {"emf", FileFormat::Emf},
    };
    QString suffix = pathOrSuffix;
    const int dot = suffix.lastIndexOf(QLatin1Char('.'));
    const int slash = suffix.lastIndexOf(QLatin1Char('/'));
    if (dot >= 0 && dot > slash)
        suffix = suffix.mid(dot + 1);
    else if (slash >= 0 || dot >= 0)
        return FileFormat::Unknown;   // a path without extension
    return byExtension.value(suffix.toLower(), FileFormat::Unknown);
}

FileFormat formatFromContent(const QByteArray& h) {
    const auto starts = [&h](const char* magic, int length) {
        return h.size() >= length && std::memcmp(h.constData(), magic, size_t(length)) == 0;
    };
    if (starts("\xFF\xD8\xFF", 3))
        return FileFormat::Jpeg;
    if (starts("\x89PNG\r\n\x1A\n", 8))
        return FileFormat::Png;
    if (starts("GIF87a", 6) || starts("GIF89a", 6))
        return FileFormat::Gif;
    if (starts("II*\0", 4) || starts("MM\0*", 4) || starts("II+\0", 4) || starts("MM\0+", 4))
        return FileFormat::Tiff;
    if (starts("\0\0\0\x0CjP  \r\n\x87\n", 12))
        return FileFormat::Jp2;
    if (starts("\xFF\x4F\xFF\x51", 4))
        return FileFormat::J2k;
    if (h.size() >= 26 && starts("BM", 2) && le32(h, 14) >= 12 && le32(h, 14) <= 124)
        return FileFormat::Bmp;
    if (starts("\xD7\xCD\xC6\x9A", 4) || isWmfHeader(h, 0))
        return FileFormat::Wmf;
    if (h.size() >= 44 && le32(h, 0) == 1 && std::memcmp(h.constData() + 40, " EMF", 4) == 0)
        return FileFormat::Emf;
    if (h.size() >= 3 && h[0] == 'P' && h[1] >= '1' && h[1] <= '6' && isPnmSpace(h[2])) {
        switch (h[1]) {
        case '1': case '4': return FileFormat::Pbm;
        case '2': case '5': return FileFormat::Pgm;
        default: return FileFormat::Ppm;
        }
    }
    if (const FileFormat icon = iconDirectory(h); icon != FileFormat::Unknown)
        return icon;
    if (isPcx(h))
        return FileFormat::Pcx;
    return FileFormat::Unknown;
}

FileFormat detectFormat(const QString& path) {
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        const FileFormat byContent = formatFromContent(file.read(256));
        if (byContent != FileFormat::Unknown)
            return byContent;
    }
    return formatFromExtension(QFileInfo(path).fileName());
}

QString formatName(FileFormat format) {
    switch (format) {
    case FileFormat::Unknown: break;
    case FileFormat::Jpeg: return QStringLiteral("JPEG");
    case FileFormat::Png: return QStringLiteral("PNG");
    case FileFormat::Bmp: return QStringLiteral("BMP");
    case FileFormat::Gif: return QStringLiteral("GIF");
    case FileFormat::Tiff: return QStringLiteral("TIFF");
    case FileFormat::Pcx: return QStringLiteral("PCX");
    case FileFormat::Ico: return QStringLiteral("ICO");
    case FileFormat::Cur: return QStringLiteral("CUR");
    case FileFormat::Tga: return QStringLiteral("TGA");
    case FileFormat::Pbm: return QStringLiteral("PBM");
    case FileFormat::Pgm: return QStringLiteral("PGM");
    case FileFormat::Ppm: return QStringLiteral("PPM");
    case FileFormat::Wbmp: return QStringLiteral("WBMP");
    case FileFormat::Jp2: return QStringLiteral("JPEG 2000");
    case FileFormat::J2k: return QStringLiteral("JPEG 2000 code stream");
    case FileFormat::Wmf: return QStringLiteral("WMF");
    case FileFormat::Emf: return QStringLiteral("EMF");
    case FileFormat::Fax: return QStringLiteral("FAX");
    }
    return QStringLiteral("unknown");
}

}  // namespace image
