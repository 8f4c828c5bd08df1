#pragma once
// What the software-error report shows: the message, optionally a call stack, and up to
// two extra sections such as the message log.

#include <QString>
#include <QStringList>

struct SwerrRequest {
  QString Message;
  bool ShowCallStack = false;
  QStringList CallStack;  // demangled frames, innermost first
  QString Extra1;
  QString Extra2;
};
