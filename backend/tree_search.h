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

// What a node of the partition tree stands for, kept in the node's data so
// that sorting the tree cannot change it: the medium's node and the system
// partition's node stand for the partition table; the others carry the
// partition's type code and size.
struct PartitionNodeFacts
{
    bool table = false;
    qint64 typeCode = -1; // -1 when unknown (a node made without facts)
    qint64 sizeBytes = 0;
};
void SetPartitionNodeFacts(QTreeWidgetItem* node, const PartitionNodeFacts& facts);
PartitionNodeFacts PartitionNodeFactsOf(const QTreeWidgetItem* node);
inline bool StandsForPartitionTable(const QTreeWidgetItem* node)
{
    return PartitionNodeFactsOf(node).table;
}
