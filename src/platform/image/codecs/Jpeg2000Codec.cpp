#include "platform/image/codecs/Jpeg2000Codec.h"

#include <openjpeg.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace image::detail {

namespace {

struct Buffer {
    const QByteArray* input = nullptr;
    QByteArray* output = nullptr;
    qint64 position = 0;

    qint64 size() const { return input ? input->size() : output->size(); }
};

OPJ_SIZE_T readBytes(void* into, OPJ_SIZE_T count, void* user) {
    auto* b = static_cast<Buffer*>(user);
    const qint64 left = b->size() - b->position;
    if (left <= 0)
        return static_cast<OPJ_SIZE_T>(-1);
    const auto n = static_cast<OPJ_SIZE_T>(std::min<qint64>(left, qint64(count)));
    std::memcpy(into, b->input->constData() + b->position, n);
    b->position += qint64(n);
    return n;
}

OPJ_SIZE_T writeBytes(void* from, OPJ_SIZE_T count, void* user) {
    auto* b = static_cast<Buffer*>(user);
    const qint64 end = b->position + qint64(count);
    if (end > b->output->size())
        b->output->resize(end);
    std::memcpy(b->output->data() + b->position, from, count);
    b->position = end;
    return count;
}

OPJ_OFF_T skipBytes(OPJ_OFF_T count, void* user) {
    auto* b = static_cast<Buffer*>(user);
    const qint64 target = b->position + count;
    if (target < 0 || (b->input && target > b->size()))
        return -1;
    b->position = target;
    return count;
}

OPJ_BOOL seekTo(OPJ_OFF_T position, void* user) {
    auto* b = static_cast<Buffer*>(user);
    if (position < 0 || (b->input && position > b->size()))
        return OPJ_FALSE;
    b->position = position;
    return OPJ_TRUE;
}

void collectMessage(const char* message, void* user) {
    auto* text = static_cast<QString*>(user);
    if (text->isEmpty())
        *text = QString::fromLocal8Bit(message).trimmed();
}

void ignoreMessage(const char*, void*) {}

struct CodecDeleter {
    void operator()(opj_codec_t* c) const { opj_destroy_codec(c); }
};
struct StreamDeleter {
    void operator()(opj_stream_t* s) const { opj_stream_destroy(s); }
};
struct ImageDeleter {
    void operator()(opj_image_t* i) const { opj_image_destroy(i); }
};
using CodecPtr = std::unique_ptr<opj_codec_t, CodecDeleter>;
using StreamPtr = std::unique_ptr<opj_stream_t, StreamDeleter>;
using ImagePtr = std::unique_ptr<opj_image_t, ImageDeleter>;

StreamPtr makeStream(Buffer& buffer, bool input) {
    StreamPtr stream(opj_stream_create(1 << 16, input ? OPJ_TRUE : OPJ_FALSE));
    if (!stream)
        return stream;
    opj_stream_set_user_data(stream.get(), &buffer, nullptr);
    if (input) {
        opj_stream_set_user_data_length(stream.get(), OPJ_UINT64(buffer.size()));
        opj_stream_set_read_function(stream.get(), readBytes);
    } else {
        opj_stream_set_write_function(stream.get(), writeBytes);
    }
    opj_stream_set_skip_function(stream.get(), skipBytes);
    opj_stream_set_seek_function(stream.get(), seekTo);
    return stream;
}

// One component's sample at output pixel (x, y), scaled to 0..255 (or 0..65535 when wide).
class Sampler {
public:
    Sampler(const opj_image_comp_t& c, int width, int height, bool wide)
        : m_c(c), m_width(width), m_height(height) {
        const int prec = int(std::clamp<OPJ_UINT32>(c.prec, 1, 31));
        m_offset = c.sgnd ? (1LL << (prec - 1)) : 0;
        m_max = (1LL << prec) - 1;
        m_outMax = wide ? 65535 : 255;
    }
    int at(int x, int y) const {
        const int cx = std::min<int>(int(m_c.w) - 1, int(qint64(x) * m_c.w / m_width));
        const int cy = std::min<int>(int(m_c.h) - 1, int(qint64(y) * m_c.h / m_height));
        const qint64 v = std::clamp<qint64>(qint64(m_c.data[qint64(cy) * m_c.w + cx]) + m_offset, 0, m_max);
        return int((v * m_outMax + m_max / 2) / m_max);
    }

private:
    const opj_image_comp_t& m_c;
    int m_width;
    int m_height;
    qint64 m_offset = 0;
    qint64 m_max = 255;
    qint64 m_outMax = 255;
};

int clampByte(double v) {
    return int(std::lround(std::clamp(v, 0.0, 255.0)));
}

QImage toQImage(const opj_image_t& img, PixelFormat* format, QString* error) {
    const OPJ_UINT32 n = img.numcomps;
    if (n == 0 || !img.comps[0].data) {
        *error = QStringLiteral("JPEG 2000 图像没有像素数据");
        return {};
    }
    for (OPJ_UINT32 i = 0; i < n; ++i) {
        if (!img.comps[i].data || img.comps[i].w == 0 || img.comps[i].h == 0) {
            *error = QStringLiteral("JPEG 2000 图像的分量不完整");
            return {};
        }
    }
    const int width = int(img.comps[0].w);
    const int height = int(img.comps[0].h);
    const int prec = int(img.comps[0].prec);
    const bool grey = n <= 2 && img.color_space != OPJ_CLRSPC_SYCC;
    const bool alpha = (grey && n == 2) || (!grey && n >= 4 && img.color_space != OPJ_CLRSPC_CMYK);

    if (grey && !alpha) {
        const bool wide = prec > 8;
        *format = pixelFormatFor(prec == 1 ? PixelKind::OneBit : wide ? PixelKind::Grey16 : PixelKind::Grey8);
        QImage out(width, height, wide ? QImage::Format_Grayscale16 : QImage::Format_Grayscale8);
        if (out.isNull())
            return out;
        const Sampler s(img.comps[0], width, height, wide);
        for (int y = 0; y < height; ++y) {
            if (wide) {
                auto* line = reinterpret_cast<quint16*>(out.scanLine(y));
                for (int x = 0; x < width; ++x)
                    line[x] = quint16(s.at(x, y));
            } else {
                uchar* line = out.scanLine(y);
                for (int x = 0; x < width; ++x)
                    line[x] = uchar(s.at(x, y));
            }
        }
        return out;
    }

    if (grey)
        *format = pixelFormatFor(prec > 8 ? PixelKind::Other : PixelKind::Grey8, prec * int(n));
    else
        *format = prec > 8 ? pixelFormatFor(PixelKind::Other, prec * int(n)) : pixelFormatFor(PixelKind::Rgb24);
    QImage out(width, height, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (out.isNull())
        return out;
    const Sampler c0(img.comps[0], width, height, false);
    const Sampler c1(img.comps[grey ? 0 : 1], width, height, false);
    const Sampler c2(img.comps[grey ? 0 : 2], width, height, false);
    const Sampler c3(img.comps[grey ? 1 : std::min<OPJ_UINT32>(3, n - 1)], width, height, false);
    const bool ycc = img.color_space == OPJ_CLRSPC_SYCC || img.color_space == OPJ_CLRSPC_EYCC;
    const bool cmyk = img.color_space == OPJ_CLRSPC_CMYK && n >= 4;
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < width; ++x) {
            int r = c0.at(x, y), g = c1.at(x, y), b = c2.at(x, y);
            if (ycc) {
                const double yy = r, cb = g - 128.0, cr = b - 128.0;
                r = clampByte(yy + 1.402 * cr);
                g = clampByte(yy - 0.344136 * cb - 0.714136 * cr);
                b = clampByte(yy + 1.772 * cb);
            } else if (cmyk) {
                const int k = 255 - c3.at(x, y);
                r = (255 - r) * k / 255;
                g = (255 - g) * k / 255;
                b = (255 - b) * k / 255;
            }
            line[x] = qRgba(r, g, b, alpha ? c3.at(x, y) : 255);
        }
    }
    return out;
}

}  // namespace

