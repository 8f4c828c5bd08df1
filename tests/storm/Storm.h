#pragma once
// One storm: the game started on a puzzle of the storm's own folder, a seeded stream of a
// player's steps played at it, and the watch on it — a crash, a sanitizer's report, a main
// thread that answers no ping for 10 s, or a save that does not reload with every piece ends
// the storm as failed, with its seed and its last steps.

#include "GameProcess.h"
#include "StormPlan.h"
#include "StormScreen.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>
#include <deque>
#include <memory>

struct StormSettings {
  QString game;       // the game program
  QString puzzleBox;  // the folder of the sample puzzles beside it
  QString folder;     // where the storm's own folder is made
  std::uint64_t seed = 1;
  int seconds = 120;
  bool keep = false;  // the folder is kept when nothing was found too
};

class Storm {
public:
  explicit Storm(StormSettings settings);
  // True when the storm found nothing; either way it has printed its line.
  bool Run();

  int Steps() const { return steps; }
  int Games() const { return games; }
  int SavesChecked() const { return savesChecked; }

private:
  bool Prepare();
  bool PlaceSource();
  bool StartGame();
  QString Source() const;
  std::vector<GameWindow> AwaitWindows();
  void Watch();
  void Pause(int ms);
  void Heartbeat();
  void CheckSaves();
  QString DeleteSource();
  void Finish();
  bool Fail(const QString& why);  // false
  void Log(const QString& line);
  qint64 Elapsed() const { return clock.elapsed(); }

  StormSettings settings;
  StormPlan plan;
  StormScreen screen;
  GameProcess game;
  QTemporaryDir folder;
  QString source;  // the puzzle file the game was started on
  QElapsedTimer clock;
  std::deque<QString> lastSteps;
  QFile stepLog;  // every step, in the folder
  QString failure;
  QString closeNote;  // what kept the game from ending when the storm closed it
  int steps = 0, games = 0, savesChecked = 0;
  QHash<QString, QDateTime> checkedSaves;
  qint64 lastSaveCheck = 0;
  // The heartbeat: pings go out once a second; the first one not answered since says how
  // long the main thread has been away.
  std::uint32_t pingsSent = 0, firstUnanswered = 0;
  qint64 lastPing = 0, unansweredSince = -1;
  bool ending = false;
  qint64 gameStarted = 0;
  bool openingDue = false;  // the game may still ask for the count of pieces first
};
