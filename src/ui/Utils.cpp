#include "ui/Utils.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUuid>

#include "ui/AppPaths.h"
#include "ui/Dialogs.h"

namespace ui {
namespace {

// Makes dir (one level) with mode 0700 when missing and checks that it is a real directory
// owned by this user; a private directory left with a wider mode is narrowed to 0700.
bool ensurePrivateDir(const QString& dir)
{
    const QByteArray native = QFile::encodeName(dir);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0)
        return false;
    if (!S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
        return false;
    if ((st.st_mode & 07777) != 0700 && ::chmod(native.constData(), 0700) != 0)
        return false;
    return true;
}

QString withSlash(const QString& dir)
{
    return dir.endsWith(u'/') ? dir : dir + u'/';
}

QString fallbackTempDir()
{
    const QString base = paths::homeDir() + QStringLiteral("temp");
    ensurePrivateDir(base);
    const QString dir = base + QStringLiteral("/Fotarix");
    ensurePrivateDir(dir);
    return dir + u'/';
}

QDateTime toTwoSecondLocal(const QDateTime& time)
{
    if (!time.isValid())
        return {};
    const QDateTime local = time.toLocalTime();
    const QDate date = local.date();
    if (date.year() < 1980 || date.year() > 2107)
        return {};
    const QTime t = local.time();
    return QDateTime(date, QTime(t.hour(), t.minute(), t.second() - t.second() % 2));
}

}  // namespace

QString GetAppTempDir()
{
    const QString tmpdir = qEnvironmentVariable("TMPDIR");
    QString base;
    if (!tmpdir.isEmpty()) {
        base = withSlash(QDir::cleanPath(tmpdir));
    } else {
        base = QStringLiteral("/tmp/fotarix-%1").arg(::getuid());
        if (!ensurePrivateDir(base))
            return fallbackTempDir();
        base += u'/';
    }
    const QString dir = base + QStringLiteral("Fotarix");
    // The base may be shared (TMPDIR=/tmp): the folder itself must be ours and private.
    if (!ensurePrivateDir(dir)) {
        const QFileInfo info(dir);
        if (info.exists() || info.isSymLink())
            return fallbackTempDir();
    }
    return dir + u'/';
}

QString MakeTempFileName(const QString& extension)
{
    QString name = GetAppTempDir() + QUuid::createUuid().toString(QUuid::WithBraces).toUpper();
    if (!extension.isEmpty())
        name += extension;
    return name;
}

void DeleteTempFiles()
{
    const QString dir = GetAppTempDir();
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        if (info.isDir() && !info.isSymLink())
            QDir(info.filePath()).removeRecursively();
        else
            QFile::remove(info.filePath());
    }
}

qint64 GetFileSizeOf(const QString& path)
{
    if (path.isEmpty())
        return -1;
    const QFileInfo info(path);
    if (!info.exists())
        return -1;
    return info.size();
}

QDateTime GetFileTimeOf(const QString& path, int which)
{
    if (path.isEmpty())
        return {};
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        return {};
    switch (which) {
    case 0: {
        const QDateTime born = info.birthTime();
        return toTwoSecondLocal(born.isValid() ? born : info.lastModified());
    }
    case 1:
        return toTwoSecondLocal(info.lastRead());
    case 2:
        return toTwoSecondLocal(info.lastModified());
    default:
        return {};
    }
}

QDateTime GetFileWriteTimeOf(const QString& path)
{
    return GetFileTimeOf(path, 2);
}

QString GetSystemDir()
{
    const QString dir = paths::homeDir() + QStringLiteral("system");
    QDir().mkpath(dir);
    return dir;
}

QString RightText(const QString& text, int count)
{
    if (count <= 0)
        return {};
    qsizetype start = text.size();
    for (int taken = 0; taken < count && start > 0; ++taken) {
        --start;
        if (start > 0 && text.at(start).isLowSurrogate() && text.at(start - 1).isHighSurrogate())
            --start;
    }
    return text.mid(start);
}

QString FormatSizeKB(qint64 size)
{
    if (size < 0)
        return {};
    if (size > 0 && size < 1000)
        return QStringLiteral("1KB");
    QString digits = QString::number(size / 1000);
    if (digits.size() > 3)
        digits.insert(digits.size() - 3, u',');
    return digits + QStringLiteral("KB");
}

bool BrowseForFolder(const QString& caption, const QString& root, QString& folder)
{
    if (!folder.isEmpty() && !QFileInfo(folder).isDir())
        folder.clear();
    QString start = folder;
    if (start.isEmpty())
        start = root;
    if (start.isEmpty())
        start = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    const QString chosen = dialogs::folder(QApplication::activeWindow(), caption, start);
    if (chosen.isEmpty())
        return false;
    folder = chosen;
    return true;
}

}  // namespace ui
