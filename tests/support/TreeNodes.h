#pragma once

class QString;
class QTreeWidget;
class QTreeWidgetItem;

namespace testsupport {

// The first node of the tree, in the order the tree shows them, whose first column reads
// caption; null when there is none.
QTreeWidgetItem* findNode(QTreeWidget* tree, const QString& caption);

}  // namespace testsupport
