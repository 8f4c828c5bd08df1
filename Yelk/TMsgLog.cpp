#include "TMsgLog.h"

#include "Inline.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTime>
#include <atomic>
#include <deque>
#include <mutex>

namespace {
std::mutex logMutex;
std::deque<QString> logLines;
std::atomic<std::uint64_t> generation{0};
std::atomic<bool> debugRecording{false};
std::atomic<bool> saveOnExit{false};
}  // namespace

void TMsgLog::Add(const QString& text) noexcept {
  try {
    QString line = QTime::currentTime().toString(QStringLiteral("hh:mm:ss"));
    line += QStringLiteral(":  ");
    line += text;
    if (debugRecording) OutputDbgStr(line);
    std::lock_guard lock(logMutex);
    if (logLines.size() >= static_cast<std::size_t>(MaxLines)) logLines.pop_front();
    logLines.push_back(std::move(line));
    ++generation;
  } catch (...) {
    // A log that cannot take a line must not take the caller down with it.
  }
}

QStringList TMsgLog::Lines() {
  std::lock_guard lock(logMutex);
  return QStringList(logLines.begin(), logLines.end());
}

QString TMsgLog::GetLogAsString() {
  const QStringList lines = Lines();
  QString text;
  for (const QString& line : lines) {
    text += line;
    text += QLatin1Char('\n');
  }
  return text;
}

std::uint64_t TMsgLog::Generation() { return generation; }

void TMsgLog::Clear() {
  std::lock_guard lock(logMutex);
  logLines.clear();
  ++generation;
}

void TMsgLog::SetDebugRecording(bool on) { debugRecording = on; }
void TMsgLog::SetSaveOnExit(bool on) { saveOnExit = on; }
bool TMsgLog::SaveOnExit() { return saveOnExit; }

QString TMsgLog::DefaultLogPath() {
  const QString program = QCoreApplication::applicationFilePath();
  const QFileInfo info(program);
  if (!program.isEmpty() && QFileInfo(info.absolutePath()).isWritable())
    return program + QStringLiteral(".log");
  QString folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
  QDir().mkpath(folder);
  const QString name = info.fileName().isEmpty() ? QStringLiteral("tessavinelume")
                                                  : info.fileName();
  return folder + QLatin1Char('/') + name + QStringLiteral(".log");
}

bool TMsgLog::SaveToFile(const QString& path) {
  QSaveFile file(path);
  if (file.open(QIODevice::WriteOnly | QIODevice::Text)) {
    file.write(GetLogAsString().toUtf8());
    if (file.commit()) return true;
  }
  Add(QStringLiteral("TMsgLog::SaveToFile - could not write ") + path);
  return false;
}

void TMsgLog::SaveAtExitIfAsked() {
  if (saveOnExit) SaveToFile(DefaultLogPath());
}
