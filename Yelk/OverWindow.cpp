#include "OverWindow.h"

#include <QWidget>
#include <QWindow>

void OverWindow::Place(QWidget* window, const QWidget* over) {
  QWindow* below = over ? over->window()->windowHandle() : nullptr;
  if (!window || !below) return;
  // The window system's window is made now, so that the link is there before the showing.
  window->winId();
  window->windowHandle()->setTransientParent(below);
}
