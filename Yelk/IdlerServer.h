#pragma once
// Runs the registered idle clients once each time the event loop runs empty after other
// events, front priorities first and in registration order within one priority. Clients
// may register, deregister or be destroyed while a pass runs.

#include <QList>
#include <QObject>
#include <QTimer>
#include <functional>

class IdlerClient;

class IdlerServer : public QObject {
  Q_OBJECT
public:
  static IdlerServer& IS();

  // From now on the server watches the application's events; calling it again does nothing.
  void BindIdlerServer();
  bool IsBound() const { return bound; }
  void RegisterIdlerClient(IdlerClient* client);
  void DeregisterIdlerClient(IdlerClient* client);
  bool IdlerIsRunning() const { return running; }
  IdlerClient* GetCurrClient() const { return current; }

  // Runs one pass now.
  void RunPass();
  // Milliseconds of a steady clock; tests set their own, an empty function restores it.
  qint64 Now() const;
  void SetClock(std::function<qint64()> clock);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  IdlerServer();
  void ScheduleRetry();

  QList<IdlerClient*> clients;
  QList<IdlerClient*> notDone;  // answered false: run again soon
  QTimer passTimer;
  std::function<qint64()> clock;
  IdlerClient* current = nullptr;
  bool bound = false;
  bool running = false;
};
