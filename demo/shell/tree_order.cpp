#include "demo/shell/tree_order.h"

#include <QTreeWidget>

namespace {

QTreeWidgetItem* NextSibling(QTreeWidget& tree, QTreeWidgetItem* item) {
  QTreeWidgetItem* parent = item->parent();
  if (parent != nullptr) {
    const int index = parent->indexOfChild(item);
    return index + 1 < parent->childCount() ? parent->child(index + 1) : nullptr;
  }
  const int index = tree.indexOfTopLevelItem(item);
  return index + 1 < tree.topLevelItemCount() ? tree.topLevelItem(index + 1) : nullptr;
}

QTreeWidgetItem* PreviousSibling(QTreeWidget& tree, QTreeWidgetItem* item) {
  QTreeWidgetItem* parent = item->parent();
  const int index = parent != nullptr ? parent->indexOfChild(item) : tree.indexOfTopLevelItem(item);
  if (index <= 0) return nullptr;
  return parent != nullptr ? parent->child(index - 1) : tree.topLevelItem(index - 1);
}

}  // namespace

QTreeWidgetItem* LastDescendant(QTreeWidgetItem* item) {
  while (item != nullptr && item->childCount() > 0) item = item->child(item->childCount() - 1);
  return item;
}

QTreeWidgetItem* NextTreeItem(QTreeWidget& tree, QTreeWidgetItem* item) {
  if (item == nullptr) return tree.topLevelItem(0);
  if (item->childCount() > 0) return item->child(0);
  for (QTreeWidgetItem* at = item; at != nullptr; at = at->parent()) {
    if (QTreeWidgetItem* sibling = NextSibling(tree, at)) return sibling;
  }
  return tree.topLevelItem(0);
}

QTreeWidgetItem* PreviousTreeItem(QTreeWidget& tree, QTreeWidgetItem* item) {
  if (item != nullptr) {
    if (QTreeWidgetItem* sibling = PreviousSibling(tree, item)) return LastDescendant(sibling);
    if (item->parent() != nullptr) return item->parent();
  }
  const int roots = tree.topLevelItemCount();
  return roots > 0 ? LastDescendant(tree.topLevelItem(roots - 1)) : nullptr;
}
