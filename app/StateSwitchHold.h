#pragma once
// Holds the table's size while the main window switches state (full screen on or off): the
// window manager may pass through other sizes on the way, and a table resized to a passing
// smaller size would capture groups that the final size holds. The hold ends once the
// window has reached its new state and its size has stayed put for a moment, or at the
// latest after a limit, so that a window manager that refuses the switch holds nothing.

#include <QObject>
#include <QTimer>

#include <functional>

class StateSwitchHold : public QObject {
  Q_OBJECT
public:
  static constexpr int QuietMillis = 150;
  static constexpr int LimitMillis = 2000;

  // hold and release bracket the held time; reached tells whether the window is there yet.
  StateSwitchHold(std::function<void()> hold, std::function<void()> release, QObject* parent = nullptr);
  ~StateSwitchHold() override;

  void Begin(std::function<bool()> reached);
  // The window moved, resized or changed state: it is not quiet yet.
  void Changed();
  void End();
  bool IsHolding() const { return holding; }

private:
  void QuietTimeOver();

  std::function<void()> hold;
  std::function<void()> release;
  std::function<bool()> reached;
  QTimer quiet;
  QTimer limit;
  bool holding = false;
};
