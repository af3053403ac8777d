#pragma once

#include <QWidget>

class BusyAnimation;
class QLabel;
class QProgressBar;

// The busy window shown during long operations: "Please wait, operation in
// progress...", 449 by 153 pixels, centred on the desktop, with a busy
// animation, a progress bar from 0 to 100 and a centred percentage label.
// It is shown without blocking; the operation updates it after each item and
// destroys it at the end.
//
// Releasing Escape, whichever of its controls has the focus, sets the abort
// flag of its owner (and emits escapeReleased()); the window stays open.
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

    QProgressBar* ProgressBar1 = nullptr;
    QLabel* LblPercent = nullptr;
    BusyAnimation* AnimatedImage1 = nullptr;

signals:
    void escapeReleased();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool HandleKeyRelease(QKeyEvent* event);

    bool* abortRequested_ = nullptr;
};
