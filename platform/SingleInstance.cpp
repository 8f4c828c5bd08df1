#include "SingleInstance.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <algorithm>

#include <sys/socket.h>
#include <unistd.h>

namespace {
// A copy that connects and then says nothing is not waited for longer than this.
constexpr int SilentPeerMs = 5000;
constexpr char Acknowledgement = 'A';

QByteArray Frame(const QStringList& arguments) {
  QByteArray body;
  QDataStream out(&body, QIODevice::WriteOnly);
  out << SingleInstance::HandOverTag << arguments;
  QByteArray frame;
  QDataStream head(&frame, QIODevice::WriteOnly);
  head << quint32(body.size());
  return frame + body;
}

// The tag and the command line as the sender's stream wrote them. The arguments are read
// one by one: the list's own reader makes room for as many as its count claims, which a
// damaged count makes a hundred gigabytes.
bool ParseHandOver(const QByteArray& body, QStringList& arguments) {
  QDataStream in(body);
  quint32 tag = 0;
  quint32 count = 0;
  in >> tag >> count;
  if (in.status() != QDataStream::Ok || tag != SingleInstance::HandOverTag) return false;
  for (quint32 i = 0; i < count; ++i) {
    QString argument;
    in >> argument;
    if (in.status() != QDataStream::Ok) return false;
    arguments << argument;
  }
  return true;
}
}  // namespace

SingleInstance::SingleInstance(const QString& name, QObject* parent)
    : QObject(parent), socketName(name + QLatin1Char('-') + QString::number(::getuid())) {}

SingleInstance::~SingleInstance() = default;

long SingleInstance::PeerUserId(qintptr socketDescriptor) {
  ucred credentials{};
  socklen_t size = sizeof credentials;
  if (socketDescriptor < 0 ||
      ::getsockopt(int(socketDescriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0)
    return -1;
  return long(credentials.uid);
}

bool SingleInstance::Acquire() {
  if (server) return true;
  auto* listener = new QLocalServer(this);
  listener->setSocketOptions(QLocalServer::AbstractNamespaceOption);
  // In the abstract namespace a name is taken by binding it: only one copy can.
  if (!listener->listen(socketName)) {
    delete listener;
    return false;
  }
  server = listener;
  connect(server, &QLocalServer::newConnection, this, &SingleInstance::AcceptConnections);
  return true;
}

void SingleInstance::AcceptConnections() {
  while (QLocalSocket* socket = server->nextPendingConnection()) {
    if (connections.size() >= MaxConnections || PeerUserId(socket->socketDescriptor()) != long(::getuid())) {
      socket->abort();
      socket->deleteLater();
      continue;
    }
    // One frame at most in memory; what a sender pushes beyond it waits in its socket.
    socket->setReadBufferSize(qint64(sizeof(quint32)) + MaxHandOverBytes);
    connections.insert(socket);
    connect(socket, &QLocalSocket::disconnected, this, [this, socket] { Drop(socket); });
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadHandOver(socket); });
    QTimer::singleShot(SilentPeerMs, socket, [this, socket] { Drop(socket); });
    ReadHandOver(socket);
  }
}

void SingleInstance::Drop(QLocalSocket* socket) {
  if (!connections.remove(socket)) return;
  disconnect(socket, nullptr, this, nullptr);
  socket->abort();
  socket->deleteLater();
}

qint64 SingleInstance::HeldBytes() const {
  qint64 held = 0;
  for (const QLocalSocket* socket : connections) held += socket->bytesAvailable();
  return held;
}

void SingleInstance::ReadHandOver(QLocalSocket* socket) {
  peakHeld = std::max(peakHeld, HeldBytes());
  if (socket->bytesAvailable() < qint64(sizeof(quint32))) return;
  quint32 length = 0;
  QDataStream(socket->peek(sizeof length)) >> length;
  if (length > MaxHandOverBytes) {
    Drop(socket);
    return;
  }
  if (socket->bytesAvailable() < qint64(sizeof length + length)) return;
  socket->read(sizeof length);
  QStringList arguments;
  if (!ParseHandOver(socket->read(length), arguments)) {
    Drop(socket);
    return;
  }
  // One hand-over per connection: whatever follows it is never read.
  disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
  socket->write(&Acknowledgement, 1);
  socket->flush();
  socket->disconnectFromServer();
  emit ArgumentsReceived(arguments);
}

SingleInstance::HandOver SingleInstance::SendToRunningCopy(const QStringList& arguments,
                                                           int timeoutMs) const {
  QDeadlineTimer deadline(timeoutMs);
  QLocalSocket socket;
  socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
  socket.connectToServer(socketName);
  if (!socket.waitForConnected(int(deadline.remainingTime()))) return HandOver::NoRunningCopy;
  // Someone else's program under our name is not the running copy.
  if (PeerUserId(socket.socketDescriptor()) != long(::getuid())) return HandOver::NotAnswered;
  socket.write(Frame(arguments));
  while (socket.bytesAvailable() < 1) {
    if (deadline.hasExpired() || !socket.waitForReadyRead(int(deadline.remainingTime())))
      return HandOver::NotAnswered;
  }
  char answer = 0;
  socket.read(&answer, 1);
  return answer == Acknowledgement ? HandOver::Delivered : HandOver::NotAnswered;
}
