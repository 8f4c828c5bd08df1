#include "Storm.h"

#include "StormFiles.h"
#include "StormHands.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>

namespace {
constexpr int LastStepsKept = 40;
constexpr qint64 HeartbeatLimitMs = 10000;
constexpr qint64 FirstWindowLimitMs = 60000;
constexpr int PieceSize = 40;
constexpr qint64 OpeningLimitMs = 30000;
const QString SavedGameName = QStringLiteral("Evening Lake Game.saw");
const QString OpenDialogTitle = QStringLiteral("Open/Create a Jigsaw Puzzle");

volatile std::sig_atomic_t stopAsked = 0;
void AskStop(int) { stopAsked = 1; }

void Print(const QString& text) {
  std::printf("%s\n", qPrintable(text));
  std::fflush(stdout);
}
}  // namespace

Storm::Storm(StormSettings chosen)
    : settings(std::move(chosen)), plan(settings.seed), folder(settings.folder + QStringLiteral("/storm-XXXXXX")) {
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal, AskStop);
}

// The folder holds the game's home, settings and temporary files, the saves, and an empty
// folder as its program path: nothing the game might start (a browser, a mixer) runs.
bool Storm::Prepare() {
  if (!folder.isValid()) return Fail(QStringLiteral("no storm folder"));
  if (!screen.IsConnected()) return Fail(QStringLiteral("no X server at $DISPLAY"));
  const QDir root(folder.path());
  for (const char* name : {"home", "tmp", "saves", "path", "runtime"}) root.mkpath(QLatin1String(name));
  QFile::setPermissions(root.filePath(QStringLiteral("runtime")), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  stepLog.setFileName(root.filePath(QStringLiteral("steps.log")));
  stepLog.open(QIODevice::WriteOnly | QIODevice::Text);
  source = root.filePath(settings.seed % 2 == 0 ? SavedGameName : QStringLiteral("Evening Lake Animated.qvp"));
  return PlaceSource();
}

// The puzzle the storm plays, in its folder: written again when it was deleted and no game was
// saved since, so that a game started again has a puzzle.
bool Storm::PlaceSource() {
  const QDir box(settings.puzzleBox);
  if (source.endsWith(QLatin1String(".saw"))) {
    if (!StormFiles::WriteSavedGame(box.filePath(QStringLiteral("Evening Lake Puzzle.jig")), source, PieceSize))
      return Fail(QStringLiteral("the saved game could not be written from ") + box.path());
  } else if (!QFile::copy(box.filePath(QFileInfo(source).fileName()), source)) {
    return Fail(QStringLiteral("no animated sample in ") + box.path());
  }
  return true;
}

// The puzzle it was started on while it lasts; then the game saved last; else none, and the
// game offers its open dialog.
QString Storm::Source() const {
  if (QFileInfo::exists(source)) return source;
  QString newest;
  QDirIterator it(folder.path(), {QStringLiteral("*.saw")}, QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    if (newest.isEmpty() || QFileInfo(path).lastModified() > QFileInfo(newest).lastModified()) newest = path;
  }
  return newest;
}

bool Storm::StartGame() {
  const QDir root(folder.path());
  const QString home = root.filePath(QStringLiteral("home"));
  QString sanitizer = qEnvironmentVariable("ASAN_OPTIONS");
  // On a hang the storm aborts the game: the sanitizer then prints where it stood.
  if (!sanitizer.isEmpty()) sanitizer += QStringLiteral(":handle_abort=1");
  const QStringList environment{
      QStringLiteral("HOME=") + home, QStringLiteral("XDG_CONFIG_HOME=") + home + QStringLiteral("/config"),
      QStringLiteral("XDG_CONFIG_DIRS=") + home + QStringLiteral("/machine"),
      QStringLiteral("XDG_DATA_HOME=") + home + QStringLiteral("/data"),
      QStringLiteral("XDG_CACHE_HOME=") + home + QStringLiteral("/cache"),
      QStringLiteral("XDG_RUNTIME_DIR=") + root.filePath(QStringLiteral("runtime")),
      QStringLiteral("TMPDIR=") + root.filePath(QStringLiteral("tmp")), QStringLiteral("PATH=") + root.filePath(QStringLiteral("path")),
      QStringLiteral("QT_QPA_PLATFORM=xcb"), QStringLiteral("SDL_AUDIODRIVER=dummy"), QStringLiteral("ASAN_OPTIONS=") + sanitizer};
  QStringList arguments;
  if (Source().isEmpty() && PlaceSource()) Log(QStringLiteral("the puzzle file is back"));
  const QString puzzle = Source();
  if (!puzzle.isEmpty()) arguments << puzzle;
  arguments << QStringLiteral("/s:") + root.filePath(QStringLiteral("saves")) << QStringLiteral("/i:") + root.path();
  ++games;
  const QString output = root.filePath(QStringLiteral("game-%1.log").arg(games));
  if (!game.Start(settings.game, arguments, environment, root.path(), output))
    return Fail(QStringLiteral("the game could not be started"));
  gameStarted = Elapsed();
  openingDue = !puzzle.endsWith(QLatin1String(".saw"));
  Log(QStringLiteral("game %1 started on %2").arg(games).arg(puzzle.isEmpty() ? QStringLiteral("nothing") : QFileInfo(puzzle).fileName()));
  unansweredSince = -1;
  return true;
}

// The game's windows once it has one. A game started on an animated puzzle first asks for
// the count of pieces: that is taken with Enter, so that the storm starts on the puzzle.
std::vector<GameWindow> Storm::AwaitWindows() {
  const qint64 started = Elapsed();
  while (failure.isEmpty() && game.Pid()) {
    std::vector<GameWindow> windows = screen.Windows(game.Pid());
    const bool managed = std::any_of(windows.begin(), windows.end(), [](const GameWindow& w) { return !w.popup; });
    const bool asking = std::any_of(windows.begin(), windows.end(), [](const GameWindow& w) { return w.title == OpenDialogTitle; });
    if (openingDue && asking) {
      openingDue = false;
      StormHands::Xdo({QStringLiteral("key"), QStringLiteral("Return")});
      Log(QStringLiteral("opening: Enter in the open dialog"));
    } else if (managed && (!openingDue || Elapsed() - gameStarted > OpeningLimitMs)) {
      openingDue = false;
      return windows;
    } else if (!managed && Elapsed() - started > FirstWindowLimitMs) {
      Fail(QStringLiteral("the game showed no window %1 s after its start").arg(FirstWindowLimitMs / 1000));
    }
    Pause(100);
  }
  return {};
}

void Storm::Log(const QString& line) {
  lastSteps.push_back(QStringLiteral("%1s %2").arg(Elapsed() / 1000.0, 6, 'f', 1).arg(line));
  stepLog.write((lastSteps.back() + QLatin1Char('\n')).toUtf8());
  stepLog.flush();
  if (lastSteps.size() > LastStepsKept) lastSteps.pop_front();
}

bool Storm::Fail(const QString& why) {
  if (failure.isEmpty()) failure = why;
  return false;
}

void Storm::Pause(int ms) {
  for (int left = ms; failure.isEmpty(); left -= 50) {
    Watch();
    if (left <= 0) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(std::min(left, 50)));
  }
}

