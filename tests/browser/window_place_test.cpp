// Where the main window opens, on screens of several sizes and scale factors.
#include "window_place.h"

#include <gtest/gtest.h>


namespace {

// A screen's available area in device pixels, as the desktop's logical
// coordinates see it at the given scale factor.
QRect Logical(const QRect& pixels, double scale)
{
    return QRect((QPointF(pixels.topLeft()) / scale).toPoint(), (QSizeF(pixels.size()) / scale).toSize());
}

std::string Text(const QRect& r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
}

} // namespace

TEST(WindowPlace, OpensOnScreenWholeAtEveryScaleFactor)
{
    const QMargins frame(4, 28, 4, 4);
    const QSize wanted(960, 589);
    const struct
    {
        const char* what;
        QList<QRect> screens; // device pixels, primary first
        double scale;
        std::optional<QRect> saved;
        QRect expected; // client geometry, logical
    } cases[] = {
        {"first start, 1280x960 at 1, centred", {{0, 0, 1280, 936}}, 1.0, {}, {160, 185, 960, 589}},
        {"first start, 1280x960 at 2: bounded, title bar on screen",
         {{0, 0, 1280, 936}}, 2.0, {}, {4, 28, 632, 436}},
        {"first start, 1920x1080 at 1.5", {{0, 0, 1920, 1056}}, 1.5, {}, {160, 69, 960, 589}},
        {"left at -158,-70 at 2: moved and shrunk onto the screen",
         {{0, 0, 1280, 936}}, 2.0, QRect(-158, -70, 800, 589), {4, 28, 632, 436}},
        {"left on the second screen: stays there",
         {{0, 0, 1280, 1024}, {1280, 0, 1920, 1080}}, 1.0, QRect(1500, 100, 800, 600),
         {1500, 100, 800, 600}},
        {"second screen gone: brought to the primary one",
         {{0, 0, 1280, 1024}}, 1.0, QRect(3000, 200, 800, 600), {476, 200, 800, 600}},
        {"hanging over the bottom right corner", {{0, 0, 1280, 1024}}, 1.0,
         QRect(1000, 900, 800, 600), {476, 420, 800, 600}},
        {"a panel on the left", {{48, 0, 1232, 1024}}, 1.0, QRect(0, 0, 400, 300),
         {52, 28, 400, 300}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        window_place::Request request;
        request.wanted = wanted;
        request.saved = c.saved;
        request.frame = frame;
        for (const QRect& screen : c.screens)
            request.screens << Logical(screen, c.scale);
        const QRect placed = window_place::Place(request);
        EXPECT_EQ(Text(placed), Text(c.expected));
        // Frame and title bar wholly on one screen.
        bool onScreen = false;
        for (const QRect& screen : request.screens)
            onScreen = onScreen || screen.contains(placed.marginsAdded(frame));
        EXPECT_TRUE(onScreen);
    }
}
