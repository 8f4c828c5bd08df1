#include "TableReadyWait.h"

#include "Yelk/TMsgLog.h"

#include <utility>

TableReadyWait::TableReadyWait(QObject* parent) : QObject(parent) {
  poll.setInterval(PollMillis);
  limit.setSingleShot(true);
  limit.setInterval(LimitMillis);
  connect(&poll, &QTimer::timeout, this, &TableReadyWait::Check);
  connect(&limit, &QTimer::timeout, this, [this] {
    TMsgLog::Add(QStringLiteral("Table ready wait: the window never came, going on at the limit"));
    Finish();
  });
}

void TableReadyWait::Start(std::function<bool()> isReady, std::function<void()> andThen) {
  ready = std::move(isReady);
  then = std::move(andThen);
  if (ready && ready()) {
    Finish();
    return;
  }
  poll.start();
  limit.start();
}

void TableReadyWait::Check() {
  if (IsWaiting() && (!ready || ready())) Finish();
}

void TableReadyWait::Stop() {
  poll.stop();
  limit.stop();
  ready = nullptr;
  then = nullptr;
}

// What runs may start another wait: it is taken out first.
void TableReadyWait::Finish() {
  std::function<void()> waiting = std::exchange(then, nullptr);
  poll.stop();
  limit.stop();
  ready = nullptr;
  if (waiting) waiting();
}
