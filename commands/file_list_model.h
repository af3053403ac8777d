#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QString>

#include <array>
#include <functional>
#include <vector>

// One row of the file list: the caption (cell 0) and the texts of columns 1
// to 10, and the index of its picture in the shared image list (-1: none).
struct FileListRow
{
    static constexpr int kColumns = 11;
    std::array<QString, kColumns> cells;
    int icon = -1;
};

// The file list's one model: a flat table of rows with eleven columns whose
// captions, widths and alignments belong to the list (the views show them).
// Both layouts of the list (files, partitions) are rows of this model.
class FileListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int kColumns = FileListRow::kColumns;
    // Column numbers.
    enum Column {
        ColName = 0,
        ColSize,
        ColAttr,
        ColVer,
        ColHdSize,
        ColType,
        ColRealSize,
        ColStart,
        ColVars,
        ColLbaBegin,
        ColLbaEnd
    };

    explicit FileListModel(QObject* parent = nullptr);

    // Pictures shown for icon indexes (the shared image list). Index i of
    // `pictures` is picture i; a row whose index has no picture shows none.
    void setPictures(std::vector<QIcon> pictures);
    QIcon picture(int index) const;

    // QAbstractItemModel.
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Rows.
    int count() const { return static_cast<int>(m_rows.size()); }
    const FileListRow& row(int r) const { return m_rows[static_cast<size_t>(r)]; }
    const std::vector<FileListRow>& rows() const { return m_rows; }
    QString cell(int r, int column) const { return row(r).cells[static_cast<size_t>(column)]; }
    QString caption(int r) const { return cell(r, ColName); }
    void setCaption(int r, const QString& text);
    void clear();
    void appendRow(FileListRow row);
    void appendRows(std::vector<FileListRow> rows);

    // True when the first row's "Real Size" text is empty: the list shows the
    // partition table. Only meaningful while the list has rows.
    bool showsPartitions() const;

    // Columns.
    QString columnCaption(int column) const { return m_captions[static_cast<size_t>(column)]; }
    void setColumnCaption(int column, const QString& caption);
    int columnWidth(int column) const { return m_widths[static_cast<size_t>(column)]; }
    void setColumnWidth(int column, int width); // 0 hides the column
    Qt::Alignment columnAlignment(int column) const;

    // Reorders the rows by `keys` (one per row, compared byte by byte) in
    // `direction` (+1 ascending, -1 descending). Rows with equal keys keep
    // their order. Selections follow their rows.
    void sortByKeys(const std::vector<QByteArray>& keys, int direction);

    // In-place editing of captions. The hook is asked before an edit starts
    // (with the row); the edited text is handed to `captionEdited` and the
    // row is left as it is: the receiver decides what the row shows.
    void setEditingHook(std::function<bool(int row)> hook) { m_editingHook = std::move(hook); }
    bool mayEdit(int row) const { return m_editingHook && m_editingHook(row); }

signals:
    void columnWidthChanged(int column, int width);
    void captionEdited(int row, const QString& text);

private:
    std::vector<FileListRow> m_rows;
    std::array<QString, kColumns> m_captions;
    std::array<int, kColumns> m_widths;
    std::vector<QIcon> m_pictures;
    std::function<bool(int)> m_editingHook;
};

// Whether key `a` sorts before, with or after key `b`: ordinal byte order,
// a prefix before the longer text. Returns -1, 0 or +1.
int CompareKeyBytes(const QByteArray& a, const QByteArray& b);
