#include "file_list_view.h"

#include "file_list_model.h"

#include <QCoreApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QIcon>
#include <QMimeData>
#include <QStackedLayout>
#include <QStyle>
#include <QUrl>

#include <algorithm>
#include <memory>

namespace {

// The format that marks a drag as started from one list of one process.
const char* const kDragMarkFormat = "application/x-3eharnwick-list";

// Editing goes through the model's editing hook and always edits the caption.
template <class Base> class CaptionEditingView : public Base
{
public:
    using Base::Base;

    // Runs the list's own drag instead of the view's.
    std::function<void()> dragStarter;

    // A double click that the list takes for itself: the in-place editing
    // that the first click on a selected row set off (delayed by the double
    // click time) is called off, as the view would on seeing the double
    // click. The view's own editing hook is not asked.
    void callOffDelayedEdit(const QModelIndex& index, QEvent* doubleClick)
    {
        Base::edit(index, QAbstractItemView::DoubleClicked, doubleClick);
    }

protected:
    void startDrag(Qt::DropActions) override
    {
        if (dragStarter)
            dragStarter();
    }

    bool edit(const QModelIndex& index, QAbstractItemView::EditTrigger trigger,
              QEvent* event) override
    {
        auto* list = static_cast<FileListModel*>(this->model());
        if (!index.isValid() || !list || !list->mayEdit(index.row()))
            return false;
        return Base::edit(index.siblingAtColumn(FileListModel::ColName), trigger, event);
    }
};

using ReportView = CaptionEditingView<QTableView>;

// Every selection covers whole rows, whichever view makes it, so that the
// report and the icon styles show the same selection.
class RowSelectionModel : public QItemSelectionModel
{
public:
    using QItemSelectionModel::QItemSelectionModel;

    void select(const QModelIndex& index, QItemSelectionModel::SelectionFlags command) override
    {
        QItemSelectionModel::select(QItemSelection(index, index), command);
    }
    void select(const QItemSelection& selection,
                QItemSelectionModel::SelectionFlags command) override
    {
        if (command & (Select | Deselect | Toggle))
            command |= Rows;
        QItemSelectionModel::select(selection, command);
    }
};
using IconView = CaptionEditingView<QListView>;

// Local files (not folders) among the URLs of a drop.
QStringList DroppedFiles(const QMimeData* mime)
{
    QStringList files;
    if (!mime || !mime->hasUrls())
        return files;
    for (const QUrl& url : mime->urls()) {
        if (!url.isLocalFile())
            continue;
        const QString path = url.toLocalFile();
        if (QFileInfo(path).isFile())
            files << path;
    }
    return files;
}

} // namespace

FileListView::FileListView(FileListModel* model, QWidget* parent)
    : QWidget(parent), m_model(model), m_report(new ReportView(this)), m_icons(new IconView(this)),
      m_stack(new QStackedLayout(this))
{
    // Selected rows drag out as files; drops are taken by this widget, not
    // by the views.
    static_cast<ReportView*>(m_report)->dragStarter = [this] { startFileDrag(m_report); };
    static_cast<IconView*>(m_icons)->dragStarter = [this] { startFileDrag(m_icons); };
    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(m_report),
                                    static_cast<QAbstractItemView*>(m_icons)}) {
        view->setDragEnabled(true);
        view->setDragDropMode(QAbstractItemView::DragOnly);
        view->setDefaultDropAction(Qt::CopyAction);
    }

    setObjectName(QStringLiteral("ListView"));
    setAcceptDrops(true);
    setFocusPolicy(Qt::NoFocus);
    m_stack->setContentsMargins(0, 0, 0, 0);

    m_report->setObjectName(QStringLiteral("ListViewReport"));
    m_report->setModel(model);
    m_selection = new RowSelectionModel(model, this);
    {
        QItemSelectionModel* own = m_report->selectionModel();
        m_report->setSelectionModel(m_selection);
        delete own;
    }
    m_report->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_report->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_report->setShowGrid(true);
    m_report->setWordWrap(false);
    m_report->setTextElideMode(Qt::ElideRight);
    m_report->setEditTriggers(QAbstractItemView::SelectedClicked);
    m_report->setTabKeyNavigation(false);
    m_report->verticalHeader()->hide();
    m_report->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_report->verticalHeader()->setDefaultSectionSize(m_report->fontMetrics().height() + 4);
    m_report->horizontalHeader()->setHighlightSections(false);
    m_report->horizontalHeader()->setSectionsClickable(true);
    m_report->horizontalHeader()->setStretchLastSection(false);
    m_report->horizontalHeader()->setMinimumSectionSize(0);
    m_report->setIconSize(QSize(16, 16));
    m_report->setAcceptDrops(false);

    m_icons->setObjectName(QStringLiteral("ListViewIcons"));
    m_icons->setModel(model);
    QItemSelectionModel* own = m_icons->selectionModel();
    m_icons->setSelectionModel(m_selection);
    delete own;
    m_icons->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_icons->setEditTriggers(QAbstractItemView::SelectedClicked);
    m_icons->setUniformItemSizes(true);
    m_icons->setResizeMode(QListView::Adjust);
    m_icons->setMovement(QListView::Static);
    m_icons->setAcceptDrops(false);

    m_stack->addWidget(m_report);
    m_stack->addWidget(m_icons);

    for (int c = 0; c < FileListModel::kColumns; ++c)
        applyColumnWidth(c, model->columnWidth(c));
    connect(model, &FileListModel::columnWidthChanged, this, &FileListView::applyColumnWidth);
    // A new caption may need more room.
    connect(model, &QAbstractItemModel::headerDataChanged, this,
            [this](Qt::Orientation, int first, int last) {
                for (int c = first; c <= last; ++c)
                    applyColumnWidth(c, m_model->columnWidth(c));
            });
    connect(m_report->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &FileListView::columnClicked);

    watch(m_report);
    watch(m_icons);
    setStyle(Style::Report);
}

