#pragma once
// The game as a process of its own group, its output in a file: started, watched for its end
// and for a sanitizer's report, and ended with everything it started.

#include <QString>
#include <QStringList>

#include <sys/types.h>

class GameProcess {
public:
  GameProcess() = default;
  ~GameProcess() { Kill(); }
  GameProcess(const GameProcess&) = delete;
  GameProcess& operator=(const GameProcess&) = delete;

  // Runs program with the arguments in folder, its environment the storm's with `environment`
  // ("NAME=value") over it; its output goes to outputPath. False when it could not start.
  bool Start(const QString& program, const QStringList& arguments, const QStringList& environment,
             const QString& folder, const QString& outputPath);
  pid_t Pid() const { return pid; }
  // True while it runs; once it has ended, Ending() says how.
  bool Running();
  // "" for a normal end (status 0); else "exit status N" or "signal N".
  QString Ending() const { return ending; }
  // The first line of a sanitizer's report in its output so far, or "".
  QString SanitizerReport();
  // Asks it to end, then ends it and its group after graceMs.
  void Kill(int graceMs = 0);
  // Sends a signal to it alone (SIGABRT: the sanitizer prints where it stood).
  void Signal(int number);
  // Its output from the sanitizer's report on, else its last lines; at most that many.
  QString Output(int lines) const;

private:
  pid_t pid = 0;
  QString ending;
  QString outputPath;
  qint64 scanned = 0;  // output bytes already searched for a report
  QString report;
};
