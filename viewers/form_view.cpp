#include "form_view.h"

#include "ansi_text.h"
#include "screen_view.h"
#include "spectrum_text.h"
#include "view_data.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSyntaxHighlighter>
#include <QTextDocumentFragment>
#include <QToolButton>
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

// The colour of each kind of BASIC piece: hues that read on the palette's
// base colour, light ones on a dark base and dark ones on a light base.
QTextCharFormat SyntaxFormat(BasicSyntax kind, const QPalette& palette)
{
    const bool dark = palette.color(QPalette::Base).lightness() < 128;
    const auto hue = [dark](int h) { return QColor::fromHsl(h, 200, dark ? 175 : 85); };
    QTextCharFormat format;
    switch (kind) {
    case BasicSyntax::LineNumber: format.setForeground(palette.color(QPalette::PlaceholderText)); break;
    case BasicSyntax::Keyword:
        format.setForeground(hue(220));
        format.setFontWeight(QFont::Bold);
        break;
    case BasicSyntax::Number: format.setForeground(hue(25)); break;
    case BasicSyntax::String: format.setForeground(hue(120)); break;
    case BasicSyntax::Rem:
        format.setForeground(palette.color(QPalette::PlaceholderText));
        format.setFontItalic(true);
        break;
    case BasicSyntax::ControlCode: format.setForeground(hue(300)); break;
    }
    return format;
}

}  // namespace

// Colours a listing from BasicSyntaxListing: block n of the document is
// listed line n, one character for each byte of it.
class ListingHighlighter : public QSyntaxHighlighter
{
public:
    explicit ListingHighlighter(QObject* parent) : QSyntaxHighlighter(parent) {}

    void SetLines(const QList<BasicSyntaxLine>* lines, const QPalette& palette)
    {
        m_lines = lines;
        for (auto kind : {BasicSyntax::LineNumber, BasicSyntax::Keyword, BasicSyntax::Number, BasicSyntax::String,
                          BasicSyntax::Rem, BasicSyntax::ControlCode})
            m_formats[static_cast<int>(kind)] = SyntaxFormat(kind, palette);
    }

protected:
    void highlightBlock(const QString&) override
    {
        const int line = currentBlock().blockNumber();
        if (!m_lines || line < 0 || line >= m_lines->size())
            return;
        for (const BasicSpan& span : m_lines->at(line).spans)
            setFormat(span.start, span.length, m_formats[static_cast<int>(span.kind)]);
    }

private:
    const QList<BasicSyntaxLine>* m_lines = nullptr;
    QTextCharFormat m_formats[6];
};

TFormView::TFormView(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                         Qt::WindowCloseButtonHint),
      m_memo(new QPlainTextEdit(this)),
      m_highlighter(new ListingHighlighter(this)),
      m_findBar(new QWidget(this)),
      m_findEdit(new QLineEdit(m_findBar)),
      m_findStatus(new QLabel(m_findBar))
{
    SaveFileName = [this](const QString& title, const QString& filter) {
        return AskSaveFileName(this, title, filter, QStringLiteral("txt"));
    };
    ReportError = [this](const QString& message) { QMessageBox::critical(this, tr("Error"), message); };

    setObjectName(QStringLiteral("FormView"));
    setWindowTitle(tr("File View"));
    resize(kWidth, kHeight);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    m_memo->setObjectName(QStringLiteral("Memo1"));
    m_memo->setAccessibleName(tr("File contents"));
    m_memo->setReadOnly(true);
    m_memo->setUndoRedoEnabled(false);
    m_memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont font(QStringLiteral("Courier New"), kFontPoints);
    font.setStyleHint(QFont::TypeWriter);  // a monospace fallback
    m_memo->setFont(font);

    // The find bar: its text box takes typing; Return finds the next match
    // (Shift+Return the previous) and Escape closes the bar.
    m_findEdit->setObjectName(QStringLiteral("FindEdit"));
    m_findEdit->setPlaceholderText(tr("Find"));
    m_findEdit->setAccessibleName(tr("Find"));
    m_findEdit->installEventFilter(this);
    auto* findLayout = new QHBoxLayout(m_findBar);
    findLayout->setContentsMargins(4, 2, 4, 2);
    findLayout->addWidget(m_findEdit, 1);
    auto addButton = [this, findLayout](const QString& text, bool backwards) {
        auto* button = new QToolButton(m_findBar);
        button->setText(text);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QToolButton::clicked, this, [this, backwards] { FindNext(backwards); });
        findLayout->addWidget(button);
    };
    addButton(tr("Previous"), true);
    addButton(tr("Next"), false);
    findLayout->addWidget(m_findStatus);
    m_findBar->hide();

    auto* menuBar = new QMenuBar(this);
    m_fileMenu = menuBar->addMenu(tr("&File"));
    m_saveAction = m_fileMenu->addAction(tr("&Save as..."), this, [this] { SaveText(); });
    m_saveAction->setShortcut(QKeySequence::Save);
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(tr("&Close"), this, &QWidget::close);
    QMenu* editMenu = menuBar->addMenu(tr("&Edit"));
    m_copyAction = editMenu->addAction(tr("&Copy"), this, &TFormView::Copy);
    m_copyAction->setShortcut(QKeySequence::Copy);
    editMenu->addSeparator();
    m_findAction = editMenu->addAction(tr("&Find..."), this, &TFormView::ShowFind);
    m_findAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    m_findNextAction = editMenu->addAction(tr("Find &next"), this, [this] { FindNext(false); });
    m_findNextAction->setShortcut(QKeySequence(Qt::Key_F3));
    m_findPreviousAction = editMenu->addAction(tr("Find &previous"), this, [this] { FindNext(true); });
    m_findPreviousAction->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
    m_viewMenu = menuBar->addMenu(tr("&View"));
    m_colouredAction = m_viewMenu->addAction(tr("&Coloured BASIC"));
    m_colouredAction->setCheckable(true);
    m_colouredAction->setChecked(true);
    m_colouredAction->setEnabled(false);
    connect(m_colouredAction, &QAction::toggled, this, &TFormView::SetBasicColoured);
    // The window handles the keys itself (FormKeyUp); the shortcuts only show
    // in the menus and never fire.
    for (QAction* action : {m_saveAction, m_copyAction, m_findAction, m_findNextAction, m_findPreviousAction})
        action->setShortcutContext(Qt::WidgetShortcut);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar);
    layout->addWidget(m_memo, 1);
    layout->addWidget(m_findBar);

    // Key preview: the window sees the keys meant for the text area first.
    WatchKeys(m_memo);
}

