#include "views/znWindowPlace.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

// A title bar and thin borders, for a window whose frame is not known yet.
constexpr QMargins kAssumedFrame(2, 32, 2, 4);

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

QRect Frame(const QWidget& window, const QMargins& margins) {
  return QRect(window.pos(), window.size().grownBy(margins));
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

QRect BesideOpener(const QRect& opener, const QSize& size, const std::vector<QRect>& screens) {
  const QRect screen = NearestScreen(opener, screens);
  const QRect right(QPoint(opener.right() + 1, opener.top()), size);
  if (screen.contains(right)) return right;
  const QRect left(QPoint(opener.left() - size.width(), opener.top()), size);
  if (screen.contains(left)) return left;
  return FitOnScreen(right, {screen});
}

std::vector<QRect> AvailableScreens() {
  std::vector<QRect> screens;
  for (const QScreen* screen : QGuiApplication::screens()) screens.push_back(screen->availableGeometry());
  return screens;
}

QMargins FrameMargins(const QWidget& window) {
  const QRect frame = window.frameGeometry();
  const QRect client = window.geometry();
  if (frame == client) return kAssumedFrame;
  return QMargins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                  frame.bottom() - client.bottom());
}

QRect PlacementScreen(const QWidget& window, const QWidget* opener) {
  const QRect frame = opener ? opener->frameGeometry() : Frame(window, FrameMargins(window));
  return NearestScreen(frame, AvailableScreens());
}

void PlaceWindow(QWidget& window, const QWidget* opener) {
  const std::vector<QRect> screens = AvailableScreens();
  const QMargins margins = FrameMargins(window);
  const QRect frame = Frame(window, margins);
  const QRect placed = opener ? BesideOpener(opener->frameGeometry(), frame.size(), screens)
                              : FitOnScreen(frame, screens);
  if (placed == frame) return;
  if (placed.size() != frame.size()) window.resize(placed.size().shrunkBy(margins));
  // A window's position is that of its frame.
  window.move(placed.topLeft());
}