Decoded decodeJpeg2000(const QByteArray& data, bool codestream, const QSize& maxSize) {
    Decoded result;
    QString message;
    CodecPtr codec(opj_create_decompress(codestream ? OPJ_CODEC_J2K : OPJ_CODEC_JP2));
    if (!codec) {
        result.error = QStringLiteral("无法初始化 JPEG 2000 解码器");
        return result;
    }
    opj_set_error_handler(codec.get(), collectMessage, &message);
    opj_set_warning_handler(codec.get(), ignoreMessage, nullptr);
    opj_set_info_handler(codec.get(), ignoreMessage, nullptr);
    opj_dparameters_t parameters;
    opj_set_default_decoder_parameters(&parameters);
    Buffer buffer;
    buffer.input = &data;
    StreamPtr stream = makeStream(buffer, true);
    opj_image_t* raw = nullptr;
    const auto fail = [&](const char* what) {
        result.error = QStringLiteral("JPEG 2000 %1（%2）")
                           .arg(QString::fromUtf8(what), message.isEmpty() ? QStringLiteral("数据无效") : message);
        return result;
    };
    if (!stream || !opj_setup_decoder(codec.get(), &parameters))
        return fail("解码器设置失败");
    opj_decoder_set_strict_mode(codec.get(), OPJ_TRUE);
    if (!opj_read_header(stream.get(), codec.get(), &raw))
        return fail("文件头无效");
    ImagePtr img(raw);
    const qint64 fullWidth = qint64(img->x1) - img->x0;
    const qint64 fullHeight = qint64(img->y1) - img->y0;
    if (fullWidth <= 0 || fullHeight <= 0 || fullWidth > 1 << 16 || fullHeight > 1 << 16
        || fullWidth * fullHeight > qint64(1) << 28)
        return fail("图像尺寸无效或过大");
    result.fullSize = QSize(int(fullWidth), int(fullHeight));

    const QSize target = fittedSize(result.fullSize, maxSize);
    if (target != result.fullSize) {
        int levels = 0;
        if (opj_codestream_info_v2_t* info = opj_get_cstr_info(codec.get())) {
            levels = int(info->m_default_tile_info.tccp_info ? info->m_default_tile_info.tccp_info[0].numresolutions : 1) - 1;
            opj_destroy_cstr_info(&info);
        }
        int reduce = 0;
        while (reduce < levels && ((fullWidth + (2LL << reduce) - 1) >> (reduce + 1)) >= target.width()
               && ((fullHeight + (2LL << reduce) - 1) >> (reduce + 1)) >= target.height())
            ++reduce;
        if (reduce > 0)
            opj_set_decoded_resolution_factor(codec.get(), OPJ_UINT32(reduce));
    }
    if (!opj_decode(codec.get(), stream.get(), img.get()) || !opj_end_decompress(codec.get(), stream.get()))
        return fail("解码失败");
    QImage decoded = toQImage(*img, &result.format, &message);
    if (decoded.isNull())
        return fail("无法转换像素");
    result.image = scaledTo(decoded, target);
    return result;
}

