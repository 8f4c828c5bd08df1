#pragma once
// Where a saved window goes: inside the available area of the screen, so that a window
// saved on a monitor that has since gone does not open out of reach, and with its frame
// (the window manager's title bar and borders) on the screen as well.

#include <QMargins>
#include <QRect>

#include <functional>

class QWidget;

namespace WindowPlacement {
// The saved rectangle, its size cut down to the area and moved in until all of it lies inside.
QRect PlaceInside(const QRect& saved, const QRect& available);
// The client rectangle for a saved one whose window, frame included, then lies inside the area.
QRect PlaceClientInside(const QRect& client, const QMargins& frame, const QRect& available);
// The frame around a top-level window; none until the window manager has framed it.
QMargins FrameOf(const QWidget& window);
// Runs then once, outside the event, after the first event to the window that finds ready
// true: the window manager frames a window without telling it. A later call for the same
// window replaces an earlier one.
void AtFirstEventWhen(QWidget& window, std::function<bool()> ready, std::function<void()> then);
// Gives a top-level window in the normal state a saved client rectangle, framed window inside
// the available area near it. A frame the window manager has not drawn yet is not known: the
// place is then checked once more when the window first stands framed in the normal state.
void PlaceWindow(QWidget& window, const QRect& client);
}  // namespace WindowPlacement
