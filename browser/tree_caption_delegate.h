#pragma once

#include <QStyledItemDelegate>

#include <functional>

class QTreeWidget;
class QTreeWidgetItem;

// The in-place editing of a partition node's caption in the tree. The
// editor opens only when the start hook agrees (it shows its own refusal),
// and a committed text is not written into the node: it is handed on by
// captionEdited, so the node keeps the name the medium holds until the
// rename has run and the tree is read again. Escape closes the editor
// without a signal.
class TreeCaptionDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using StartHook = std::function<bool(QTreeWidgetItem*)>;

    TreeCaptionDelegate(QTreeWidget* tree, StartHook startHook, int maxLength);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

signals:
    // The edit of the node captioned `caption` ended with `text`.
    void captionEdited(const QString& caption, const QString& text);

private:
    QTreeWidget* m_tree;
    StartHook m_startHook;
    int m_maxLength;
};
