#pragma once
// The application object. Exceptions must not cross Qt's event loop: one that escapes an
// event handler is caught here and handed to the exception handler, which the main window
// sets; until then the message is shown and reported with its call stack and the log.

#include <QApplication>
#include <QStringList>
#include <functional>

class GameApplication : public QApplication {
  Q_OBJECT
public:
  using ExceptionHandler = std::function<void(const QString& message, const QStringList& callStack)>;

  GameApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

  // An empty handler restores the default.
  static void SetExceptionHandler(ExceptionHandler handler);
  // Runs work; an exception it throws goes to the handler and `failed` is returned.
  static bool Guarded(const std::function<bool()>& work, bool failed = false);
  // Shows the message, then the error report with the call stack and the message log.
  static void DefaultExceptionHandler(const QString& message, const QStringList& callStack);
};