QByteArray encodeJpeg2000(const QImage& source, bool codestream, QString* error) {
    const bool grey = source.isGrayscale();
    const bool wide = source.format() == QImage::Format_Grayscale16;
    const bool alpha = !grey && source.hasAlphaChannel();
    QImage image;
    if (grey)
        image = source.convertToFormat(wide ? QImage::Format_Grayscale16 : QImage::Format_Grayscale8);
    else
        image = source.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    const int width = image.width();
    const int height = image.height();
    const int n = grey ? 1 : (alpha ? 4 : 3);

    opj_image_cmptparm_t parts[4];
    std::memset(parts, 0, sizeof parts);
    for (int i = 0; i < n; ++i) {
        parts[i].dx = parts[i].dy = 1;
        parts[i].w = OPJ_UINT32(width);
        parts[i].h = OPJ_UINT32(height);
        parts[i].prec = wide ? 16 : 8;
        parts[i].sgnd = 0;
    }
    ImagePtr img(opj_image_create(OPJ_UINT32(n), parts, grey ? OPJ_CLRSPC_GRAY : OPJ_CLRSPC_SRGB));
    if (!img) {
        *error = QStringLiteral("内存不足，无法编码 JPEG 2000 图像");
        return {};
    }
    img->x0 = img->y0 = 0;
    img->x1 = OPJ_UINT32(width);
    img->y1 = OPJ_UINT32(height);
    if (alpha)
        img->comps[3].alpha = 1;
    for (int y = 0; y < height; ++y) {
        const qint64 row = qint64(y) * width;
        if (grey && wide) {
            const auto* line = reinterpret_cast<const quint16*>(image.constScanLine(y));
            for (int x = 0; x < width; ++x)
                img->comps[0].data[row + x] = line[x];
        } else if (grey) {
            const uchar* line = image.constScanLine(y);
            for (int x = 0; x < width; ++x)
                img->comps[0].data[row + x] = line[x];
        } else {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < width; ++x) {
                img->comps[0].data[row + x] = qRed(line[x]);
                img->comps[1].data[row + x] = qGreen(line[x]);
                img->comps[2].data[row + x] = qBlue(line[x]);
                if (alpha)
                    img->comps[3].data[row + x] = qAlpha(line[x]);
            }
        }
    }

    opj_cparameters_t parameters;
    opj_set_default_encoder_parameters(&parameters);
    parameters.tcp_numlayers = 1;
    parameters.tcp_rates[0] = 0;   // lossless
    parameters.cp_disto_alloc = 1;
    parameters.irreversible = 0;
    parameters.tcp_mct = n >= 3 ? 1 : 0;
    // Every resolution level must keep at least one pixel.
    while (parameters.numresolution > 1 && (1 << (parameters.numresolution - 1)) > std::min(width, height))
        --parameters.numresolution;

    QString message;
    CodecPtr codec(opj_create_compress(codestream ? OPJ_CODEC_J2K : OPJ_CODEC_JP2));
    QByteArray out;
    Buffer buffer;
    buffer.output = &out;
    StreamPtr stream = codec ? makeStream(buffer, false) : StreamPtr();
    if (codec) {
        opj_set_error_handler(codec.get(), collectMessage, &message);
        opj_set_warning_handler(codec.get(), ignoreMessage, nullptr);
        opj_set_info_handler(codec.get(), ignoreMessage, nullptr);
    }
    const bool ok = codec && stream && opj_setup_encoder(codec.get(), &parameters, img.get())
        && opj_start_compress(codec.get(), img.get(), stream.get()) && opj_encode(codec.get(), stream.get())
        && opj_end_compress(codec.get(), stream.get());
    if (!ok) {
        *error = QStringLiteral("JPEG 2000 编码失败（%1）").arg(message.isEmpty() ? QStringLiteral("未知错误") : message);
        return {};
    }
    return out;
}

}  // namespace image::detail
