#include "views/znWindowPlace.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

// A title bar and thin borders, for a window whose frame is not known yet.
constexpr QMargins kAssumedFrame(2, 32, 2, 6);

int64_t Area(const QRect& rect) { return rect.isEmpty() ? 0 : int64_t{rect.width()} * rect.height(); }

// The gap between two rectangles along one axis; 0 when they overlap.
int64_t Gap(int first_low, int first_high, int second_low, int second_high) {
  return std::max<int64_t>({0, int64_t{second_low} - first_high, int64_t{first_low} - second_high});
}

int64_t SquaredDistance(const QRect& a, const QRect& b) {
  const int64_t dx = Gap(a.left(), a.right(), b.left(), b.right());
  const int64_t dy = Gap(a.top(), a.bottom(), b.top(), b.bottom());
  return dx * dx + dy * dy;
}

// The window manager has told where the window's frame lies.
bool FrameKnown(const QWidget& window) { return window.frameGeometry() != window.geometry(); }

// The frame as far as it is known, else the client area with the assumed
// margins.
QRect Frame(const QWidget& window) { return window.geometry().marginsAdded(FrameMargins(window)); }

// The frames of the program's other windows on the screen.
std::vector<QRect> OtherWindows(const QWidget& window, const QWidget* opener) {
  std::vector<QRect> frames;
  for (const QWidget* other : QApplication::topLevelWidgets()) {
    if (other == &window || other == opener || !other->isVisible()) continue;
    if (other->windowType() != Qt::Window && other->windowType() != Qt::Dialog) continue;
    frames.push_back(WindowFrame(*other));
  }
  return frames;
}

}  // namespace

QRect NearestScreen(const QRect& frame, const std::vector<QRect>& screens) {
  QRect nearest;
  int64_t best_overlap = 0;
  int64_t best_distance = std::numeric_limits<int64_t>::max();
  for (const QRect& screen : screens) {
    const int64_t overlap = Area(frame.intersected(screen));
    const int64_t distance = SquaredDistance(frame, screen);
    if (overlap > best_overlap || (best_overlap == 0 && overlap == 0 && distance < best_distance)) {
      nearest = screen;
      best_overlap = overlap;
      best_distance = distance;
    }
  }
  return nearest;
}

QRect FitOnScreen(const QRect& frame, const std::vector<QRect>& screens) {
  const QRect screen = NearestScreen(frame, screens);
  if (screen.isEmpty()) return frame;
  const int width = std::min(frame.width(), screen.width());
  const int height = std::min(frame.height(), screen.height());
  const int left = std::clamp(frame.left(), screen.left(), screen.left() + screen.width() - width);
  const int top = std::clamp(frame.top(), screen.top(), screen.top() + screen.height() - height);
  return QRect(left, top, width, height);
}

QRect BesideOpener(const QRect& opener, const QSize& size, const std::vector<QRect>& screens,
                   const std::vector<QRect>& others) {
  const QRect screen = NearestScreen(opener, screens);
  auto right_of = [&size](const QRect& window) { return QRect(QPoint(window.right() + 1, window.top()), size); };
  auto below = [&size](const QRect& window) { return QRect(QPoint(window.left(), window.bottom() + 1), size); };
  std::vector<QRect> places = {right_of(opener), QRect(QPoint(opener.left() - size.width(), opener.top()), size),
                               below(opener)};
  for (const QRect& other : others) {
    places.push_back(right_of(other));
    places.push_back(below(other));
  }
  // A place moved into the screen that then covers none of the windows.
  auto clear = [&](const QRect& place) {
    if (place.intersects(opener)) return false;
    return std::none_of(others.begin(), others.end(), [&place](const QRect& other) { return place.intersects(other); });
  };
  for (const QRect& place : places) {
    const QRect on_screen = FitOnScreen(place, {screen});
    if (clear(on_screen)) return on_screen;
  }
  return FitOnScreen(right_of(opener), {screen});
}

std::vector<QRect> AvailableScreens() {
  std::vector<QRect> screens;
  for (const QScreen* screen : QGuiApplication::screens()) screens.push_back(screen->availableGeometry());
  return screens;
}

QPoint ClientPosition(const QWidget& window) { return window.geometry().topLeft(); }

void PutClientAt(QWidget& window, const QPoint& position) { window.setGeometry(QRect(position, window.size())); }

QMargins FrameMargins(const QWidget& window) {
  if (!FrameKnown(window)) return kAssumedFrame;
  const QRect frame = window.frameGeometry();
  const QRect client = window.geometry();
  return QMargins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                  frame.bottom() - client.bottom());
}

QRect WindowFrame(const QWidget& window) {
  const QRect frame = Frame(window);
  if (FrameKnown(window)) return frame;
  // Also where the frame goes when the position counts from it.
  return frame.united(QRect(window.geometry().topLeft(), frame.size()));
}

QRect PlacementScreen(const QWidget& window, const QWidget* opener) {
  const QRect frame = opener ? WindowFrame(*opener) : Frame(window);
  return NearestScreen(frame, AvailableScreens());
}

void PlaceWindow(QWidget& window, const QWidget* opener) {
  const std::vector<QRect> screens = AvailableScreens();
  const QMargins margins = FrameMargins(window);
  const QRect frame = window.geometry().marginsAdded(margins);
  const QRect placed = opener ? BesideOpener(WindowFrame(*opener), frame.size(), screens, OtherWindows(window, opener))
                              : FitOnScreen(frame, screens);
  if (placed == frame) return;
  // Placed by its client area: once the window exists, a move would put the
  // client area where the frame should go while the frame is not known.
  window.setGeometry(placed.marginsRemoved(margins));
}
