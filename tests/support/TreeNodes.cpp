#include "support/TreeNodes.h"

#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace testsupport {

QTreeWidgetItem* findNode(QTreeWidget* tree, const QString& caption) {
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if ((*it)->text(0) == caption) return *it;
    return nullptr;
}

}  // namespace testsupport
