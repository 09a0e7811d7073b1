// Timings of the photo browser on libraries it builds itself, each against a baseline taken
// in the same run.
//
//   bench_browse [work-dir] [--quick]
//
// 1. List mode, an album of 10,000 photos: TreeChange until the list is filled (no photo
//    bytes are read for that), and until the first row's preview is done.
// 2. Preview of a 6000 x 4000 camera JPEG in a 1000 x 700 preview: from ListView1Click to
//    the image painted, against libjpeg-turbo decoding the same bytes at the same DCT scale.
// 3. Thumbnail mode, an album of 500 photos of 4000 x 3000, half with an embedded EXIF
//    thumbnail: until the first screen of thumbnails is painted and until all are made,
//    against decoding every photo at full size on one core. The longest pause of the UI
//    thread during the load is reported too.
//
// Run it with QT_QPA_PLATFORM=offscreen (or on a display). The work dir holds the library
// and the temporary files (TMPDIR is pointed there); it is removed at the end.

#include <exiv2/exiv2.hpp>
#include <turbojpeg.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include "albums/TTreeMaker.h"
#include "albums/TreeHooks.h"
#include "photos/BlobFiles.h"
#include "photos/PhotoBrowser.h"
#include "photos/PhotoListView.h"
#include "photos/PreviewDecode.h"
#include "photos/ThumbnailLoader.h"
#include "photos/ThumbnailModel.h"
#include "photos/ThumbnailView.h"
#include "platform/db/Connection.h"
#include "platform/db/ConnectionString.h"
#include "platform/db/Query.h"
#include "platform/image/ImageView.h"
#include "platform/image/Thumbnails.h"
#include "store/PhotoLibrary.h"
#include "ui/Utils.h"

