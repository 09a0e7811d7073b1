#pragma once

#include <QString>

// Reads and writes one value of an ini file ("[Section]" lines, "key=value" lines, UTF-8, keys
// written as they are, Chinese included). Each call opens and closes the file. A missing file,
// section or key reads as the default; a write creates what is missing and replaces the file
// only once the new content is complete.
namespace desktop {

QString iniRead(const QString& file, const QString& section, const QString& key,
                const QString& fallback = QString());
// False when the file cannot be written (read-only folder, full disk).
bool iniWrite(const QString& file, const QString& section, const QString& key,
              const QString& value);

}  // namespace desktop
