#include "app/AppSettings.h"

#include "platform/desktop/IniFile.h"
#include "ui/AppPaths.h"

namespace app {
namespace {
const QString kAppSetup = QStringLiteral("AppSetup");
const QString kPicDb = QStringLiteral("PicDb");
const QString kPicDbName = QStringLiteral("picdbname");
}  // namespace

QString settingsFilePath() { return ui::paths::settingsFile(); }

QString ReadAppSetting(const QString& key) {
    return desktop::iniRead(settingsFilePath(), kAppSetup, key);
}

void WriteAppSetting(const QString& key, const QString& value) {
    desktop::iniWrite(settingsFilePath(), kAppSetup, key, value);
}

QString readLibraryPath() { return desktop::iniRead(settingsFilePath(), kPicDb, kPicDbName); }

void writeLibraryPath(const QString& path) {
    desktop::iniWrite(settingsFilePath(), kPicDb, kPicDbName, path);
}

}  // namespace app
