#pragma once
// One piece of idle-time work: run by the idle server when the event loop has nothing
// else to do, front priorities first, never sooner than its minimum interval after its
// last run. Its callback answers true when done until the next idle pass, false to be run
// again soon.

#include <QString>
#include <QtGlobal>
#include <functional>

class IdlerClient {
public:
  static constexpr int Front = 0, Normal = 1, Low = 2;

  IdlerClient(std::function<bool()> callback, QString name);
  // Deregisters itself.
  ~IdlerClient();
  IdlerClient(const IdlerClient&) = delete;
  IdlerClient& operator=(const IdlerClient&) = delete;

  int Priority = Normal;
  qint64 MinInterval = 0;  // ms

  const QString& Name() const { return name; }
  // Makes now the last run time, postponing the next run by the minimum interval.
  void ResetMinIntervalTimer();

private:
  friend class IdlerServer;
  bool IsDue(qint64 now) const;
  bool Run(qint64 now);

  std::function<bool()> callback;
  QString name;
  qint64 lastRun = 0;
  bool hasRun = false;
};
