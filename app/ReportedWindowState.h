#pragma once
// What the window manager last said of a top-level window's state. The widget's own state
// mixes the game's asks with the window manager's answers, and an ask that equals a stale
// answer is never sent; only the answers reach the window system's window as events, so
// only they say what the window is.

#include <QObject>
#include <QPointer>
#include <QWindow>

#include <functional>

class QWidget;

class ReportedWindowState : public QObject {
  Q_OBJECT
public:
  // reported runs after each answer.
  ReportedWindowState(QWidget& window, std::function<void()> reported);

  // The window's native window was made (again): its answers are watched from now on.
  void Watch();
  // The last answer; the widget's own state until one has come.
  Qt::WindowStates State() const;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  QWidget& window_;
  std::function<void()> reported_;
  QPointer<QWindow> watched_;
  bool answered_ = false;
  Qt::WindowStates state_;
};