void FileListView::watch(QAbstractItemView* view)
{
    view->installEventFilter(this);
    view->viewport()->installEventFilter(this);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& pos) {
        emit contextMenuRequested(view->viewport()->mapToGlobal(pos));
    });
}

QAbstractItemView* FileListView::currentView() const
{
    return m_style == Style::Report ? static_cast<QAbstractItemView*>(m_report) : m_icons;
}

void FileListView::setStyle(Style style)
{
    // How the icon view lays out each of the three styles it shows.
    struct IconLayout
    {
        QListView::ViewMode mode;
        QListView::Flow flow;
        QSize icon;
        QSize grid;
        bool wrapWords;
    };
    static const IconLayout kIcon{QListView::IconMode, QListView::LeftToRight, {32, 32},
                                  {86, 64}, true};
    static const IconLayout kSmallIcon{QListView::ListMode, QListView::LeftToRight, {16, 16},
                                       {130, 20}, false};
    static const IconLayout kList{QListView::ListMode, QListView::TopToBottom, {16, 16},
                                  {130, 20}, false};

    const bool hadFocus = currentView()->hasFocus();
    m_style = style;
    if (style == Style::Report) {
        m_stack->setCurrentWidget(m_report);
    } else {
        const IconLayout& layout =
            style == Style::Icon ? kIcon : style == Style::SmallIcon ? kSmallIcon : kList;
        m_icons->setViewMode(layout.mode);
        m_icons->setFlow(layout.flow);
        m_icons->setWrapping(true);
        m_icons->setIconSize(layout.icon);
        m_icons->setGridSize(layout.grid);
        m_icons->setWordWrap(layout.wrapWords);
        m_stack->setCurrentWidget(m_icons);
    }
    // Switching between the icon styles keeps the same view: lay it out anew.
    m_icons->doItemsLayout();
    if (hadFocus)
        currentView()->setFocus();
}

