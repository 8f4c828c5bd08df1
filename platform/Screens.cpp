#include "Screens.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <climits>

ScreenFacts Screens::Primary() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return {};
  return {screen->depth(), screen->size()};
}

QRect Screens::AvailableNear(const QRect& rect) {
  const QScreen* nearest = QGuiApplication::primaryScreen();
  long long best = LLONG_MAX;
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect area = screen->availableGeometry();
    const QRect overlap = area & rect;
    // Overlap wins; without any, the distance between the centres decides.
    const long long score = overlap.isEmpty() ? (area.center() - rect.center()).manhattanLength()
                                              : -(long long)overlap.width() * overlap.height();
    if (score < best) {
      best = score;
      nearest = screen;
    }
  }
  return nearest ? nearest->availableGeometry() : QRect();
}

// A maximised window stays maximised underneath: taking both away in one step lets the
// window manager pass through the normal size on the way to the full screen.
void Screens::EnterFullScreen(QWidget* window) {
  window->setWindowState(window->windowState() | Qt::WindowFullScreen);
}

// Only full screen is taken away: the window manager brings back the frame the window had
// (maximised or not), also when the player changed it meanwhile.
void Screens::LeaveFullScreen(QWidget* window) {
  window->setWindowState(window->windowState() & ~Qt::WindowFullScreen);
}
