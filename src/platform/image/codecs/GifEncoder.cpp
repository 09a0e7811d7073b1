#include "platform/image/codecs/GifEncoder.h"

#include <gif_lib.h>

#include <QHash>
#include <QImage>
#include <QString>
#include <QVector>

#include <vector>

namespace image::detail {

namespace {

struct Indexed {
    std::vector<GifByteType> pixels;   // width * height palette indexes
    QVector<QRgb> palette;             // at most 256 entries
    int transparent = -1;
};

int writeToArray(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

Indexed fromPaletteImage(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_Indexed8);
    Indexed out;
    out.palette = image.colorTable();
    for (int i = 0; i < out.palette.size(); ++i) {
        if (qAlpha(out.palette[i]) < 128) {
            out.transparent = i;
            break;
        }
    }
    out.pixels.reserve(size_t(image.width()) * size_t(image.height()));
    for (int y = 0; y < image.height(); ++y) {
        const uchar* line = image.constScanLine(y);
        out.pixels.insert(out.pixels.end(), line, line + image.width());
    }
    return out;
}

Indexed fromGreyImage(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_Grayscale8);
    Indexed out;
    for (int i = 0; i < 256; ++i)
        out.palette.append(qRgb(i, i, i));
    out.pixels.reserve(size_t(image.width()) * size_t(image.height()));
    for (int y = 0; y < image.height(); ++y) {
        const uchar* line = image.constScanLine(y);
        out.pixels.insert(out.pixels.end(), line, line + image.width());
    }
    return out;
}

// Exact palette when the image has at most `limit` opaque colours, else empty.
bool exactPalette(const QImage& argb, int limit, Indexed& out) {
    QHash<QRgb, int> index;
    out.pixels.resize(size_t(argb.width()) * size_t(argb.height()));
    size_t at = 0;
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x, ++at) {
            if (qAlpha(line[x]) < 128) {
                out.pixels[at] = 0;   // patched once the transparent index is known
                continue;
            }
            const QRgb colour = line[x] | 0xFF000000u;
            auto it = index.find(colour);
            if (it == index.end()) {
                if (index.size() == limit)
                    return false;
                it = index.insert(colour, int(index.size()));
                out.palette.append(colour);
            }
            out.pixels[at] = GifByteType(*it);
        }
    }
    return true;
}

bool hasTransparentPixel(const QImage& argb) {
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(line[x]) < 128)
                return true;
    }
    return false;
}

Indexed fromColourImage(const QImage& source, QString* error) {
    const QImage argb = source.convertToFormat(QImage::Format_ARGB32);
    const bool alpha = source.hasAlphaChannel() && hasTransparentPixel(argb);
    const int opaqueSlots = alpha ? 255 : 256;
    Indexed out;
    if (!exactPalette(argb, opaqueSlots, out)) {
        out = {};
        const size_t count = size_t(argb.width()) * size_t(argb.height());
        std::vector<GifByteType> red(count), green(count), blue(count);
        size_t at = 0;
        for (int y = 0; y < argb.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
            for (int x = 0; x < argb.width(); ++x, ++at) {
                red[at] = GifByteType(qRed(line[x]));
                green[at] = GifByteType(qGreen(line[x]));
                blue[at] = GifByteType(qBlue(line[x]));
            }
        }
        int colours = opaqueSlots;
        std::vector<GifColorType> map(256);
        out.pixels.resize(count);
        if (GifQuantizeBuffer(unsigned(argb.width()), unsigned(argb.height()), &colours, red.data(),
                              green.data(), blue.data(), out.pixels.data(), map.data()) != GIF_OK) {
            *error = QStringLiteral("GIF 颜色量化失败");
            return {};
        }
        for (int i = 0; i < colours; ++i)
            out.palette.append(qRgb(map[size_t(i)].Red, map[size_t(i)].Green, map[size_t(i)].Blue));
    }
    if (alpha) {
        out.transparent = int(out.palette.size());
        out.palette.append(qRgba(0, 0, 0, 0));
        size_t at = 0;
        for (int y = 0; y < argb.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
            for (int x = 0; x < argb.width(); ++x, ++at)
                if (qAlpha(line[x]) < 128)
                    out.pixels[at] = GifByteType(out.transparent);
        }
    }
    return out;
}

}  // namespace

QByteArray encodeGif(const QImage& image, QString* error) {
    if (image.width() > 65535 || image.height() > 65535) {
        *error = QStringLiteral("GIF 图像的宽和高不能超过 65535 像素");
        return {};
    }
    Indexed indexed;
    switch (image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
    case QImage::Format_Indexed8:
        indexed = fromPaletteImage(image);
        break;
    case QImage::Format_Grayscale8:
    case QImage::Format_Grayscale16:
        indexed = fromGreyImage(image);
        break;
    default:
        indexed = fromColourImage(image, error);
        break;
    }
    if (indexed.palette.isEmpty()) {
        if (error->isEmpty())
            indexed.palette.append(qRgb(0, 0, 0));   // an image of transparent pixels only
        else
            return {};
    }

    int bits = 1;
    while ((1 << bits) < indexed.palette.size())
        ++bits;
    std::vector<GifColorType> colours(size_t(1) << bits, GifColorType{0, 0, 0});
    for (int i = 0; i < indexed.palette.size(); ++i) {
        const QRgb c = indexed.palette[i];
        colours[size_t(i)] = GifColorType{GifByteType(qRed(c)), GifByteType(qGreen(c)), GifByteType(qBlue(c))};
    }

    QByteArray out;
    int code = 0;
    GifFileType* gif = EGifOpen(&out, writeToArray, &code);
    if (!gif) {
        *error = QStringLiteral("GIF 编码失败（%1）").arg(QString::fromLatin1(GifErrorString(code)));
        return {};
    }
    ColorMapObject* map = GifMakeMapObject(int(colours.size()), colours.data());
    bool ok = map != nullptr;
    EGifSetGifVersion(gif, indexed.transparent >= 0);
    ok = ok && EGifPutScreenDesc(gif, image.width(), image.height(), bits, 0, map) == GIF_OK;
    if (ok && indexed.transparent >= 0) {
        GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, indexed.transparent};
        GifByteType extension[4];
        const size_t length = EGifGCBToExtension(&control, extension);
        ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(length), extension) == GIF_OK;
    }
    ok = ok && EGifPutImageDesc(gif, 0, 0, image.width(), image.height(), false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < image.height(); ++y)
        ok = EGifPutLine(gif, indexed.pixels.data() + size_t(y) * size_t(image.width()), image.width()) == GIF_OK;
    if (!ok)
        code = gif->Error;
    int closeCode = 0;
    if (EGifCloseFile(gif, &closeCode) != GIF_OK && ok) {
        ok = false;
        code = closeCode;
    }
    GifFreeMapObject(map);
    if (!ok) {
        *error = QStringLiteral("GIF 编码失败（%1）").arg(QString::fromLatin1(GifErrorString(code)));
        return {};
    }
    return out;
}

}  // namespace image::detail
