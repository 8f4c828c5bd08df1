#pragma once
// Every test program starts headless, with its own empty settings and data folders, so
// that no test reads or writes the user's real settings.

#include <QByteArray>
#include <QString>

namespace TestEnvironment {
void Prepare();
// A folder of this test program's own, removed at its exit.
QString ScratchFolder();
// Writes bytes to path, making its folder; false when that fails.
bool WriteFile(const QString& path, const QByteArray& bytes);
// The whole file, or nothing when it cannot be read.
QByteArray ReadFile(const QString& path);
}  // namespace TestEnvironment