// A crash, a report, the heartbeat and the saves; a game that ended as a player ends it is
// started again.
void Storm::Watch() {
  if (stopAsked || !screen.IsConnected()) {
    Fail(stopAsked ? QStringLiteral("stopped") : QStringLiteral("the X server went away"));
    return;
  }
  const bool ended = game.Pid() && !game.Running();
  if (const QString report = game.SanitizerReport(); !report.isEmpty()) {
    Fail(QStringLiteral("the sanitizer: ") + report);
  } else if (ended && !game.Ending().isEmpty()) {
    Fail(QStringLiteral("the game ended with ") + game.Ending());
  } else if (ended) {
    CheckSaves();
    Log(QStringLiteral("game %1 ended").arg(games));
    if (!ending) StartGame();
  } else {
    Heartbeat();
    if (Elapsed() - lastSaveCheck > 10000) CheckSaves();
  }
}

void Storm::Heartbeat() {
  const qint64 now = Elapsed();
  // Read every time: the events the root sends pile up otherwise.
  if (screen.Answered() >= firstUnanswered) unansweredSince = -1;
  if (now - lastPing >= 1000 && game.Pid()) {
    lastPing = now;
    bool sent = false;
    ++pingsSent;
    for (const GameWindow& window : screen.Windows(game.Pid())) {
      if (window.popup) continue;
      screen.Ping(window.id, pingsSent);
      sent = true;
    }
    if (sent && unansweredSince < 0) {
      unansweredSince = now;
      firstUnanswered = pingsSent;
    }
  }
  if (unansweredSince < 0 || now - unansweredSince <= HeartbeatLimitMs) return;
  Fail(QStringLiteral("the main thread answered no ping for %1 s").arg(HeartbeatLimitMs / 1000));
  // The sanitizer prints where the game stood.
  game.Signal(SIGABRT);
  std::this_thread::sleep_for(std::chrono::seconds(3));
}

