#include "IdlerServer.h"

#include "IdlerClient.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>

namespace {
qint64 SteadyNow() {
  static QElapsedTimer started = [] {
    QElapsedTimer t;
    t.start();
    return t;
  }();
  return started.elapsed();
}
}  // namespace

IdlerServer& IdlerServer::IS() {
  static IdlerServer* server = new IdlerServer;  // lives as long as the program
  return *server;
}

IdlerServer::IdlerServer() {
  // A zero-time timer fires once the events already queued have been handled.
  passTimer.setSingleShot(true);
  passTimer.setInterval(0);
  connect(&passTimer, &QTimer::timeout, this, &IdlerServer::RunPass);
}

void IdlerServer::BindIdlerServer() {
  if (bound || !QCoreApplication::instance()) return;
  bound = true;
  QCoreApplication::instance()->installEventFilter(this);
  passTimer.start();
}

void IdlerServer::RegisterIdlerClient(IdlerClient* client) {
  if (client && !clients.contains(client)) clients.append(client);
}

void IdlerServer::DeregisterIdlerClient(IdlerClient* client) {
  clients.removeAll(client);
  notDone.removeAll(client);
  if (current == client) current = nullptr;
}

qint64 IdlerServer::Now() const { return clock ? clock() : SteadyNow(); }

void IdlerServer::SetClock(std::function<qint64()> newClock) { clock = std::move(newClock); }

// Any event but the pass's own timer means the loop did other work: one more pass is due
// when it runs empty again.
bool IdlerServer::eventFilter(QObject* watched, QEvent*) {
  if (watched != &passTimer && (!passTimer.isActive() || passTimer.remainingTime() > 0))
    passTimer.start(0);
  return false;
}

void IdlerServer::RunPass() {
  if (running) return;
  running = true;
  QList<IdlerClient*> order = clients;
  std::stable_sort(order.begin(), order.end(),
                   [](const IdlerClient* a, const IdlerClient* b) { return a->Priority < b->Priority; });
  for (IdlerClient* client : order) {
    // An earlier client may have removed or destroyed this one.
    if (!clients.contains(client) || !client->IsDue(Now())) continue;
    current = client;
    const bool done = client->Run(Now());
    if (current != client) continue;  // deregistered itself
    notDone.removeAll(client);
    if (!done) notDone.append(client);
  }
  current = nullptr;
  running = false;
  ScheduleRetry();
}

// Clients that are not done run again as soon as their interval allows.
void IdlerServer::ScheduleRetry() {
  if (notDone.isEmpty()) return;
  qint64 wait = -1;
  for (IdlerClient* client : notDone) {
    const qint64 left = std::max<qint64>(0, client->lastRun + client->MinInterval - Now());
    wait = wait < 0 ? left : std::min(wait, left);
  }
  if (wait >= 0) passTimer.start(static_cast<int>(std::min<qint64>(wait, 1 << 30)));
}
