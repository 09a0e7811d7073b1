#pragma once

#include <functional>

#include <QString>

// The read-only attribute of a library file. On Linux a file is read-only when its owner may
// not write it, when it lies on read-only media, or when its folder cannot take the engine's
// journal. Tests replace the check, since they run as root and root may write anything.
namespace app {

struct FileAttributeHooks {
    std::function<bool(const QString& path)> isReadOnly;
    // Gives the owner write permission back; false when that is impossible.
    std::function<bool(const QString& path)> clearReadOnly;
};

bool fileIsReadOnly(const QString& path);
bool clearReadOnlyAttribute(const QString& path);
// Installs replacements for the two checks; empty members restore the real ones.
void setFileAttributeHooks(FileAttributeHooks hooks);

}  // namespace app
