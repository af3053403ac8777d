#pragma once

#include <QList>
#include <QMargins>
#include <QRect>
#include <QSize>

#include <optional>

// Where the main window opens: a pure computation on rectangles in the
// desktop's logical coordinates (a scale factor of 2 halves them), so that it
// can be checked without a screen.
namespace window_place {

// What the window needs and what the desktop offers.
struct Request
{
    // The client size wanted at the first start (from the list's columns and
    // the status bar's texts in the desktop's font).
    QSize wanted;
    // The client geometry the user left at the last start, if any.
    std::optional<QRect> saved;
    // The window manager's frame around the client area (title bar on top).
    QMargins frame;
    // The available geometry (without panels and docks) of every screen, the
    // primary screen first. Empty: nothing is changed.
    QList<QRect> screens;
};

// The client geometry to open with. The saved geometry goes to the screen it
// overlaps most (else the primary one); a first start is centred on the
// primary screen. Either way the size is bounded by that screen's available
// area and the window, frame and title bar included, is moved wholly onto it,
// so the title bar can always be grabbed.
QRect Place(const Request& request);

} // namespace window_place
