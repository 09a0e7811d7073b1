// Tests of the image view widget on the offscreen platform.

#include <QSignalSpy>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <cmath>
#include <limits>

#include "platform/image/ImageDocument.h"
#include "platform/image/ImageIo.h"
#include "platform/image/ImageView.h"

using namespace image;

Q_DECLARE_METATYPE(image::PixelKind)
Q_DECLARE_METATYPE(QImage::Format)

namespace {

QImage quadrants(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, x < width / 2 ? (y < height / 2 ? qRgb(255, 0, 0) : qRgb(0, 255, 0))
                                               : (y < height / 2 ? qRgb(0, 0, 255) : qRgb(255, 255, 0)));
    return image;
}

void wheel(ImageView& view, int delta, QPointF at = {100, 100}) {
    QWheelEvent event(at, view.viewport()->mapToGlobal(at.toPoint()), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(view.viewport(), &event);
}

QColor shownAt(ImageView& view, QPoint at) {
    return QColor(view.viewport()->grab().toImage().pixel(at));
}

}  // namespace

class TestImageView final : public QObject {
    Q_OBJECT

private:
    // A shown view with a 400 x 300 viewport.
    std::unique_ptr<ImageView> makeView() {
        auto view = std::make_unique<ImageView>();
        view->resize(400, 300);
        view->show();
        if (!QTest::qWaitForWindowExposed(view.get()))
            qWarning("view not exposed");
        return view;
    }

private slots:
    void zoomRefusesValuesNotAboveZero_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("zero") << 0.0 << false;
        QTest::newRow("negative") << -10.0 << false;
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << false;
        QTest::newRow("tiny") << 0.01 << true;
        QTest::newRow("half") << 50.0 << true;
        QTest::newRow("large") << 2500.0 << true;
    }

    void zoomRefusesValuesNotAboveZero() {
        QFETCH(double, value);
        QFETCH(bool, accepted);
        auto view = makeView();
        view->setImage(quadrants(200, 100));
        QVERIFY(view->setZoom(80));
        QCOMPARE(view->setZoom(value), accepted);
        QCOMPARE(view->zoom(), accepted ? value : 80.0);
    }

    void fitModes_data() {
        QTest::addColumn<QSize>("imageSize");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("horizontalBar");
        QTest::addColumn<bool>("verticalBar");
        QTest::newRow("fit wide") << QSize(800, 400) << "fit" << false << false;
        QTest::newRow("fit tall") << QSize(300, 900) << "fit" << false << false;
        QTest::newRow("fit small image enlarged") << QSize(40, 30) << "fit" << false << false;
        QTest::newRow("width of wide") << QSize(800, 400) << "width" << false << false;
        QTest::newRow("width of tall") << QSize(400, 1000) << "width" << false << true;
        QTest::newRow("height of tall") << QSize(300, 900) << "height" << false << false;
        QTest::newRow("height of wide") << QSize(1200, 300) << "height" << true << false;
    }

    void fitModes() {
        QFETCH(QSize, imageSize);
        QFETCH(QString, mode);
        QFETCH(bool, horizontalBar);
        QFETCH(bool, verticalBar);
        auto view = makeView();
        view->setImage(quadrants(imageSize.width(), imageSize.height()));
        const QSize area = view->maximumViewportSize();
        if (mode == "fit")
            view->fit();
        else if (mode == "width")
            view->fitToWidth();
        else
            view->fitToHeight();
        QCoreApplication::processEvents();

        const double f = view->zoom() / 100.0;
        const QSize viewport = view->viewport()->size();
        if (mode == "fit") {
            QCOMPARE(f, std::min(double(area.width()) / imageSize.width(), double(area.height()) / imageSize.height()));
        } else if (mode == "width") {
            QVERIFY(std::abs(imageSize.width() * f - viewport.width()) < 1.0);
        } else {
            QVERIFY(std::abs(imageSize.height() * f - viewport.height()) < 1.0);
        }
        QCOMPARE(view->horizontalScrollBar()->maximum() > 0, horizontalBar);
        QCOMPARE(view->verticalScrollBar()->maximum() > 0, verticalBar);
    }

    void fitOnEmptyViewKeepsZoom() {
        auto view = makeView();
        QVERIFY(view->setZoom(70));
        view->fit();
        view->fitToWidth();
        view->fitToHeight();
        QCOMPARE(view->zoom(), 70.0);
    }

    void wheelZoomsEightPercentPerNotch() {
        auto view = makeView();
        view->setImage(quadrants(2000, 2000));
        QVERIFY(view->setZoom(100));
        QSignalSpy spy(view.get(), &ImageView::zoomChanged);

        wheel(*view, 120);
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0).at(0).toDouble(), view->zoom());
        QVERIFY(std::abs(view->zoom() - 108.0) < 1e-9);
        // The image point under the mouse stays there: (100, 100) at 100 % is now at 108 %.
        QCOMPARE(view->horizontalScrollBar()->value(), 8);
        QCOMPARE(view->verticalScrollBar()->value(), 8);

        wheel(*view, -120);
        QCOMPARE(spy.size(), 2);
        QVERIFY(std::abs(view->zoom() - 100.0) < 1e-9);

        wheel(*view, 240);
        QVERIFY(std::abs(view->zoom() - 116.64) < 1e-9);
        QCOMPARE(spy.size(), 3);

        QVERIFY(view->setZoom(50));
        view->fit();
        QCOMPARE(spy.size(), 3);   // only the wheel notifies
    }

    void scrollsWhenLargerThanViewport() {
        auto view = makeView();
        view->setImage(quadrants(1000, 800));
        QVERIFY(view->setZoom(100));
        QCoreApplication::processEvents();
        QVERIFY(view->horizontalScrollBar()->maximum() >= 1000 - 400);
        QVERIFY(view->verticalScrollBar()->maximum() >= 800 - 300);
        // Bottom-right quadrant after scrolling to the end.
        view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->maximum());
        view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
        QCOMPARE(shownAt(*view, {200, 150}), QColor(255, 255, 0));

        QVERIFY(view->setZoom(10));
        QCoreApplication::processEvents();
        QCOMPARE(view->horizontalScrollBar()->maximum(), 0);
        QCOMPARE(view->verticalScrollBar()->maximum(), 0);
    }

    void paintsScaledAndCentred() {
        auto view = makeView();
        view->setBackground(QColor(12, 34, 56));
        view->setImage(quadrants(200, 100));
        QVERIFY(view->setZoom(50));   // 100 x 50, centred in 400 x 300
        QCoreApplication::processEvents();
        const QSize v = view->viewport()->size();
        const QPoint topLeft((v.width() - 100) / 2, (v.height() - 50) / 2);
        QCOMPARE(shownAt(*view, topLeft + QPoint(10, 10)), QColor(255, 0, 0));
        QCOMPARE(shownAt(*view, topLeft + QPoint(90, 10)), QColor(0, 0, 255));
        QCOMPARE(shownAt(*view, topLeft + QPoint(10, 40)), QColor(0, 255, 0));
        QCOMPARE(shownAt(*view, topLeft + QPoint(90, 40)), QColor(255, 255, 0));
        QCOMPARE(shownAt(*view, {5, 5}), QColor(12, 34, 56));
    }

    void paintsPartOfAHugeZoom() {
        auto view = makeView();
        view->setImage(quadrants(400, 400));
        QVERIFY(view->setZoom(1600));   // 6400 x 6400: only the visible part is scaled
        QCoreApplication::processEvents();
        view->horizontalScrollBar()->setValue(6400 - 200);
        view->verticalScrollBar()->setValue(100);
        QCOMPARE(shownAt(*view, {100, 100}), QColor(0, 0, 255));
        view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
        QCOMPARE(shownAt(*view, {100, 100}), QColor(255, 255, 0));
        view->horizontalScrollBar()->setValue(0);
        QCOMPARE(shownAt(*view, {100, 100}), QColor(0, 255, 0));
    }

    void clearShowsOnlyBackground() {
        auto view = makeView();
        view->setImage(quadrants(300, 200));
        view->setBackground(QColor(200, 10, 10));
        view->clear();
        QVERIFY(view->isEmpty());
        QCOMPARE(view->imageWidth(), 0);
        QCOMPARE(view->imageHeight(), 0);
        QCOMPARE(view->pixelKind(), PixelKind::None);
        QCOMPARE(view->bitsPerPixel(), 0);
        const QImage shot = view->viewport()->grab().toImage();
        for (const QPoint p : {QPoint(0, 0), QPoint(200, 150), QPoint(shot.width() - 1, shot.height() - 1)})
            QCOMPARE(QColor(shot.pixel(p)), QColor(200, 10, 10));
        QVERIFY(view->image().isNull());
    }

    void bitmapFacts_data() {
        QTest::addColumn<QImage::Format>("format");
        QTest::addColumn<PixelKind>("kind");
        QTest::addColumn<int>("bits");
        QTest::newRow("1-bit") << QImage::Format_Mono << PixelKind::OneBit << 1;
        QTest::newRow("palette") << QImage::Format_Indexed8 << PixelKind::Palette8 << 8;
        QTest::newRow("grey") << QImage::Format_Grayscale8 << PixelKind::Grey8 << 8;
        QTest::newRow("grey16") << QImage::Format_Grayscale16 << PixelKind::Grey16 << 16;
        QTest::newRow("colour") << QImage::Format_RGB32 << PixelKind::Rgb24 << 24;
        QTest::newRow("float") << QImage::Format_RGBA32FPx4 << PixelKind::Other << 32;
    }

    void bitmapFacts() {
        QFETCH(QImage::Format, format);
        QFETCH(PixelKind, kind);
        QFETCH(int, bits);
        auto view = makeView();
        view->setImage(quadrants(30, 20).convertToFormat(format));
        QCOMPARE(view->imageWidth(), 30);
        QCOMPARE(view->imageHeight(), 20);
        QCOMPARE(view->pixelKind(), kind);
        QCOMPARE(view->bitsPerPixel(), bits);
    }

    void documentKeepsTheFilesFormatAndLoadsFullSizeOnDemand() {
        QTemporaryDir dir;
        const QString file = dir.filePath("photo.jpg");
        const QImage grey = quadrants(1600, 1200).convertToFormat(QImage::Format_Grayscale8);
        QVERIFY(saveImage(grey, file).ok());
        const LoadResult shown = loadImage(file, {.maxSize = QSize(400, 300)});
        QVERIFY2(shown.ok(), qPrintable(shown.error));
        QVERIFY(shown.document.isReduced());

        auto view = makeView();
        view->setDocument(shown.document);
        QCOMPARE(view->imageWidth(), 1600);
        QCOMPARE(view->imageHeight(), 1200);
        QCOMPARE(view->pixelKind(), PixelKind::Grey8);
        QCOMPARE(view->bitsPerPixel(), 8);
        view->fit();
        QVERIFY(std::abs(view->zoom() - 25.0) < 1e-9);
        const int expected = qGray(grey.pixel(200, 200));
        QVERIFY(std::abs(qGray(shownAt(*view, {50, 50}).rgb()) - expected) <= 3);

        QVERIFY(view->setZoom(100));   // needs the real pixels
        QVERIFY(std::abs(qGray(shownAt(*view, {50, 50}).rgb()) - expected) <= 3);
        QCOMPARE(view->image().size(), QSize(1600, 1200));
    }
};

QTEST_MAIN(TestImageView)
#include "test_imageview.moc"
