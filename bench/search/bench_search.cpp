// Builds a library of 100,000 photos in a temporary folder and times the photo search the way
// the search window runs it: once on opening (every photo) and again on every keystroke while
// a user types. Each keystroke is timed three ways:
//   search  the search statement run and the grid's rows replaced (PhotoSearchModel::search),
//   window  the keystroke in the real window, offscreen: the search, the grid's reset, its
//           current row, and the repaint that reads the texts of the rows shown,
//   dataset the baseline: the whole result (ids, album name by the left join, names,
//           descriptions, dates, file names) opened as a db::Query, the general dataset.
//
//   bench_search [--photos N] [--blob-kb K] [--library FILE]
//
// Defaults: 100000 photos of 8 KiB each in a temporary library. With --library the library is
// built in FILE when FILE does not exist yet and kept, so that later runs skip the build.
//
// Every photo row carries K KiB of bytes, as a real photo's row carries the start of the
// photo, so a plan that reads the table instead of the covering index shows it at once.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QStringList>
#include <QTemporaryDir>

#include "photos/PhotoSearchModel.h"
#include "photos/TFrm_Search.h"
#include "platform/db/Connection.h"
#include "platform/db/ConnectionString.h"
#include "platform/db/Cursor.h"
#include "platform/db/Query.h"
#include "platform/db/SqlText.h"
#include "platform/db/Transaction.h"
#include "store/PhotoLibrary.h"

namespace {

using Clock = std::chrono::steady_clock;

const QString kWholeResult = QStringLiteral(
    "select p.id as id,p.album_id as album_id,p.pic_name as pic_name,p.create_date as "
    "create_date,p.modify_date as modify_date,p.file_name as file_name,p.remark as remark,"
    "a.name as album_name from picture p left join album a on p.album_id = a.id ");

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

QString pick(std::mt19937& random, const QStringList& words) {
    return words[static_cast<int>(random() % static_cast<unsigned>(words.size()))];
}

void fillLibrary(db::Connection& conn, int photos, int blobKb) {
    QFile schema(QStringLiteral(FOTARIX_SCHEMA_SQL));
    if (!schema.open(QIODevice::ReadOnly)) qFatal("cannot read the schema");
    conn.execute(QString::fromUtf8(schema.readAll()));

    static const QStringList albumWords = {"旅行", "家庭", "Holiday", "聚会", "毕业", "婚礼",
                                           "风景", "宝宝", "Beach",   "同学"};
    static const QStringList remarkWords = {
        "春游", "在公园里", "和朋友们", "拍的照片", "海边", "日落", "birthday", "party",
        "老家", "新年", "Great Wall", "sunset", "雪景", "生日快乐", "第一次", "with friends"};
    std::mt19937 random(20090101u);
    db::Transaction transaction(conn);

    constexpr int kAlbums = 300;
    QStringList values;
    for (int id = 1; id <= kAlbums; ++id) {
        const int parent = id <= 5 ? 0 : static_cast<int>(1 + random() % static_cast<unsigned>(id - 1));
        values << QStringLiteral("(%1,%2)").arg(db::quoted(pick(random, albumWords) +
                                                           QString::number(id)))
                      .arg(parent);
    }
    conn.execute(QStringLiteral("insert into Album(name,parent_id) values ") + values.join(u','));
    values.clear();

    for (int i = 1; i <= photos; ++i) {
        const unsigned r = random() % 100;
        const QString album = r < 2 ? QStringLiteral("NULL") : r < 3 ? QStringLiteral("0")
                                    : QString::number(1 + random() % kAlbums);
        QString name;
        const unsigned kind = random() % 10;
        if (kind < 6) name = QStringLiteral("IMG_%1.jpg").arg(i, 5, 10, QChar(u'0'));
        else if (kind < 8) name = QStringLiteral("DSC%1.JPG").arg(i, 5, 10, QChar(u'0'));
        else name = pick(random, remarkWords) + QStringLiteral("_%1.png").arg(i);
        QString remark;
        const int words = 1 + static_cast<int>(random() % 4);
        for (int w = 0; w < words; ++w) remark += pick(random, remarkWords) + u' ';
        remark += QString::number(random() % 100000);
        const QString created = QStringLiteral("'20%1-%2-%3 10:%4:00'")
                                    .arg(5 + random() % 5, 2, 10, QChar(u'0'))
                                    .arg(1 + random() % 12, 2, 10, QChar(u'0'))
                                    .arg(1 + random() % 28, 2, 10, QChar(u'0'))
                                    .arg(random() % 60, 2, 10, QChar(u'0'));
        values << QStringLiteral("(%1,%2,%3,%4,%5,0,%6,randomblob(%7))")
                      .arg(album, db::quoted(name), created,
                           random() % 5 == 0 ? created : QStringLiteral("NULL"),
                           db::quoted(QStringLiteral("D:\\照片\\") + name), db::quoted(remark))
                      .arg(blobKb * 1024);
        if (values.size() == 500 || i == photos) {
            conn.execute(QStringLiteral("insert into picture(album_id,pic_name,create_date,"
                                        "modify_date,file_name,file_size,remark,pic_content) values ") +
                         values.join(u','));
            values.clear();
        }
    }
    transaction.commit();
}

}  // namespace

