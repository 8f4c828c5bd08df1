#include "ReportedWindowState.h"

#include <QEvent>
#include <QWidget>

ReportedWindowState::ReportedWindowState(QWidget& window, std::function<void()> reported)
    : QObject(&window), window_(window), reported_(std::move(reported)) {}

void ReportedWindowState::Watch() {
  QWindow* handle = window_.windowHandle();
  if (handle == watched_) return;
  if (watched_) watched_->removeEventFilter(this);
  watched_ = handle;
  answered_ = false;
  if (handle) handle->installEventFilter(this);
}

Qt::WindowStates ReportedWindowState::State() const { return answered_ ? state_ : window_.windowState(); }

// The game's own asks change the window's state without an event; every event is an answer.
bool ReportedWindowState::eventFilter(QObject* watched, QEvent* event) {
  if (watched == watched_ && event->type() == QEvent::WindowStateChange) {
    state_ = watched_->windowStates();
    answered_ = true;
    if (reported_) reported_();
  }
  return false;
}
