#include "KeyboardLocks.h"

#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QObject>

namespace {
std::function<bool()> overrideSource;

class CapsLockTracker : public QObject {
public:
  bool on = false;
  bool eventFilter(QObject* watched, QEvent* event) override {
    // A key press reaches the application's filter again for every widget it is passed
    // on to; only its delivery to the top-level window counts.
    if (event->type() == QEvent::KeyPress && watched->isWindowType() &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_CapsLock &&
        !static_cast<QKeyEvent*>(event)->isAutoRepeat())
      on = !on;
    return QObject::eventFilter(watched, event);
  }
};

// Defined last: the X11 headers define macros that clash with Qt names.
bool ReadX11CapsLock(bool& on);

bool TrackedCapsLock() {
  static CapsLockTracker* tracker = nullptr;
  if (!tracker) {
    tracker = new CapsLockTracker;
    tracker->setParent(qGuiApp);
    qGuiApp->installEventFilter(tracker);
  }
  return tracker->on;
}
}  // namespace

bool KeyboardLocks::CapsLockIsOn() {
  if (overrideSource) return overrideSource();
  if (!qGuiApp) return false;
  bool on = false;
  if (ReadX11CapsLock(on)) return on;
  return TrackedCapsLock();
}

void KeyboardLocks::SetCapsLockSource(std::function<bool()> source) {
  overrideSource = std::move(source);
}

#include <X11/XKBlib.h>

namespace {
bool ReadX11CapsLock(bool& on) {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  Display* display = x11 ? x11->display() : nullptr;
  if (!display) return false;
  XkbStateRec state{};
  if (XkbGetState(display, XkbUseCoreKbd, &state) != Success) return false;
  on = (state.locked_mods & LockMask) != 0;
  return true;
}
}  // namespace
