#pragma once
// Esc during long work: every registered flag is set and every registered event called
// (with a null sender). Registrants deregister in their destructors; an event may
// deregister itself or others while an abort runs.

#include <QList>
#include <functional>
#include <mutex>

class QObject;

class AbortRegister {
public:
  using Event = std::function<void(QObject* sender)>;

  static AbortRegister& AR();

  void Register(bool* flag);
  void Deregister(bool* flag);
  // The owner names the event for Deregister; one owner may register several.
  void Register(const void* owner, Event event);
  void Deregister(const void* owner);
  void Abort();

private:
  struct Entry {
    const void* owner;
    Event event;
    quint64 serial;
  };
  bool IsRegistered(quint64 serial) const;

  mutable std::mutex lock;
  QList<bool*> flags;
  QList<Entry> events;
  quint64 nextSerial = 1;
};
