#pragma once

#include <functional>
#include <initializer_list>

class QIcon;
class QPainter;

namespace ui {

// An icon drawn by the program: paint draws the picture on a grid x grid canvas, antialiased,
// and it is rendered once for each of the pixel sizes on a transparent ground.
QIcon paintedIcon(int grid, std::initializer_list<int> sizes,
                  const std::function<void(QPainter&)>& paint);

}  // namespace ui
