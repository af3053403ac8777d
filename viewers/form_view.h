#pragma once

#include <QByteArrayList>
#include <QWidget>

class QPlainTextEdit;

// A text window that stays on top of the other windows: the view of one file
// or the details of one partition. It is created hidden, filled, then shown;
// closing it (or Escape) only hides it, and it lives as long as its owner,
// the main window. Several can be open at once.
//
// The window takes every key for itself: no key reaches the text area or
// triggers a menu shortcut of any window, so the text is only scrolled with
// the mouse and the scroll bar. On release, Escape hides the window, and Ctrl
// with the keypad's minus or plus makes the text one point smaller or larger,
// within 4 to 24 points.
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

    // Key release handler: Escape and the font size keys.
    void FormKeyUp(int key, Qt::KeyboardModifiers shift);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    // True when the window handles the key event itself (all of them).
    bool HandleKeyEvent(QEvent* event);
    void SetFontPoints(int points);

    QPlainTextEdit* m_memo;
};
