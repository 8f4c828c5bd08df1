#include "GameProcess.h"

#include <QFile>

#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {
// A report's first line, by any of the sanitizers the test build carries.
const char* const ReportMarks[] = {"ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:",
                                   "WARNING: AddressSanitizer", "ERROR: UndefinedBehaviorSanitizer"};

std::vector<std::string> Strings(const QStringList& list) {
  std::vector<std::string> strings;
  for (const QString& s : list) strings.push_back(s.toStdString());
  return strings;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

// The storm's environment with the given variables put over it.
std::vector<std::string> Environment(const QStringList& overrides) {
  std::vector<std::string> merged;
  for (char** e = environ; *e; ++e) {
    const QString entry = QString::fromLocal8Bit(*e);
    const QString name = entry.section(QLatin1Char('='), 0, 0) + QLatin1Char('=');
    bool replaced = false;
    for (const QString& o : overrides) replaced |= o.startsWith(name);
    if (!replaced) merged.push_back(*e);
  }
  for (const QString& o : overrides) merged.push_back(o.toStdString());
  return merged;
}
}  // namespace

bool GameProcess::Start(const QString& program, const QStringList& arguments, const QStringList& environment,
                        const QString& folder, const QString& output) {
  Kill();
  outputPath = output;
  scanned = 0;
  report.clear();
  ending.clear();
  std::vector<std::string> args = Strings(QStringList{program} + arguments);
  std::vector<std::string> env = Environment(environment);
  std::vector<char*> argv = Pointers(args), envp = Pointers(env);
  const std::string dir = folder.toStdString(), out = output.toStdString();
  pid = fork();
  if (pid < 0) {
    pid = 0;
    return false;
  }
  if (pid == 0) {
    setpgid(0, 0);
    const int fd = open(out.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (fd < 0 || chdir(dir.c_str()) != 0) _exit(127);
    dup2(fd, 1);
    dup2(fd, 2);
    const int devNull = open("/dev/null", O_RDONLY);
    if (devNull >= 0) dup2(devNull, 0);
    execve(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  setpgid(pid, pid);
  return true;
}

bool GameProcess::Running() {
  if (pid <= 0) return false;
  int status = 0;
  const pid_t done = waitpid(pid, &status, WNOHANG);
  if (done == 0) return true;
  if (done == pid) {
    ending = WIFSIGNALED(status) ? QStringLiteral("signal %1").arg(WTERMSIG(status))
             : WEXITSTATUS(status) != 0 ? QStringLiteral("exit status %1").arg(WEXITSTATUS(status))
                                        : QString();
  }
  // Whatever it left behind in its group goes with it.
  kill(-pid, SIGKILL);
  pid = 0;
  return false;
}

QString GameProcess::SanitizerReport() {
  if (!report.isEmpty() || outputPath.isEmpty()) return report;
  QFile file(outputPath);
  if (!file.open(QIODevice::ReadOnly) || file.size() <= scanned) return report;
  // A line cut by the end of what was written so far is searched again next time.
  file.seek(scanned);
  const QByteArray fresh = file.readAll();
  const qsizetype lastLine = fresh.lastIndexOf('\n') + 1;
  for (const QByteArray& line : fresh.left(lastLine).split('\n'))
    for (const char* mark : ReportMarks)
      if (report.isEmpty() && line.contains(mark)) report = QString::fromLocal8Bit(line.trimmed());
  scanned += lastLine;
  return report;
}

void GameProcess::Kill(int graceMs) {
  if (pid <= 0) return;
  kill(-pid, SIGTERM);
  for (int waited = 0; waited < graceMs && Running(); waited += 50)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  if (pid <= 0) return;
  kill(-pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  pid = 0;
}

void GameProcess::Signal(int number) {
  if (pid > 0) kill(pid, number);
}

QString GameProcess::Output(int lines) const {
  QFile file(outputPath);
  if (!file.open(QIODevice::ReadOnly)) return {};
  QList<QByteArray> all = file.readAll().split('\n');
  while (!all.isEmpty() && all.last().isEmpty()) all.removeLast();
  qsizetype from = std::max<qsizetype>(0, all.size() - lines);
  if (!report.isEmpty())
    for (qsizetype i = 0; i < all.size(); ++i)
      if (QString::fromLocal8Bit(all[i].trimmed()) == report) {
        from = i;
        break;
      }
  QStringList shown;
  for (qsizetype i = from; i < std::min(all.size(), from + lines); ++i) shown << QString::fromLocal8Bit(all[i]);
  return shown.join(QLatin1Char('\n'));
}