namespace {

double ms(const QElapsedTimer& t) { return t.nsecsElapsed() / 1e6; }

// CPU time of the whole process (all threads) in ms: with the machine shared, wall-clock
// figures alone can hide whether the work itself grew or the cores were busy elsewhere.
double cpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

double loadAverage() {
    double load[1] = {0};
    return getloadavg(load, 1) == 1 ? load[0] : -1;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Something like a photograph: smooth light, edges, and fine grain that costs the entropy
// coder what real detail costs.
QImage photoLike(int width, int height, unsigned seed) {
    QImage image(width, height, QImage::Format_RGB32);
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> grain(-9, 9);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const double v = double(y) / height;
        for (int x = 0; x < width; ++x) {
            const double u = double(x) / width;
            const int n = grain(random);
            const int block = ((x / 350 + y / 270 + static_cast<int>(seed)) % 3) * 40;
            const double wave = 25 * std::sin(x * 0.013 + seed) * std::cos(y * 0.017);
            line[x] = qRgb(std::clamp(int(60 + 140 * u + wave + n + block), 0, 255),
                           std::clamp(int(50 + 150 * v - wave + n), 0, 255),
                           std::clamp(int(200 - 120 * u * v + n - block / 2), 0, 255));
        }
    }
    return image;
}

QByteArray encodeJpeg(const QImage& image, int quality, int subsampling = TJSAMP_422) {
    tjhandle tj = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    tjCompress2(tj, image.constBits(), image.width(), static_cast<int>(image.bytesPerLine()),
                image.height(), TJPF_BGRX, &out, &size, subsampling, quality, 0);
    QByteArray bytes(reinterpret_cast<const char*>(out), static_cast<qsizetype>(size));
    tjFree(out);
    tjDestroy(tj);
    return bytes;
}

// Camera data as a camera writes it, with an embedded thumbnail when asked.
QByteArray withCameraData(const QByteArray& jpeg, const QImage& photo, bool thumbnail) {
    auto file = Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte*>(jpeg.constData()),
                                          static_cast<long>(jpeg.size()));
    file->readMetadata();
    Exiv2::ExifData& exif = file->exifData();
    exif["Exif.Image.Make"] = "BenchCam";
    exif["Exif.Image.Model"] = "BC-24";
    exif["Exif.Photo.DateTimeOriginal"] = "2024:06:01 12:00:00";
    exif["Exif.Photo.ExposureTime"] = Exiv2::URational(1, 320);
    exif["Exif.Photo.FNumber"] = Exiv2::URational(8, 1);
    exif["Exif.Photo.ISOSpeedRatings"] = uint16_t(200);
    exif["Exif.Photo.Flash"] = uint16_t(16);
    if (thumbnail) {
        const QImage small = photo.scaled(160, 120, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                                 .convertToFormat(QImage::Format_RGB32);
        const QByteArray thumb = encodeJpeg(small, 85, TJSAMP_420);
        Exiv2::ExifThumb(exif).setJpegThumbnail(
            reinterpret_cast<const Exiv2::byte*>(thumb.constData()), static_cast<long>(thumb.size()));
    }
    file->writeMetadata();
    Exiv2::BasicIo& io = file->io();
    io.seek(0, Exiv2::BasicIo::beg);
    const Exiv2::DataBuf buf = io.read(static_cast<long>(io.size()));
    return QByteArray(reinterpret_cast<const char*>(buf.pData_), buf.size_);
}

// Decodes with libjpeg-turbo at scale num/denom; returns milliseconds.
double tjDecode(const QByteArray& jpeg, int num, int denom) {
    tjhandle tj = tjInitDecompress();
    QElapsedTimer t;
    t.start();
    int w = 0, h = 0, sub = 0, cs = 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(jpeg.constData());
    tjDecompressHeader3(tj, bytes, static_cast<unsigned long>(jpeg.size()), &w, &h, &sub, &cs);
    const int sw = TJSCALED(w, (tjscalingfactor{num, denom}));
    const int sh = TJSCALED(h, (tjscalingfactor{num, denom}));
    std::vector<unsigned char> pixels(static_cast<size_t>(sw) * static_cast<size_t>(sh) * 4);
    tjDecompress2(tj, bytes, static_cast<unsigned long>(jpeg.size()), pixels.data(), sw, sw * 4,
                  sh, TJPF_BGRX, 0);
    const double elapsed = ms(t);
    tjDestroy(tj);
    return elapsed;
}

// The smallest libjpeg-turbo scale whose output covers `target`.
std::pair<int, int> scaleCovering(const QSize& full, const QSize& target) {
    int n = 0;
    tjscalingfactor* factors = tjGetScalingFactors(&n);
    std::pair<int, int> best{1, 1};
    double bestValue = 1.0;
    for (int i = 0; i < n; ++i) {
        const double value = double(factors[i].num) / factors[i].denom;
        if (value > 1.0 || value >= bestValue) continue;
        if (TJSCALED(full.width(), factors[i]) >= target.width() &&
            TJSCALED(full.height(), factors[i]) >= target.height()) {
            best = {factors[i].num, factors[i].denom};
            bestValue = value;
        }
    }
    return best;
}

class Bench {
public:
    explicit Bench(const QString& dir, bool quick) : m_dir(dir), m_quick(quick) {}

