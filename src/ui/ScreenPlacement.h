#pragma once
// Where the windows open. The program's own positions (centred, beside the
// first wizard page, over the main window) are kept when they fit; on a small
// screen (a 1366 x 768 laptop) every window is moved just enough to lie
// wholly inside the available area of the screen it opens on.

class QRect;
class QScreen;
class QWidget;

namespace transref {

// The screen a top-level window opens on: the one under its centre, else the
// one it belongs to, else the primary screen.
QScreen* ScreenOf(const QWidget* window);

// Centres a top-level window in the available area of its screen.
void CentreOnScreen(QWidget* window);

// The smallest move that brings `frame` inside `area`; a frame larger than
// the area keeps its top-left corner (title bar and close button) inside.
QRect MovedInside(const QRect& frame, const QRect& area);

// Moves the window just enough to lie inside the available area of its
// screen (frame and title bar included, as far as the platform knows them).
void KeepInsideScreen(QWidget* window);

// From now on, every time the window is shown it is first kept inside its
// screen, after whatever placement was made before showing it.
void KeepInsideScreenWhenShown(QWidget* window);

}  // namespace transref
