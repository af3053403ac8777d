#include "busy_animation.h"

#include <QPainter>
#include <QtMath>

BusyAnimation::BusyAnimation(QWidget* parent) : QWidget(parent)
{
    setFixedSize(kSize, kSize);
    timer_.setInterval(kFrameMs);
    connect(&timer_, &QTimer::timeout, this, &BusyAnimation::Advance);
}

void BusyAnimation::Advance()
{
    frame_ = (frame_ + 1) % kFrameCount;
    update();
}

void BusyAnimation::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    timer_.start();
}

void BusyAnimation::hideEvent(QHideEvent* event)
{
    timer_.stop();
    QWidget::hideEvent(event);
}

void BusyAnimation::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QPointF centre(kSize / 2.0, kSize / 2.0);
    const double ringRadius = kSize / 2.0 - 4.0;
    // One dot per frame; the dots behind the bright one fade out.
    for (int i = 0; i < kFrameCount; ++i) {
        const int age = (frame_ - i + kFrameCount) % kFrameCount;
        const double angle = 2.0 * M_PI * i / kFrameCount - M_PI / 2.0;
        const QPointF dot(centre.x() + ringRadius * std::cos(angle),
                          centre.y() + ringRadius * std::sin(angle));
        // The palette's highlight colour, so that it shows on a dark theme too.
        QColor colour = palette().color(QPalette::Highlight);
        colour.setAlphaF(age < 6 ? 1.0 - age * 0.14 : 0.18);
        painter.setBrush(colour);
        painter.drawEllipse(dot, age == 0 ? 3.0 : 2.2, age == 0 ? 3.0 : 2.2);
    }
}
