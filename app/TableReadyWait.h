#pragma once
// Waits, without an event loop of its own, until the table has followed the main window to
// the size the game asked the window manager for, then runs what was waiting for it. A window
// manager that never answers delays it by a limited time only.

#include <QObject>
#include <QTimer>

#include <functional>

class TableReadyWait : public QObject {
  Q_OBJECT
public:
  static constexpr int PollMillis = 20;
  static constexpr int LimitMillis = 3000;

  explicit TableReadyWait(QObject* parent = nullptr);

  // Runs then at once when ready already; otherwise once ready (or at the limit). A wait
  // begun while another runs replaces it: only the later then runs.
  void Start(std::function<bool()> ready, std::function<void()> then);
  // The window changed: it may be ready now.
  void Check();
  bool IsWaiting() const { return bool(then); }
  // Forgets what waits, running nothing.
  void Stop();

private:
  void Finish();

  std::function<bool()> ready;
  std::function<void()> then;
  QTimer poll;
  QTimer limit;
};
