#pragma once

#include <QPointer>
#include <QWidget>

class QTimer;

class BusyAnimation;
class QLabel;
class QProgressBar;
class QPushButton;

// The busy window shown during long operations: "Please wait, operation in
// progress...", 449 by 153 pixels, centred on the desktop, with a busy
// animation, a progress bar from 0 to 100 and a centred percentage label.
// It is shown without blocking the caller, application-modal (the main window
// takes no input meanwhile); the operation updates it after each item and
// destroys it at the end. A line beside the animation says that Escape stops
// the command, and a Cancel button does the same.
//
// Releasing Escape, whichever of its controls has the focus, or clicking
// Cancel sets the abort flag of its owner and emits cancelRequested() (Escape
// also escapeReleased()); the window stays open. A tool run waited for while
// the window is up is stopped by it (process_runner.h).
//
// A long command may ask for the window with ShowDelayed(): a command that
// ends within 300 ms then never shows it, and the user's keys typed
// meanwhile reach the main window afterwards (ProcessPendingEvents() holds
// them back while no busy window is visible).
//
// The busy window shown (or about to be shown) most recently is Current():
// tool runs inside a long command use it instead of opening a second one.
//
// When the window goes (hidden or destroyed), the window that was active
// when it appeared is activated again and its focus widget gets the keyboard
// focus back, so the next shortcut reaches the main window without a click.
class TFormWait : public QWidget
{
    Q_OBJECT

public:
    // abortRequested: the owner's abort flag, or null. It must outlive the
    // window. parent: the owning window (the busy window stays a window of
    // its own, shown above it).
    explicit TFormWait(bool* abortRequested = nullptr, QWidget* parent = nullptr);
    ~TFormWait() override;

    // Progress after item `item` of `count` (item counted from 1): the bar
    // goes to ProgressPercent(item, count), the label to that number
    // followed by "%", and the window is repainted at once.
    void SetProgress(qint64 item, qint64 count);
    // The same for an operation that measures its progress as a fraction
    // from 0 to 1 (a download).
    void SetProgressRatio(double ratio);
    // Shows a percentage (clamped to 0..100) and repaints at once.
    void SetPercent(int percent);

    // item / count × 100 rounded to the nearest integer, halves to even,
    // clamped to 0..100; 0 when count is not positive.
    static int ProgressPercent(qint64 item, qint64 count);
    // ratio × 100 rounded the same way.
    static int RatioPercent(double ratio);

    static constexpr int kShowDelayMs = 300;

    // Shows the window once delayMs have passed (during event processing)
    // unless it is hidden or destroyed before.
    void ShowDelayed(int delayMs = kShowDelayMs);
    bool ShowPending() const;

    // The busy window shown most recently that is still visible, or else the
    // one most recently waiting to be shown; null when there is none.
    static TFormWait* Current();

    // Handles pending events. The user's keys and clicks are handled only
    // while a busy window is visible (it is modal: they can reach nothing
    // else); otherwise they wait in the queue until the command has ended,
    // so no second command starts within this one and nothing typed ahead is
    // lost.
    static void ProcessPendingEvents();

    // Hiding also drops a pending ShowDelayed().
    void setVisible(bool visible) override;

    // Sets the owner's abort flag and emits cancelRequested(), as Escape and
    // Cancel do.
    void RequestCancel();

    QProgressBar* ProgressBar1 = nullptr;
    QLabel* LblPercent = nullptr;
    BusyAnimation* AnimatedImage1 = nullptr;
    QLabel* LblHint = nullptr;
    QPushButton* BtnCancel = nullptr;

signals:
    void escapeReleased();
    void cancelRequested();
    // The window has just been shown.
    void becameVisible();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    bool HandleKeyRelease(QKeyEvent* event);
    void RestoreFocus();

    bool* abortRequested_ = nullptr;
    QTimer* showTimer_ = nullptr;
    // Where the keyboard focus was when the window appeared.
    QPointer<QWidget> previousWindow_;
    QPointer<QWidget> previousFocus_;
};
