#pragma once
// What the game asks of the screens: the facts start-up checks, the area a window may use,
// and full-screen mode, which keeps the screen's current display mode.

#include <QRect>
#include <QSize>

class QWidget;

struct ScreenFacts {
  int colourDepth = 0;  // bits per pixel
  QSize size;
};

namespace Screens {
// The primary screen; zero depth and an empty size when there is none.
ScreenFacts Primary();
// The available area (without panels and docks) of the screen nearest to a rectangle.
QRect AvailableNear(const QRect& rect);
// The window covers its whole screen without frame (a maximised one stays maximised
// underneath), or goes back to the frame it had.
void EnterFullScreen(QWidget* window);
void LeaveFullScreen(QWidget* window);
}  // namespace Screens
