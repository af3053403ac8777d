#include "file_list_model.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace {

struct ColumnSetup
{
    const char* caption;
    int width;
    bool rightAligned;
};

constexpr std::array<ColumnSetup, FileListModel::kColumns> kInitialColumns{{
    {"File Name", 150, false},
    {"Size", 90, true},
    {"Attr", 50, false},
    {"Ver", 30, false},
    {"HD Size", 70, true},
    {"Type", 120, false},
    {"Real Size", 60, true},
    {"Start", 60, true},
    {"Vars", 60, true},
    {"LBA Begin", 70, true},
    {"LBA End", 70, true},
}};

} // namespace

int CompareKeyBytes(const QByteArray& a, const QByteArray& b)
{
    const qsizetype n = std::min(a.size(), b.size());
    const int c = n > 0 ? std::memcmp(a.constData(), b.constData(), static_cast<size_t>(n)) : 0;
    if (c != 0)
        return c < 0 ? -1 : 1;
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

FileListModel::FileListModel(QObject* parent) : QAbstractTableModel(parent)
{
    for (int c = 0; c < kColumns; ++c) {
        m_captions[static_cast<size_t>(c)] =
            QString::fromLatin1(kInitialColumns[static_cast<size_t>(c)].caption);
        m_widths[static_cast<size_t>(c)] = kInitialColumns[static_cast<size_t>(c)].width;
    }
}

void FileListModel::setPictures(std::vector<QIcon> pictures)
{
    m_pictures = std::move(pictures);
    if (!m_rows.empty())
        emit dataChanged(index(0, 0), index(count() - 1, 0), {Qt::DecorationRole});
}

QIcon FileListModel::picture(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_pictures.size()))
        return {};
    return m_pictures[static_cast<size_t>(index)];
}

int FileListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

int FileListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant FileListModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const FileListRow& r = row(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return r.cells[static_cast<size_t>(index.column())];
    case Qt::DecorationRole:
        if (index.column() == ColName) {
            const QIcon icon = picture(r.icon);
            if (!icon.isNull())
                return icon;
        }
        return {};
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(columnAlignment(index.column()) | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumns)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return columnCaption(section);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(columnAlignment(section) | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags FileListModel::flags(const QModelIndex& index) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return Qt::NoItemFlags;
    // Every row may start a drag; the list decides what a drag carries.
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren |
                      Qt::ItemIsDragEnabled;
    if (index.column() == ColName)
        f |= Qt::ItemIsEditable;
    return f;
}

bool FileListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid) ||
        index.column() != ColName)
        return false;
    emit captionEdited(index.row(), value.toString());
    return true;
}

void FileListModel::setCaption(int r, const QString& text)
{
    m_rows[static_cast<size_t>(r)].cells[ColName] = text;
    const QModelIndex i = index(r, ColName);
    emit dataChanged(i, i, {Qt::DisplayRole, Qt::EditRole});
}

void FileListModel::clear()
{
    if (m_rows.empty())
        return;
    beginRemoveRows({}, 0, count() - 1);
    m_rows.clear();
    endRemoveRows();
}

void FileListModel::appendRow(FileListRow row)
{
    beginInsertRows({}, count(), count());
    m_rows.push_back(std::move(row));
    endInsertRows();
}

void FileListModel::appendRows(std::vector<FileListRow> rows)
{
    if (rows.empty())
        return;
    beginInsertRows({}, count(), count() + static_cast<int>(rows.size()) - 1);
    m_rows.insert(m_rows.end(), std::make_move_iterator(rows.begin()),
                  std::make_move_iterator(rows.end()));
    endInsertRows();
}

bool FileListModel::showsPartitions() const
{
    return !m_rows.empty() && m_rows.front().cells[ColRealSize].isEmpty();
}

void FileListModel::setColumnCaption(int column, const QString& caption)
{
    if (m_captions[static_cast<size_t>(column)] == caption)
        return;
    m_captions[static_cast<size_t>(column)] = caption;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void FileListModel::setColumnWidth(int column, int width)
{
    if (m_widths[static_cast<size_t>(column)] == width)
        return;
    m_widths[static_cast<size_t>(column)] = width;
    emit columnWidthChanged(column, width);
}

Qt::Alignment FileListModel::columnAlignment(int column) const
{
    return kInitialColumns[static_cast<size_t>(column)].rightAligned ? Qt::AlignRight
                                                                     : Qt::AlignLeft;
}

void FileListModel::sortByKeys(const std::vector<QByteArray>& keys, int direction)
{
    const int n = count();
    if (n < 2 || static_cast<int>(keys.size()) != n)
        return;
    std::vector<int> order(static_cast<size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return CompareKeyBytes(keys[static_cast<size_t>(a)], keys[static_cast<size_t>(b)]) *
                   direction <
               0;
    });

    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> newPlace(static_cast<size_t>(n));
    std::vector<FileListRow> sorted;
    sorted.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        newPlace[static_cast<size_t>(order[static_cast<size_t>(i)])] = i;
        sorted.push_back(std::move(m_rows[static_cast<size_t>(order[static_cast<size_t>(i)])]));
    }
    m_rows = std::move(sorted);
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& i : from)
        to << index(newPlace[static_cast<size_t>(i.row())], i.column());
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
