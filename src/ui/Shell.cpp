#include "ui/Shell.h"

#include <utility>

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>
#include <QUrlQuery>

namespace ui::shell {
namespace {

OpenHook& hook()
{
    static OpenHook instance;
    return instance;
}

}  // namespace

QString makerWebSite()
{
    return QStringLiteral("http://www.fotarix.example/");
}

QString makerSupportSite()
{
    return QStringLiteral("http://www.fotarix.example/support/");
}

QString makerMailAddress()
{
    return QStringLiteral("service@fotarix.example");
}

void setOpenHook(OpenHook h)
{
    hook() = std::move(h);
}

bool openUrl(const QUrl& url)
{
    if (!url.isValid())
        return false;
    if (hook())
        return hook()(url);
    return QDesktopServices::openUrl(url);
}

QUrl mailUrl(const QString& address, const QString& subject)
{
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(address);
    if (!subject.isEmpty()) {
        QUrlQuery query;
        query.addQueryItem(QStringLiteral("subject"), subject);
        url.setQuery(query);
    }
    return url;
}

bool openMail(const QString& address, const QString& subject)
{
    return openUrl(mailUrl(address, subject));
}

bool openFile(const QString& path)
{
    if (path.isEmpty())
        return false;
    return openUrl(QUrl::fromLocalFile(path));
}

bool moveToTrash(const QString& path)
{
    // Qt puts the trash in the working folder when the user's data folder does not exist yet.
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    QString trashed;
    if (QFile::moveToTrash(path, &trashed) && QFileInfo(trashed).isAbsolute())
        return true;
    if (!trashed.isEmpty() && QFileInfo::exists(trashed))
        return QFileInfo(trashed).isDir() ? QDir(trashed).removeRecursively() : QFile::remove(trashed);
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    return info.isDir() && !info.isSymLink() ? QDir(path).removeRecursively() : QFile::remove(path);
}

}  // namespace ui::shell
