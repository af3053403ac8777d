#pragma once

#include <QString>

class QTreeWidget;
class QTreeWidgetItem;

// The first node, in depth-first pre-order, whose whole text (column 0)
// equals `text` without regard to case, compared the way the
// user's locale compares text. The search begins at `start`, or at the
// tree's first top-level node when start is null, and covers that node, its
// descendants and its following siblings with their descendants (not the
// siblings of its ancestors). Returns null when no node matches.
QTreeWidgetItem* FindTreeNodeByText(QTreeWidget* tree, QTreeWidgetItem* start, const QString& text);

// True when the two texts are equal without regard to case, compared the way
// the user's locale compares text.
bool TextEqualsIgnoringCase(const QString& a, const QString& b);
