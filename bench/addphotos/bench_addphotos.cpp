// Adding photos to a library, measured against a baseline taken in the same run.
//
//   bench_addphotos [work-dir] [--files N] [--rounds R] [--batch-mb M]
//
// 1. Throughput: N (200) JPEG files of about 3 MB each, of random content so that they are
//    really that large, added to an album of a new library by the add-photos code
//    (photos::addPhotoFiles, the same as the command), against `cp` of the same files into a
//    folder on the same disk, and against cp followed by syncing the copies (the library's
//    commits are durable; cp's copies sit in the page cache). Rounds alternate the copy and
//    the adding; the medians are compared. A ratio is baseline time / add time (1.0: as fast
//    as the baseline). --batch-mb sets the size of the adding's transactions.
// 2. Memory: one file of 300 MB added in a fresh process; its peak resident set (getrusage)
//    is reported with the process's own size before adding.
//
// The work dir (default: a temporary folder under the current directory) holds the files and
// the libraries and is removed at the end.

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "photos/PhotoImport.h"
#include "platform/db/ConnectionString.h"
#include "store/PhotoLibrary.h"

namespace {

constexpr qint64 kPhotoBytes = 3LL * 1000 * 1000;
constexpr qint64 kLargeBytes = 300LL * 1024 * 1024;

long maxRssKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

[[noreturn]] void fail(const QString& why) {
    std::fprintf(stderr, "bench_addphotos: %s\n", qPrintable(why));
    std::exit(1);
}

// A small real JPEG whose header carries comment segments of random bytes up to `size`: a
// valid file of that size whose content does not compress.
void writeRandomJpeg(const QString& path, qint64 size, std::mt19937_64& random) {
    static const QByteArray picture = [] {
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPEG", 90);
        return bytes;
    }();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) fail(QStringLiteral("cannot write ") + path);
    file.write(picture.left(2));   // SOI
    qint64 left = size - picture.size();
    std::vector<quint64> words(65533 / 8 + 1);
    while (left > 4) {
        const int body = static_cast<int>(std::min<qint64>(65533, left - 4));
        for (auto& w : words) w = random();
        const char header[4] = {'\xFF', '\xFE', static_cast<char>((body + 2) >> 8),
                                static_cast<char>((body + 2) & 0xFF)};
        file.write(header, 4);
        file.write(reinterpret_cast<const char*>(words.data()), body);
        left -= body + 4;
    }
    file.write(picture.mid(2));
    if (!file.flush()) fail(QStringLiteral("cannot write ") + path);
}

