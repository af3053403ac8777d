#include "form_view.h"

#include "ansi_text.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 380;
constexpr int kFontPoints = 8;
constexpr int kSpectrumFontPoints = 6;

bool IsKeyEvent(const QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::KeyRelease: return true;
    default: return false;
    }
}

}  // namespace

TFormView::TFormView(QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::WindowStaysOnTopHint), m_memo(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("FormView"));
    setWindowTitle(QStringLiteral("File View"));
    resize(kWidth, kHeight);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    m_memo->setObjectName(QStringLiteral("Memo1"));
    m_memo->setReadOnly(true);
    m_memo->setUndoRedoEnabled(false);
    m_memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont font(QStringLiteral("Courier New"), kFontPoints);
    font.setStyleHint(QFont::TypeWriter);  // a monospace fallback
    m_memo->setFont(font);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_memo);

    // Key preview: the window sees the keys meant for the text area first.
    m_memo->installEventFilter(this);
    m_memo->viewport()->installEventFilter(this);
}

void TFormView::SetLines(const QByteArrayList& lines)
{
    m_memo->setPlainText(AnsiToQString(lines.join('\n')));
}

void TFormView::SetText(const QString& text)
{
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    m_memo->setPlainText(plain);
}

QString TFormView::Text() const
{
    return m_memo->toPlainText();
}

void TFormView::UseSpectrumFont()
{
    QFont font(QStringLiteral("Zx Spectrum"), kSpectrumFontPoints);
    font.setStyleHint(QFont::TypeWriter);
    m_memo->setFont(font);
}

int TFormView::FontPoints() const
{
    return m_memo->font().pointSize();
}

void TFormView::SetFontPoints(int points)
{
    QFont font = m_memo->font();
    font.setPointSize(points);
    m_memo->setFont(font);
}

void TFormView::ShowText()
{
    m_memo->moveCursor(QTextCursor::Start);
    m_memo->verticalScrollBar()->setValue(0);
    show();
    raise();
    activateWindow();
}

void TFormView::FormKeyUp(int key, Qt::KeyboardModifiers shift)
{
    if (key == Qt::Key_Escape) {
        close();
        return;
    }
    // Only the keypad's minus and plus, with Ctrl; other modifiers held with
    // Ctrl don't matter.
    if (!(shift & Qt::ControlModifier) || !(shift & Qt::KeypadModifier))
        return;
    const int points = FontPoints();
    if (key == Qt::Key_Minus && points > kMinFontPoints)
        SetFontPoints(points - 1);
    else if (key == Qt::Key_Plus && points < kMaxFontPoints)
        SetFontPoints(points + 1);
}

bool TFormView::HandleKeyEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Claiming the key keeps it from any menu shortcut.
        event->accept();
        return true;
    case QEvent::KeyPress: return true;
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        FormKeyUp(key->key(), key->modifiers());
        return true;
    }
    default: return false;
    }
}

bool TFormView::eventFilter(QObject* watched, QEvent* event)
{
    if (IsKeyEvent(event))
        return HandleKeyEvent(event);
    return QWidget::eventFilter(watched, event);
}

bool TFormView::event(QEvent* event)
{
    if (IsKeyEvent(event))
        return HandleKeyEvent(event);
    return QWidget::event(event);
}
