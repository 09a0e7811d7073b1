#pragma once

#include <functional>

#include <QString>

class QUrl;

// Handing things to the desktop: web addresses, mail links and documents open in the user's
// own programs (browser, mail client, HTML viewer). Tests install a hook that sees each URL
// instead of the desktop, so that no browser is ever started by a test run.
namespace ui::shell {

// The maker's addresses shown by the About and tips windows and used by the support command.
QString makerWebSite();       // "http://www.fotarix.example/"
QString makerSupportSite();   // the support page on the web site
QString makerMailAddress();   // "service@fotarix.example"

// Receives every URL instead of the desktop while installed; its answer is openUrl's.
using OpenHook = std::function<bool(const QUrl&)>;
// Installs (or with an empty function removes) the hook.
void setOpenHook(OpenHook hook);

// Opens the URL with the desktop's program for it; false when the desktop could not.
bool openUrl(const QUrl& url);

// "mailto:<address>?subject=<subject>", the subject percent-encoded as UTF-8.
QUrl mailUrl(const QString& address, const QString& subject);
// Opens a new mail to the address with the subject (the program's name when not given).
bool openMail(const QString& address, const QString& subject = QStringLiteral("晴窗影册"));
// Opens a local file (the help) with its default program.
bool openFile(const QString& path);

// Moves a file or folder to the desktop's trash; where there is no trash on its file system
// it is deleted instead. False when it could be neither moved nor deleted.
bool moveToTrash(const QString& path);

}  // namespace ui::shell
