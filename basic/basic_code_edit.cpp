#include "basic_code_edit.h"

#include <QFontDatabase>
#include <QPainter>
#include <QTextBlock>

namespace {

class Gutter : public QWidget
{
public:
    explicit Gutter(BasicCodeEdit* editor) : QWidget(editor), m_editor(editor) {}

    QSize sizeHint() const override { return QSize(m_editor->GutterWidth(), 0); }

protected:
    void paintEvent(QPaintEvent* event) override { m_editor->PaintGutter(event); }

private:
    BasicCodeEdit* m_editor;
};

// The UTF-16 position in `text` of the code point `column` (1-based).
int PositionOfColumn(const QString& text, int column)
{
    int position = 0;
    for (int c = 1; c < column && position < text.size(); ++c)
        position += text[position].isHighSurrogate() && position + 1 < text.size() ? 2 : 1;
    return position;
}

} // namespace

BasicCodeEdit::BasicCodeEdit(QWidget* parent) : QPlainTextEdit(parent), m_gutter(new Gutter(this))
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    setFont(font);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(false);
    connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { UpdateGutterWidth(); });
    connect(this, &QPlainTextEdit::updateRequest, this, &BasicCodeEdit::UpdateGutter);
    // A fault mark belongs to the text it was found in.
    connect(document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
        if (m_markedLine != 0 && (removed != 0 || added != 0))
            ClearMark();
    });
    UpdateGutterWidth();
}

int BasicCodeEdit::GutterWidth() const
{
    int digits = 1;
    for (int n = std::max(1, blockCount()); n >= 10; n /= 10)
        ++digits;
    return 8 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * std::max(digits, 3);
}

void BasicCodeEdit::UpdateGutterWidth()
{
    setViewportMargins(GutterWidth(), 0, 0, 0);
}

void BasicCodeEdit::UpdateGutter(const QRect& rect, int dy)
{
    if (dy != 0)
        m_gutter->scroll(0, dy);
    else
        m_gutter->update(0, rect.y(), m_gutter->width(), rect.height());
    if (rect.contains(viewport()->rect()))
        UpdateGutterWidth();
}

void BasicCodeEdit::resizeEvent(QResizeEvent* event)
{
    QPlainTextEdit::resizeEvent(event);
    const QRect area = contentsRect();
    m_gutter->setGeometry(QRect(area.left(), area.top(), GutterWidth(), area.height()));
}

void BasicCodeEdit::changeEvent(QEvent* event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange) {
        UpdateGutterWidth();
        ApplyMark();
        if (event->type() == QEvent::PaletteChange)
            emit PaletteChanged();
    }
}

void BasicCodeEdit::PaintGutter(QPaintEvent* event)
{
    QPainter painter(m_gutter);
    painter.fillRect(event->rect(), palette().color(QPalette::AlternateBase));
    QTextBlock block = firstVisibleBlock();
    int number = block.blockNumber() + 1;
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    int bottom = top + qRound(blockBoundingRect(block).height());
    const int width = m_gutter->width() - 4;
    while (block.isValid() && top <= event->rect().bottom()) {
        if (block.isVisible() && bottom >= event->rect().top()) {
            QFont font = painter.font();
            font.setBold(number == m_markedLine);
            painter.setFont(font);
            painter.setPen(number == m_markedLine ? palette().color(QPalette::Text)
                                                  : palette().color(QPalette::PlaceholderText));
            painter.drawText(0, top, width, fontMetrics().height(), Qt::AlignRight, QString::number(number));
        }
        block = block.next();
        top = bottom;
        bottom = top + qRound(blockBoundingRect(block).height());
        ++number;
    }
}

void BasicCodeEdit::MarkLine(int line, int column)
{
    const QTextBlock block = document()->findBlockByNumber(std::clamp(line, 1, blockCount()) - 1);
    m_markedLine = block.blockNumber() + 1;
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + PositionOfColumn(block.text(), std::max(column, 1)));
    setTextCursor(cursor);
    centerCursor();
    ApplyMark();
    m_gutter->update();
}

void BasicCodeEdit::ClearMark()
{
    m_markedLine = 0;
    setExtraSelections({});
    m_gutter->update();
}

void BasicCodeEdit::ApplyMark()
{
    if (m_markedLine == 0)
        return;
    // A red tint of the background, dark on a dark theme and light on a light.
    const QColor base = palette().color(QPalette::Base);
    const bool dark = base.lightness() < 128;
    QTextEdit::ExtraSelection mark;
    mark.format.setBackground(dark ? QColor(0x6a, 0x1f, 0x1f) : QColor(0xff, 0xd6, 0xd6));
    mark.format.setProperty(QTextFormat::FullWidthSelection, true);
    mark.cursor = QTextCursor(document()->findBlockByNumber(m_markedLine - 1));
    setExtraSelections({mark});
}
