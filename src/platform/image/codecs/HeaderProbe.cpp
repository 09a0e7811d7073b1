#include "platform/image/codecs/HeaderProbe.h"

#include <cstdlib>

namespace image::detail {

namespace {

int byteAt(const QByteArray& d, qsizetype at) {
    return at < d.size() ? quint8(d[at]) : -1;
}

int le16(const QByteArray& d, qsizetype at) {
    if (at + 2 > d.size())
        return -1;
    return quint8(d[at]) | (quint8(d[at + 1]) << 8);
}

qint64 le32(const QByteArray& d, qsizetype at) {
    if (at + 4 > d.size())
        return -1;
    return qint64(le16(d, at)) | (qint64(le16(d, at + 2)) << 16);
}

PixelFormat fromBitCount(int bits) {
    if (bits == 1)
        return pixelFormatFor(PixelKind::OneBit);
    if (bits > 1 && bits <= 8)
        return pixelFormatFor(PixelKind::Palette8);
    if (bits > 8 && bits <= 32)
        return pixelFormatFor(PixelKind::Rgb24);
    return pixelFormatFor(PixelKind::Other, bits);
}

}  // namespace

PixelFormat gifPixelFormat(const QByteArray& d) {
    const int packed = byteAt(d, 10);
    if (packed < 0)
        return {};
    if (packed & 0x80)
        return fromBitCount((packed & 7) + 1);
    // No global colour table: the first image's local table tells.
    qsizetype at = 13;
    while (at < d.size()) {
        const int block = byteAt(d, at);
        if (block == 0x21) {           // extension: label, then sub-blocks
            at += 2;
            for (int length = byteAt(d, at); length > 0; length = byteAt(d, at))
                at += length + 1;
            at += 1;
        } else if (block == 0x2C) {    // image descriptor
            const int local = byteAt(d, at + 9);
            return local >= 0 && (local & 0x80) ? fromBitCount((local & 7) + 1) : pixelFormatFor(PixelKind::Palette8);
        } else {
            break;
        }
    }
    return pixelFormatFor(PixelKind::Palette8);
}

PixelFormat pcxPixelFormat(const QByteArray& d) {
    const int bits = byteAt(d, 3);
    const int planes = byteAt(d, 65);
    if (bits <= 0 || planes <= 0)
        return {};
    if (bits == 8 && planes >= 3)
        return pixelFormatFor(PixelKind::Rgb24);
    return fromBitCount(bits * planes);
}

PixelFormat tgaPixelFormat(const QByteArray& d) {
    const int type = byteAt(d, 2) & ~8;   // the RLE variants have bit 3 set
    const int depth = byteAt(d, 16);
    switch (type) {
    case 1: return fromBitCount(depth <= 8 ? 8 : depth);   // colour-mapped
    case 2: return depth >= 15 && depth <= 32 ? pixelFormatFor(PixelKind::Rgb24) : pixelFormatFor(PixelKind::Other, depth);
    case 3: return depth == 1 ? pixelFormatFor(PixelKind::OneBit) : pixelFormatFor(PixelKind::Grey8);
    default: return pixelFormatFor(PixelKind::Other, depth > 0 ? depth : 32);
    }
}

bool bmpComplete(const QByteArray& d) {
    const qint64 offset = le32(d, 10);
    const qint64 header = le32(d, 14);
    if (offset < 0 || header < 12)
        return false;
    qint64 width = 0, height = 0, bits = 0, compression = 0;
    if (header == 12) {
        width = le16(d, 18);
        height = le16(d, 20);
        bits = le16(d, 24);
    } else {
        width = qint32(le32(d, 18));
        height = qint32(le32(d, 22));
        bits = le16(d, 28);
        compression = le32(d, 30);
    }
    if (compression != 0 && compression != 3 && compression != 6)
        return true;   // compressed rows have no fixed length to check
    if (width <= 0 || bits <= 0 || bits > 64)
        return false;
    const qint64 rowBytes = ((width * bits + 31) / 32) * 4;
    return offset + rowBytes * std::abs(height) <= d.size();
}

bool gifFirstImageComplete(const QByteArray& d) {
    const auto skipSubBlocks = [&d](qsizetype at) -> qsizetype {
        for (int length = byteAt(d, at); length > 0; length = byteAt(d, at))
            at += length + 1;
        return byteAt(d, at) == 0 ? at + 1 : -1;   // -1: the data ended first
    };
    const int packed = byteAt(d, 10);
    if (packed < 0)
        return false;
    qsizetype at = 13 + ((packed & 0x80) ? 3 * (qsizetype(2) << (packed & 7)) : 0);
    while (at >= 0 && at < d.size()) {
        const int block = byteAt(d, at);
        if (block == 0x21) {
            at = skipSubBlocks(at + 2);
        } else if (block == 0x2C) {
            const int local = byteAt(d, at + 9);
            if (local < 0)
                return false;
            at += 10 + ((local & 0x80) ? 3 * (qsizetype(2) << (local & 7)) : 0);
            at += 1;   // LZW minimum code size
            return at < d.size() && skipSubBlocks(at) > 0;
        } else {
            return false;
        }
    }
    return false;
}

bool plausibleTga(const QByteArray& d) {
    if (d.size() < 18)
        return false;
    const int idLength = byteAt(d, 0);
    const int mapType = byteAt(d, 1);
    const int type = byteAt(d, 2);
    const int mapLength = le16(d, 5);
    const int mapDepth = byteAt(d, 7);
    const int width = le16(d, 12);
    const int height = le16(d, 14);
    const int depth = byteAt(d, 16);
    const bool typeOk = type == 1 || type == 2 || type == 3 || type == 9 || type == 10 || type == 11;
    const bool depthOk = depth == 1 || depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32;
    if (!typeOk || !depthOk || mapType > 1 || width <= 0 || height <= 0)
        return false;
    const qint64 mapBytes = mapType == 1 ? qint64(mapLength) * ((mapDepth + 7) / 8) : 0;
    const qint64 header = 18 + idLength + mapBytes;
    if (header > d.size())
        return false;
    // Uncompressed pixel data must be there in full; RLE data is at least 1 byte per 128 pixels.
    const qint64 pixels = qint64(width) * height;
    const qint64 least = (type & 8) ? pixels / 128 : pixels * ((depth + 7) / 8);
    return d.size() - header >= least;
}

IconChoice iconChoice(const QByteArray& d) {
    IconChoice choice;
    const int count = le16(d, 4);
    qint64 bestArea = -1;
    int bestBits = -1;
    for (int i = 0; i < count && 6 + 16 * (i + 1) <= d.size(); ++i) {
        const qsizetype entry = 6 + 16 * i;
        const int width = byteAt(d, entry) == 0 ? 256 : byteAt(d, entry);
        const int height = byteAt(d, entry + 1) == 0 ? 256 : byteAt(d, entry + 1);
        const qint64 offset = le32(d, entry + 12);
        int bits = le16(d, entry + 6);
        // The directory's bit count is often 0 or wrong: the image data is the authority.
        if (offset > 0 && offset + 26 <= d.size()) {
            if (d.mid(offset, 8) == QByteArray("\x89PNG\r\n\x1A\n", 8)) {
                const int depth = byteAt(d, offset + 24);
                const int colour = byteAt(d, offset + 25);
                const int channels = colour == 2 ? 3 : colour == 4 ? 2 : colour == 6 ? 4 : 1;
                bits = colour == 3 ? depth : depth * channels;
            } else if (le32(d, offset) >= 12) {
                bits = le16(d, offset + 14);
            }
        }
        const qint64 area = qint64(width) * height;
        if (area > bestArea || (area == bestArea && bits > bestBits)) {
            bestArea = area;
            bestBits = bits;
            choice.index = i;
        }
    }
    choice.format = bestBits > 0 ? fromBitCount(bestBits) : pixelFormatFor(PixelKind::Rgb24);
    return choice;
}

}  // namespace image::detail
