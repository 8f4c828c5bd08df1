#include "EventLoopWatch.h"

#include "SettableClock.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QPointer>
#include <QThread>

namespace {
SettableClock steadyClock;

qint64 Now() { return steadyClock.Now(); }

// Notes the time whenever the dispatcher wakes up or is about to wait, which it does on
// every pass of the loop and every processEvents().
class LoopWatcher : public QObject {
public:
  explicit LoopWatcher(QAbstractEventDispatcher* dispatcher) : QObject(dispatcher) {
    connect(dispatcher, &QAbstractEventDispatcher::awake, this, &LoopWatcher::Note);
    connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &LoopWatcher::Note);
    Note();
  }
  void Note() { lastRun = Now(); }
  qint64 lastRun = 0;
};

LoopWatcher* Watcher() {
  static QPointer<LoopWatcher> watcher;
  if (!watcher) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread()) return nullptr;
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(app->thread());
    if (!dispatcher) return nullptr;
    watcher = new LoopWatcher(dispatcher);
  }
  return watcher;
}
}  // namespace

bool EventLoopWatch::LoopIsOverdue() {
  LoopWatcher* watcher = Watcher();
  return watcher && Now() - watcher->lastRun >= OverdueMs;
}

void EventLoopWatch::SetClock(std::function<qint64()> clock) { steadyClock.Set(std::move(clock)); }
