// storm --game PROGRAM --box FOLDER --seconds S [--seed N] [--each L] [--keep 1]
// Storms of a player's input at the game on the X server of $DISPLAY (a real one with a window
// manager: tests/support/realx/realx), one after another until S seconds are spent, each at
// most L seconds (120 by default), seeded N, N+1, ... (N from the clock when not given). Each
// prints its seed and figures; a failed one its reason, last steps and how to run it again,
// and keeps its folder (every step in steps.log, the game's output in game-N.log), as
// --keep 1 does for every storm.
// Exits 1 when any storm failed.

#include "Storm.h"

#include "TestEnvironment.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char** argv) {
  // The storm's own use of the game's code (writing and reading saved games) runs headless,
  // with settings of its own; the game gets the real display.
  const QByteArray display = qgetenv("DISPLAY");
  StormSettings settings;
  // A failed storm's folder is kept: it goes under the caller's temporary folder, not under
  // the storm's own private one.
  settings.folder = QDir::tempPath();
  TestEnvironment::Prepare();
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  int seconds = 0, each = 120;
  std::uint64_t seed = std::uint64_t(QDateTime::currentMSecsSinceEpoch()) % 1000000;
  const QStringList args = app.arguments();
  for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
    const QString& name = args[i];
    const QString& value = args[i + 1];
    if (name == QLatin1String("--game")) settings.game = QFileInfo(value).absoluteFilePath();
    else if (name == QLatin1String("--box")) settings.puzzleBox = QFileInfo(value).absoluteFilePath();
    else if (name == QLatin1String("--seconds")) seconds = value.toInt();
    else if (name == QLatin1String("--seed")) seed = value.toULongLong();
    else if (name == QLatin1String("--each")) each = value.toInt();
    else if (name == QLatin1String("--keep")) settings.keep = value == QLatin1String("1");
  }
  if (settings.game.isEmpty() || settings.puzzleBox.isEmpty() || seconds <= 0 || each <= 0 || display.isEmpty()) {
    std::fprintf(stderr, "usage: storm --game PROGRAM --box FOLDER --seconds S [--seed N] [--each L] (on $DISPLAY)\n");
    return 2;
  }
  QList<std::uint64_t> failed;
  int storms = 0, steps = 0, saves = 0;
  QElapsedTimer spent;
  spent.start();
  // The last storm takes what is left, when that is worth a storm.
  for (qint64 left = seconds; left >= std::min(30, seconds); left = seconds - spent.elapsed() / 1000, ++seed) {
    settings.seed = seed;
    settings.seconds = int(std::min<qint64>(left, each));
    Storm storm(settings);
    if (!storm.Run()) failed << seed;
    ++storms;
    steps += storm.Steps();
    saves += storm.SavesChecked();
    // One that could not even start (no game, no X server) says nothing of the next.
    if (storm.Steps() == 0) break;
  }
  QStringList seeds;
  for (std::uint64_t s : failed) seeds << QString::number(s);
  std::printf("storms: %d, %d steps in %.1f minutes, %d saves checked; %s\n", storms, steps,
              spent.elapsed() / 60000.0, saves,
              failed.isEmpty() ? "nothing found" : qPrintable(QStringLiteral("failed seeds: ") + seeds.join(' ')));
  return failed.isEmpty() ? 0 : 1;
}
