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
  const bool busy = HourGlass::HG().IsFiltering();
  // Kept after the release: Qt shows the release again to each parent it travels up to.
  const auto pressed = pressedIn_.find(key->key());
  const bool wentHere = pressed != pressedIn_.end() && pressed->second == window;
  if (type != QEvent::KeyRelease) {
    // A held key's repeats go where its press went: nowhere once the busy state swallowed it.
    if (IsRepeat(*key) && !busy && pressed != pressedIn_.end()) return Drop(event, wentHere);
    // Swallowed while busy, the press went nowhere: so does its release.
    pressedIn_[key->key()] = busy ? nullptr : window;
    return false;
  }
  releasedAt_[key->key()] = key->timestamp();
  return Drop(event, wentHere);
}

// A repeat is a release and a press at the same moment; Qt marks it only when it sees both
// at once, and under load the press may come a little later. (Made-up events have no time.)
bool KeyRouting::IsRepeat(const QKeyEvent& key) const {
  const auto released = releasedAt_.find(key.key());
  return key.isAutoRepeat() ||
         (key.timestamp() != 0 && released != releasedAt_.end() && released->second == key.timestamp());
}

bool KeyRouting::Drop(QEvent* event, bool wentHere) {
  if (wentHere) return false;
  event->accept();  // dropped: it travels no further
  return true;
}