int main(int argc, char** argv) {
    int photos = 100000;
    int blobKb = 8;
    QString kept;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--photos") == 0) photos = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--blob-kb") == 0) blobKb = std::max(0, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--library") == 0) kept = QFile::decodeName(argv[i + 1]);
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir folder;
    qputenv("FOTARIX_HOME", QFile::encodeName(folder.filePath(QStringLiteral("home"))));
    qputenv("TMPDIR", QFile::encodeName(folder.path()));
    QApplication app(argc, argv);

    const QString path = kept.isEmpty() ? folder.filePath(QStringLiteral("PicData.pmd")) : kept;
    const bool build = !QFile::exists(path);
    if (build) QFile(path).open(QIODevice::WriteOnly);
    store::PhotoLibrary library;
    library.AdoConn().setConnectionString(QString::fromLatin1(db::kReadWriteConnection) + path);
    library.AdoConn().open();
    if (build) {
        const auto built = Clock::now();
        fillLibrary(library.AdoConn(), photos, blobKb);
        std::printf("library: %d photos of %d KiB, built in %.1f s\n", photos, blobKb,
                    msSince(built) / 1000);
    }
    std::printf("library: %s, %.1f MB\n", qPrintable(path),
                static_cast<double>(QFile(path).size()) / 1e6);

    {
        db::Cursor plan(library.AdoConn(), QStringLiteral("explain query plan ") +
                                               photos::PhotoSearchModel::statementFor(QStringLiteral("x")));
        std::printf("plan:");
        while (plan.next()) std::printf("  %s;", qPrintable(plan.text(3)));
        std::printf("\n\n");
    }

    // Opening, then a user typing "IMG_01", clearing the field, typing Chinese (an input
    // method commits whole words) and a few other texts.
    const QStringList keystrokes = {"",    "I",  "IM",   "IMG",      "IMG_",  "IMG_0", "IMG_01",
                                    "",    "春", "春游", "生日快乐", "beach", "sunset 1", "xyz",
                                    "O'B", "100%"};

    photos::TFrm_Search window(library);
    window.show();  // lists every photo
    QApplication::processEvents();

    photos::PhotoSearchModel model;
    std::vector<double> windowTimes;
    std::printf("%-12s %8s %10s %10s %10s %8s\n", "text", "rows", "search ms", "window ms",
                "dataset ms", "dataset/window");
    for (const QString& text : keystrokes) {
        std::vector<double> searchRuns;
        for (int run = 0; run < 3; ++run) {
            const auto start = Clock::now();
            model.search(library.AdoConn(), text);
            searchRuns.push_back(msSince(start));
        }
        std::vector<double> windowRuns;
        for (int run = 0; run < 3; ++run) {
            window.EdtValue->blockSignals(true);
            window.EdtValue->setText(QStringLiteral("\x01"));  // a different text each time
            window.EdtValue->blockSignals(false);
            QApplication::processEvents();
            const auto start = Clock::now();
            window.EdtValue->setText(text);
            QApplication::processEvents();
            windowRuns.push_back(msSince(start));
        }
        db::Query dataset(&library.AdoConn());
        dataset.setSql(kWholeResult + photos::PhotoSearchModel::conditionFor(text) +
                       QStringLiteral(" order by album_id Desc"));
        const auto start = Clock::now();
        dataset.open();
        const double datasetMs = msSince(start);

        const double searchMs = median(searchRuns);
        const double windowMs = median(windowRuns);
        windowTimes.push_back(windowMs);
        // Padded by characters, not bytes, so that Chinese texts keep the columns straight.
        const QString shown = QString(u'"' + text + u'"').leftJustified(12);
        std::printf("%s %8d %10.1f %10.1f %10.1f %7.1fx\n", qPrintable(shown), model.rowCount(),
                    searchMs, windowMs, datasetMs, datasetMs / std::max(windowMs, 0.01));
    }
    double sum = 0;
    for (double t : windowTimes) sum += t;
    std::printf("\nper keystroke in the window: mean %.1f ms, max %.1f ms (limit 50 ms)\n",
                sum / static_cast<double>(windowTimes.size()),
                *std::max_element(windowTimes.begin(), windowTimes.end()));
    return 0;
}
