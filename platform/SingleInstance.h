#pragma once
// One running copy per user: the first copy listens on a local socket in the abstract
// namespace (it goes with the process, so a crash leaves no stale lock behind) and takes the
// command lines later copies hand over. Both ends check that the other runs as the same user.
// What the connections may hold is bounded, each and all together, and freed as each closes.

#include <QObject>
#include <QSet>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

class SingleInstance : public QObject {
  Q_OBJECT
public:
  // The tag every hand-over carries; a message with any other is refused.
  static constexpr quint32 HandOverTag = 8500;
  // The most a hand-over may hold; a longer one is refused unread. A hand-over is one
  // command line: the program and a few paths of at most 4,096 bytes each, sent as UTF-16.
  static constexpr quint32 MaxHandOverBytes = 64 * 1024;
  // Connections served at once; one more is closed at once. Copies hand over in a moment
  // each, so even a burst of starts seldom has more than a couple open.
  static constexpr int MaxConnections = 16;
  // The most all open connections hold together: each holds one frame at most.
  static constexpr qint64 MaxHeldBytes = qint64(MaxConnections) * (sizeof(quint32) + MaxHandOverBytes);

  // name: the program's lock name; the user's id is added to it.
  explicit SingleInstance(const QString& name, QObject* parent = nullptr);
  ~SingleInstance() override;

  const QString& SocketName() const { return socketName; }
  // Takes the lock; false when another copy holds it.
  bool Acquire();
  bool IsHeld() const { return server != nullptr; }

  enum class HandOver { Delivered, NoRunningCopy, NotAnswered };
  // Sends the arguments to the copy that holds the lock and waits at most timeoutMs for
  // its acknowledgement.
  HandOver SendToRunningCopy(const QStringList& arguments, int timeoutMs) const;

  // The user id of the process at the other end of a connected local socket; -1 unknown.
  static long PeerUserId(qintptr socketDescriptor);

  // Connections open now, and the bytes they hold received but not yet taken; the most
  // they held at once since the lock was taken.
  int OpenConnections() const { return int(connections.size()); }
  qint64 HeldBytes() const;
  qint64 PeakHeldBytes() const { return peakHeld; }

signals:
  void ArgumentsReceived(const QStringList& arguments);

private:
  void AcceptConnections();
  void ReadHandOver(QLocalSocket* socket);
  // Closes a connection and lets its buffers go.
  void Drop(QLocalSocket* socket);

  QString socketName;
  QLocalServer* server = nullptr;
  QSet<QLocalSocket*> connections;
  qint64 peakHeld = 0;
};
