#pragma once
// Moving through a tree in display order (parents before their children).
class QTreeWidget;
class QTreeWidgetItem;

// The first child; else the next sibling; else the next sibling of the
// nearest ancestor that has one; else the first item of the tree.
QTreeWidgetItem* NextTreeItem(QTreeWidget& tree, QTreeWidgetItem* item);

// The previous sibling's last descendant; else the parent; else the last
// item of the whole tree.
QTreeWidgetItem* PreviousTreeItem(QTreeWidget& tree, QTreeWidgetItem* item);

// The deepest last descendant of `item` (the item itself without children).
QTreeWidgetItem* LastDescendant(QTreeWidgetItem* item);
