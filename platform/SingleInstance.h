#pragma once
// One running copy per user: the first copy listens on a local socket in the abstract
// namespace (it goes with the process, so a crash leaves no stale lock behind) and takes the
// command lines later copies hand over. Both ends check that the other runs as the same user.

#include <QObject>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

class SingleInstance : public QObject {
  Q_OBJECT
public:
  // The tag every hand-over carries; a message with any other is refused.
  static constexpr quint32 HandOverTag = 8500;
  // The most a hand-over may hold; a longer one is refused unread.
  static constexpr quint32 MaxHandOverBytes = 1 << 20;

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

signals:
  void ArgumentsReceived(const QStringList& arguments);

private:
  void AcceptConnections();
  void ReadHandOver(QLocalSocket* socket);

  QString socketName;
  QLocalServer* server = nullptr;
};
