#pragma once
// Every test program starts headless, with its own empty settings and data folders, so
// that no test reads or writes the user's real settings.

#include <QString>

namespace TestEnvironment {
void Prepare();
// A folder of this test program's own, removed at its exit.
QString ScratchFolder();
}  // namespace TestEnvironment