void Storm::CheckSaves() {
  lastSaveCheck = Elapsed();
  QDirIterator it(folder.path(), {QStringLiteral("*.saw")}, QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext() && failure.isEmpty()) {
    const QString path = it.next();
    const QDateTime written = QFileInfo(path).lastModified();
    if (checkedSaves.value(path) == written) continue;
    checkedSaves[path] = written;
    ++savesChecked;
    if (const QString missing = StormFiles::Incomplete(path); !missing.isEmpty())
      Fail(QStringLiteral("the save %1 does not reload whole: %2").arg(QDir(folder.path()).relativeFilePath(path), missing));
  }
}

QString Storm::DeleteSource() {
  const QString name = QFileInfo(source).fileName();
  return QFile::remove(source) ? QStringLiteral("removed ") + name : name + QStringLiteral(" was gone already");
}

// Open windows closed with Esc, the main window closed, its questions answered with Enter.
void Storm::Finish() {
  ending = true;
  StormHands::Xdo({QStringLiteral("key"), QStringLiteral("Escape"), QStringLiteral("Escape"), QStringLiteral("Escape")});
  Pause(500);
  // Closed again while it stays: a question answered by its default may keep it open.
  for (int waited = 0; game.Pid() && failure.isEmpty() && waited < 30000; waited += 1500) {
    const std::vector<GameWindow> windows = screen.Windows(game.Pid());
    if (!windows.empty()) screen.Close(StormHands::MainWindow(windows).id);
    Pause(1500);
    if (game.Pid()) StormHands::Xdo({QStringLiteral("key"), QStringLiteral("Return")});
  }
  if (game.Pid() && failure.isEmpty()) {
    QStringList open;
    for (const GameWindow& window : screen.Windows(game.Pid())) open << QLatin1Char('"') + window.title + QLatin1Char('"');
    closeNote = QStringLiteral("the game did not end within 30 s of its close; open: ") + open.join(QLatin1Char(' '));
    Log(closeNote);
    game.Kill(2000);
  }
  if (failure.isEmpty()) CheckSaves();
}

bool Storm::Run() {
  clock.start();
  if (Prepare() && StartGame()) {
    StormHands hands(screen, [this](int ms) { Pause(ms); }, [this] { return DeleteSource(); });
    while (failure.isEmpty() && Elapsed() < settings.seconds * 1000LL) {
      const std::vector<GameWindow> windows = AwaitWindows();
      if (windows.empty()) continue;
      const StormEvent event = plan.Next();
      ++steps;
      Log(QStringLiteral("#%1 %2").arg(steps).arg(hands.Play(event, windows)));
      if (event.act == Act::Save) lastSaveCheck = 0;
      Pause(event.pauseMs);
    }
    if (failure.isEmpty()) Finish();
  }
  const QString figures = QStringLiteral("%1 steps in %2 s, %3 games, %4 saves checked")
                              .arg(steps).arg(Elapsed() / 1000).arg(games).arg(savesChecked);
  // A report still being written is let finish: the sanitizer ends the game after it.
  for (int waited = 0; !failure.isEmpty() && game.Running() && waited < 15000; waited += 100)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  game.Kill();
  folder.setAutoRemove(failure.isEmpty() && !settings.keep);
  if (failure.isEmpty()) {
    Print(QStringLiteral("storm seed %1: %2: nothing found%3%4").arg(settings.seed).arg(figures)
              .arg(closeNote.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(closeNote))
              .arg(settings.keep ? QStringLiteral(" (kept: %1)").arg(folder.path()) : QString()));
    return true;
  }
  Print(QStringLiteral("storm seed %1 FAILED: %2\n  after %3\n  again: ./test --storm %4 %1\n  the last steps:")
            .arg(settings.seed).arg(failure, figures).arg(settings.seconds));
  for (const QString& line : lastSteps) Print(QStringLiteral("    ") + line);
  Print(QStringLiteral("  the game's output:\n") + game.Output(80));
  Print(QStringLiteral("  kept: ") + folder.path());
  return false;
}
