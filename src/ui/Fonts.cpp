#include "ui/Fonts.h"

#include <QStringList>

namespace ui {

QFont simSunFont(int pixelSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("WenQuanYi Zen Hei")});
    font.setPixelSize(pixelSize);
    return font;
}

}  // namespace ui