    void buildLibrary() {
        const QString path = m_dir + "/PicData.pmd";
        QFile::remove(path);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.close();
        m_library.AdoConn().setConnectionString(QLatin1String(db::kReadWriteConnection) + path);
        m_library.AdoConn().open();
        QFile schema(QStringLiteral(FOTARIX_SCHEMA_SQL));
        schema.open(QIODevice::ReadOnly);
        m_library.AdoConn().execute(QString::fromUtf8(schema.readAll()));
        const qint64 root = album("数码相册", 0);
        m_listAlbum = album("一万张照片", root);
        m_otherAlbum = album("另一个相册", root);
        m_previewAlbum = album("大照片", root);
        m_thumbAlbum = album("五百张照片", root);

        QElapsedTimer t;
        t.start();
        // 10,000 photos in random name order. Their bytes are smaller than a camera's but
        // larger than a page, so that rows lie in the library as photo rows do.
        const QByteArray tiny = encodeJpeg(photoLike(400, 300, 1), 90);
        std::vector<int> order(10000);
        for (int i = 0; i < 10000; ++i) order[static_cast<size_t>(i)] = i;
        std::shuffle(order.begin(), order.end(), std::mt19937(7));
        const QString tinyFile = m_dir + "/tiny.jpg";
        writeFile(tinyFile, tiny);
        m_library.AdoConn().execute("BEGIN");
        for (int i : order)
            insert(m_listAlbum, QStringLiteral("IMG_%1.JPG").arg(i, 5, 10, QChar(u'0')),
                   QStringLiteral("第%1张").arg(i % 97), tinyFile);
        insert(m_otherAlbum, "one.jpg", "", tinyFile);
        m_library.AdoConn().execute("COMMIT");
        std::printf("library: 10,000 list rows (%.0f KB each) in %.0f ms\n", tiny.size() / 1e3, ms(t));

        // One 6000 x 4000 camera photo.
        t.restart();
        const QImage big = photoLike(6000, 4000, 11);
        m_bigJpeg = withCameraData(encodeJpeg(big, 92), big, true);
        const QString bigFile = m_dir + "/big.jpg";
        writeFile(bigFile, m_bigJpeg);
        insert(m_previewAlbum, "DSC_0001.JPG", "大照片", bigFile);
        std::printf("library: 6000x4000 JPEG of %.1f MB in %.0f ms\n", m_bigJpeg.size() / 1e6, ms(t));

        // 500 photos of 4000 x 3000 from a few distinct pictures, half with a thumbnail.
        t.restart();
        const int distinct = m_quick ? 4 : 10;
        const int count = m_quick ? 100 : 500;
        std::vector<QString> files;
        for (int d = 0; d < distinct; ++d) {
            const QImage photo = photoLike(4000, 3000, 100 + static_cast<unsigned>(d));
            const QByteArray jpeg = encodeJpeg(photo, 90);
            for (bool thumb : {true, false}) {
                const QByteArray bytes = withCameraData(jpeg, photo, thumb);
                const QString f = m_dir + QStringLiteral("/p%1%2.jpg").arg(d).arg(thumb ? "t" : "n");
                writeFile(f, bytes);
                files.push_back(f);
                m_thumbBytes.push_back(bytes);
            }
        }
        m_library.AdoConn().execute("BEGIN");
        for (int i = 0; i < count; ++i) {
            const size_t which = static_cast<size_t>(i) % files.size();   // alternates t / n
            insert(m_thumbAlbum, QStringLiteral("P%1.JPG").arg(i, 4, 10, QChar(u'0')), "", files[which]);
            m_thumbRowBytes.push_back(which);
        }
        m_library.AdoConn().execute("COMMIT");
        std::printf("library: %d photos of 4000x3000 (%.1f MB each) in %.0f ms\n", count,
                    m_thumbBytes.front().size() / 1e6, ms(t));
        m_library.ReloadAlbums();
    }

    void buildWindow() {
        m_window = new QWidget;
        auto* column = new QVBoxLayout(m_window);
        column->setContentsMargins(0, 0, 0, 0);
        auto* row = new QHBoxLayout;
        column->addLayout(row, 1);
        auto* left = new QVBoxLayout;
        m_tree = new QTreeWidget(m_window);
        m_tree->setHeaderHidden(true);
        m_tree->setFixedWidth(220);
        left->addWidget(m_tree, 1);
        auto* infoHost = new QWidget(m_window);
        infoHost->setFixedSize(220, 240);
        new QVBoxLayout(infoHost);
        left->addWidget(infoHost);
        row->addLayout(left);
        auto* right = new QVBoxLayout;
        m_listHost = new QWidget(m_window);
        m_listHost->setFixedSize(1000, 560);
        new QVBoxLayout(m_listHost);
        auto* previewHost = new QWidget(m_window);
        previewHost->setFixedSize(1000, 700);
        auto* previewLayout = new QVBoxLayout(previewHost);
        previewLayout->setContentsMargins(0, 0, 0, 0);
        right->addWidget(m_listHost);
        right->addWidget(previewHost);
        row->addLayout(right);
        auto* status = new QStatusBar(m_window);
        column->addWidget(status);

        m_maker = new TTreeMaker(m_window);
        m_maker->setDataSet(&m_library.ADOQuery1());
        m_maker->setTreeView(m_tree);
        m_maker->setCaptionField("name");
        m_maker->setSonIDField("id");
        m_maker->setParentIDField("parent_id");
        m_maker->setShowFindTreeMenu(false);
        photos::PhotoBrowser::Context context{&m_library, m_maker, m_tree, m_listHost, previewHost,
                                              infoHost, status};
        m_browser = new photos::PhotoBrowser(context, m_window);
        albums::setTreeChangedHandler(m_tree, [this](QTreeWidget*, QTreeWidgetItem* n) {
            m_browser->TreeChange(n);
        });
        m_maker->BuildTree("0");
        m_tree->expandAll();
        m_window->show();
        settle();
    }

