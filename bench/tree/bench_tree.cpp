// Builds the album tree of generated libraries of 1,000, 10,000 and 50,000 albums and prints
// how long BuildTree takes, so that growth with the number of albums can be read off as a ratio
// against the smallest library measured in the same run.
//
// The albums form a random tree several levels deep: a few top-level albums, and every other
// album placed under an earlier one, most often a recent one, so that chains run deep while
// siblings spread out. The tree is shown (offscreen) as the main window's tree is.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include <QApplication>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include "albums/TTreeMaker.h"
#include "platform/db/Connection.h"
#include "platform/db/ConnectionString.h"
#include "platform/db/Query.h"
#include "platform/db/SqlText.h"
#include "platform/db/Transaction.h"

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Generated {
    int maxDepth = 0;
    int topLevel = 0;
};

Generated fillLibrary(db::Connection& conn, int albums) {
    static const QStringList words = {QStringLiteral("旅行"),    QStringLiteral("家庭"),
                                      QStringLiteral("Holiday"), QStringLiteral("聚会"),
                                      QStringLiteral("Beach"),   QStringLiteral("毕业"),
                                      QStringLiteral("婚礼"),    QStringLiteral("Mountains"),
                                      QStringLiteral("宝宝"),    QStringLiteral("风景")};
    std::mt19937 random(20090101u + static_cast<unsigned>(albums));
    std::vector<int> depth(static_cast<size_t>(albums) + 1, 0);
    Generated facts;

    conn.execute(QStringLiteral(
        "create table Album(id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT COLLATE LOCALE,"
        " parent_id INTEGER, remark TEXT)"));
    db::Transaction transaction(conn);
    QStringList values;
    for (int id = 1; id <= albums; ++id) {
        int parent = 0;
        if (id > 1 && std::uniform_int_distribution<int>(0, 99)(random) >= 2) {
            // Mostly one of the last few albums (deep chains), sometimes any earlier one.
            const bool recent = std::uniform_int_distribution<int>(0, 2)(random) > 0;
            const int low = recent ? std::max(1, id - 8) : 1;
            parent = std::uniform_int_distribution<int>(low, id - 1)(random);
        }
        depth[static_cast<size_t>(id)] = parent ? depth[static_cast<size_t>(parent)] + 1 : 0;
        facts.maxDepth = std::max(facts.maxDepth, depth[static_cast<size_t>(id)]);
        if (!parent) ++facts.topLevel;
        const QString name =
            words[static_cast<int>(random() % words.size())] + QString::number(random() % 10000);
        values << QStringLiteral("(%1, %2, %3)").arg(id).arg(db::quoted(name)).arg(parent);
        if (values.size() == 500 || id == albums) {
            conn.execute(QStringLiteral("insert into Album(id, name, parent_id) values ") +
                         values.join(u','));
            values.clear();
        }
    }
    transaction.commit();
    return facts;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const std::vector<int> sizes = {1000, 10000, 50000};
    const int runs = 3;
    std::vector<double> best;

    std::printf("%8s %6s %6s %10s %12s %14s %12s\n", "albums", "top", "depth", "open ms",
                "build ms", "build+show ms", "us/album");
    for (const int size : sizes) {
        const QString path = dir.filePath(QStringLiteral("lib%1.pmd").arg(size));
        QFile(path).open(QIODevice::WriteOnly);
        db::Connection conn;
        conn.setConnectionString(QString::fromLatin1(db::kReadWriteConnection) + path);
        conn.open();
        const Generated facts = fillLibrary(conn, size);

        db::Query query(&conn);
        query.setSql(QStringLiteral("Select * from Album order by name ASC"));
        auto start = Clock::now();
        query.open();
        const double openMs = msSince(start);

        QTreeWidget tree;
        tree.setHeaderHidden(true);
        tree.resize(220, 600);
        tree.show();
        TTreeMaker maker;
        maker.setTreeView(&tree);
        maker.setDataSet(&query);
        maker.setCaptionField(QStringLiteral("name"));
        maker.setSonIDField(QStringLiteral("id"));
        maker.setParentIDField(QStringLiteral("parent_id"));

        double buildMs = 1e300;
        double shownMs = 1e300;
        for (int run = 0; run < runs; ++run) {
            start = Clock::now();
            maker.BuildTree(QStringLiteral("0"));
            buildMs = std::min(buildMs, msSince(start));
            QApplication::processEvents();  // layout and first paint of the rebuilt tree
            shownMs = std::min(shownMs, msSince(start));
        }
        int nodes = 0;
        for (QTreeWidgetItemIterator it(&tree); *it; ++it) ++nodes;
        if (nodes != size) {
            std::fprintf(stderr, "tree has %d nodes for %d albums\n", nodes, size);
            return 1;
        }
        best.push_back(buildMs);
        std::printf("%8d %6d %6d %10.1f %12.1f %14.1f %12.2f\n", size, facts.topLevel,
                    facts.maxDepth, openMs, buildMs, shownMs, 1000.0 * buildMs / size);
    }
    std::printf("build time ratio 50,000 / 1,000 albums: %.1f (linear would be 50)\n",
                best.back() / best.front());
    return 0;
}
