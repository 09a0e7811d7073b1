#include "platform/image/Codecs.h"

#include <openjpeg.h>

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>

#include <mutex>

#include "platform/image/codecs/ExifReader.h"
#include "platform/image/codecs/GifEncoder.h"
#include "platform/image/codecs/MagickCodec.h"

namespace image {

namespace {

// A small image with enough repetition for LZW to emit real codes.
QImage probeImage() {
    QImage probe(16, 8, QImage::Format_Indexed8);
    probe.setColorTable({qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 0, 255)});
    for (int y = 0; y < probe.height(); ++y)
        for (int x = 0; x < probe.width(); ++x)
            probe.setPixel(x, y, uint((x / 4 + y) % 3));
    return probe;
}

bool samePixels(const QImage& a, const QImage& b) {
    return !a.isNull() && a.size() == b.size()
        && a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

QImage readBack(const QByteArray& bytes, const char* format) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    return reader.read();
}

CodecReport probeCodecs() {
    detail::initialiseMagick();
    detail::initialiseExiv2();
    CodecReport report;
    const QImage probe = probeImage();

    QString error;
    const QByteArray gif = detail::encodeGif(probe, &error);
    report.gifLzwWrite = !gif.isEmpty();
    report.gifLzwRead = QImageReader::supportedImageFormats().contains("gif")
        && samePixels(readBack(gif, "gif"), probe);

    QByteArray tiff;
    {
        QBuffer buffer(&tiff);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "tiff");
        writer.setCompression(1);   // LZW
        report.tiffLzwWrite = writer.write(probe);
    }
    report.tiffLzwRead = report.tiffLzwWrite && samePixels(readBack(tiff, "tiff"), probe);

    report.jpeg2000 = opj_version() != nullptr;
    report.metafiles = detail::magickCanRead("WMF");

    if (!report.gifLzwRead)
        report.missing << QStringLiteral("GIF (LZW) 解码器");
    if (!report.gifLzwWrite)
        report.missing << QStringLiteral("GIF (LZW) 编码器");
    if (!report.tiffLzwRead)
        report.missing << QStringLiteral("TIFF (LZW) 解码器");
    if (!report.tiffLzwWrite)
        report.missing << QStringLiteral("TIFF (LZW) 编码器");
    if (!report.jpeg2000)
        report.missing << QStringLiteral("JPEG 2000 编解码器");
    if (!report.metafiles)
        report.missing << QStringLiteral("WMF 图元文件解码器");
    return report;
}

}  // namespace

const CodecReport& installCodecs() {
    static std::once_flag once;
    static CodecReport report;
    std::call_once(once, [] { report = probeCodecs(); });
    return report;
}

}  // namespace image
