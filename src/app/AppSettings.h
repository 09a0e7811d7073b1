#pragma once

#include <QString>

// The settings file "fotarix.ini" in the program's home: section "PicDb" names the library,
// section "AppSetup" keeps what the View menu shows.
namespace app {

QString settingsFilePath();
QString ReadAppSetting(const QString& key);
void WriteAppSetting(const QString& key, const QString& value);
QString readLibraryPath();                       // "PicDb" / "picdbname"
void writeLibraryPath(const QString& path);

// An "AppSetup" value hides its part only when it is exactly "False".
inline bool settingShows(const QString& value) { return value != QLatin1String("False"); }

}  // namespace app