    void listMode() {
        std::vector<double> filled, previewed, sql, sqlUnordered;
        for (int run = 0; run < 7; ++run) {
            select(node(m_otherAlbum));
            settle();
            QElapsedTimer t;
            double atFilled = 0;
            const auto connection = QObject::connect(m_browser, &photos::PhotoBrowser::photoListLoaded,
                                                     m_browser, [&] {
                m_browser->ListView1()->currentView()->viewport()->repaint();
                atFilled = ms(t);
            });
            t.start();
            select(node(m_listAlbum));
            m_window->repaint();
            previewed.push_back(ms(t));
            filled.push_back(atFilled);
            QObject::disconnect(connection);
            if (m_browser->rowCount() != 10000) std::printf("  ! %d rows\n", m_browser->rowCount());

            QElapsedTimer q;
            q.start();
            db::Query& query = m_library.temp(
                QStringLiteral("Select id,album_id,pic_name,create_date,modify_date,file_name,"
                               "file_size,remark from Picture where album_id=%1 order by pic_name")
                    .arg(m_listAlbum));
            query.open();
            query.close();
            sql.push_back(ms(q));
            q.restart();
            db::Query& unordered = m_library.temp(
                QStringLiteral("Select id,album_id,pic_name,create_date,modify_date,file_name,"
                               "file_size,remark from Picture where album_id=%1").arg(m_listAlbum));
            unordered.open();
            unordered.close();
            sqlUnordered.push_back(ms(q));
        }
        std::printf("\n1. list mode, 10,000 photos (median of 7)\n");
        std::printf("   TreeChange to list filled and painted : %7.1f ms   (target < 150 ms)\n", median(filled));
        std::printf("   ... plus the first row's preview     : %7.1f ms\n", median(previewed));
        std::printf("   of which the statement alone (query) : %7.1f ms\n", median(sql));
        std::printf("   the statement without its order by   : %7.1f ms\n", median(sqlUnordered));
    }

    void preview() {
        select(node(m_previewAlbum));
        settle();
        image::ImageView* view = m_browser->ImageEn1();
        const QSize full(6000, 4000);
        const QSizeF shownF = photos::fitToWidthSize(view, full);
        const QSize shown(qRound(shownF.width()), qRound(shownF.height()));
        const auto [num, denom] = scaleCovering(full, shown);

        std::vector<double> click, scaled, fullDecode;
        for (int run = 0; run < 7; ++run) {
            ui::DeleteTempFiles();   // the row's file is written again: a first showing
            view->clear();
            settle();
            m_browser->selectRow(0);
            QElapsedTimer t;
            t.start();
            m_browser->ListView1Click();
            view->viewport()->repaint();
            click.push_back(ms(t));
            scaled.push_back(tjDecode(m_bigJpeg, num, denom));
            if (run < 3) fullDecode.push_back(tjDecode(m_bigJpeg, 1, 1));
        }
        const double ratio = median(click) / median(scaled);
        std::printf("\n2. preview of a 6000x4000 JPEG shown at %dx%d (median of 7)\n", shown.width(),
                    shown.height());
        std::printf("   ListView1Click to image painted      : %7.1f ms (blob to file, decode, EXIF, info, paint)\n",
                    median(click));
        std::printf("   libjpeg-turbo at %d/%d, same bytes    : %7.1f ms\n", num, denom, median(scaled));
        std::printf("   libjpeg-turbo at full size           : %7.1f ms\n", median(fullDecode));
        std::printf("   ratio                                : %7.2f    (target <= 1.3)\n", ratio);
        std::printf("   status: \"%s\" / \"%s\"\n", qPrintable(m_browser->statusPanel(1)->text()),
                    qPrintable(m_browser->statusPanel(2)->text()));
    }