void TFormView::WatchKeys(QWidget* widget)
{
    widget->installEventFilter(this);
    if (auto* area = qobject_cast<QAbstractScrollArea*>(widget))
        area->viewport()->installEventFilter(this);
}

void TFormView::SetLines(const QByteArrayList& lines)
{
    m_basicColoured.clear();
    m_basicPlain.clear();
    m_colouredAction->setEnabled(false);
    m_highlighter->setDocument(nullptr);
    ShowLines(lines);
}

void TFormView::ShowLines(const QByteArrayList& lines)
{
    m_lines = lines;
    m_linesShown = true;
    m_memo->setPlainText(AnsiToQString(lines.join('\n')));
}

void TFormView::SetText(const QString& text)
{
    SetLines({});
    m_linesShown = false;
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    m_memo->setPlainText(plain);
}

void TFormView::SetBasicListing(QByteArrayView program)
{
    SetLines({});
    m_basicColoured = BasicSyntaxListing(program);
    m_basicPlain = BasicListing(program);
    m_colouredAction->setEnabled(true);
    ShowBasic();
}

void TFormView::SetBasicColoured(bool on)
{
    m_colouredAction->setChecked(on);
    if (on == m_basicColouredOn)
        return;
    m_basicColouredOn = on;
    if (HasBasicListing())
        ShowBasic();
}

void TFormView::ShowBasic()
{
    m_highlighter->setDocument(nullptr);
    if (!m_basicColouredOn) {
        ShowLines(m_basicPlain);
        return;
    }
    QByteArrayList lines;
    lines.reserve(m_basicColoured.size());
    for (const BasicSyntaxLine& line : m_basicColoured)
        lines << line.text;
    ShowLines(lines);
    m_highlighter->SetLines(&m_basicColoured, m_memo->palette());
    m_highlighter->setDocument(m_memo->document());
}

void TFormView::SetView(const ViewChoice& choice, const QString& path, const QString& typeName)
{
    switch (choice.format) {
    case ViewFormat::Basic:
        // Only "Program" files are listed, and they always have the header.
        SetBasicListing(ReadViewData(path, true, choice.count));
        break;
    case ViewFormat::Picture: {
        const QByteArray screen = ReadPicture(choice, path, typeName);
        SetLines(RenderView(choice, path, typeName));
        ShowPicture(screen);
        break;
    }
    default: SetLines(RenderView(choice, path, typeName)); break;
    }
}