void newLibrary(store::PhotoLibrary& library, const QString& path) {
    QFile::remove(path);
    QFile empty(path);
    if (!empty.open(QIODevice::WriteOnly)) fail(QStringLiteral("cannot create ") + path);
    empty.close();
    library.AdoConn().setConnectionString(QLatin1String(db::kReadWriteConnection) + path);
    library.AdoConn().open();
    QFile schema(QStringLiteral(FOTARIX_SCHEMA_SQL));
    if (!schema.open(QIODevice::ReadOnly)) fail(QStringLiteral("no schema"));
    library.AdoConn().execute(QString::fromUtf8(schema.readAll()));
    library.AdoConn().execute(
        QStringLiteral("insert into Album(name,parent_id,remark) values('数码相册',0,'')"));
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The child process of the memory measurement: adds one file, prints two sizes in KiB.
int addOneFile(const QString& library, const QString& file) {
    store::PhotoLibrary lib;
    newLibrary(lib, library);
    const long before = maxRssKiB();
    const photos::ImportResult r = photos::addPhotoFiles(lib, QStringLiteral("1"), {file});
    if (!r.ok()) fail(r.error);
    std::printf("%ld %ld\n", before, maxRssKiB());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == u"--add-one") return addOneFile(args[2], args[3]);

    int files = 200;
    int rounds = 3;
    qint64 batchMiB = 0;   // 0: the command's own batch size
    QString workBase = QDir::currentPath();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == u"--files" && i + 1 < args.size()) files = args[++i].toInt();
        else if (args[i] == u"--rounds" && i + 1 < args.size()) rounds = args[++i].toInt();
        else if (args[i] == u"--batch-mb" && i + 1 < args.size()) batchMiB = args[++i].toLongLong();
        else workBase = args[i];
    }
    QTemporaryDir work(workBase + QStringLiteral("/bench_addphotos-XXXXXX"));
    if (!work.isValid()) fail(QStringLiteral("no work dir"));
    const QString sources = work.filePath(QStringLiteral("sources"));
    QDir().mkpath(sources);

    std::mt19937_64 random(20240601);
    QStringList paths;
    qint64 totalBytes = 0;
    for (int i = 0; i < files; ++i) {
        const QString path = sources + QStringLiteral("/IMG_%1.jpg").arg(i, 4, 10, QChar(u'0'));
        writeRandomJpeg(path, kPhotoBytes + qint64(random() % 200000), random);
        paths << path;
        totalBytes += QFileInfo(path).size();
    }
    std::printf("%d files, %.1f MB in all\n", files, totalBytes / 1e6);

    std::vector<double> cpTimes, cpSyncTimes, addTimes;
    for (int round = 0; round < rounds; ++round) {
        const QString copy = work.filePath(QStringLiteral("copy"));
        QDir(copy).removeRecursively();
        QDir().mkpath(copy);
        QElapsedTimer timer;
        timer.start();
        QStringList cpArgs = paths;
        cpArgs << copy;
        if (QProcess::execute(QStringLiteral("cp"), cpArgs) != 0) fail(QStringLiteral("cp failed"));
        cpTimes.push_back(timer.nsecsElapsed() / 1e9);
        // The library's commits reach the disk; cp's copies only the page cache. Syncing the
        // copies gives the durable baseline.
        QStringList copies;
        for (const QString& p : paths) copies << copy + u'/' + QFileInfo(p).fileName();
        if (QProcess::execute(QStringLiteral("sync"), copies) != 0) fail(QStringLiteral("sync failed"));
        cpSyncTimes.push_back(timer.nsecsElapsed() / 1e9);
        QDir(copy).removeRecursively();

        const QString libraryPath = work.filePath(QStringLiteral("add.pmd"));
        {
            store::PhotoLibrary library;
            newLibrary(library, libraryPath);
            timer.restart();
            photos::ImportOptions options;
            if (batchMiB > 0) options.batchBytes = batchMiB * 1024LL * 1024;
            const photos::ImportResult r =
                photos::addPhotoFiles(library, QStringLiteral("1"), paths, {}, options);
            addTimes.push_back(timer.nsecsElapsed() / 1e9);
            if (!r.ok() || r.added() != files) fail(r.error);
        }
        QFile::remove(libraryPath);
        std::printf("round %d: cp %.3f s, cp + sync %.3f s, add %.3f s\n", round + 1, cpTimes.back(),
                    cpSyncTimes.back(), addTimes.back());
    }
    const double cp = median(cpTimes);
    const double cpSync = median(cpSyncTimes);
    const double add = median(addTimes);
    std::printf("throughput: cp %.0f MB/s, cp + sync %.0f MB/s, add %.0f MB/s\n",
                totalBytes / 1e6 / cp, totalBytes / 1e6 / cpSync, totalBytes / 1e6 / add);
    std::printf("ratio (baseline time / add time): against cp %.2f (target >= 0.5), against cp + sync %.2f\n",
                cp / add, cpSync / add);

    // Memory: one large file in a fresh process.
    QDir(sources).removeRecursively();
    const QString large = work.filePath(QStringLiteral("large.jpg"));
    writeRandomJpeg(large, kLargeBytes, random);
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--add-one"), work.filePath(QStringLiteral("large.pmd")), large});
    if (!child.waitForFinished(600000) || child.exitCode() != 0)
        fail(QStringLiteral("the memory run failed: ") + QString::fromLocal8Bit(child.readAllStandardError()));
    const QStringList sizes = QString::fromLatin1(child.readAllStandardOutput()).split(u' ');
    if (sizes.size() != 2) fail(QStringLiteral("the memory run printed nothing"));
    std::printf("memory: one %lld MB file, peak RSS %.1f MB (%.1f MB before adding; target < 80 MB)\n",
                kLargeBytes / (1024 * 1024), sizes[1].toDouble() / 1024, sizes[0].toDouble() / 1024);
    return 0;
}
