// The SANE wrapper against SANE's own test device: the device list, scans in every supported
// frame layout, padding, unknown heights, errors and cancelling, and SANE's init/exit balance.
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "platform/scan/SaneSession.h"
#include "platform/scan/Scanner.h"

namespace {

using Options = QList<QPair<QString, QVariant>>;

// Every pixel of the image has this colour.
bool uniform(const QImage& image, QRgb colour) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != colour) return false;
    return true;
}

}  // namespace

class TestScan final : public QObject {
    Q_OBJECT

    QTemporaryDir m_config;

    scan::ScanResult scanWith(const Options& options) {
        scan::Scanner scanner;
        QString error;
        if (!scanner.open(QStringLiteral("test:0"), &error)) qFatal("%s", qPrintable(error));
        for (const auto& [name, value] : options)
            if (!scanner.setOption(name, value, &error)) qFatal("%s", qPrintable(error));
        return scanner.scan();
    }

private slots:
    void initTestCase() {
        QVERIFY(m_config.isValid());
        QFile conf(m_config.filePath(QStringLiteral("dll.conf")));
        QVERIFY(conf.open(QIODevice::WriteOnly));
        conf.write("test\n");
        conf.close();
        qputenv("SANE_CONFIG_DIR", QFile::encodeName(m_config.path()));
    }

    void listsTheTestDevices() {
        QCOMPARE(scan::SaneSession::activeSessions(), 0);
        {
            scan::SaneSession session;
            QVERIFY2(session.ok(), qPrintable(session.error()));
            QString error;
            const QList<scan::DeviceInfo> devices = session.devices(false, &error);
            QVERIFY2(error.isEmpty(), qPrintable(error));
            QStringList names;
            for (const scan::DeviceInfo& d : devices) names << d.name;
            QVERIFY2(names.contains(QStringLiteral("test:0")), qPrintable(names.join(u',')));
            const scan::DeviceInfo& first = devices.at(names.indexOf(QStringLiteral("test:0")));
            QVERIFY(first.label().endsWith(QStringLiteral("(test:0)")));
            QVERIFY(first.label().size() > QStringLiteral("(test:0)").size());

            // A scanner opened inside the session shares SANE's initialisation.
            scan::Scanner scanner;
            QCOMPARE(scan::SaneSession::activeSessions(), 2);
            QVERIFY(scanner.open(QStringLiteral("test:0")));
        }
        QCOMPARE(scan::SaneSession::activeSessions(), 0);
        // SANE starts again after its exit.
        scan::SaneSession again;
        QVERIFY(again.ok());
        QVERIFY(!again.devices().isEmpty());
    }

    void scansEveryLayout_data() {
        QTest::addColumn<Options>("options");
        QTest::addColumn<int>("format");
        QTest::addColumn<QRgb>("colour");
        const QVariant white = QStringLiteral("Solid white");
        const QVariant black = QStringLiteral("Solid black");
        QTest::newRow("grey 8 white") << Options{{"mode", "Gray"}, {"test-picture", white}}
                                      << int(QImage::Format_Grayscale8) << qRgb(255, 255, 255);
        QTest::newRow("grey 8 black") << Options{{"mode", "Gray"}, {"test-picture", black}}
                                      << int(QImage::Format_Grayscale8) << qRgb(0, 0, 0);
        QTest::newRow("grey 16 white")
            << Options{{"mode", "Gray"}, {"depth", 16}, {"test-picture", white}}
            << int(QImage::Format_Grayscale8) << qRgb(255, 255, 255);
        QTest::newRow("line art white")
            << Options{{"mode", "Gray"}, {"depth", 1}, {"test-picture", white}}
            << int(QImage::Format_Grayscale8) << qRgb(255, 255, 255);
        QTest::newRow("line art black")
            << Options{{"mode", "Gray"}, {"depth", 1}, {"test-picture", black}}
            << int(QImage::Format_Grayscale8) << qRgb(0, 0, 0);
        QTest::newRow("colour white") << Options{{"mode", "Color"}, {"test-picture", white}}
                                      << int(QImage::Format_RGB32) << qRgb(255, 255, 255);
        QTest::newRow("colour 16 white")
            << Options{{"mode", "Color"}, {"depth", 16}, {"test-picture", white}}
            << int(QImage::Format_RGB32) << qRgb(255, 255, 255);
        QTest::newRow("three-pass white")
            << Options{{"mode", "Color"}, {"three-pass", true}, {"test-picture", white}}
            << int(QImage::Format_RGB32) << qRgb(255, 255, 255);
        QTest::newRow("hand scanner white")
            << Options{{"mode", "Color"}, {"hand-scanner", true}, {"test-picture", white}}
            << int(QImage::Format_RGB32) << qRgb(255, 255, 255);
    }

    void scansEveryLayout() {
        QFETCH(Options, options);
        QFETCH(int, format);
        QFETCH(QRgb, colour);
        options.prepend({QStringLiteral("resolution"), 25});
        const scan::ScanResult r = scanWith(options);
        QVERIFY2(r.ok(), qPrintable(r.error));
        QVERIFY(!r.cancelled);
        QCOMPARE(int(r.image.format()), format);
        // 80 x 100 mm at 25 dpi (a hand scanner is 110 mm wide).
        QVERIFY2(r.image.width() == 78 || r.image.width() == 108,
                 qPrintable(QString::number(r.image.width())));
        QVERIFY(r.image.height() > 0);
        QVERIFY(uniform(r.image, colour));
    }

