#pragma once

#include "format_basic.h"
#include "view_choice.h"

#include <QByteArrayList>
#include <QByteArrayView>
#include <QList>
#include <QWidget>

#include <functional>

class ListingHighlighter;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QScrollArea;
class ScreenView;

// A text window kept above its owner, the main window, but not above other
// programs' windows (a tool window, which the window manager stacks as the
// owner's transient): the view of one file or the details of one partition. It is created hidden, filled, then shown;
// closing it (or Escape) only hides it, and it lives as long as its owner,
// the main window. Several can be open at once.
//
// The window takes every key for itself: no key reaches the text area or
// triggers a menu shortcut of any window, so the text is only scrolled with
// the mouse and the scroll bar. On release, Escape hides the window, and Ctrl
// with the keypad's minus or plus makes the text one point smaller or larger,
// within 4 to 24 points (a picture: zooms it out or in). Ctrl+F opens the
// find bar, F3 and Shift+F3 find the next and previous match, Ctrl+C copies
// and Ctrl+S saves; the same commands are in the window's menus.
//
// Instead of the text the window can show a picture (ShowPicture); the text
// stays what "Save as..." writes. A BASIC listing (SetBasicListing) is shown
// coloured by syntax in colours that suit the palette, or plain.
class TFormView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kMinFontPoints = 4;
    static constexpr int kMaxFontPoints = 24;

    explicit TFormView(QWidget* owner);

    // The read-only text area: "Courier New" 8 pt, wrapping at its right
    // edge, with a vertical scroll bar and no horizontal one.
    QPlainTextEdit* Memo1() const { return m_memo; }

    // Replaces the text with formatter lines (Windows-1252 bytes), joined
    // and set in one go: a 64K byte list is 65,536 lines.
    void SetLines(const QByteArrayList& lines);
    // Replaces the text; CR LF and lone CR line ends become line breaks.
    void SetText(const QString& text);
    QString Text() const;

    // Shows the text in the "Zx Spectrum" font, 6 points.
    void UseSpectrumFont();
    int FontPoints() const;

    // Shows the window (not modal) with the first lines in view.
    void ShowText();

    // Fills the window with the view of a file: the local copy at `path`,
    // its type name and the choice ChooseView made for it. A Picture shows
    // the picture (its hex dump is the text "Save as..." writes), a Basic
    // view the coloured listing, other formats their lines. Throws
    // FormatterError when the copy cannot be read.
    void SetView(const ViewChoice& choice, const QString& path, const QString& typeName);

    // Key release handler: Escape, the font size keys and the commands' keys.
    void FormKeyUp(int key, Qt::KeyboardModifiers shift);

    // Shows `screen` (screen memory, see screen_image.h) as a picture in
    // place of the text area, and returns its view.
    ScreenView* ShowPicture(const QByteArray& screen);
    // The picture's view; null while the window shows text.
    ScreenView* PictureView() const { return m_screenView; }

    // Lists a BASIC program (the program bytes, variables excluded): coloured
    // by syntax, control codes shown in braces, or plain as BasicListing
    // lists it when colours are off.
    void SetBasicListing(QByteArrayView program);
    bool HasBasicListing() const { return !m_basicPlain.isEmpty() || !m_basicColoured.isEmpty(); }
    bool BasicColoured() const { return m_basicColouredOn; }
    void SetBasicColoured(bool on);

    // "Save as...": asks for a file name (SaveFileName) and writes the lines
    // shown as UTF-8 text, Spectrum characters as Unicode (ViewTextToUtf8);
    // text set with SetText is written as it is. False when cancelled or
    // when the file cannot be written (reported through ReportError).
    bool SaveText();
    // "Copy": the picture, or else the selected text, or all of it.
    void Copy();
    // "Find": shows the find bar with its text selected.
    void ShowFind();
    QLineEdit* FindEdit() const { return m_findEdit; }
    // Selects the next (or previous) match of the find bar's text, case
    // ignored, going round past the end. False when there is none.
    bool FindNext(bool backwards = false);

    QAction* SaveTextAction() const { return m_saveAction; }
    QAction* CopyAction() const { return m_copyAction; }
    QAction* FindAction() const { return m_findAction; }
    QAction* ColouredBasicAction() const { return m_colouredAction; }

    // The dialogs, replaceable (tests answer them without a window).
    // Save file name: empty when cancelled.
    std::function<QString(const QString& title, const QString& filter)> SaveFileName;
    std::function<void(const QString& message)> ReportError;

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    // True when the window handles the key event itself (all of them).
    bool HandleKeyEvent(QEvent* event);
    void SetFontPoints(int points);
    void WatchKeys(QWidget* widget);
    void ShowLines(const QByteArrayList& lines);
    // The BASIC listing, coloured or plain as chosen.
    void ShowBasic();

    QPlainTextEdit* m_memo;
    // The Windows-1252 lines shown, for "Save as..."; empty after SetText.
    QByteArrayList m_lines;
    bool m_linesShown = false;

    QList<BasicSyntaxLine> m_basicColoured;
    QByteArrayList m_basicPlain;
    bool m_basicColouredOn = true;
    ListingHighlighter* m_highlighter;

    QScrollArea* m_pictureArea = nullptr;
    ScreenView* m_screenView = nullptr;

    QWidget* m_findBar;
    QLineEdit* m_findEdit;
    QLabel* m_findStatus;

    QMenu* m_fileMenu;
    QMenu* m_viewMenu;
    QAction* m_saveAction;
    QAction* m_copyAction;
    QAction* m_findAction;
    QAction* m_findNextAction;
    QAction* m_findPreviousAction;
    QAction* m_colouredAction;
};
