#pragma once
// Starts other programs without a shell, so that file names with spaces or quotes reach the
// program as one argument each; opens files with the desktop's default application. A test
// replaces both with a recording double so that nothing is started.

#include <QList>
#include <QString>
#include <QStringList>

namespace ProgramStarter {
// The full path of a program found on PATH (or the name itself when it holds a slash and
// names an executable file); empty when there is none.
QString Find(const QString& program);
// The first of the given command lines (program then arguments) whose program is found.
// Empty when none is.
QStringList FirstFound(const QList<QStringList>& commandLines);
// Starts the program detached from the game. False when it is not found or cannot start.
bool Start(const QString& program, const QStringList& arguments = {});
// Opens a file with the desktop's default application for its type.
bool OpenDocument(const QString& path);

// While one lives, Start and OpenDocument are recorded and answered instead of done.
class Double {
public:
  Double();
  ~Double();
  Double(const Double&) = delete;
  Double& operator=(const Double&) = delete;
  struct Call {
    QString program;  // empty for OpenDocument
    QStringList arguments;  // the document's path for OpenDocument
  };
  const QList<Call>& Calls() const { return calls; }
  void Clear() { calls.clear(); }
  bool answer = true;  // what Start and OpenDocument report
  QStringList onPath;  // when set, Find answers from these names only ("/bin/" + name)

private:
  friend bool Start(const QString&, const QStringList&);
  friend bool OpenDocument(const QString&);
  friend QString Find(const QString&);
  QList<Call> calls;
  Double* previous;
};
}  // namespace ProgramStarter
