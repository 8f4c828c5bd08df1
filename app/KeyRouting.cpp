#include "KeyRouting.h"

#include "Yelk/HourGlass.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

// In front of the busy state's filter too, whenever that comes: a press it swallows is still
// seen here.
KeyRouting::KeyRouting(QObject* parent) : QObject(parent) {
  qApp->installEventFilter(this);
  connect(&HourGlass::HG(), &HourGlass::FilterInstalled, this, [this] { qApp->installEventFilter(this); });
}

KeyRouting::~KeyRouting() { qApp->removeEventFilter(this); }

QObject* KeyRouting::WindowOf(QObject* receiver) {
  if (auto* widget = qobject_cast<QWidget*>(receiver)) return widget->window();
  if (auto* window = qobject_cast<QWindow*>(receiver)) {
    // A widget's window: the same identity as its widgets'.
    for (QWidget* top : QApplication::topLevelWidgets())
      if (top->windowHandle() == window) return top;
    return window;
  }
  return nullptr;
}

bool KeyRouting::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress && type != QEvent::KeyRelease)
    return false;
  QObject* window = WindowOf(watched);
  if (!window) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (type != QEvent::KeyRelease) {
    // Swallowed while busy, the press went nowhere: so does its release.
    pressedIn_[key->key()] = HourGlass::HG().IsFiltering() ? nullptr : window;
    return false;
  }
  // Kept after the release: Qt shows the release again to each parent it travels up to.
  const auto pressed = pressedIn_.find(key->key());
  if (pressed != pressedIn_.end() && pressed->second == window) return false;
  event->accept();  // dropped: it travels no further
  return true;
}
