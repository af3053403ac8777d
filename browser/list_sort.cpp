// Sorting the file list by a column: the keys of a row and the comparison.
#include "formmain.h"

#include "ansi_text.h"
#include "file_list_model.h"
#include "list_sort.h"
#include "text_utils.h"

QByteArray ListSortKey(const FileListRow& row, int sortSubItem)
{
    if (sortSubItem < -1 || sortSubItem + 1 >= FileListRow::kColumns)
        return {};
    QString text = row.cells[static_cast<size_t>(sortSubItem + 1)];
    switch (sortSubItem) {
    case 0:
    case 3:
    case 5:
    case 6:
    case 7:
    case 8:
    case 9: {
        if (sortSubItem == 3)
            text.remove(QLatin1String(" MB"));
        if (sortSubItem == 6 || sortSubItem == 7) {
            const qsizetype slash = text.indexOf(QLatin1Char('/'));
            if (slash >= 0)
                text.truncate(slash);
        }
        // Right-aligned in 15 characters, so that numbers compare as texts.
        return QByteArray::number(GroupedToInt(text)).rightJustified(15, ' ');
    }
    default:
        return QStringToAnsi(text);
    }
}

void TFormMain::ListViewColumnClick(int column)
{
    if (column - 1 == SortSubItem)
        SortDirection = -SortDirection;
    else
        SortDirection = 1;
    SortSubItem = column - 1;

    std::vector<QByteArray> keys;
    keys.reserve(m_model->rows().size());
    for (const FileListRow& row : m_model->rows())
        keys.push_back(ListSortKey(row, SortSubItem));
    m_model->sortByKeys(keys, SortDirection);
}

int TFormMain::ListViewCompare(int a, int b) const
{
    const int order = CompareKeyBytes(ListSortKey(m_model->row(a), SortSubItem),
                                      ListSortKey(m_model->row(b), SortSubItem));
    return order * SortDirection;
}
