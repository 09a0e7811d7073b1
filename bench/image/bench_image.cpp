// Timings of the image engine's display decode and thumbnails.
//
//   bench_image [work-dir]
//
// 1. A 6000 x 4000 JPEG shown in 1000 x 700: decodeForDisplay against libjpeg-turbo's own
//    scaled decode (tjDecompress2 at the same DCT scale), and against a full decode + scale.
// 2. Thumbnails (160 x 120) of 500 photos of 4000 x 3000, half with an EXIF thumbnail:
//    makeThumbnails on every core against decoding every photo at full size on one core.
// Photos are hard links to a few distinct files, so the decoders' work is real while the
// disk holds only those few.

#include <exiv2/exiv2.hpp>
#include <turbojpeg.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFuture>
#include <QImage>
#include <QTemporaryDir>
#include <QThreadPool>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unistd.h>
#include <vector>

#include "platform/image/Codecs.h"
#include "platform/image/ImageIo.h"
#include "platform/image/Thumbnails.h"

namespace {

// Something like a photograph: smooth light, some texture, a few edges.
QImage photoLike(int width, int height, int seed) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const double u = double(x) / width, v = double(y) / height;
            const double texture = 18 * std::sin(x * 0.05 + seed) * std::cos(y * 0.07) + ((x * 131 + y * 71 + seed) % 17);
            const int r = std::clamp(int(90 + 120 * u + texture), 0, 255);
            const int g = std::clamp(int(70 + 100 * v + texture), 0, 255);
            const int b = std::clamp(int(((x / 400 + y / 300 + seed) % 2 ? 180 : 60) + texture), 0, 255);
            line[x] = qRgb(r, g, b);
        }
    }
    return image;
}

void addExifThumbnail(const QString& path, const QImage& photo) {
    const QString thumbFile = path + ".thumb.jpg";
    image::saveImage(photo.scaled(160, 120, Qt::KeepAspectRatio, Qt::SmoothTransformation), thumbFile);
    QFile f(thumbFile);
    f.open(QIODevice::ReadOnly);
    const QByteArray jpeg = f.readAll();
    f.remove();
    auto img = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
    img->readMetadata();
    img->exifData()["Exif.Image.Make"] = "FotoCam";
    Exiv2::ExifThumb(img->exifData()).setJpegThumbnail(reinterpret_cast<const Exiv2::byte*>(jpeg.constData()),
                                                       long(jpeg.size()));
    img->writeMetadata();
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

template <typename F>
double medianMs(int runs, F&& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// libjpeg-turbo alone: read the file, decode at n/8 into RGBX.
QSize turboScaled(const QString& path, int eighths) {
    const QByteArray data = readAll(path);
    tjhandle tj = tjInitDecompress();
    int w = 0, h = 0, ss = 0, cs = 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
    tjDecompressHeader3(tj, bytes, static_cast<unsigned long>(data.size()), &w, &h, &ss, &cs);
    const int sw = (w * eighths + 7) / 8, sh = (h * eighths + 7) / 8;
    std::vector<unsigned char> out(size_t(sw) * size_t(sh) * 4);
    tjDecompress2(tj, bytes, static_cast<unsigned long>(data.size()), out.data(), sw, sw * 4, sh, TJPF_BGRX, 0);
    tjDestroy(tj);
    return {sw, sh};
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    image::installCodecs();
    QTemporaryDir temp;
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temp.path();
    QDir().mkpath(dir);
    std::printf("bench_image: %d threads in the pool\n\n", QThreadPool::globalInstance()->maxThreadCount());

    // --- 1. display decode -------------------------------------------------------------
    const QString big = dir + "/big.jpg";
    image::saveImage(photoLike(6000, 4000, 1), big);
    std::printf("6000x4000 JPEG: %.1f MB\n", double(QFile(big).size()) / 1e6);
    const QSize display(1000, 700);
    QSize shownSize;
    const double ours = medianMs(9, [&] { shownSize = image::decodeForDisplay(big, display).document.image.size(); });
    QSize turboSize;
    const double turbo = medianMs(9, [&] { turboSize = turboScaled(big, 2); });
    const image::LoadOptions fullSize{.readMetadata = false};
    const double full = medianMs(3, [&] {
        const QImage img = image::loadImage(big, fullSize).document.image;
        shownSize = img.scaled(display, Qt::KeepAspectRatio, Qt::SmoothTransformation).size();
    });
    std::printf("  decodeForDisplay -> %dx%d           %8.1f ms\n", shownSize.width(), shownSize.height(), ours);
    std::printf("  tjDecompress2 1/4 -> %dx%d (no scaling) %6.1f ms   ours/turbo = %.2f\n", turboSize.width(),
                turboSize.height(), turbo, ours / turbo);
    std::printf("  full decode + smooth scale          %8.1f ms   full/ours  = %.1f\n\n", full, full / ours);

    // --- 2. thumbnails -----------------------------------------------------------------
    constexpr int kPhotos = 500;
    constexpr int kDistinct = 8;
    QStringList bases;
    for (int i = 0; i < kDistinct; ++i) {
        const QString base = QStringLiteral("%1/base-%2.jpg").arg(dir).arg(i);
        const QImage photo = photoLike(4000, 3000, i + 2);
        image::saveImage(photo, base);
        if (i % 2 == 0)
            addExifThumbnail(base, photo);
        bases << base;
    }
    QStringList photos;
    for (int i = 0; i < kPhotos; ++i) {
        const QString name = QStringLiteral("%1/photo-%2.jpg").arg(dir).arg(i, 3, 10, QLatin1Char('0'));
        QFile::remove(name);
        if (::link(QFile::encodeName(bases[i % kDistinct]).constData(), QFile::encodeName(name).constData()) != 0)
            QFile::copy(bases[i % kDistinct], name);
        photos << name;
    }
    std::printf("500 photos of 4000x3000 (%.1f MB each on average), half with an EXIF thumbnail\n",
                double(QFile(bases[0]).size() + QFile(bases[1]).size()) / 2e6);
    const QSize box(160, 120);

    int fromExif = 0, failed = 0;
    QElapsedTimer t;
    t.start();
    QFuture<image::Thumbnail> future = image::makeThumbnails(photos, box);
    future.waitForFinished();
    const double allCores = double(t.nsecsElapsed()) / 1e6;
    for (const image::Thumbnail& th : future.results()) {
        fromExif += th.fromExif ? 1 : 0;
        failed += th.ok() ? 0 : 1;
    }

    QThreadPool one;
    one.setMaxThreadCount(1);
    t.restart();
    image::makeThumbnails(photos, box, &one).waitForFinished();
    const double oneCore = double(t.nsecsElapsed()) / 1e6;

    t.restart();
    int decodedFull = 0;
    for (const QString& p : photos) {
        const QImage img = image::loadImage(p, fullSize).document.image;
        decodedFull += img.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation).isNull() ? 0 : 1;
    }
    const double fullDecode = double(t.nsecsElapsed()) / 1e6;

    std::printf("  makeThumbnails, all cores           %8.0f ms  (%d from EXIF, %d failed)\n", allCores, fromExif, failed);
    std::printf("  makeThumbnails, one core            %8.0f ms\n", oneCore);
    std::printf("  full-size decode + scale, one core  %8.0f ms   full/ours = %.1f  (%d decoded)\n", fullDecode,
                fullDecode / allCores, decodedFull);
    for (const QString& p : photos)
        QFile::remove(p);
    for (const QString& b : bases)
        QFile::remove(b);
    QFile::remove(big);
    return 0;
}
