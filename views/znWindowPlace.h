// Where the program's windows go on the desktop. A saved position may lie
// on a screen that is gone or beyond any screen, and a first start has no
// position at all; each window is therefore placed as it is shown.
//
// The rules work on window frames (title bar and borders included) in
// desktop coordinates, and on the available geometries of the screens.
#pragma once

#include <QMargins>
#include <QRect>

#include <vector>

class QWidget;

// The screen nearest a frame: the one it overlaps most, else the one
// closest to it. Empty when there are no screens.
QRect NearestScreen(const QRect& frame, const std::vector<QRect>& screens);

// The frame moved, and shrunk where it is larger, into the screen nearest
// it. Unchanged when it lies inside that screen already.
QRect FitOnScreen(const QRect& frame, const std::vector<QRect>& screens);

// A frame of the given size for a window that another one opened, moved
// into the opener's screen and clear of the opener and the other open
// windows: right of the opener with the tops in line, else left of it, else
// below it, else right of or below one of the others; when none is clear,
// the place right of the opener.
QRect BesideOpener(const QRect& opener, const QSize& size, const std::vector<QRect>& screens,
                   const std::vector<QRect>& others = {});

// The window system's side of the rules.

// Saved places are those of the client area (inside the title bar and
// borders). A window manager learns the frame only once the window is on
// the screen, so a frame position asked for before would put the client
// area there instead, and every start would move the window by the height
// of its title bar. A client position comes back where it was.
QPoint ClientPosition(const QWidget& window);
void PutClientAt(QWidget& window, const QPoint& position);

// The available geometries of the desktop's screens.
std::vector<QRect> AvailableScreens();

// How far the window's frame reaches beyond its client area. A window
// manager tells it only once the window is on the screen; until then a
// title bar and thin borders are assumed, so that the title bar stays in
// reach.
QMargins FrameMargins(const QWidget& window);

// A window's frame as far as it is known. Until the window manager has told
// it (it does so some time after the window appears), a box around every
// place the frame may take: the client area with the assumed margins,
// whether the window's position counts from its frame or from its client
// area.
QRect WindowFrame(const QWidget& window);

// The available geometry of the screen that PlaceWindow puts the window on:
// the opener's when it is given, else the one nearest the window.
QRect PlacementScreen(const QWidget& window, const QWidget* opener);

// Moves and shrinks a window into the screen nearest it, or, with an
// opener, puts it beside that window clear of the program's other windows.
// Call it while the window is shown.
void PlaceWindow(QWidget& window, const QWidget* opener = nullptr);