ScreenView* TFormView::ShowPicture(const QByteArray& screen)
{
    if (!m_screenView) {
        m_pictureArea = new QScrollArea(this);
        m_pictureArea->setObjectName(QStringLiteral("PictureArea"));
        m_pictureArea->setWidgetResizable(true);
        m_pictureArea->setAlignment(Qt::AlignCenter);
        m_screenView = new ScreenView;
        m_pictureArea->setWidget(m_screenView);
        static_cast<QVBoxLayout*>(layout())->insertWidget(0, m_pictureArea, 1);
        WatchKeys(m_pictureArea);
        WatchKeys(m_screenView);
        m_fileMenu->insertActions(m_fileMenu->actions().value(1),
                                  {m_screenView->SavePngAction(), m_screenView->SaveZoomedPngAction()});
        m_viewMenu->addActions({m_screenView->FlashAction(), m_screenView->BorderAction(),
                                m_screenView->BorderColourAction()});
        m_viewMenu->addSeparator();
        m_viewMenu->addActions({m_screenView->ZoomInAction(), m_screenView->ZoomOutAction()});
        m_colouredAction->setVisible(false);
        m_findAction->setEnabled(false);
        m_findNextAction->setEnabled(false);
        m_findPreviousAction->setEnabled(false);
    }
    m_memo->hide();
    m_findBar->hide();
    m_screenView->SetScreen(screen);
    m_pictureArea->show();
    return m_screenView;
}

bool TFormView::SaveText()
{
    QString path = SaveFileName(tr("Save as text"), tr("Text files (*.txt);;All files (*)"));
    if (path.isEmpty())
        return false;
    QSaveFile file(path);
    const QByteArray bytes = m_linesShown ? ViewTextToUtf8(m_lines) : Text().toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        ReportError(tr("Cannot write %1: %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}

void TFormView::Copy()
{
    if (m_screenView) {
        m_screenView->Copy();
        return;
    }
    const QTextCursor cursor = m_memo->textCursor();
    QString text;
    if (cursor.hasSelection())
        text = cursor.selection().toPlainText();
    else
        text = m_linesShown ? QString::fromUtf8(ViewTextToUtf8(m_lines)) : Text();
    QGuiApplication::clipboard()->setText(text);
}

void TFormView::ShowFind()
{
    if (m_screenView)
        return;
    m_findBar->show();
    m_findStatus->clear();
    m_findEdit->setFocus();
    m_findEdit->selectAll();
}

bool TFormView::FindNext(bool backwards)
{
    const QString text = m_findEdit->text();
    if (m_screenView || text.isEmpty()) {
        if (!m_screenView)
            ShowFind();
        return false;
    }
    const QTextDocument::FindFlags flags = backwards ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    bool found = m_memo->find(text, flags);
    if (!found) {
        // Round past the end (or the start) and on from the other end.
        const QTextCursor before = m_memo->textCursor();
        m_memo->moveCursor(backwards ? QTextCursor::End : QTextCursor::Start);
        found = m_memo->find(text, flags);
        if (!found)
            m_memo->setTextCursor(before);
    }
    m_findStatus->setText(found ? QString() : tr("Not found"));
    return found;
}

QString TFormView::Text() const
{
    return m_memo->toPlainText();
}

void TFormView::UseSpectrumFont()
{
    QFont font(tr("Zx Spectrum"), kSpectrumFontPoints);
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
    if (key == Qt::Key_F3) {
        FindNext(shift & Qt::ShiftModifier);
        return;
    }
    if ((shift & Qt::ControlModifier) && !(shift & Qt::KeypadModifier)) {
        switch (key) {
        case Qt::Key_F: ShowFind(); return;
        case Qt::Key_C: Copy(); return;
        case Qt::Key_S: SaveText(); return;
        default: return;
        }
    }
    // Only the keypad's minus and plus, with Ctrl; other modifiers held with
    // Ctrl don't matter.
    if (!(shift & Qt::ControlModifier) || !(shift & Qt::KeypadModifier))
        return;
    if (m_screenView) {
        if (key == Qt::Key_Minus)
            m_screenView->ZoomOut();
        else if (key == Qt::Key_Plus)
            m_screenView->ZoomIn();
        return;
    }
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

void TFormView::changeEvent(QEvent* event)
{
    // A new theme: colours that read on its base colour.
    if (event->type() == QEvent::PaletteChange && m_highlighter->document()) {
        m_highlighter->SetLines(&m_basicColoured, m_memo->palette());
        m_highlighter->rehighlight();
    }
    QWidget::changeEvent(event);
}

bool TFormView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_findEdit) {
        // Typing goes to the find box; the keys it has no use for reach the
        // window as usual.
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = event->type() == QEvent::KeyPress
                           && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter);
        if (enter) {
            FindNext(key->modifiers() & Qt::ShiftModifier);
            return true;
        }
        if (event->type() == QEvent::KeyRelease && key->key() == Qt::Key_Escape) {
            m_findBar->hide();
            m_memo->setFocus();
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }
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
