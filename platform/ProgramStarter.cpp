#include "ProgramStarter.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace ProgramStarter {
namespace {
Double* current = nullptr;
}

Double::Double() : previous(current) { current = this; }
Double::~Double() { current = previous; }

QString Find(const QString& program) {
  if (program.isEmpty()) return QString();
  if (current && !current->onPath.isEmpty())
    return current->onPath.contains(program) ? QStringLiteral("/bin/") + program : QString();
  if (program.contains(QLatin1Char('/'))) {
    const QFileInfo info(program);
    return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
  }
  return QStandardPaths::findExecutable(program);
}

QStringList FirstFound(const QList<QStringList>& commandLines) {
  for (QStringList line : commandLines) {
    if (line.isEmpty()) continue;
    const QString path = Find(line.first());
    if (path.isEmpty()) continue;
    line.first() = path;
    return line;
  }
  return {};
}

bool Start(const QString& program, const QStringList& arguments) {
  if (current) {
    current->calls.append({program, arguments});
    return current->answer;
  }
  const QString path = Find(program);
  if (path.isEmpty()) return false;
  return QProcess::startDetached(path, arguments);
}

bool OpenDocument(const QString& path) {
  if (current) {
    current->calls.append({QString(), {path}});
    return current->answer;
  }
  if (!QFileInfo(path).isFile()) return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}
}  // namespace ProgramStarter
