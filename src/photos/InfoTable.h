#pragma once

// The information rows table lvInfo: two read-only columns "属性名称" and "属性值" with grid
// lines, one row per information row of a photo. The main window's panel draws its rows on
// alternating colours; the properties dialog uses the table without them.
//
//   QTableWidget* lvInfo = photos::createInfoTable(parent, 70, 125, true);
//   photos::fillInfoTable(lvInfo, image::informationRows(document));

#include <QList>

class QTableWidget;
class QWidget;

namespace image {
struct InfoRow;
}

namespace photos {

QTableWidget* createInfoTable(QWidget* parent, int captionWidth, int valueWidth,
                              bool rowColours);

// Replaces every row in one bulk update (no repaint until the table is full).
void fillInfoTable(QTableWidget* table, const QList<image::InfoRow>& rows);

}  // namespace photos
