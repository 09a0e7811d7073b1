#include "ui/Shell.h"

#include <utility>

#include <QDesktopServices>
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

}  // namespace ui::shell