    // Where the time of one thumbnail goes, on one thread.
    void thumbnailBreakdown() {
        const QString file = ui::MakeTempFileName(".jpg");
        photos::BlobFileWriter writer(m_library.path());
        std::vector<double> write, withThumb, without, scaled, full;
        db::Query& ids = m_library.temp(
            QStringLiteral("Select id from picture where album_id=%1").arg(m_thumbAlbum));
        ids.open();
        std::vector<qint64> photoIds;
        for (ids.first(); !ids.eof(); ids.next()) photoIds.push_back(ids.asInteger("id"));
        ids.close();
        for (size_t i = 0; i < 6 && i < photoIds.size(); ++i) {
            QElapsedTimer t;
            t.start();
            writer.write(photoIds[i], file, nullptr);
            write.push_back(ms(t));
            t.restart();
            image::makeThumbnail(file, photos::PhotoBrowser::thumbnailBox());
            (m_thumbRowBytes[i] % 2 == 0 ? withThumb : without).push_back(ms(t));
            if (m_thumbRowBytes[i] % 2 == 1) {
                scaled.push_back(tjDecode(m_thumbBytes[m_thumbRowBytes[i]], 1, 8));
                full.push_back(tjDecode(m_thumbBytes[m_thumbRowBytes[i]], 1, 1));
            }
        }
        // The whole album's work, one photo after the other on this thread.
        const double cpuStart = cpuMs();
        QElapsedTimer all;
        all.start();
        for (qint64 id : photoIds) {
            writer.write(id, file, nullptr);
            image::makeThumbnail(file, photos::PhotoBrowser::thumbnailBox());
        }
        std::printf("\n   the album's files and thumbnails in a plain loop on one thread: %.0f ms (CPU %.0f ms)",
                    ms(all), cpuMs() - cpuStart);
        QFile::remove(file);
        std::printf("\n   one thumbnail, one thread: blob to file %.1f ms, with EXIF thumbnail %.1f ms,\n"
                    "   without %.1f ms (libjpeg-turbo 1/8 %.1f ms, full %.1f ms)\n",
                    median(write), median(withThumb), median(without), median(scaled), median(full));
    }

    void thumbnails() {
        // Baseline: every photo decoded at full size on one core.
        QElapsedTimer b;
        const double baselineCpuStart = cpuMs();
        b.start();
        for (size_t which : m_thumbRowBytes) tjDecode(m_thumbBytes[which], 1, 1);
        const double baseline = ms(b);
        const double baselineCpu = cpuMs() - baselineCpuStart;

        const int threadRuns[] = {QThread::idealThreadCount(), QThread::idealThreadCount(), 1};
        for (int run = 0; run < 3; ++run) {
            m_browser->thumbnailLoader()->setThreadCount(threadRuns[run]);
            select(node(m_otherAlbum));
            if (m_browser->DisplayMode() != u"2") m_browser->viewCommand(312);
            ui::DeleteTempFiles();
            settle();
            photos::ThumbnailView* view = m_browser->ImageEnMView1();
            QElapsedTimer t;
            double firstScreen = -1, longestPause = 0, lastTick = 0;
            QTimer ticker;
            ticker.setInterval(5);
            QObject::connect(&ticker, &QTimer::timeout, m_window, [&] {
                const double now = ms(t);
                longestPause = std::max(longestPause, now - lastTick);
                lastTick = now;
            });
            const auto check = QObject::connect(
                view->thumbnails(), &QAbstractItemModel::dataChanged, m_window, [&] {
                    if (firstScreen >= 0) return;
                    const QList<int> visible = view->visibleIndexes();
                    if (visible.isEmpty()) return;
                    for (int i : visible)
                        if (view->thumbnails()->item(i).state == photos::ThumbnailModel::State::Pending)
                            return;
                    view->viewport()->repaint();
                    firstScreen = ms(t);
                });
            QEventLoop waiting;
            const auto finished = QObject::connect(m_browser, &photos::PhotoBrowser::thumbnailsFinished,
                                                   &waiting, &QEventLoop::quit);
            const double cpuStart = cpuMs();
            t.start();
            ticker.start();
            select(node(m_thumbAlbum));
            const double started = ms(t);
            if (m_browser->thumbnailsLoading()) waiting.exec();
            view->viewport()->repaint();
            const double all = ms(t);
            const double allCpu = cpuMs() - cpuStart;
            ticker.stop();
            QObject::disconnect(check);
            QObject::disconnect(finished);
            int ready = 0;
            for (int i = 0; i < view->count(); ++i) ready += view->hasImage(i) ? 1 : 0;
            std::printf("\n3. thumbnails, %d photos of 4000x3000, half with an EXIF thumbnail (run %d, %d worker%s)\n",
                        view->count(), run + 1, threadRuns[run], threadRuns[run] > 1 ? "s" : "");
            std::printf("   TreeChange returned                 : %7.1f ms\n", started);
            std::printf("   first screen painted (%2d cells)     : %7.1f ms   (target < 500 ms)\n",
                        static_cast<int>(view->visibleIndexes().size()), firstScreen);
            std::printf("   all %d done and painted            : %7.1f ms\n", ready, all);
            std::printf("   full-size decode of all, one core    : %7.1f ms (CPU %.0f ms)\n", baseline, baselineCpu);
            std::printf("   CPU time of the load, all threads    : %7.1f ms; load average %.1f\n", allCpu, loadAverage());
            std::printf("   ratio                                : %7.3f    (target <= 0.25)\n", all / baseline);
            std::printf("   longest pause of the UI thread       : %7.1f ms\n", longestPause);
        }
        m_browser->thumbnailLoader()->setThreadCount(QThread::idealThreadCount());
        m_browser->viewCommand(311);
    }

private:
    qint64 album(const char* name, qint64 parent) {
        m_library.AdoConn().execute(
            QStringLiteral("insert into Album(name,parent_id,remark) values('%1',%2,'')")
                .arg(QString::fromUtf8(name))
                .arg(parent));
        return m_library.AdoConn().lastInsertId();
    }

