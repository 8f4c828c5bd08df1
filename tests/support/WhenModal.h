#pragma once
// Acting on a modal window that a call about to run will show: the act is polled from the
// event loop that the modal window runs.

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

// Runs act on the next modal window once it shows.
inline void WhenModal(std::function<void(QWidget*)> act) {
  QTimer::singleShot(50, [act] {
    if (QWidget* modal = QApplication::activeModalWidget())
      act(modal);
    else
      WhenModal(act);
  });
}
