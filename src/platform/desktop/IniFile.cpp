#include "platform/desktop/IniFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>

namespace desktop {
namespace {

QStringList readLines(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QString text = QString::fromUtf8(f.readAll());
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

bool isSection(const QString& line, QString* name) {
    const QString t = line.trimmed();
    if (!t.startsWith(u'[') || !t.endsWith(u']')) return false;
    if (name) *name = t.mid(1, t.size() - 2).trimmed();
    return true;
}

// The key of a "key=value" line, or an empty text for other lines.
QString keyOf(const QString& line, QString* value) {
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(u';') || t.startsWith(u'#')) return {};
    const int eq = line.indexOf(u'=');
    if (eq <= 0) return {};
    if (value) *value = line.mid(eq + 1).trimmed();
    return line.left(eq).trimmed();
}

}  // namespace

QString iniRead(const QString& file, const QString& section, const QString& key,
                const QString& fallback) {
    bool inSection = false;
    for (const QString& line : readLines(file)) {
        QString name;
        if (isSection(line, &name)) {
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection) continue;
        QString value;
        if (keyOf(line, &value).compare(key, Qt::CaseInsensitive) == 0)
            return value.isEmpty() ? fallback : value;
    }
    return fallback;
}

bool iniWrite(const QString& file, const QString& section, const QString& key,
              const QString& value) {
    QStringList lines = readLines(file);
    const QString entry = key + u'=' + value;
    int sectionAt = -1;
    int insertAt = -1;
    bool done = false;
    for (int i = 0; i < lines.size() && !done; ++i) {
        QString name;
        if (isSection(lines[i], &name)) {
            if (sectionAt >= 0) break;  // end of our section
            if (name.compare(section, Qt::CaseInsensitive) == 0) {
                sectionAt = i;
                insertAt = i + 1;
            }
            continue;
        }
        if (sectionAt < 0) continue;
        if (!lines[i].trimmed().isEmpty()) insertAt = i + 1;
        if (keyOf(lines[i], nullptr).compare(key, Qt::CaseInsensitive) == 0) {
            lines[i] = entry;
            done = true;
        }
    }
    if (!done) {
        if (sectionAt < 0) {
            if (!lines.isEmpty() && !lines.last().trimmed().isEmpty()) lines << QString();
            lines << u'[' + section + u']' << entry;
        } else {
            lines.insert(insertAt, entry);
        }
    }
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) return false;
    out.write((lines.join(u'\n') + u'\n').toUtf8());
    return out.commit();
}

}  // namespace desktop
