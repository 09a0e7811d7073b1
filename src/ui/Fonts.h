#pragma once

#include <QFont>

namespace ui {

// The program's dialog font: SimSun where installed, otherwise the CJK fonts Linux desktops
// ship (Noto Sans CJK SC, WenQuanYi), at a fixed pixel size so layouts measured in pixels fit.
QFont simSunFont(int pixelSize = 12);

}  // namespace ui