QList<int> FileListView::selectedRows() const
{
    QList<int> rows;
    for (const QItemSelectionRange& range : m_selection->selection()) {
        if (range.left() > FileListModel::ColName)
            continue;
        for (int r = range.top(); r <= range.bottom(); ++r)
            rows << r;
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

int FileListView::selectedCount() const
{
    return static_cast<int>(selectedRows().size());
}

bool FileListView::isRowSelected(int row) const
{
    return m_selection->isSelected(m_model->index(row, FileListModel::ColName));
}

void FileListView::selectRow(int row, bool selected)
{
    const QModelIndex i = m_model->index(row, FileListModel::ColName);
    m_selection->select(i,
                        (selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                            QItemSelectionModel::Rows);
}

void FileListView::editCaption(int row)
{
    QAbstractItemView* view = currentView();
    const QModelIndex i = m_model->index(row, FileListModel::ColName);
    view->setFocus();
    view->scrollTo(i);
    view->setCurrentIndex(i);
    view->edit(i);
}

int FileListView::displayedColumnWidth(int column, int width) const
{
    return displayedColumnWidth(m_model->headerData(column, Qt::Horizontal).toString(), width);
}

int FileListView::displayedColumnWidth(const QString& caption, int width) const
{
    if (width <= 0)
        return 0;
    const QHeaderView* header = m_report->horizontalHeader();
    const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    // Room for the caption, its margins and the sort arrow beside it.
    const int needed = header->fontMetrics().horizontalAdvance(caption) + 4 * margin +
                       header->style()->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, header);
    return std::max(width, needed);
}

void FileListView::applyColumnWidth(int column, int width)
{
    if (width <= 0) {
        m_report->setColumnHidden(column, true);
    } else {
        m_report->setColumnHidden(column, false);
        m_report->setColumnWidth(column, displayedColumnWidth(column, width));
    }
}

bool FileListView::eventFilter(QObject* watched, QEvent* event)
{
    const bool onView = watched == m_report || watched == m_icons;
    const bool onViewport = watched == m_report->viewport() || watched == m_icons->viewport();
    if (onView && event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat())
            emit keyReleased(key->key(), key->modifiers());
        return true;
    }
    if (onView && event->type() == QEvent::FocusIn) {
        emit entered();
        return false;
    }
    if (onViewport && event->type() == QEvent::MouseButtonDblClick) {
        auto* view =
            watched == m_report->viewport() ? static_cast<QAbstractItemView*>(m_report) : m_icons;
        // Let the view select what was clicked, then run the command.
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QModelIndex hit = view->indexAt(mouse->position().toPoint());
        if (hit.isValid() && !m_selection->isSelected(hit))
            m_selection->select(hit,
                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        if (hit.isValid()) {
            if (view == m_report)
                static_cast<ReportView*>(m_report)->callOffDelayedEdit(hit, event);
            else
                static_cast<IconView*>(m_icons)->callOffDelayedEdit(hit, event);
        }
        // The view sees neither this second press nor its release: a release
        // on a row that is selected would otherwise start the in-place editor
        // as a "click on a selected item".
        m_swallowRelease = true;
        emit doubleClicked();
        return true;
    }
    if (onViewport && event->type() == QEvent::MouseButtonPress)
        m_swallowRelease = false;
    if (onViewport && event->type() == QEvent::MouseButtonRelease && m_swallowRelease) {
        m_swallowRelease = false;
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

QByteArray FileListView::dragMark() const
{
    return QByteArray::number(QCoreApplication::applicationPid()) + ':' +
           QByteArray::number(reinterpret_cast<quintptr>(this), 16);
}

QMimeData* FileListView::dragMimeData()
{
    if (!m_dragSource)
        return nullptr;
    QMimeData* data = m_dragSource();
    if (data)
        data->setData(QLatin1String(kDragMarkFormat), dragMark());
    return data;
}

bool FileListView::isOwnDrag(const QMimeData* data) const
{
    return data && data->data(QLatin1String(kDragMarkFormat)) == dragMark();
}

void FileListView::startFileDrag(QAbstractItemView* view)
{
    // The files are got before the drag begins: a drop target reads them the
    // moment the button is released, and some targets never say when they
    // are done, so they cannot be got afterwards or removed at once.
    std::unique_ptr<QMimeData> data(dragMimeData());
    if (!data)
        return;
    auto* drag = new QDrag(view);
    const QList<int> rows = selectedRows();
    if (!rows.isEmpty()) {
        const QVariant picture =
            m_model->data(m_model->index(rows.first(), FileListModel::ColName), Qt::DecorationRole);
        if (picture.canConvert<QIcon>())
            drag->setPixmap(picture.value<QIcon>().pixmap(32, 32));
    }
    drag->setMimeData(data.release());
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}

void FileListView::dragEnterEvent(QDragEnterEvent* event)
{
    // A drag of our own rows is refused here: dropping it back puts nothing.
    if (event->mimeData()->hasUrls() && !isOwnDrag(event->mimeData()))
        event->acceptProposedAction();
}

void FileListView::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->mimeData()->hasUrls() && !isOwnDrag(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void FileListView::dropEvent(QDropEvent* event)
{
    if (isOwnDrag(event->mimeData())) {
        event->ignore();
        return;
    }
    const QStringList files = DroppedFiles(event->mimeData());
    event->acceptProposedAction();
    emit filesDropped(files);
}
