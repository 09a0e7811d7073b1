#include "platform/scan/Scanner.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include <sane/sane.h>

namespace scan {
namespace {

QString statusText(SANE_Status status) { return QString::fromUtf8(sane_strstatus(status)); }

SANE_Handle handleOf(void* handle) { return static_cast<SANE_Handle>(handle); }

// The 8-bit value of sample `index` of a line.
inline uchar sampleAt(const uchar* line, int index, int depth) {
    switch (depth) {
        case 1:  // line art: a set bit is black
            return (line[index / 8] & (0x80 >> (index % 8))) ? 0 : 255;
        case 16: {
            quint16 value;
            std::memcpy(&value, line + 2 * index, sizeof value);  // host byte order
            return static_cast<uchar>(value >> 8);
        }
        default:
            return line[index];
    }
}

// One frame's samples, 8 bits each, `channels` per pixel, row after row.
struct Frame {
    SANE_Frame format = SANE_FRAME_GRAY;
    int width = 0;
    int channels = 1;
    int rows = 0;
    std::vector<uchar> samples;
};

}  // namespace

Scanner::Scanner() = default;

Scanner::~Scanner() { close(); }

bool Scanner::open(const QString& deviceName, QString* error) {
    close();
    if (!m_session.ok()) {
        if (error) *error = m_session.error();
        return false;
    }
    SANE_Handle handle = nullptr;
    const QByteArray name = deviceName.toUtf8();
    const SANE_Status status = sane_open(name.constData(), &handle);
    if (status != SANE_STATUS_GOOD) {
        if (error)
            *error = QStringLiteral("无法打开扫描设备 ") + deviceName + QStringLiteral("：") +
                     statusText(status);
        return false;
    }
    m_handle = handle;
    m_name = deviceName;
    return true;
}

void Scanner::close() {
    if (!m_handle) return;
    sane_close(handleOf(m_handle));
    m_handle = nullptr;
    m_name.clear();
}

int Scanner::optionIndex(const QString& name) const {
    if (!m_handle) return -1;
    const QByteArray wanted = name.toUtf8();
    // Option 0 is the option count; descriptors may change after a set, so look each time.
    for (SANE_Int i = 1;; ++i) {
        const SANE_Option_Descriptor* d = sane_get_option_descriptor(handleOf(m_handle), i);
        if (!d) return -1;
        if (d->name && wanted == d->name) return i;
    }
}

bool Scanner::setOption(const QString& name, const QVariant& value, QString* error) {
    auto fail = [&](const QString& why) {
        if (error) *error = QStringLiteral("无法设置扫描选项 ") + name + QStringLiteral("：") + why;
        return false;
    };
    const int index = optionIndex(name);
    if (index < 0) return fail(m_handle ? QStringLiteral("设备没有此选项") : QStringLiteral("设备未打开"));
    const SANE_Option_Descriptor* d = sane_get_option_descriptor(handleOf(m_handle), index);
    if (!SANE_OPTION_IS_ACTIVE(d->cap)) return fail(QStringLiteral("选项当前不可用"));
    if (!SANE_OPTION_IS_SETTABLE(d->cap)) return fail(QStringLiteral("选项不能由程序设置"));

    SANE_Status status = SANE_STATUS_GOOD;
    SANE_Int info = 0;
    switch (d->type) {
        case SANE_TYPE_BOOL: {
            SANE_Bool v = value.toBool() ? SANE_TRUE : SANE_FALSE;
            status = sane_control_option(handleOf(m_handle), index, SANE_ACTION_SET_VALUE, &v, &info);
            break;
        }
        case SANE_TYPE_INT:
        case SANE_TYPE_FIXED: {
            if (d->size != static_cast<SANE_Int>(sizeof(SANE_Word)))
                return fail(QStringLiteral("不支持数组选项"));
            bool ok = false;
            const double number = value.toDouble(&ok);
            if (!ok) return fail(QStringLiteral("需要一个数值"));
            SANE_Word v = d->type == SANE_TYPE_INT ? static_cast<SANE_Word>(number) : SANE_FIX(number);
            status = sane_control_option(handleOf(m_handle), index, SANE_ACTION_SET_VALUE, &v, &info);
            break;
        }
        case SANE_TYPE_STRING: {
            const QByteArray text = value.toString().toUtf8();
            if (text.size() + 1 > d->size) return fail(QStringLiteral("文字太长"));
            std::vector<char> buffer(static_cast<size_t>(d->size), '\0');
            std::memcpy(buffer.data(), text.constData(), static_cast<size_t>(text.size()));
            status = sane_control_option(handleOf(m_handle), index, SANE_ACTION_SET_VALUE,
                                         buffer.data(), &info);
            break;
        }
        case SANE_TYPE_BUTTON:
            status = sane_control_option(handleOf(m_handle), index, SANE_ACTION_SET_VALUE,
                                         nullptr, &info);
            break;
        default:
            return fail(QStringLiteral("选项不能设置"));
    }
    if (status != SANE_STATUS_GOOD) return fail(statusText(status));
    if (error) error->clear();
    return true;
}

QVariant Scanner::option(const QString& name) const {
    const int index = optionIndex(name);
    if (index < 0) return {};
    const SANE_Option_Descriptor* d = sane_get_option_descriptor(handleOf(m_handle), index);
    if (!SANE_OPTION_IS_ACTIVE(d->cap) || d->size <= 0) return {};
    std::vector<SANE_Word> buffer(static_cast<size_t>(d->size) / sizeof(SANE_Word) + 1, 0);
    if (sane_control_option(handleOf(m_handle), index, SANE_ACTION_GET_VALUE, buffer.data(),
                            nullptr) != SANE_STATUS_GOOD)
        return {};
    switch (d->type) {
        case SANE_TYPE_BOOL: return QVariant(buffer[0] != SANE_FALSE);
        case SANE_TYPE_INT: return QVariant(static_cast<int>(buffer[0]));
        case SANE_TYPE_FIXED: return QVariant(SANE_UNFIX(buffer[0]));
        case SANE_TYPE_STRING: {
            const char* text = reinterpret_cast<const char*>(buffer.data());
            return QVariant(QString::fromUtf8(text, static_cast<qsizetype>(
                                                        strnlen(text, static_cast<size_t>(d->size)))));
        }
        default: return {};
    }
}

QStringList Scanner::optionChoices(const QString& name) const {
    QStringList choices;
    const int index = optionIndex(name);
    if (index < 0) return choices;
    const SANE_Option_Descriptor* d = sane_get_option_descriptor(handleOf(m_handle), index);
    if (d->constraint_type != SANE_CONSTRAINT_STRING_LIST) return choices;
    for (const SANE_String_Const* s = d->constraint.string_list; s && *s; ++s)
        choices << QString::fromUtf8(*s);
    return choices;
}

void Scanner::cancel() {
    m_cancelRequested = true;
    if (m_handle) sane_cancel(handleOf(m_handle));
}

ScanResult Scanner::scan(const Progress& progress) {
    ScanResult result;
    if (!m_handle) {
        result.error = QStringLiteral("扫描设备未打开");
        return result;
    }
    SANE_Handle handle = handleOf(m_handle);
    m_cancelRequested = false;
    std::vector<Frame> frames;
    // Ends the scan on the device (also after the last frame) and reports how.
    auto finish = [&](SANE_Status status, const QString& context) {
        sane_cancel(handle);
        if (status == SANE_STATUS_CANCELLED || m_cancelRequested) {
            result.cancelled = true;
        } else {
            result.error = context + statusText(status);
        }
        return result;
    };
    auto refuse = [&](const QString& why) {
        sane_cancel(handle);
        result.error = why;
        return result;
    };

    std::vector<uchar> buffer(64 * 1024);
    for (;;) {
        SANE_Status status = sane_start(handle);
        if (status != SANE_STATUS_GOOD) return finish(status, QStringLiteral("无法开始扫描："));
        SANE_Parameters p;
        status = sane_get_parameters(handle, &p);
        if (status != SANE_STATUS_GOOD) return finish(status, QStringLiteral("无法读取扫描参数："));

        Frame frame;
        frame.format = p.format;
        frame.width = p.pixels_per_line;
        switch (p.format) {
            case SANE_FRAME_GRAY:
            case SANE_FRAME_RED:
            case SANE_FRAME_GREEN:
            case SANE_FRAME_BLUE: frame.channels = 1; break;
            case SANE_FRAME_RGB: frame.channels = 3; break;
            default:
                return refuse(QStringLiteral("不支持设备送来的图像格式（帧类型 ") +
                              QString::number(p.format) + u')');
        }
        if (p.depth != 1 && p.depth != 8 && p.depth != 16)
            return refuse(QStringLiteral("不支持每个采样 ") + QString::number(p.depth) +
                          QStringLiteral(" 位的扫描"));
        if (p.depth == 1 && p.format != SANE_FRAME_GRAY)
            return refuse(QStringLiteral("不支持 1 位的彩色扫描"));
        const qint64 samplesPerLine = qint64(frame.width) * frame.channels;
        const qint64 neededBytes = (samplesPerLine * p.depth + 7) / 8;
        if (frame.width <= 0 || p.bytes_per_line < neededBytes)
            return refuse(QStringLiteral("扫描设备送来的图像参数无效"));
        if (!frames.empty() && frame.width != frames.front().width)
            return refuse(QStringLiteral("扫描设备各次送来的图像宽度不同"));

        const qint64 total = p.lines >= 0 ? qint64(p.lines) * p.bytes_per_line : -1;
        if (p.lines > 0)
            frame.samples.reserve(static_cast<size_t>(p.lines) * static_cast<size_t>(samplesPerLine));
        std::vector<uchar> line(static_cast<size_t>(p.bytes_per_line));
        size_t filled = 0;
        qint64 done = 0;
        for (;;) {
            if (m_cancelRequested) return finish(SANE_STATUS_CANCELLED, {});
            SANE_Int length = 0;
            status = sane_read(handle, buffer.data(), static_cast<SANE_Int>(buffer.size()), &length);
            if (status == SANE_STATUS_EOF) break;
            if (status != SANE_STATUS_GOOD) return finish(status, QStringLiteral("扫描时出错："));
            // Cut the data into lines; a line's padding past its samples is dropped.
            for (SANE_Int at = 0; at < length;) {
                const size_t n = std::min(line.size() - filled, static_cast<size_t>(length - at));
                std::memcpy(line.data() + filled, buffer.data() + at, n);
                filled += n;
                at += static_cast<SANE_Int>(n);
                if (filled < line.size()) continue;
                filled = 0;
                if (p.lines >= 0 && frame.rows >= p.lines) continue;  // more than announced
                for (qint64 s = 0; s < samplesPerLine; ++s)
                    frame.samples.push_back(sampleAt(line.data(), static_cast<int>(s), p.depth));
                ++frame.rows;
            }
            done += length;
            if (progress && !progress(done, total)) {
                m_cancelRequested = true;
                return finish(SANE_STATUS_CANCELLED, {});
            }
        }
        if (frame.rows == 0) return refuse(QStringLiteral("扫描设备没有送来图像数据"));
        frames.push_back(std::move(frame));
        if (p.last_frame) break;
        // A three-pass scanner sends three bands; a device that never says "last" is refused.
        if (frames.size() >= 3) return refuse(QStringLiteral("扫描设备送来的图像帧太多"));
    }
    sane_cancel(handle);  // the scan is complete; SANE wants it ended all the same

    // Assemble: a single grey or RGB frame, or separate colour bands.
    int height = frames.front().rows;
    for (const Frame& f : frames) height = std::min(height, f.rows);
    const int width = frames.front().width;
    const Frame& first = frames.front();
    if (frames.size() == 1 && first.format == SANE_FRAME_GRAY) {
        QImage image(width, height, QImage::Format_Grayscale8);
        for (int y = 0; y < height; ++y)
            std::memcpy(image.scanLine(y), first.samples.data() + size_t(y) * size_t(width),
                        size_t(width));
        result.image = image;
        return result;
    }
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    for (const Frame& f : frames) {
        for (int y = 0; y < height; ++y) {
            auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
            const uchar* in = f.samples.data() + size_t(y) * size_t(width) * size_t(f.channels);
            for (int x = 0; x < width; ++x) {
                const QRgb old = out[x];
                switch (f.format) {
                    case SANE_FRAME_RGB: out[x] = qRgb(in[3 * x], in[3 * x + 1], in[3 * x + 2]); break;
                    case SANE_FRAME_RED: out[x] = qRgb(in[x], qGreen(old), qBlue(old)); break;
                    case SANE_FRAME_GREEN: out[x] = qRgb(qRed(old), in[x], qBlue(old)); break;
                    case SANE_FRAME_BLUE: out[x] = qRgb(qRed(old), qGreen(old), in[x]); break;
                    default: out[x] = qRgb(in[x], in[x], in[x]); break;
                }
            }
        }
    }
    result.image = image;
    return result;
}

}  // namespace scan
