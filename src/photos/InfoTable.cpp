#include "photos/InfoTable.h"

#include <QColor>
#include <QHeaderView>
#include <QTableWidget>

#include "platform/image/InfoRows.h"
#include "ui/FormWidgets.h"

namespace photos {

namespace {

constexpr char kRowColoursProperty[] = "fotarixInfoRowColours";

}  // namespace

QTableWidget* createInfoTable(QWidget* parent, int captionWidth, int valueWidth,
                              bool rowColours) {
    auto* table = new QTableWidget(0, 2, parent);
    table->setObjectName(QStringLiteral("lvInfo"));
    table->setHorizontalHeaderLabels({QStringLiteral("属性名称"), QStringLiteral("属性值")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    ui::setReportLook(table, 4);
    QHeaderView* header = table->horizontalHeader();
    header->resizeSection(0, captionWidth);
    header->resizeSection(1, valueWidth);
    table->setProperty(kRowColoursProperty, rowColours);
    return table;
}

void fillInfoTable(QTableWidget* table, const QList<image::InfoRow>& rows) {
    if (!table) return;
    const bool colours = table->property(kRowColoursProperty).toBool();
    const QColor even(244, 252, 227);
    const QColor odd(254, 255, 243);
    table->setUpdatesEnabled(false);
    table->clearContents();
    table->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        auto* caption = new QTableWidgetItem(rows[r].caption);
        auto* value = new QTableWidgetItem(rows[r].value);
        if (colours) {
            caption->setBackground(r % 2 == 0 ? even : odd);
            value->setBackground(r % 2 == 0 ? even : odd);
        }
        table->setItem(r, 0, caption);
        table->setItem(r, 1, value);
    }
    table->setUpdatesEnabled(true);
}

}  // namespace photos
