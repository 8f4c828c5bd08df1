#include "SingleInstance.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

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
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    if (PeerUserId(socket->socketDescriptor()) != long(::getuid())) {
      socket->abort();
      socket->deleteLater();
      continue;
    }
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadHandOver(socket); });
    QTimer::singleShot(SilentPeerMs, socket, [socket] { socket->abort(); });
    ReadHandOver(socket);
  }
}

void SingleInstance::ReadHandOver(QLocalSocket* socket) {
  if (socket->bytesAvailable() < qint64(sizeof(quint32))) return;
  quint32 length = 0;
  QDataStream(socket->peek(sizeof length)) >> length;
  if (length > MaxHandOverBytes) {
    socket->abort();
    return;
  }
  if (socket->bytesAvailable() < qint64(sizeof length + length)) return;
  socket->read(sizeof length);
  QDataStream in(socket->read(length));
  quint32 tag = 0;
  QStringList arguments;
  in >> tag >> arguments;
  if (in.status() != QDataStream::Ok || tag != HandOverTag) {
    socket->abort();
    return;
  }
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
