// Builds the template library: runs the schema script on a new file and stores one tip row per
// non-empty line of the tips text. Usage: fotarix_make_template schema.sql tips.txt Model.dll
#include <cstdio>

#include <QFile>
#include <QSaveFile>
#include <QString>

#include "platform/db/Connection.h"
#include "platform/db/ConnectionString.h"
#include "platform/db/DbError.h"
#include "platform/db/SqlText.h"
#include "platform/db/Transaction.h"

namespace {

QByteArray readAll(const char* path) {
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", path);
        std::exit(1);
    }
    return file.readAll();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s schema.sql tips.txt output\n", argv[0]);
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[3]);
    const QString work = output + QStringLiteral(".part");
    QFile::remove(work);
    {
        QFile empty(work);  // the engine opens only existing files
        if (!empty.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "cannot create %s\n", qPrintable(work));
            return 1;
        }
    }
    try {
        db::Connection conn;
        conn.setConnectionString(QString::fromLatin1(db::kReadWriteConnection) + work);
        conn.open();
        conn.execute(QString::fromUtf8(readAll(argv[1])));
        db::Transaction transaction(conn);
        const QStringList tips = QString::fromUtf8(readAll(argv[2])).split(u'\n');
        for (const QString& line : tips) {
            const QString tip = line.trimmed();
            if (tip.isEmpty()) continue;
            conn.execute(QStringLiteral("insert into parameter(parent_id,pvalue,domain_no,meaning) "
                                        "values(0,") +
                         db::quoted(tip) + QStringLiteral(",'提示词语','')"));
        }
        transaction.commit();
        conn.close();
    } catch (const db::DbError& e) {
        std::fprintf(stderr, "template: %s\n", qPrintable(e.message()));
        QFile::remove(work);
        return 1;
    }
    QFile::remove(output);
    if (!QFile::rename(work, output)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(output));
        return 1;
    }
    return 0;
}
