#include "ui/ScreenPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace transref {

namespace {

// Watches one window and keeps it inside its screen whenever it is shown.
class ScreenKeeper final : public QObject {
 public:
  explicit ScreenKeeper(QWidget* window) : QObject(window) { window->installEventFilter(this); }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Show || watched != parent()) return false;
    auto* window = static_cast<QWidget*>(watched);
    // The Show event comes before the window is mapped: the move is not
    // seen. A window shown for the first time may not know its frame yet
    // (title bar, borders); once the platform has placed it, again.
    KeepInsideScreen(window);
    QTimer::singleShot(0, window, [window] { KeepInsideScreen(window); });
    return false;
  }
};

// Shift that brings [first, first + length) inside [low, low + room).
int ShiftInside(int first, int length, int low, int room) {
  if (length > room || first < low) return low - first;
  const int overflow = first + length - (low + room);
  return overflow > 0 ? -overflow : 0;
}

}  // namespace

QScreen* ScreenOf(const QWidget* window) {
  if (QScreen* under = QGuiApplication::screenAt(window->frameGeometry().center())) return under;
  if (QScreen* own = window->screen()) return own;
  return QGuiApplication::primaryScreen();
}

void CentreOnScreen(QWidget* window) {
  const QScreen* screen = ScreenOf(window);
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  window->move(area.x() + (area.width() - window->width()) / 2, area.y() + (area.height() - window->height()) / 2);
}

QRect MovedInside(const QRect& frame, const QRect& area) {
  return frame.translated(ShiftInside(frame.x(), frame.width(), area.x(), area.width()),
                          ShiftInside(frame.y(), frame.height(), area.y(), area.height()));
}

void KeepInsideScreen(QWidget* window) {
  const QScreen* screen = ScreenOf(window);
  if (screen == nullptr) return;
  const QRect frame = window->frameGeometry();
  const QRect inside = MovedInside(frame, screen->availableGeometry());
  // A window's position is that of its frame.
  if (inside != frame) window->move(inside.topLeft());
}

void KeepInsideScreenWhenShown(QWidget* window) { new ScreenKeeper(window); }

}  // namespace transref
