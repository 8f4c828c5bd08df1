#pragma once
// Exceptions that reach the application's handler, kept instead of shown in its report window.

#include "Yelk/GameApplication.h"

#include <QStringList>

struct ShownExceptions {
  ShownExceptions() {
    GameApplication::SetExceptionHandler([this](const QString& message, const QStringList&) { shown << message; });
  }
  ~ShownExceptions() { GameApplication::SetExceptionHandler(nullptr); }
  ShownExceptions(const ShownExceptions&) = delete;
  ShownExceptions& operator=(const ShownExceptions&) = delete;
  QStringList shown;
};
