#include "tree_search.h"

#include <QTreeWidget>
#include <QTreeWidgetItem>

namespace {

QTreeWidgetItem* NextSibling(QTreeWidget* tree, QTreeWidgetItem* node)
{
    if (QTreeWidgetItem* parent = node->parent()) {
        const int index = parent->indexOfChild(node);
        return index + 1 < parent->childCount() ? parent->child(index + 1) : nullptr;
    }
    QTreeWidget* owner = node->treeWidget() ? node->treeWidget() : tree;
    if (!owner)
        return nullptr;
    const int index = owner->indexOfTopLevelItem(node);
    return index >= 0 && index + 1 < owner->topLevelItemCount() ? owner->topLevelItem(index + 1)
                                                                : nullptr;
}

QTreeWidgetItem* SearchFrom(QTreeWidget* tree, QTreeWidgetItem* node, const QString& text)
{
    for (; node; node = NextSibling(tree, node)) {
        if (TextEqualsIgnoringCase(node->text(0), text))
            return node;
        if (node->childCount() > 0) {
            if (QTreeWidgetItem* hit = SearchFrom(tree, node->child(0), text))
                return hit;
        }
    }
    return nullptr;
}

} // namespace

bool TextEqualsIgnoringCase(const QString& a, const QString& b)
{
    return QString::localeAwareCompare(a.toCaseFolded(), b.toCaseFolded()) == 0;
}

QTreeWidgetItem* FindTreeNodeByText(QTreeWidget* tree, QTreeWidgetItem* start, const QString& text)
{
    if (!start) {
        if (!tree || tree->topLevelItemCount() == 0)
            return nullptr;
        start = tree->topLevelItem(0);
    }
    return SearchFrom(tree, start, text);
}

namespace {
constexpr int kTableRole = Qt::UserRole + 40;
constexpr int kTypeCodeRole = Qt::UserRole + 41;
constexpr int kSizeRole = Qt::UserRole + 42;
} // namespace

void SetPartitionNodeFacts(QTreeWidgetItem* node, const PartitionNodeFacts& facts)
{
    node->setData(0, kTableRole, facts.table);
    node->setData(0, kTypeCodeRole, facts.typeCode);
    node->setData(0, kSizeRole, facts.sizeBytes);
}

PartitionNodeFacts PartitionNodeFactsOf(const QTreeWidgetItem* node)
{
    PartitionNodeFacts facts;
    if (!node)
        return facts;
    facts.table = node->data(0, kTableRole).toBool();
    const QVariant type = node->data(0, kTypeCodeRole);
    if (type.isValid())
        facts.typeCode = type.toLongLong();
    facts.sizeBytes = node->data(0, kSizeRole).toLongLong();
    return facts;
}
