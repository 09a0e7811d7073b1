// Tests of the image engine without widgets: formats, detection, errors, pixel formats,
// camera data, thumbnails, processing.

#include <QFutureWatcher>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include <tiffio.h>

#include <cmath>

#include "ImageFixtures.h"
#include "platform/image/Codecs.h"
#include "platform/image/ImageIo.h"
#include "platform/image/ImageProcessing.h"
#include "platform/image/InfoRows.h"
#include "platform/image/Thumbnails.h"

using namespace image;

Q_DECLARE_METATYPE(image::FileFormat)
Q_DECLARE_METATYPE(image::PixelKind)
Q_DECLARE_METATYPE(QImage::Format)

namespace {

// Mean absolute difference per channel between two images of the same size.
double meanDifference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    if (x.size() != y.size())
        return 1e9;
    double sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col)
            sum += std::abs(qRed(p[col]) - qRed(q[col])) + std::abs(qGreen(p[col]) - qGreen(q[col]))
                + std::abs(qBlue(p[col]) - qBlue(q[col]));
    }
    return sum / (3.0 * x.width() * x.height());
}

bool samePixels(const QImage& a, const QImage& b) {
    return a.size() == b.size()
        && a.convertToFormat(QImage::Format_ARGB32) == b.convertToFormat(QImage::Format_ARGB32);
}

QString localNumber(const QString& text) {
    QString out = text;
    return out.replace(QLatin1Char('.'), QLocale::system().decimalPoint());
}

QString valueOf(const QList<InfoRow>& rows, const QString& caption) {
    for (const InfoRow& row : rows)
        if (row.caption == caption)
            return row.value;
    return QStringLiteral("<missing>");
}

}  // namespace

