#include "window_place.h"

#include <algorithm>

namespace window_place {

namespace {

qint64 OverlapArea(const QRect& a, const QRect& b)
{
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : qint64(common.width()) * common.height();
}

// The screen a frame rectangle belongs on: the one it overlaps most; the
// primary one (the first) when it overlaps none.
QRect ScreenFor(const QRect& frame, const QList<QRect>& screens)
{
    QRect best = screens.first();
    qint64 bestArea = 0;
    for (const QRect& screen : screens) {
        const qint64 area = OverlapArea(frame, screen);
        if (area > bestArea) {
            best = screen;
            bestArea = area;
        }
    }
    return best;
}

// `start` moved by the least amount that puts [start, start + length) inside
// [low, low + room); at `low` when it does not fit.
int Clamp(int start, int length, int low, int room)
{
    return std::max(low, std::min(start, low + room - length));
}

} // namespace

QRect Place(const Request& request)
{
    if (request.screens.isEmpty())
        return request.saved.value_or(QRect(QPoint(0, 0), request.wanted));
    const QMargins& frame = request.frame;
    const int frameWidth = frame.left() + frame.right();
    const int frameHeight = frame.top() + frame.bottom();

    QRect client;
    QRect screen;
    if (request.saved && request.saved->isValid()) {
        client = *request.saved;
        screen = ScreenFor(client.marginsAdded(frame), request.screens);
    } else {
        screen = request.screens.first();
        client = QRect(QPoint(0, 0), request.wanted);
        const QSize outer(std::min(client.width(), screen.width() - frameWidth) + frameWidth,
                          std::min(client.height(), screen.height() - frameHeight) + frameHeight);
        client.moveTopLeft(screen.topLeft() +
                           QPoint((screen.width() - outer.width()) / 2 + frame.left(),
                                  (screen.height() - outer.height()) / 2 + frame.top()));
    }
    client.setWidth(std::max(1, std::min(client.width(), screen.width() - frameWidth)));
    client.setHeight(std::max(1, std::min(client.height(), screen.height() - frameHeight)));
    const int left = Clamp(client.left() - frame.left(), client.width() + frameWidth,
                           screen.left(), screen.width());
    const int top = Clamp(client.top() - frame.top(), client.height() + frameHeight, screen.top(),
                          screen.height());
    client.moveTopLeft(QPoint(left + frame.left(), top + frame.top()));
    return client;
}

} // namespace window_place
