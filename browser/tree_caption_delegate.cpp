#include "tree_caption_delegate.h"

#include <QLineEdit>
#include <QTreeWidget>

TreeCaptionDelegate::TreeCaptionDelegate(QTreeWidget* tree, StartHook startHook, int maxLength)
    : QStyledItemDelegate(tree), m_tree(tree), m_startHook(std::move(startHook)),
      m_maxLength(maxLength)
{
}

QWidget* TreeCaptionDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                           const QModelIndex& index) const
{
    QTreeWidgetItem* node = m_tree->itemFromIndex(index);
    if (!node || (m_startHook && !m_startHook(node)))
        return nullptr;
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->setObjectName(QStringLiteral("TreeCaptionEditor"));
        line->setMaxLength(m_maxLength);
    }
    return editor;
}

void TreeCaptionDelegate::setModelData(QWidget* editor, QAbstractItemModel*,
                                       const QModelIndex& index) const
{
    const auto* line = qobject_cast<QLineEdit*>(editor);
    if (!line)
        return;
    // A signal from a const member: the delegate itself is not changed.
    emit const_cast<TreeCaptionDelegate*>(this)->captionEdited(index.data().toString(),
                                                               line->text());
}
