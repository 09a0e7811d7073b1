#include "app/FileAttributes.h"

#include <unistd.h>

#include <QFile>
#include <QFileInfo>

namespace app {
namespace {
FileAttributeHooks& hooks() {
    static FileAttributeHooks instance;
    return instance;
}
}  // namespace

void setFileAttributeHooks(FileAttributeHooks replacement) { hooks() = std::move(replacement); }

bool fileIsReadOnly(const QString& path) {
    if (hooks().isReadOnly) return hooks().isReadOnly(path);
    const QFileInfo info(path);
    if (!(info.permissions() & QFileDevice::WriteOwner)) return true;
    const QByteArray file = QFile::encodeName(path);
    const QByteArray folder = QFile::encodeName(info.absolutePath());
    return ::access(file.constData(), W_OK) != 0 || ::access(folder.constData(), W_OK) != 0;
}

bool clearReadOnlyAttribute(const QString& path) {
    if (hooks().clearReadOnly) return hooks().clearReadOnly(path);
    QFile file(path);
    return file.setPermissions(file.permissions() | QFileDevice::WriteOwner | QFileDevice::ReadOwner);
}

}  // namespace app