class TestImage final : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }

    // A JPEG of `size` saved by the engine, optionally with camera data.
    QString makeJpeg(const QString& name, const QImage& content) {
        const QString file = path(name);
        const ImageStatus saved = saveImage(content, file);
        if (!saved.ok())
            qWarning() << saved.error;
        return file;
    }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        installCodecs();
    }

    void installCodecsIsIdempotentAndComplete() {
        const CodecReport& first = installCodecs();
        const CodecReport& second = installCodecs();
        QCOMPARE(&first, &second);
        QVERIFY(first.gifLzwRead);
        QVERIFY(first.gifLzwWrite);
        QVERIFY(first.tiffLzwRead);
        QVERIFY(first.tiffLzwWrite);
        QVERIFY(first.jpeg2000);
        QVERIFY(first.metafiles);
        QVERIFY2(first.missing.isEmpty(), qPrintable(first.missing.join(", ")));
    }

    void roundTrip_data() {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QImage::Format>("sourceFormat");
        QTest::addColumn<FileFormat>("written");   // what the content must say
        QTest::addColumn<bool>("exact");

        const auto colour = QImage::Format_RGB32;
        QTest::newRow("jpg") << "jpg" << colour << FileFormat::Jpeg << false;
        QTest::newRow("jpeg") << "jpeg" << colour << FileFormat::Jpeg << false;
        QTest::newRow("jpe grey") << "jpe" << QImage::Format_Grayscale8 << FileFormat::Jpeg << false;
        QTest::newRow("png") << "png" << colour << FileFormat::Png << true;
        QTest::newRow("png alpha") << "png" << QImage::Format_ARGB32 << FileFormat::Png << true;
        QTest::newRow("bmp") << "bmp" << colour << FileFormat::Bmp << true;
        QTest::newRow("dib") << "dib" << QImage::Format_Indexed8 << FileFormat::Bmp << true;
        QTest::newRow("rle") << "rle" << colour << FileFormat::Bmp << true;
        QTest::newRow("gif") << "gif" << colour << FileFormat::Gif << true;
        QTest::newRow("gif mono") << "gif" << QImage::Format_Mono << FileFormat::Gif << true;
        QTest::newRow("tif") << "tif" << colour << FileFormat::Tiff << true;
        QTest::newRow("tiff grey16") << "tiff" << QImage::Format_Grayscale16 << FileFormat::Tiff << true;
        QTest::newRow("fax") << "fax" << QImage::Format_Mono << FileFormat::Tiff << true;
        QTest::newRow("pcx") << "pcx" << colour << FileFormat::Pcx << true;
        QTest::newRow("pcx palette") << "pcx" << QImage::Format_Indexed8 << FileFormat::Pcx << true;
        QTest::newRow("ico") << "ico" << QImage::Format_ARGB32 << FileFormat::Ico << true;
        QTest::newRow("cur") << "cur" << QImage::Format_ARGB32 << FileFormat::Cur << true;
        QTest::newRow("tga") << "tga" << colour << FileFormat::Tga << true;
        QTest::newRow("tga alpha") << "tga" << QImage::Format_ARGB32 << FileFormat::Tga << true;
        QTest::newRow("vda") << "vda" << colour << FileFormat::Tga << true;
        QTest::newRow("ppm") << "ppm" << colour << FileFormat::Ppm << true;
        QTest::newRow("pxm") << "pxm" << colour << FileFormat::Ppm << true;
        QTest::newRow("pgm") << "pgm" << QImage::Format_Grayscale8 << FileFormat::Pgm << true;
        QTest::newRow("pbm") << "pbm" << QImage::Format_Mono << FileFormat::Pbm << true;
        QTest::newRow("wbmp") << "wbmp" << QImage::Format_Mono << FileFormat::Wbmp << true;
        QTest::newRow("jp2") << "jp2" << colour << FileFormat::Jp2 << true;
        QTest::newRow("jp2 alpha") << "jp2" << QImage::Format_ARGB32 << FileFormat::Jp2 << true;
        QTest::newRow("jp2 grey16") << "jp2" << QImage::Format_Grayscale16 << FileFormat::Jp2 << true;
        QTest::newRow("j2k") << "j2k" << colour << FileFormat::J2k << true;
        QTest::newRow("jpc") << "jpc" << QImage::Format_Grayscale8 << FileFormat::J2k << true;
        QTest::newRow("j2c") << "j2c" << colour << FileFormat::J2k << true;
    }

    void roundTrip() {
        QFETCH(QString, extension);
        QFETCH(QImage::Format, sourceFormat);
        QFETCH(FileFormat, written);
        QFETCH(bool, exact);

        QImage source;
        if (sourceFormat == QImage::Format_Grayscale16) {
            source = fixtures::grey16Ramp(37, 23);
        } else if (!exact) {
            source = fixtures::gradient(37, 23).convertToFormat(sourceFormat);
        } else {
            source = fixtures::stripesAs(37, 23, sourceFormat);
            if (sourceFormat == QImage::Format_ARGB32) {
                for (int y = 0; y < 8; ++y)   // a fully transparent band
                    for (int x = 0; x < source.width(); ++x)
                        source.setPixel(x, y, qRgba(0, 0, 0, 0));
            }
        }
        const QString file = path(QStringLiteral("round-%1.%2").arg(QTest::currentDataTag()).replace(' ', '_'));
        const QString target = file.left(file.lastIndexOf('.') + 1) + extension;
        const ImageStatus saved = saveImage(source, target);
        QVERIFY2(saved.ok(), qPrintable(saved.error));

        const QByteArray bytes = fixtures::readFile(target);
        QVERIFY(!bytes.isEmpty());
        if (written != FileFormat::Tga && written != FileFormat::Wbmp)
            QCOMPARE(formatFromContent(bytes.left(256)), written);
        QCOMPARE(detectFormat(target), written);

        const LoadResult loaded = loadImage(target);
        QVERIFY2(loaded.ok(), qPrintable(loaded.error));
        QCOMPARE(loaded.document.fileFormat, written);
        QCOMPARE(loaded.document.image.size(), source.size());
        QCOMPARE(loaded.document.originalSize, source.size());
        QCOMPARE(loaded.document.path, target);
        if (sourceFormat == QImage::Format_Grayscale16 && written != FileFormat::Jpeg) {
            QCOMPARE(loaded.document.image.convertToFormat(QImage::Format_Grayscale16), source);
        } else if (exact) {
            QVERIFY(samePixels(loaded.document.image, source));
        } else {
            QVERIFY(meanDifference(loaded.document.image, source) < 12.0);
        }
    }

    void pixelFormatOfFile_data() {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QImage::Format>("sourceFormat");
        QTest::addColumn<PixelKind>("kind");
        QTest::addColumn<int>("bits");

        QTest::newRow("png 1-bit") << "png" << QImage::Format_Mono << PixelKind::OneBit << 1;
        QTest::newRow("png palette") << "png" << QImage::Format_Indexed8 << PixelKind::Palette8 << 8;
        QTest::newRow("png grey") << "png" << QImage::Format_Grayscale8 << PixelKind::Grey8 << 8;
        QTest::newRow("png grey16") << "png" << QImage::Format_Grayscale16 << PixelKind::Grey16 << 16;
        QTest::newRow("png colour") << "png" << QImage::Format_RGB32 << PixelKind::Rgb24 << 24;
        QTest::newRow("png alpha") << "png" << QImage::Format_ARGB32 << PixelKind::Rgb24 << 24;
        QTest::newRow("png 16-bit colour") << "png" << QImage::Format_RGBX64 << PixelKind::Other << 48;
        QTest::newRow("bmp 1-bit") << "bmp" << QImage::Format_Mono << PixelKind::OneBit << 1;
        QTest::newRow("bmp palette") << "bmp" << QImage::Format_Indexed8 << PixelKind::Palette8 << 8;
        QTest::newRow("bmp colour") << "bmp" << QImage::Format_RGB32 << PixelKind::Rgb24 << 24;
        QTest::newRow("tiff 1-bit") << "tif" << QImage::Format_Mono << PixelKind::OneBit << 1;
        QTest::newRow("tiff grey") << "tif" << QImage::Format_Grayscale8 << PixelKind::Grey8 << 8;
        QTest::newRow("tiff grey16") << "tif" << QImage::Format_Grayscale16 << PixelKind::Grey16 << 16;
        QTest::newRow("gif 1-bit") << "gif" << QImage::Format_Mono << PixelKind::OneBit << 1;
        QTest::newRow("gif palette") << "gif" << QImage::Format_Indexed8 << PixelKind::Palette8 << 8;
        QTest::newRow("jpeg grey") << "jpg" << QImage::Format_Grayscale8 << PixelKind::Grey8 << 8;
        QTest::newRow("jpeg colour") << "jpg" << QImage::Format_RGB32 << PixelKind::Rgb24 << 24;
        QTest::newRow("pcx 1-bit") << "pcx" << QImage::Format_Mono << PixelKind::OneBit << 1;
        QTest::newRow("pcx palette") << "pcx" << QImage::Format_Indexed8 << PixelKind::Palette8 << 8;
        QTest::newRow("pcx colour") << "pcx" << QImage::Format_RGB32 << PixelKind::Rgb24 << 24;
        QTest::newRow("tga grey") << "tga" << QImage::Format_Grayscale8 << PixelKind::Grey8 << 8;
        QTest::newRow("tga colour") << "tga" << QImage::Format_RGB32 << PixelKind::Rgb24 << 24;
        QTest::newRow("jp2 grey") << "jp2" << QImage::Format_Grayscale8 << PixelKind::Grey8 << 8;
        QTest::newRow("jp2 grey16") << "jp2" << QImage::Format_Grayscale16 << PixelKind::Grey16 << 16;
        QTest::newRow("jp2 colour") << "jp2" << QImage::Format_RGB32 << PixelKind::Rgb24 << 24;
        QTest::newRow("pbm") << "pbm" << QImage::Format_Mono << PixelKind::OneBit << 1;
        QTest::newRow("pgm") << "pgm" << QImage::Format_Grayscale8 << PixelKind::Grey8 << 8;
        QTest::newRow("ppm") << "ppm" << QImage::Format_RGB32 << PixelKind::Rgb24 << 24;
        QTest::newRow("wbmp") << "wbmp" << QImage::Format_Mono << PixelKind::OneBit << 1;
    }

    void pixelFormatOfFile() {
        QFETCH(QString, extension);
        QFETCH(QImage::Format, sourceFormat);
        QFETCH(PixelKind, kind);
        QFETCH(int, bits);

        const QImage source = sourceFormat == QImage::Format_Grayscale16 ? fixtures::grey16Ramp(20, 10)
                                                                          : fixtures::stripesAs(20, 10, sourceFormat);
        const QString file = path(QStringLiteral("kind-%1.%2").arg(QString(QTest::currentDataTag()).replace(' ', '_'), extension));
        const ImageStatus saved = saveImage(source, file);
        QVERIFY2(saved.ok(), qPrintable(saved.error));
        const LoadResult loaded = loadImage(file);
        QVERIFY2(loaded.ok(), qPrintable(loaded.error));
        QCOMPARE(loaded.document.pixelFormat.kind, kind);
        QCOMPARE(loaded.document.pixelFormat.bitsPerPixel, bits);
    }

    void colourNames_data() {
        QTest::addColumn<PixelKind>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("bits");
        QTest::newRow("1-bit") << PixelKind::OneBit << "16色" << 1;
        QTest::newRow("palette") << PixelKind::Palette8 << "256色" << 8;
        QTest::newRow("grey") << PixelKind::Grey8 << "256色" << 8;
        QTest::newRow("grey16") << PixelKind::Grey16 << "增强色16位" << 16;
        QTest::newRow("colour") << PixelKind::Rgb24 << "真彩色32位" << 24;
        QTest::newRow("float") << PixelKind::Other << "" << 32;
        QTest::newRow("none") << PixelKind::None << "" << 0;
    }

    void colourNames() {
        QFETCH(PixelKind, kind);
        QFETCH(QString, name);
        QFETCH(int, bits);
        QCOMPARE(colourName(kind), name);
        QCOMPARE(pixelFormatFor(kind).bitsPerPixel, bits);
    }

    void contentDecidesBeforeExtension() {
        const QImage source = fixtures::stripes(30, 20);
        const QString pngAsJpg = path("really-png.jpg");
        QVERIFY(saveImageAs(source, pngAsJpg, FileFormat::Png).ok());
        LoadResult loaded = loadImage(pngAsJpg);
        QVERIFY2(loaded.ok(), qPrintable(loaded.error));
        QCOMPARE(loaded.document.fileFormat, FileFormat::Png);
        QVERIFY(samePixels(loaded.document.image, source));

        // A TGA carries no signature: its name tells, even under a misleading neighbour name.
        const QString tga = path("plain.tga");
        QVERIFY(saveImage(source, tga).ok());
        QCOMPARE(detectFormat(tga), FileFormat::Tga);

        // The same bytes named .bmp: the content (JPEG) wins.
        const QString jpegAsBmp = path("export.bmp");
        QVERIFY(saveImageAs(source, jpegAsBmp, FileFormat::Jpeg).ok());
        QVERIFY(fixtures::readFile(jpegAsBmp).startsWith("\xFF\xD8\xFF"));
        loaded = loadImage(jpegAsBmp);
        QVERIFY2(loaded.ok(), qPrintable(loaded.error));
        QCOMPARE(loaded.document.fileFormat, FileFormat::Jpeg);
    }

    void extensionTable_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<FileFormat>("format");
        QTest::newRow("upper case") << "A.JPG" << FileFormat::Jpeg;
        QTest::newRow("jpe") << "a.jpe" << FileFormat::Jpeg;
        QTest::newRow("g3f") << "dir/a.g3f" << FileFormat::Fax;
        QTest::newRow("targa") << "a.targa" << FileFormat::Tga;
        QTest::newRow("icb") << "a.icb" << FileFormat::Tga;
        QTest::newRow("vst") << "a.vst" << FileFormat::Tga;
        QTest::newRow("pix") << "a.pix" << FileFormat::Tga;
        QTest::newRow("pxm") << "a.pxm" << FileFormat::Ppm;
        QTest::newRow("emf") << "a.emf" << FileFormat::Emf;
        QTest::newRow("bare suffix") << "wbmp" << FileFormat::Wbmp;
        QTest::newRow("dot in folder only") << "a.jpg/photo" << FileFormat::Unknown;
        QTest::newRow("unknown") << "a.xyz" << FileFormat::Unknown;
    }

    void extensionTable() {
        QFETCH(QString, name);
        QFETCH(FileFormat, format);
        QCOMPARE(formatFromExtension(name), format);
    }

    void badInputIsAnError_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");

        QByteArray jpeg;
        {
            const QString full = path("whole.jpg");
            QVERIFY(saveImage(fixtures::stripes(200, 150), full).ok());
            jpeg = fixtures::readFile(full);
        }
        QByteArray png;
        {
            const QString full = path("whole.png");
            QVERIFY(saveImage(fixtures::grey16Ramp(200, 150), full).ok());
            png = fixtures::readFile(full);
        }
        QByteArray jp2;
        {
            const QString full = path("whole.jp2");
            QVERIFY(saveImage(fixtures::stripes(200, 150), full).ok());
            jp2 = fixtures::readFile(full);
        }
        QByteArray garbage(4000, '\0');
        for (int i = 0; i < garbage.size(); ++i)
            garbage[i] = char((i * 7919 + 13) % 251);

        QHash<QString, QByteArray> whole;
        for (const QString ext : {"bmp", "gif", "pcx", "tga"}) {
            const QString full = path("whole." + ext);
            QVERIFY(saveImage(fixtures::gradient(120, 90), full).ok());
            whole[ext] = fixtures::readFile(full);
        }
        QTest::newRow("zero bytes") << "empty.jpg" << QByteArray();
        QTest::newRow("garbage named png") << "noise.png" << garbage;
        QTest::newRow("garbage named tga") << "noise.tga" << garbage;
        QTest::newRow("garbage named pcx") << "noise.pcx" << garbage;
        QTest::newRow("garbage, no extension") << "noise" << garbage;
        QTest::newRow("text named gif") << "note.gif" << QByteArray("just some text\n");
        QTest::newRow("jpeg cut in half") << "cut.jpg" << jpeg.left(jpeg.size() / 2);
        QTest::newRow("jpeg header only") << "head.jpg" << jpeg.left(200);
        QTest::newRow("jpeg signature then noise") << "sig.jpg" << (QByteArray("\xFF\xD8\xFF\xE0", 4) + garbage);
        QTest::newRow("png cut in half") << "cut.png" << png.left(png.size() / 2);
        QTest::newRow("bmp cut short") << "cut.bmp" << whole["bmp"].chopped(100);
        QTest::newRow("gif cut short") << "cut.gif" << whole["gif"].left(whole["gif"].size() * 3 / 4);
        QTest::newRow("pcx cut in half") << "cut.pcx" << whole["pcx"].left(whole["pcx"].size() / 2);
        QTest::newRow("tga cut in half") << "cut.tga" << whole["tga"].left(whole["tga"].size() / 2);
        QTest::newRow("jp2 cut in half") << "cut.jp2" << jp2.left(jp2.size() / 2);
        QTest::newRow("metafile header only") << "head.wmf" << fixtures::metafile(50, 40).left(40);
        QByteArray emf(88, '\0');
        emf[0] = 1;
        emf.replace(40, 4, " EMF");
        QTest::newRow("emf") << "vector.emf" << emf;
    }

    void badInputIsAnError() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        const QString file = path(name);
        QVERIFY(fixtures::writeFile(file, bytes));
        const LoadResult loaded = loadImage(file);
        QVERIFY(!loaded.ok());
        QVERIFY(!loaded.error.trimmed().isEmpty());
        QVERIFY(loaded.document.image.isNull());
        QVERIFY(loaded.document.path.isEmpty());
        QVERIFY(!makeThumbnail(file, {64, 64}).ok());
    }

    void missingFileIsAnError() {
        const LoadResult loaded = loadImage(path("does-not-exist.png"));
        QVERIFY(!loaded.ok());
        QVERIFY(loaded.error.contains("does-not-exist.png"));
    }

    void metafileIsDrawn() {
        const QString file = path("drawing.wmf");
        QVERIFY(fixtures::writeFile(file, fixtures::metafile(120, 80)));
        const LoadResult loaded = loadImage(file);
        QVERIFY2(loaded.ok(), qPrintable(loaded.error));
        QCOMPARE(loaded.document.fileFormat, FileFormat::Wmf);
        QCOMPARE(loaded.document.image.size(), QSize(120, 80));
        QCOMPARE(loaded.document.pixelFormat.kind, PixelKind::Rgb24);
        const QImage img = loaded.document.image;
        QCOMPARE(QColor(img.pixel(20, 40)), QColor(255, 0, 0));
        QCOMPARE(QColor(img.pixel(100, 40)), QColor(255, 255, 255));
        QVERIFY(!saveImage(img, path("out.wmf")).ok());
        QVERIFY(!saveImage(img, path("out.emf")).ok());
    }

    void displayDecodeIsReduced_data() {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QSize>("limit");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("jpeg quarter") << "jpg" << QSize(200, 200) << QSize(200, 150);
        QTest::newRow("jpeg odd ratio") << "jpg" << QSize(333, 1000) << QSize(333, 249);
        QTest::newRow("jpeg not enlarged") << "jpg" << QSize(2000, 2000) << QSize(800, 600);
        QTest::newRow("jp2 levels") << "jp2" << QSize(100, 100) << QSize(100, 75);
        QTest::newRow("png scaled") << "png" << QSize(400, 400) << QSize(400, 300);
    }

    void displayDecodeIsReduced() {
        QFETCH(QString, extension);
        QFETCH(QSize, limit);
        QFETCH(QSize, expected);
        const QImage source = fixtures::halves(800, 600, Qt::red, Qt::blue);
        const QString file = path("display." + extension);
        QVERIFY(saveImage(source, file).ok());
        const LoadResult shown = decodeForDisplay(file, limit);
        QVERIFY2(shown.ok(), qPrintable(shown.error));
        QCOMPARE(shown.document.image.size(), expected);
        QCOMPARE(shown.document.originalSize, QSize(800, 600));
        QCOMPARE(shown.document.isReduced(), expected != QSize(800, 600));
        QVERIFY(!shown.document.camera.hasExif);
        const QImage reference = source.scaled(expected, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QVERIFY(meanDifference(shown.document.image, reference) < 10.0);
    }

    void cameraDataReadBack() {
        const QString file = makeJpeg("camera.jpg", fixtures::stripes(64, 48));
        const fixtures::ExifValues values;
        const QString written = fixtures::writeCameraData(file, values);
        QVERIFY2(written.isEmpty(), qPrintable(written));

        const LoadResult loaded = loadImage(file);
        QVERIFY2(loaded.ok(), qPrintable(loaded.error));
        const CameraData& c = loaded.document.camera;
        QVERIFY(c.hasExif);
        QCOMPARE(c.make, values.make);
        QCOMPARE(c.model, values.model);
        QCOMPARE(c.flashpixVersion, QStringLiteral("0100"));
        QCOMPARE(c.dateTimeOriginal, values.dateTimeOriginal);
        QCOMPARE(c.dateTime, values.dateTime);
        QCOMPARE(c.exposureProgram, 2);
        QCOMPARE(c.exposureTime, 0.004);
        QCOMPARE(c.exposureBias, -2.0 / 3.0);
        QCOMPARE(c.maxAperture, 3.0);
        QCOMPARE(c.fNumber, 5.6);
        QCOMPARE(c.isoSpeed, 400);
        QCOMPARE(c.focalLength, 50.0);
        QCOMPARE(c.flash, 1);
        QCOMPARE(c.whitePoint, 0.329);
        QCOMPARE(c.lightSource, 4);
        QCOMPARE(c.meteringMode, 5);
        QCOMPARE(c.colorSpace, 1);
        QCOMPARE(c.userComment, values.userComment);
        QCOMPARE(c.imageDescription, values.imageDescription);
        QVERIFY2(c.iptc.contains(values.iptc[0]) && c.iptc.contains(values.iptc[1])
                     && c.iptc.contains(values.iptc[2]), qPrintable(c.iptc.join("|")));

        const CameraData alone = readCameraData(file);
        QCOMPARE(alone.make, c.make);
        QCOMPARE(alone.iptc, c.iptc);

        const QList<InfoRow> rows = informationRows(loaded.document);
        const QList<InfoRow> fixed = {
            {"相机厂家", "FotoCam"},
            {"相机型号", "FC-100"},
            {"固件版本", "0100"},
            {"拍摄时间", "2008:07:01 10:20:30"},
            {"修改时间", "2009:01:02 03:04:05"},
            {"曝光模式", "2"},
            {"快门速度", localNumber("0.004")},
            {"曝光补偿", localNumber("-0.666666666666667")},
            {"最大光圈", "3"},
            {"光圈系数", localNumber("5.6")},
            {"感光度ISO", "400"},
            {"焦距", "50"},
            {"闪光灯", "使用"},
            {"白平衡", localNumber("0.329")},
            {"光源", "4"},
            {"测光方式", "5"},
            {"照片高度", "48"},
            {"照片宽度", "64"},
            {"色彩空间", "1"},
            {"用户注释", "北京的冬天"},
            {"照片描述", "Lake view"},
        };
        QCOMPARE(rows.mid(0, fixed.size()), fixed);
        QCOMPARE(rows.size(), fixed.size() + c.iptc.size());
        for (qsizetype i = 0; i < c.iptc.size(); ++i)
            QCOMPARE(rows[fixed.size() + i], (InfoRow{c.iptc[i], c.iptc[i]}));
    }

    void legacyChineseTextIsDecoded() {
        const QString file = makeJpeg("gbk.jpg", fixtures::stripes(16, 16));
        // "西湖" in the Chinese Windows code page, as older software wrote it.
        const QByteArray gbk("\xCE\xF7\xBA\xFE");
        QVERIFY(fixtures::writeExifBytes(file, "Exif.Image.ImageDescription", gbk).isEmpty());
        QVERIFY(fixtures::writeExifBytes(file, "Exif.Image.Make", "Caf\xC3\xA9").isEmpty());
        const CameraData c = readCameraData(file);
        QCOMPARE(c.imageDescription, QStringLiteral("西湖"));
        QCOMPARE(c.make, QStringLiteral("Café"));
    }

    void cameraDataIsResetByTheNextLoad() {
        const QString withExif = makeJpeg("with-exif.jpg", fixtures::stripes(40, 30));
        QVERIFY(fixtures::writeCameraData(withExif).isEmpty());
        const QString without = path("without.png");
        QVERIFY(saveImage(fixtures::stripes(50, 20), without).ok());

        QVERIFY(loadImage(withExif).document.camera.hasExif);
        const LoadResult plain = loadImage(without);
        QVERIFY(plain.ok());
        const CameraData& c = plain.document.camera;
        QVERIFY(!c.hasExif);
        QVERIFY(c.make.isEmpty() && c.model.isEmpty() && c.userComment.isEmpty() && c.iptc.isEmpty());
        const QList<InfoRow> rows = informationRows(plain.document);
        QCOMPARE(rows.size(), 21);
        for (const char* text : {"相机厂家", "相机型号", "固件版本", "拍摄时间", "修改时间", "用户注释", "照片描述"})
            QCOMPARE(valueOf(rows, text), QString());
        for (const char* number : {"曝光模式", "快门速度", "曝光补偿", "最大光圈", "光圈系数", "感光度ISO", "焦距",
                                   "白平衡", "光源", "测光方式", "色彩空间"})
            QCOMPARE(valueOf(rows, number), QStringLiteral("0"));
        QCOMPARE(valueOf(rows, "闪光灯"), QStringLiteral("未使用"));
        QCOMPARE(valueOf(rows, "照片宽度"), QStringLiteral("50"));
        QCOMPARE(valueOf(rows, "照片高度"), QStringLiteral("20"));
    }

    void flashRow_data() {
        QTest::addColumn<int>("flash");
        QTest::addColumn<QString>("shown");
        QTest::newRow("none") << 0 << "未使用";
        QTest::newRow("fired") << 1 << "使用";
        QTest::newRow("off, did not fire") << 16 << "未使用";
        QTest::newRow("auto, did not fire") << 24 << "未使用";
        QTest::newRow("auto, fired") << 25 << "使用";
    }

    void flashRow() {
        QFETCH(int, flash);
        QFETCH(QString, shown);
        CameraData c;
        c.flash = flash;
        QCOMPARE(valueOf(informationRows(c, QSize(1, 1)), "闪光灯"), shown);
    }

    void numberFormat_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("small") << 0.004 << "0.004";
        QTest::newRow("fraction") << 5.6 << "5.6";
        QTest::newRow("whole") << 1250.0 << "1250";
        QTest::newRow("negative") << -1.5 << "-1.5";
        QTest::newRow("tiny") << 0.00001 << "1E-5";
    }

    void numberFormat() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(formatInfoNumber(value), localNumber(text));
    }

    void thumbnailPrefersEmbeddedExif() {
        const QString file = makeJpeg("thumbed.jpg", fixtures::halves(1600, 1200, Qt::red, Qt::red));
        QImage small(160, 120, QImage::Format_RGB32);
        small.fill(Qt::blue);
        const QString written = fixtures::writeExifThumbnail(file, small);
        QVERIFY2(written.isEmpty(), qPrintable(written));

        const Thumbnail fromExif = makeThumbnail(file, {160, 160});
        QVERIFY2(fromExif.ok(), qPrintable(fromExif.error));
        QVERIFY(fromExif.fromExif);
        QCOMPARE(fromExif.image.size(), QSize(160, 120));
        QVERIFY(qBlue(fromExif.image.pixel(80, 60)) > 200 && qRed(fromExif.image.pixel(80, 60)) < 60);

        // Too small for the box asked for: the photo itself is decoded.
        const Thumbnail decoded = makeThumbnail(file, {400, 400});
        QVERIFY(decoded.ok());
        QVERIFY(!decoded.fromExif);
        QCOMPARE(decoded.image.size(), QSize(400, 300));
        QVERIFY(qRed(decoded.image.pixel(200, 150)) > 200 && qBlue(decoded.image.pixel(200, 150)) < 60);

        const QString plain = makeJpeg("plain.jpg", fixtures::stripes(300, 100));
        const Thumbnail noExif = makeThumbnail(plain, {120, 120});
        QVERIFY(noExif.ok());
        QVERIFY(!noExif.fromExif);
        QCOMPARE(noExif.image.size(), QSize(120, 40));
    }

    void thumbnailsOnAllCores() {
        QStringList paths;
        const QStringList extensions = {"jpg", "png", "pcx", "tga", "gif", "tif", "jp2", "bmp"};
        for (int i = 0; i < 16; ++i) {
            const QString file = path(QStringLiteral("many-%1.%2").arg(i).arg(extensions[i % extensions.size()]));
            QVERIFY(saveImage(fixtures::stripes(300 + i, 200), file).ok());
            if (file.endsWith(".jpg"))
                QVERIFY(fixtures::writeExifThumbnail(file, fixtures::stripes(160, 107)).isEmpty());
            paths << file;
        }
        paths << path("missing.jpg");
        QFuture<Thumbnail> future = makeThumbnails(paths, {100, 100});
        future.waitForFinished();
        const QList<Thumbnail> results = future.results();
        QCOMPARE(results.size(), paths.size());
        for (int i = 0; i < 16; ++i) {
            QCOMPARE(results[i].path, paths[i]);
            QVERIFY2(results[i].ok(), qPrintable(results[i].error));
            QCOMPARE(results[i].image.width(), 100);
        }
        QVERIFY(!results.last().ok());
        QVERIFY(results.last().image.isNull());
    }

    void savingVerifiesAndKeepsOldFileOnFailure() {
        const QString file = path("keep.png");
        QVERIFY(fixtures::writeFile(file, "old bytes"));
        QVERIFY(!saveImage(QImage(), file).ok());
        QCOMPARE(fixtures::readFile(file), QByteArray("old bytes"));
        QVERIFY(!saveImage(fixtures::stripes(4, 4), path("name.xyz")).ok());
        QVERIFY(!saveImage(fixtures::stripes(4, 4), path("no-extension")).ok());

        const QString bmp = path("as-bmp.png");
        QVERIFY(saveImageAs(fixtures::stripes(10, 10), bmp, FileFormat::Bmp).ok());
        QVERIFY(fixtures::readFile(bmp).startsWith("BM"));
    }

    void tiffIsLzwCompressed() {
        const QString file = path("lzw.tif");
        QVERIFY(saveImage(fixtures::stripes(64, 64), file).ok());
        TIFF* tiff = TIFFOpen(QFile::encodeName(file).constData(), "r");
        QVERIFY(tiff);
        uint16_t compression = 0;
        TIFFGetField(tiff, TIFFTAG_COMPRESSION, &compression);
        TIFFClose(tiff);
        QCOMPARE(compression, uint16_t(COMPRESSION_LZW));
    }

    void gifOfManyColoursWithTransparency() {
        QImage source(64, 64, QImage::Format_ARGB32);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                source.setPixel(x, y, x < 8 ? qRgba(0, 0, 0, 0) : qRgb(x * 4, y * 4, (x + y) * 2));
        const QString file = path("many.gif");
        QVERIFY(saveImage(source, file).ok());
        const LoadResult loaded = loadImage(file);
        QVERIFY2(loaded.ok(), qPrintable(loaded.error));
        const QImage img = loaded.document.image.convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(qAlpha(img.pixel(3, 30)), 0);
        QCOMPARE(qAlpha(img.pixel(40, 30)), 255);
        QImage opaque = source.copy(8, 0, 56, 64);
        const double difference = meanDifference(img.copy(8, 0, 56, 64), opaque);
        QVERIFY2(difference < 10.0, qPrintable(QString::number(difference)));
    }

    void alphaIsFlattenedOnWhiteWhereItCannotBeKept() {
        QImage source(20, 20, QImage::Format_ARGB32);
        source.fill(qRgba(0, 0, 0, 0));
        for (const char* ext : {"jpg", "bmp", "ppm", "pcx"}) {
            const QString file = path(QStringLiteral("transparent.%1").arg(ext));
            QVERIFY(saveImage(source, file).ok());
            const QImage back = loadImage(file).document.image;
            QVERIFY2(qRed(back.pixel(10, 10)) > 245 && qBlue(back.pixel(10, 10)) > 245, ext);
        }
    }

    void largeIconIsScaledToFit() {
        const QString file = path("big.ico");
        QVERIFY(saveImage(fixtures::stripes(512, 300), file).ok());
        const LoadResult loaded = loadImage(file);
        QVERIFY2(loaded.ok(), qPrintable(loaded.error));
        QCOMPARE(loaded.document.image.size(), QSize(256, 150));
    }

    void quarterTurns_data() {
        QTest::addColumn<double>("degrees");
        QTest::addColumn<int>("turns");   // anticlockwise quarter turns expected
        QTest::newRow("90") << 90.0 << 1;
        QTest::newRow("180") << 180.0 << 2;
        QTest::newRow("270") << 270.0 << 3;
        QTest::newRow("-90") << -90.0 << 3;
        QTest::newRow("450") << 450.0 << 1;
        QTest::newRow("360") << 360.0 << 0;
    }

    void quarterTurns() {
        QFETCH(double, degrees);
        QFETCH(int, turns);
        const QImage source = fixtures::stripes(7, 4);
        const QImage out = rotated(source, degrees, Qt::black);
        QCOMPARE(out.size(), turns % 2 ? source.size().transposed() : source.size());
        QCOMPARE(rotatedSize(source.size(), degrees), out.size());
        const int w = source.width(), h = source.height();
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                QPoint to;
                switch (turns) {
                case 0: to = {x, y}; break;
                case 1: to = {y, w - 1 - x}; break;          // anticlockwise
                case 2: to = {w - 1 - x, h - 1 - y}; break;
                default: to = {h - 1 - y, x}; break;         // clockwise
                }
                QCOMPARE(out.pixel(to), source.pixel(x, y));
            }
        }
    }

    void quarterTurnsKeepPixelFormat_data() {
        QTest::addColumn<QImage::Format>("format");
        QTest::newRow("1-bit") << QImage::Format_Mono;
        QTest::newRow("palette") << QImage::Format_Indexed8;
        QTest::newRow("grey") << QImage::Format_Grayscale8;
        QTest::newRow("grey16") << QImage::Format_Grayscale16;
    }

    void quarterTurnsKeepPixelFormat() {
        QFETCH(QImage::Format, format);
        const QImage source = fixtures::stripesAs(9, 5, format);
        for (int turns : {1, 2, 3}) {
            const QImage out = rotatedQuarterTurns(source, turns);
            QCOMPARE(out.format(), format);
            QCOMPARE(rotatedQuarterTurns(out, 4 - turns), source);
        }
    }

    void freeRotationGrowsCanvasWithBackground() {
        const QImage source = fixtures::halves(100, 50, Qt::red, Qt::blue);
        const QColor background(10, 200, 30);
        const QImage out = rotated(source, 30.0, background);
        QCOMPARE(out.size(), QSize(112, 94));   // ceil(100 cos 30 + 50 sin 30), ceil(100 sin 30 + 50 cos 30)
        for (const QPoint corner : {QPoint(0, 0), QPoint(111, 0), QPoint(0, 93), QPoint(111, 93)})
            QCOMPARE(QColor(out.pixel(corner)), background);
        const QPoint c(out.width() / 2, out.height() / 2);
        // Anticlockwise: the right (blue) half swings up over the centre, the left (red) half
        // down below it.
        QCOMPARE(QColor(out.pixel(c + QPoint(0, -20))), QColor(Qt::blue));
        QCOMPARE(QColor(out.pixel(c + QPoint(0, 20))), QColor(Qt::red));

        const QImage clockwise = rotated(source, -30.0, background);
        QCOMPARE(clockwise.size(), QSize(112, 94));
        QCOMPARE(QColor(clockwise.pixel(c + QPoint(0, 20))), QColor(Qt::blue));
        QCOMPARE(QColor(clockwise.pixel(c + QPoint(0, -20))), QColor(Qt::red));

        // Antialiased edges blend with the background; without, every pixel is one of the three.
        const QImage hard = rotated(source, 30.0, background, false);
        bool blended = false;
        for (int x = 0; x < out.width(); ++x) {
            const QColor p = out.pixel(x, 20);
            blended = blended || (p != background && p != QColor(Qt::red) && p != QColor(Qt::blue));
            const QColor q = hard.pixel(x, 20);
            QVERIFY(q == background || q == QColor(Qt::red) || q == QColor(Qt::blue));
        }
        QVERIFY(blended);

        const QImage transparentCorners = rotated(source, 45.0, QColor(0, 0, 0, 0));
        QVERIFY(transparentCorners.hasAlphaChannel());
        QCOMPARE(qAlpha(transparentCorners.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(transparentCorners.pixel(transparentCorners.width() / 2, transparentCorners.height() / 2)), 255);

        QVERIFY(rotated(QImage(), 30.0, background).isNull());
        QVERIFY(rotatedQuarterTurns(QImage(), 1).isNull());
    }

    void flips() {
        const QImage source = fixtures::stripes(6, 3);
        const QImage h = flippedHorizontally(source);
        const QImage v = flippedVertically(source);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 6; ++x) {
                QCOMPARE(h.pixel(5 - x, y), source.pixel(x, y));
                QCOMPARE(v.pixel(x, 2 - y), source.pixel(x, y));
            }
        }
        const QImage mono = fixtures::stripesAs(9, 4, QImage::Format_Mono);
        QCOMPARE(flippedHorizontally(mono).format(), QImage::Format_Mono);
        QCOMPARE(flippedVertically(flippedVertically(mono)), mono);
    }
};

QTEST_GUILESS_MAIN(TestImage)
#include "test_image.moc"
