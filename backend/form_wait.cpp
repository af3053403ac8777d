#include "form_wait.h"

#include "busy_animation.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
constexpr int kWidth = 449; // at least; wider when the texts need it
constexpr int kMargin = 16;

// The busy windows now visible or waiting to be shown, in the order they
// were shown or asked for.
std::vector<TFormWait*>& ShownWindows()
{
    static std::vector<TFormWait*> shown;
    return shown;
}

void Forget(TFormWait* window)
{
    auto& shown = ShownWindows();
    shown.erase(std::remove(shown.begin(), shown.end(), window), shown.end());
}
} // namespace

TFormWait::TFormWait(bool* abortRequested, QWidget* parent)
    : QWidget(parent, Qt::Dialog), abortRequested_(abortRequested)
{
    setObjectName(QStringLiteral("FormWait"));
    setWindowTitle(tr("Please wait, operation in progress..."));
    setFocusPolicy(Qt::StrongFocus);
    setWindowModality(Qt::ApplicationModal);

    AnimatedImage1 = new BusyAnimation(this);
    AnimatedImage1->setObjectName(QStringLiteral("AnimatedImage1"));
    AnimatedImage1->setAccessibleName(tr("Busy"));

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setAccessibleName(tr("Progress"));

    LblPercent = new QLabel(this);
    LblPercent->setObjectName(QStringLiteral("LblPercent"));
    LblPercent->setAlignment(Qt::AlignCenter);

    LblHint = new QLabel(tr("Press Escape or click Cancel to stop the command."), this);
    LblHint->setObjectName(QStringLiteral("LblHint"));
    LblHint->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    BtnCancel = new QPushButton(tr("Cancel"), this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));

    // Laid out, so that a larger font widens the window instead of cutting
    // the texts.
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(BtnCancel, QDialogButtonBox::RejectRole);
    auto* top = new QHBoxLayout;
    top->addWidget(AnimatedImage1, 0, Qt::AlignTop);
    top->addSpacing(kMargin);
    top->addWidget(LblHint, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, 10);
    layout->addLayout(top);
    layout->addSpacing(kMargin / 2);
    layout->addWidget(ProgressBar1);
    layout->addWidget(LblPercent);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    ProgressBar1->setMinimumWidth(kWidth - 2 * kMargin);
    // The window keeps the focus (Escape works from anywhere); Tab reaches
    // the button.
    BtnCancel->setFocusPolicy(Qt::TabFocus);
    BtnCancel->setAutoDefault(false);
    connect(BtnCancel, &QPushButton::clicked, this, &TFormWait::RequestCancel);

    // Key events reach the window before its controls.
    for (QWidget* child : {static_cast<QWidget*>(AnimatedImage1),
                           static_cast<QWidget*>(ProgressBar1), static_cast<QWidget*>(LblPercent),
                           static_cast<QWidget*>(LblHint), static_cast<QWidget*>(BtnCancel)})
        child->installEventFilter(this);

    adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
}

TFormWait::~TFormWait()
{
    // Hidden here, while the window is still whole, so that the focus goes
    // back as it does on hide().
    if (isVisible())
        hide();
    if (showTimer_)
        showTimer_->stop();
    Forget(this);
}

void TFormWait::ShowDelayed(int delayMs)
{
    if (isVisible() || ShowPending())
        return;
    if (!showTimer_) {
        showTimer_ = new QTimer(this);
        showTimer_->setSingleShot(true);
        connect(showTimer_, &QTimer::timeout, this, &QWidget::show);
    }
    showTimer_->start(delayMs);
    Forget(this);
    ShownWindows().push_back(this);
}

bool TFormWait::ShowPending() const
{
    return showTimer_ && showTimer_->isActive();
}

TFormWait* TFormWait::Current()
{
    const auto& shown = ShownWindows();
    for (auto it = shown.rbegin(); it != shown.rend(); ++it) {
        if ((*it)->isVisible())
            return *it;
    }
    return shown.empty() ? nullptr : shown.back();
}

