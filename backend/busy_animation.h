#pragma once

#include <QTimer>
#include <QWidget>

// A small busy sign for the wait window: 18 frames of 32 by 32 pixels, a
// ring of dots with one bright dot going round, one frame every 166 ms while
// the widget is shown.
class BusyAnimation : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kFrameCount = 18;
    static constexpr int kFrameMs = 166;
    static constexpr int kSize = 32;

    explicit BusyAnimation(QWidget* parent = nullptr);

    int Frame() const { return frame_; }
    bool IsRunning() const { return timer_.isActive(); }
    QSize sizeHint() const override { return {kSize, kSize}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void Advance();

    QTimer timer_;
    int frame_ = 0;
};
