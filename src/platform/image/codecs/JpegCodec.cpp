#include "platform/image/codecs/JpegCodec.h"

#include <turbojpeg.h>

#include <QSysInfo>

#include <algorithm>
#include <limits>

namespace image::detail {

namespace {

class TjHandle {
public:
    explicit TjHandle(tjhandle handle) : m_handle(handle) {}
    ~TjHandle() {
        if (m_handle)
            tjDestroy(m_handle);
    }
    TjHandle(const TjHandle&) = delete;
    TjHandle& operator=(const TjHandle&) = delete;
    tjhandle get() const { return m_handle; }
    QString error() const { return QString::fromLocal8Bit(tjGetErrorStr2(m_handle)); }

private:
    tjhandle m_handle;
};

constexpr int kRgb32Format =
    QSysInfo::ByteOrder == QSysInfo::LittleEndian ? TJPF_BGRX : TJPF_XRGB;

int scaled(int length, int eighths) {
    return (length * eighths + 7) / 8;   // libjpeg rounds reduced sizes up
}

// Adobe CMYK JPEGs hold inverted values; this is how they are commonly shown.
QImage fromInvertedCmyk(const QByteArray& cmyk, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    const auto* in = reinterpret_cast<const uchar*>(cmyk.constData());
    for (int y = 0; y < height; ++y) {
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x, in += 4) {
            const int k = in[3];
            out[x] = qRgb(k * in[0] / 255, k * in[1] / 255, k * in[2] / 255);
        }
    }
    return image;
}

}  // namespace

int jpegScaleEighths(const QSize& full, const QSize& limit) {
    const QSize target = fittedSize(full, limit);
    for (int eighths = 1; eighths < 8; ++eighths) {
        if (scaled(full.width(), eighths) >= target.width()
            && scaled(full.height(), eighths) >= target.height())
            return eighths;
    }
    return 8;
}

Decoded decodeJpeg(const QByteArray& data, const QSize& maxSize, bool fast) {
    Decoded result;
    if (data.size() > std::numeric_limits<int>::max() / 2) {
        result.error = QStringLiteral("JPEG 文件过大");
        return result;
    }
    TjHandle tj(tjInitDecompress());
    if (!tj.get()) {
        result.error = QStringLiteral("无法初始化 JPEG 解码器");
        return result;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
    const unsigned long length = static_cast<unsigned long>(data.size());
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    if (tjDecompressHeader3(tj.get(), bytes, length, &width, &height, &subsampling, &colourspace) != 0
        || width <= 0 || height <= 0) {
        result.error = QStringLiteral("JPEG 文件头无效（%1）").arg(tj.error());
        return result;
    }
    result.fullSize = QSize(width, height);
    const bool grey = colourspace == TJCS_GRAY;
    const bool cmyk = colourspace == TJCS_CMYK || colourspace == TJCS_YCCK;
    result.format = pixelFormatFor(grey ? PixelKind::Grey8 : PixelKind::Rgb24);

    const int eighths = jpegScaleEighths(result.fullSize, maxSize);
    const int outWidth = scaled(width, eighths);
    const int outHeight = scaled(height, eighths);
    int flags = fast ? (TJFLAG_FASTDCT | TJFLAG_FASTUPSAMPLE) : 0;

    QImage decoded;
    QByteArray cmykPixels;
    unsigned char* target = nullptr;
    int pitch = 0;
    int pixelFormat = kRgb32Format;
    if (cmyk) {
        cmykPixels.resize(qsizetype(outWidth) * outHeight * 4);
        target = reinterpret_cast<unsigned char*>(cmykPixels.data());
        pitch = outWidth * 4;
        pixelFormat = TJPF_CMYK;
    } else {
        decoded = QImage(outWidth, outHeight, grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
        if (decoded.isNull()) {
            result.error = QStringLiteral("内存不足，无法解码 %1×%2 的 JPEG 图像").arg(width).arg(height);
            return result;
        }
        target = decoded.bits();
        pitch = int(decoded.bytesPerLine());
        pixelFormat = grey ? TJPF_GRAY : kRgb32Format;
    }
    if (tjDecompress2(tj.get(), bytes, length, target, outWidth, pitch, outHeight, pixelFormat, flags) != 0) {
        const QString message = tj.error();
        // Warnings are tolerated (many cameras write harmless ones) except running out of
        // data: libjpeg then pads the picture with grey and calls it done.
        const bool truncated = message.contains(QLatin1String("Premature end of JPEG file"));
        if (tjGetErrorCode(tj.get()) != TJERR_WARNING || truncated) {
            result.error = truncated ? QStringLiteral("JPEG 文件不完整（数据被截断）")
                                     : QStringLiteral("JPEG 解码失败（%1）").arg(message);
            return result;
        }
    }
    if (cmyk)
        decoded = fromInvertedCmyk(cmykPixels, outWidth, outHeight);
    result.image = scaledTo(decoded, fittedSize(result.fullSize, maxSize));
    return result;
}

QByteArray encodeJpeg(const QImage& source, int quality, QString* error) {
    TjHandle tj(tjInitCompress());
    if (!tj.get()) {
        *error = QStringLiteral("无法初始化 JPEG 编码器");
        return {};
    }
    const bool grey = source.isGrayscale();
    const QImage image = source.convertToFormat(grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    const int rc = tjCompress2(tj.get(), image.constBits(), image.width(), int(image.bytesPerLine()),
                               image.height(), grey ? TJPF_GRAY : kRgb32Format, &out, &outSize,
                               grey ? TJSAMP_GRAY : TJSAMP_420, std::clamp(quality, 1, 100), 0);
    QByteArray encoded;
    if (rc == 0)
        encoded = QByteArray(reinterpret_cast<const char*>(out), qsizetype(outSize));
    else
        *error = QStringLiteral("JPEG 编码失败（%1）").arg(tj.error());
    tjFree(out);
    return encoded;
}

}  // namespace image::detail
