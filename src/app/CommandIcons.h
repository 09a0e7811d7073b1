#pragma once

class QIcon;
class QString;

namespace app {

// The picture of a command, drawn by the program itself so that it looks the same on every
// desktop. Unknown names give an empty icon.
QIcon commandIcon(const QString& name);

}  // namespace app