void TFormWait::ProcessPendingEvents()
{
    const TFormWait* current = Current();
    QCoreApplication::processEvents(current && current->isVisible()
                                        ? QEventLoop::AllEvents
                                        : QEventLoop::ExcludeUserInputEvents);
}

void TFormWait::RequestCancel()
{
    if (abortRequested_)
        *abortRequested_ = true;
    emit cancelRequested();
}

int TFormWait::ProgressPercent(qint64 item, qint64 count)
{
    if (count <= 0 || item <= 0)
        return 0;
    if (item >= count)
        return 100;
    // Exact integer rounding of item * 100 / count, halves to even.
    const qint64 scaled = item * 100;
    qint64 quotient = scaled / count;
    const qint64 twiceRemainder = (scaled % count) * 2;
    if (twiceRemainder > count || (twiceRemainder == count && quotient % 2 != 0))
        ++quotient;
    return static_cast<int>(quotient);
}

int TFormWait::RatioPercent(double ratio)
{
    if (!(ratio > 0)) // also NaN
        return 0;
    // nearbyint rounds halves to even in the default rounding mode.
    return static_cast<int>(std::clamp(std::nearbyint(ratio * 100.0), 0.0, 100.0));
}

void TFormWait::SetProgress(qint64 item, qint64 count)
{
    SetPercent(ProgressPercent(item, count));
}

void TFormWait::SetProgressRatio(double ratio)
{
    SetPercent(RatioPercent(ratio));
}

void TFormWait::SetPercent(int percent)
{
    percent = std::clamp(percent, 0, 100);
    ProgressBar1->setValue(percent);
    LblPercent->setText(QString::number(percent) + QLatin1Char('%'));
    if (isVisible())
        repaint();
}

bool TFormWait::HandleKeyRelease(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Escape)
        return false;
    emit escapeReleased();
    RequestCancel();
    return true;
}

bool TFormWait::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyRelease && HandleKeyRelease(static_cast<QKeyEvent*>(event)))
        return true;
    return QWidget::eventFilter(watched, event);
}

void TFormWait::keyReleaseEvent(QKeyEvent* event)
{
    if (HandleKeyRelease(event))
        event->accept();
    else
        QWidget::keyReleaseEvent(event);
}

void TFormWait::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        // A busy window shown above another gives the focus back to it.
        TFormWait* below = Current();
        QWidget* active =
            below && below != this && below->isVisible() ? below : QApplication::activeWindow();
        if (!active || active == this)
            active = parentWidget() ? parentWidget()->window() : nullptr;
        previousWindow_ = active;
        QWidget* focus = QApplication::focusWidget();
        previousFocus_ = focus && !isAncestorOf(focus) && focus != this
                             ? focus
                             : (active ? active->focusWidget() : nullptr);
        Forget(this);
        ShownWindows().push_back(this);
    }
    if (showTimer_)
        showTimer_->stop();
    QWidget::showEvent(event);
    activateWindow();
    setFocus(Qt::OtherFocusReason);
    if (!event->spontaneous())
        emit becameVisible();
}

void TFormWait::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (event->spontaneous()) // minimised: the window is still there
        return;
    Forget(this);
    RestoreFocus();
}

void TFormWait::setVisible(bool visible)
{
    // Hidden before its delay ran out: it is not shown later either.
    if (!visible && showTimer_) {
        showTimer_->stop();
        Forget(this);
    }
    QWidget::setVisible(visible);
}

void TFormWait::RestoreFocus()
{
    QWidget* window = previousWindow_;
    QWidget* focus = previousFocus_;
    previousWindow_.clear();
    previousFocus_.clear();
    if (!window || !window->isVisible())
        return;
    // A window shown and hidden again within milliseconds can leave the
    // window manager with no focused window at all; ask for the main window
    // explicitly rather than rely on its fallback.
    window->activateWindow();
    if (focus && focus->window() == window && focus->isVisible() && focus->isEnabled())
        focus->setFocus(Qt::ActiveWindowFocusReason);
}
