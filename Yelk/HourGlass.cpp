#include "HourGlass.h"

#include "AbortRegister.h"
#include "Prompt.h"
#include "TMsgLog.h"

#include <QApplication>
#include <QKeyEvent>

HourGlass& HourGlass::HG() {
  static HourGlass* hourGlass = [] {
    // A box shown while busy must be answerable: it suspends the busy state meanwhile.
    Prompt::SetSuspendHooks([] { HG().Disable(); }, [] { HG().Enable(); });
    return new HourGlass;  // lives as long as the program
  }();
  return *hourGlass;
}

void HourGlass::Set() {
  ++level;
  Update();
}

void HourGlass::Reset() {
  if (level == 0) {
    TMsgLog::Add(QStringLiteral("HourGlass::Reset without Set"));
    return;
  }
  --level;
  Update();
}

void HourGlass::Disable() {
  ++disabled;
  Update();
}

void HourGlass::Enable() {
  if (disabled > 0) --disabled;
  Update();
}

// The cursor and the filter follow the state: busy and not suspended.
void HourGlass::Update() {
  // Only a widgets application has a cursor to set; qApp would cast any other kind blindly.
  QApplication* const app = qobject_cast<QApplication*>(QCoreApplication::instance());
  const bool wanted = level > 0 && disabled == 0 && app;
  if (wanted == filtering) return;
  filtering = wanted;
  if (wanted) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    app->installEventFilter(this);
    emit FilterInstalled();
  } else {
    if (QCoreApplication* const core = QCoreApplication::instance()) core->removeEventFilter(this);
    QApplication::restoreOverrideCursor();
  }
}

bool HourGlass::eventFilter(QObject*, QEvent* event) {
  switch (event->type()) {
    case QEvent::ShortcutOverride:
      // Claimed, so that no shortcut fires and the key press itself comes here.
      event->accept();
      return true;
    case QEvent::KeyPress: {
      const auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Escape && !key->isAutoRepeat()) AbortRegister::AR().Abort();
      return true;
    }
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
      return true;
    default:
      return false;
  }
}
