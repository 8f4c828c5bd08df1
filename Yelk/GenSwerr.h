#pragma once
// Reports an internal fault through the software-error report, for code that holds no
// window (the puzzle model): the report is owned by the active window.

#include <QString>

void GenSwerr(const QString& text);