    void insert(qint64 albumId, const QString& name, const QString& remark, const QString& file) {
        db::Query& q = m_library.temp("select * from picture where 1<>1");
        q.open();
        q.insert();
        q.setInteger("album_id", albumId);
        q.setText("pic_name", name);
        q.setText("create_date", "2024-06-01 12:00:00");
        q.setText("file_name", "/home/user/Pictures/" + name);
        q.setText("remark", remark);
        q.loadBlobFromFile("pic_content", file);
        q.post();
        q.close();
    }

    static void writeFile(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    }

    QTreeWidgetItem* node(qint64 id) const {
        for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
            QString nodeId;
            m_maker->GetNodeId(*it, nodeId);
            if (nodeId == QString::number(id)) return *it;
        }
        return nullptr;
    }

    void select(QTreeWidgetItem* n) { m_tree->setCurrentItem(n); }

    static void settle() {
        for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    }

    QString m_dir;
    bool m_quick = false;
    store::PhotoLibrary m_library;
    qint64 m_listAlbum = 0, m_otherAlbum = 0, m_previewAlbum = 0, m_thumbAlbum = 0;
    QByteArray m_bigJpeg;
    std::vector<QByteArray> m_thumbBytes;
    std::vector<size_t> m_thumbRowBytes;
    QWidget* m_window = nullptr;
    QWidget* m_listHost = nullptr;
    QTreeWidget* m_tree = nullptr;
    TTreeMaker* m_maker = nullptr;
    photos::PhotoBrowser* m_browser = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    const bool quick = args.removeAll("--quick") > 0;
    std::unique_ptr<QTemporaryDir> owned;
    QString dir;
    if (!args.isEmpty()) {
        dir = args.first();
        QDir().mkpath(dir);
    } else {
        owned = std::make_unique<QTemporaryDir>(QDir::currentPath() + "/bench_browse-XXXXXX");
        dir = owned->path();
    }
    QDir().mkpath(dir + "/tmp");
    QDir().mkpath(dir + "/home");
    qputenv("TMPDIR", QFile::encodeName(dir + "/tmp"));
    qputenv("FOTARIX_HOME", QFile::encodeName(dir + "/home"));
    QApplication app(argc, argv);
    std::printf("bench_browse: %d cores, load average %.1f, work dir %s\n", QThread::idealThreadCount(),
                loadAverage(), qPrintable(dir));

    Bench bench(dir, quick);
    bench.buildLibrary();
    bench.buildWindow();
    bench.listMode();
    bench.preview();
    bench.thumbnailBreakdown();
    bench.thumbnails();
    ui::DeleteTempFiles();
    return 0;
}
