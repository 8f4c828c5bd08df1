#include "AbortRegister.h"

AbortRegister& AbortRegister::AR() {
  static AbortRegister abortRegister;
  return abortRegister;
}

void AbortRegister::Register(bool* flag) {
  std::lock_guard guard(lock);
  if (flag && !flags.contains(flag)) flags.append(flag);
}

void AbortRegister::Deregister(bool* flag) {
  std::lock_guard guard(lock);
  flags.removeAll(flag);
}

void AbortRegister::Register(const void* owner, Event event) {
  std::lock_guard guard(lock);
  if (event) events.append({owner, std::move(event), nextSerial++});
}

void AbortRegister::Deregister(const void* owner) {
  std::lock_guard guard(lock);
  events.removeIf([owner](const Entry& e) { return e.owner == owner; });
}

bool AbortRegister::IsRegistered(quint64 serial) const {
  for (const Entry& e : events) {
    if (e.serial == serial) return true;
  }
  return false;
}

void AbortRegister::Abort() {
  std::unique_lock guard(lock);
  for (bool* flag : flags) *flag = true;
  // Events run from a copy, and only while still registered: one may free another's owner.
  const QList<Entry> snapshot = events;
  guard.unlock();
  for (const Entry& e : snapshot) {
    guard.lock();
    const bool live = IsRegistered(e.serial);
    guard.unlock();
    if (live) e.event(nullptr);
  }
}
