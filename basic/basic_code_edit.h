#pragma once

#include <QPlainTextEdit>

// A plain text editor for program text: a monospaced font, no wrapping, the
// text line numbers in a gutter on the left (the editor's own numbering,
// which the tool's error positions use, not the BASIC line numbers), and one
// line that can be marked as faulty until the text next changes.
class BasicCodeEdit : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit BasicCodeEdit(QWidget* parent = nullptr);

    // The gutter's width for the current number of lines.
    int GutterWidth() const;
    // Paints the gutter (called by the gutter widget).
    void PaintGutter(QPaintEvent* event);

    // Marks text line `line` (1-based) and puts the cursor at `column`
    // (1-based, in Unicode code points, clamped to the line).
    void MarkLine(int line, int column);
    void ClearMark();
    // The marked line (1-based), 0 when none.
    int MarkedLine() const { return m_markedLine; }

signals:
    // The editor's own palette changed (a theme change reaches it after
    // its window): colours derived from it are out of date.
    void PaletteChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void UpdateGutterWidth();
    void UpdateGutter(const QRect& rect, int dy);
    void ApplyMark();

    QWidget* m_gutter;
    int m_markedLine = 0;
};
