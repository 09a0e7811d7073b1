#include "ui/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace ui::paths {
namespace {

QString g_programDirOverride;

QString withSlash(const QString& dir)
{
    if (dir.isEmpty() || dir.endsWith(u'/'))
        return dir;
    return dir + u'/';
}

QString executableDir()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    // Before the application object exists (early start-up, small tools) ask the kernel.
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
}

}  // namespace

QString programDir()
{
    if (!g_programDirOverride.isEmpty())
        return g_programDirOverride;
    return withSlash(executableDir());
}

void setProgramDir(const QString& dir)
{
    g_programDirOverride = dir.isEmpty() ? QString() : withSlash(QDir::cleanPath(dir));
}

QString homeDir()
{
    const QString fromEnv = qEnvironmentVariable("FOTARIX_HOME");
    if (!fromEnv.isEmpty()) {
        QDir().mkpath(fromEnv);
        return withSlash(QDir::cleanPath(fromEnv));
    }
    const QString program = programDir();
    const QFileInfo programInfo(program);
    if (programInfo.isDir() && programInfo.isWritable())
        return program;  // a portable install keeps its data beside the program
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                         QStringLiteral("/Fotarix");
    QDir().mkpath(data);
    return withSlash(data);
}

QString settingsFile()
{
    return homeDir() + QStringLiteral("fotarix.ini");
}

}  // namespace ui::paths
