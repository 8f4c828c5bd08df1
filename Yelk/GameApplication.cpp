#include "GameApplication.h"

#include "Prompt.h"
#include "TExcMagic.h"
#include "TMsgLog.h"
#include "TSwerrForm.h"

#include <exception>

namespace {
GameApplication::ExceptionHandler handler;

void Handle(const QString& message, const QStringList& callStack) {
  TMsgLog::Add(QStringLiteral("Exception: ") + message);
  if (handler)
    handler(message, callStack);
  else
    GameApplication::DefaultExceptionHandler(message, callStack);
}
}  // namespace

GameApplication::GameApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GameApplication::notify(QObject* receiver, QEvent* event) {
  return Guarded([&] { return QApplication::notify(receiver, event); });
}

void GameApplication::SetExceptionHandler(ExceptionHandler newHandler) {
  handler = std::move(newHandler);
}

bool GameApplication::Guarded(const std::function<bool()>& work, bool failed) {
  try {
    return work();
  } catch (const std::exception& e) {
    Handle(QString::fromLocal8Bit(e.what()), TExcMagic::StackOf(&e));
  } catch (...) {
    Handle(QStringLiteral("Unknown exception"), TExcMagic::StackOf(nullptr));
  }
  return failed;
}

void GameApplication::DefaultExceptionHandler(const QString& message, const QStringList& callStack) {
  static bool handling = false;
  if (handling) return;  // a second exception while one is reported is dropped
  handling = true;
  Prompt::ShowApp(message, Prompt::Stop);
  SwerrRequest request;
  request.Message = message;
  request.ShowCallStack = true;
  request.CallStack = callStack;
  request.Extra1 = TMsgLog::GetLogAsString();
  TSwerrForm form(activeWindow(), request);
  form.ShowModal();
  handling = false;
}
