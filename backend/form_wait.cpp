#include "form_wait.h"

#include "busy_animation.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kWidth = 449;
constexpr int kHeight = 153;
constexpr int kMargin = 16;
} // namespace

TFormWait::TFormWait(bool* abortRequested, QWidget* parent)
    : QWidget(parent, Qt::Dialog), abortRequested_(abortRequested)
{
    setObjectName(QStringLiteral("FormWait"));
    setWindowTitle(QStringLiteral("Please wait, operation in progress..."));
    setFixedSize(kWidth, kHeight);
    setFocusPolicy(Qt::StrongFocus);

    AnimatedImage1 = new BusyAnimation(this);
    AnimatedImage1->setObjectName(QStringLiteral("AnimatedImage1"));
    AnimatedImage1->move(kMargin, kMargin);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setGeometry(kMargin, 64, kWidth - 2 * kMargin, 20);

    LblPercent = new QLabel(this);
    LblPercent->setObjectName(QStringLiteral("LblPercent"));
    LblPercent->setAlignment(Qt::AlignCenter);
    LblPercent->setGeometry(kMargin, 96, kWidth - 2 * kMargin, 24);

    // Key events reach the window before its controls.
    for (QWidget* child : {static_cast<QWidget*>(AnimatedImage1),
                           static_cast<QWidget*>(ProgressBar1), static_cast<QWidget*>(LblPercent)})
        child->installEventFilter(this);

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(kWidth / 2, kHeight / 2));
    }
}

TFormWait::~TFormWait() = default;

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
    if (abortRequested_)
        *abortRequested_ = true;
    emit escapeReleased();
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
    QWidget::showEvent(event);
    activateWindow();
    setFocus(Qt::OtherFocusReason);
}
