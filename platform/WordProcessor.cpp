#include "WordProcessor.h"

#include "ProgramStarter.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>

namespace WordProcessor {
namespace {
constexpr int QueryMilliseconds = 3000;

// The Exec value's words: double quotes group, a backslash escapes inside them.
QStringList SplitExec(const QString& value) {
  QStringList words;
  QString word;
  bool quoted = false, started = false;
  for (int i = 0; i < value.size(); ++i) {
    const QChar c = value[i];
    if (quoted && c == u'\\' && i + 1 < value.size()) {
      word += value[++i];
    } else if (c == u'"') {
      quoted = !quoted;
      started = true;
    } else if (!quoted && c.isSpace()) {
      if (started) words << word;
      word.clear();
      started = false;
    } else {
      word += c;
      started = true;
    }
  }
  if (started && !quoted) words << word;
  return quoted ? QStringList() : words;
}

// The desktop's default application for RTF, as a desktop file name ("x.desktop").
QString DefaultRtfEntry() {
  const QString query = ProgramStarter::Find(QStringLiteral("xdg-mime"));
  if (query.isEmpty()) return {};
  QProcess process;
  process.start(query, {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("application/rtf")});
  if (!process.waitForFinished(QueryMilliseconds)) {
    process.kill();
    process.waitForFinished(QueryMilliseconds);
    return {};
  }
  if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) return {};
  const QString name = QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
  return name.endsWith(QLatin1String(".desktop")) && !name.contains(u'/') ? name : QString();
}

QStringList EntryCommand(const QString& name) {
  if (name.isEmpty()) return {};
  const QString path = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, name);
  QFile file(path);
  if (path.isEmpty() || file.size() > 1024 * 1024 || !file.open(QIODevice::ReadOnly)) return {};
  return ExecCommand(QString::fromUtf8(file.readAll()));
}
}  // namespace

QStringList ExecCommand(const QString& desktopEntry) {
  bool inEntry = false;
  for (const QString& raw : desktopEntry.split(u'\n')) {
    const QString line = raw.trimmed();
    if (line.startsWith(u'[')) inEntry = line == QLatin1String("[Desktop Entry]");
    if (!inEntry || !line.startsWith(QLatin1String("Exec="))) continue;
    QStringList command;
    for (const QString& word : SplitExec(line.mid(5))) {
      // Field codes stand for files and URLs; none are passed.
      if (word.size() == 2 && word[0] == u'%') continue;
      command << QString(word).replace(QLatin1String("%%"), QLatin1String("%"));
    }
    return command;
  }
  return {};
}

QStringList DefaultCommand() {
  const QStringList fromDesktop = ProgramStarter::FirstFound({EntryCommand(DefaultRtfEntry())});
  if (!fromDesktop.isEmpty()) return fromDesktop;
  return ProgramStarter::FirstFound({{QStringLiteral("libreoffice"), QStringLiteral("--writer")},
                                     {QStringLiteral("abiword")}});
}

bool IsProgram(const QString& program) {
  return !program.isEmpty() && !ProgramStarter::Find(program).isEmpty();
}

bool Start(const QString& chosen) {
  if (IsProgram(chosen)) return ProgramStarter::Start(chosen);
  const QStringList command = DefaultCommand();
  return !command.isEmpty() && ProgramStarter::Start(command.first(), command.mid(1));
}
}  // namespace WordProcessor
