// running_copy [--deaf]
// Holds the game's one-copy lock as a running game would and prints each command line handed
// over, one argument a line, then a blank line. --deaf takes connections but never answers.

#include "app/StartUp.h"
#include "platform/SingleInstance.h"

#include <QCoreApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  StartUp::SetProgramIdentity();
  QTextStream out(stdout);
  if (app.arguments().contains(QStringLiteral("--deaf"))) {
    QLocalServer server;
    server.setSocketOptions(QLocalServer::AbstractNamespaceOption);
    if (!server.listen(SingleInstance(StartUp::LockName()).SocketName())) return 1;
    out << "ready" << Qt::endl;
    return app.exec();
  }
  SingleInstance lock(StartUp::LockName());
  if (!lock.Acquire()) return 1;
  QObject::connect(&lock, &SingleInstance::ArgumentsReceived, [&out](const QStringList& arguments) {
    for (const QString& argument : arguments) out << argument << '\n';
    out << Qt::endl;
  });
  out << "ready" << Qt::endl;
  return app.exec();
}
