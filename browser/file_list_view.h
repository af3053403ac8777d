#pragma once

#include <QListView>
#include <QTableView>
#include <QWidget>

#include <functional>

class FileListModel;
class QItemSelectionModel;
class QMimeData;
class QStackedLayout;

// The file list control: one model shown either as a report (columns with
// captions, grid lines, whole rows selected) or as large icons, small icons or
// a list, all sharing one selection. The object name is "ListView"; the two
// views inside are "ListViewReport" and "ListViewIcons".
class FileListView : public QWidget
{
    Q_OBJECT

public:
    enum class Style { Icon, SmallIcon, List, Report };

    FileListView(FileListModel* model, QWidget* parent = nullptr);

    FileListModel* model() const { return m_model; }
    QItemSelectionModel* selectionModel() const { return m_selection; }
    QTableView* reportView() const { return m_report; }
    QListView* iconView() const { return m_icons; }
    // The view the user sees now.
    QAbstractItemView* currentView() const;

    Style style() const { return m_style; }
    void setStyle(Style style);

    // Rows selected, in list order.
    QList<int> selectedRows() const;
    int selectedCount() const;
    bool isRowSelected(int row) const;
    void selectRow(int row, bool selected);

    // The width the report view gives a column of the model's width `width`:
    // at least enough for its caption in the view's font (the model's widths
    // were chosen for a small font), 0 for a hidden column.
    int displayedColumnWidth(int column, int width) const;
    // The same for a column captioned `caption`.
    int displayedColumnWidth(const QString& caption, int width) const;

    // Starts editing the caption of `row` in place, in the visible view.
    void editCaption(int row);

    // Dragging selected rows out of the list. The source makes the drag's
    // data (the files, got into a local folder) or returns null when there
    // is nothing to drag; the caller owns what it returns.
    using DragSource = std::function<QMimeData*()>;
    void setDragSource(DragSource source) { m_dragSource = std::move(source); }
    // The data a drag of the selected rows carries: the source's, marked as
    // coming from this list. Null when there is no source or it gives none.
    QMimeData* dragMimeData();
    // True when `data` is that of a drag started from this very list: a drop
    // of it back onto the list does nothing.
    bool isOwnDrag(const QMimeData* data) const;

signals:
    void keyReleased(int key, Qt::KeyboardModifiers modifiers);
    void doubleClicked();
    void entered(); // the list gained the keyboard focus
    void columnClicked(int column);
    void filesDropped(const QStringList& paths);
    void contextMenuRequested(const QPoint& globalPos);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void applyColumnWidth(int column, int width);
    void watch(QAbstractItemView* view);
    void startFileDrag(QAbstractItemView* view);
    QByteArray dragMark() const;

    FileListModel* m_model;
    QItemSelectionModel* m_selection;
    QTableView* m_report;
    QListView* m_icons;
    bool m_swallowRelease = false;  // the release that ends a double click
    QStackedLayout* m_stack;
    Style m_style = Style::Report;
    DragSource m_dragSource;
};