    // The colour pattern scanned in three passes is the same picture as in one pass, and a
    // grid scanned with pixels lost at the line ends is the left part of the full grid.
    void assemblesBandsAndDropsPadding() {
        const Options pattern{{"resolution", 50}, {"mode", "Color"}, {"test-picture", "Color pattern"}};
        const scan::ScanResult onePass = scanWith(pattern);
        QVERIFY2(onePass.ok(), qPrintable(onePass.error));
        QVERIFY(!uniform(onePass.image, onePass.image.pixel(0, 0)));
        for (const char* order : {"RGB", "BGR", "GRB"}) {
            Options threePass = pattern;
            threePass << QPair<QString, QVariant>{"three-pass", true}
                      << QPair<QString, QVariant>{"three-pass-order", order};
            const scan::ScanResult r = scanWith(threePass);
            QVERIFY2(r.ok(), qPrintable(r.error));
            QCOMPARE(r.image, onePass.image);
        }

        const Options grid{{"resolution", 50}, {"mode", "Gray"}, {"test-picture", "Grid"}};
        const scan::ScanResult full = scanWith(grid);
        Options lossy = grid;
        lossy << QPair<QString, QVariant>{"ppl-loss", 7};
        const scan::ScanResult cut = scanWith(lossy);
        QVERIFY2(full.ok() && cut.ok(), qPrintable(full.error + cut.error));
        QCOMPARE(cut.image.width(), full.image.width() - 7);
        QCOMPARE(cut.image.height(), full.image.height());
        QCOMPARE(cut.image, full.image.copy(0, 0, cut.image.width(), cut.image.height()));
    }

    void reportsDeviceFailures_data() {
        QTest::addColumn<QString>("returnValue");
        QTest::addColumn<bool>("cancelled");
        QTest::newRow("io error") << "SANE_STATUS_IO_ERROR" << false;
        QTest::newRow("jammed") << "SANE_STATUS_JAMMED" << false;
        QTest::newRow("cancelled by the device") << "SANE_STATUS_CANCELLED" << true;
    }

    void reportsDeviceFailures() {
        QFETCH(QString, returnValue);
        QFETCH(bool, cancelled);
        const scan::ScanResult r = scanWith({{"resolution", 25}, {"read-return-value", returnValue}});
        QVERIFY(!r.ok());
        QCOMPARE(r.cancelled, cancelled);
        QCOMPARE(r.error.isEmpty(), cancelled);
        if (!cancelled) QVERIFY2(r.error.startsWith(QStringLiteral("扫描时出错：")), qPrintable(r.error));
    }

    void cancelsFromProgressAndScansAgain() {
        scan::Scanner scanner;
        QVERIFY(scanner.open(QStringLiteral("test:0")));
        QVERIFY(scanner.setOption(QStringLiteral("resolution"), 100));
        QVERIFY(scanner.setOption(QStringLiteral("read-limit"), true));
        QVERIFY(scanner.setOption(QStringLiteral("read-limit-size"), 1000));
        int calls = 0;
        qint64 lastTotal = 0;
        const scan::ScanResult stopped = scanner.scan([&](qint64 done, qint64 total) {
            ++calls;
            lastTotal = total;
            return done < 3000;
        });
        QVERIFY(stopped.cancelled);
        QVERIFY(stopped.error.isEmpty());
        QVERIFY(stopped.image.isNull());
        QCOMPARE(calls, 3);
        QVERIFY(lastTotal > 3000);

        qint64 seen = 0;
        const scan::ScanResult full = scanner.scan([&](qint64 done, qint64 total) {
            seen = done;
            return done <= total;
        });
        QVERIFY2(full.ok(), qPrintable(full.error));
        QCOMPARE(seen, qint64(full.image.width()) * full.image.height());
    }

    void refusesWhatItCannotDo() {
        scan::Scanner scanner;
        QString error;
        QVERIFY(!scanner.open(QStringLiteral("test:99"), &error));
        QVERIFY2(error.contains(QStringLiteral("test:99")), qPrintable(error));
        QVERIFY(!scanner.isOpen());
        const scan::ScanResult none = scanner.scan();
        QVERIFY(!none.ok());
        QVERIFY(!none.error.isEmpty());

        QVERIFY(scanner.open(QStringLiteral("test:0"), &error));
        QVERIFY(!scanner.setOption(QStringLiteral("no-such-option"), 1, &error));
        QVERIFY(error.contains(QStringLiteral("no-such-option")));
        QVERIFY(!scanner.setOption(QStringLiteral("mode"), QStringLiteral("Infrared"), &error));
        QVERIFY(!error.isEmpty());
        // Three-pass is offered only in colour mode.
        QVERIFY(scanner.setOption(QStringLiteral("mode"), QStringLiteral("Gray")));
        QVERIFY(!scanner.setOption(QStringLiteral("three-pass"), true, &error));
        QCOMPARE(scanner.option(QStringLiteral("mode")).toString(), QStringLiteral("Gray"));
        QVERIFY(scanner.optionChoices(QStringLiteral("mode")).contains(QStringLiteral("Color")));
        QVERIFY(scanner.setOption(QStringLiteral("resolution"), 75));
        QCOMPARE(scanner.option(QStringLiteral("resolution")).toDouble(), 75.0);
        QVERIFY(!scanner.option(QStringLiteral("three-pass")).isValid());
    }
};

QTEST_GUILESS_MAIN(TestScan)
#include "test_scan.moc"
