#include "platform/image/codecs/MagickCodec.h"

#include <Magick++.h>

#include <QMutex>
#include <QSysInfo>

#include <mutex>

namespace image::detail {

namespace {

// libwmf keeps global state; metafiles are rendered one at a time.
QMutex g_metafileLock;

QString magickMessage(const std::exception& e) {
    QString text = QString::fromLocal8Bit(e.what());
    text.remove(QStringLiteral("Magick: "));
    const int reported = text.indexOf(QLatin1String(" reported by"));
    if (reported > 0)
        text.truncate(reported);
    return text.trimmed();
}

}  // namespace

void initialiseMagick() {
    static std::once_flag once;
    std::call_once(once, [] { Magick::InitializeMagick(nullptr); });
}

bool magickCanRead(const char* magick) {
    initialiseMagick();
    try {
        return Magick::CoderInfo(magick).isReadable();
    } catch (const std::exception&) {
        return false;
    }
}

Decoded decodeWithMagick(const QByteArray& data, const char* magick) {
    initialiseMagick();
    Decoded result;
    const bool metafile = qstrcmp(magick, "WMF") == 0;
    std::unique_lock<QMutex> lock(g_metafileLock, std::defer_lock);
    if (metafile)
        lock.lock();
    try {
        Magick::Blob blob(data.constData(), size_t(data.size()));
        Magick::Image img;
        img.quiet(true);
        img.read(blob, Magick::Geometry(), magick);
        const auto width = img.columns();
        const auto height = img.rows();
        if (width == 0 || height == 0 || width > 65535 || height > 65535) {
            result.error = QStringLiteral("%1 图像尺寸无效").arg(QString::fromLatin1(magick));
            return result;
        }
        const bool alpha = img.matte();
        QImage out(int(width), int(height), QImage::Format_ARGB32);
        if (out.isNull()) {
            result.error = QStringLiteral("内存不足，无法解码 %1×%2 的图像").arg(width).arg(height);
            return result;
        }
        // ARGB32 rows are whole 32-bit words, so the pixel array is contiguous; in memory
        // a pixel is B, G, R, A on little-endian machines.
        const char* map = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "BGRA" : "ARGB";
        img.write(0, 0, width, height, map, Magick::CharPixel, out.bits());
        if (!alpha)
            out.reinterpretAsFormat(QImage::Format_RGB32);
        result.image = out;
        result.fullSize = out.size();
    } catch (const std::exception& e) {
        result.error = QStringLiteral("%1 解码失败（%2）").arg(QString::fromLatin1(magick), magickMessage(e));
    }
    return result;
}

QByteArray encodeWithMagick(const QImage& source, const char* magick, QString* error) {
    initialiseMagick();
    try {
        const bool alpha = source.hasAlphaChannel();
        const QImage argb = source.convertToFormat(QImage::Format_ARGB32);
        const char* map = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "BGRA" : "ARGB";
        Magick::Image img(unsigned(argb.width()), unsigned(argb.height()), map, Magick::CharPixel,
                          argb.constBits());
        img.quiet(true);
        img.matte(alpha);
        switch (source.format()) {
        case QImage::Format_Mono:
        case QImage::Format_MonoLSB:
            img.type(Magick::BilevelType);
            break;
        case QImage::Format_Grayscale8:
        case QImage::Format_Grayscale16:
            img.type(Magick::GrayscaleType);
            break;
        case QImage::Format_Indexed8:
            img.type(source.isGrayscale() ? Magick::GrayscaleType : Magick::PaletteType);
            break;
        default:
            img.type(alpha ? Magick::TrueColorMatteType : Magick::TrueColorType);
            break;
        }
        img.depth(8);
        Magick::Blob blob;
        img.write(&blob, magick);
        return QByteArray(static_cast<const char*>(blob.data()), qsizetype(blob.length()));
    } catch (const std::exception& e) {
        *error = QStringLiteral("%1 编码失败（%2）").arg(QString::fromLatin1(magick), magickMessage(e));
        return {};
    }
}

}  // namespace image::detail
