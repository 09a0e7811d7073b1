#pragma once

#include <QString>

// Where the program's files live.
//  - program dir: the shipped files ("Model.dll", "PicFrame/", the help file, "FotarixScr.scr");
//    the executable's directory unless a test sets it.
//  - home: "fotarix.ini", the default library and maintenance work files. FOTARIX_HOME when
//    set; else the program dir when writable (a portable install); else $XDG_DATA_HOME/Fotarix.
// Both are returned with a trailing '/'.
namespace ui::paths {

QString programDir();
QString homeDir();
void setProgramDir(const QString& dir);  // for tests; empty restores the default
QString settingsFile();                  // homeDir() + "fotarix.ini"

}  // namespace ui::paths
