// The main window's state during play, seen by its effect: the clock and auto-save timers
// actually armed, the clock stopping while the player is away, the status panel's exact
// texts, the hint's messages, the answers to "save your changes?", auto save around
// captures and a saved game whose file went away, applause suppression, the background-sound
// commands and the performance lights.

#include "ControlPanel.h"
#include "ModalAnswers.h"
#include "MusicWriter.h"
#include "PerformanceLeds.h"
#include "PuzzleFixtures.h"
#include "QtTestMain.h"
#include "TMainForm.h"

#include "Yelk/Prompt.h"
#include "controls/SmallLed.h"
#include "puzzle/ChipList.h"
#include "puzzle/JigsawFile.h"
#include "puzzle/ChipMask.h"
#include "puzzle/Puzzle.h"
#include "puzzle/PuzzleChip.h"
#include "settings/ProgSettings.h"
#include "table/TableSurface.h"
#include "table/TableTop.h"

#include <QLabel>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <set>
#include <memory>

namespace {

// The form's timers that run, by interval.
std::multiset<int> RunningIntervals(const QObject& form) {
  std::multiset<int> out;
  for (const QTimer* timer : form.findChildren<QTimer*>())
    if (timer->isActive()) out.insert(timer->interval());
  return out;
}

}  // namespace

class PlayStateQTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TMainForm> form;
  ModalAnswers answers;
  QString& savePath = answers.savePath;
  std::unique_ptr<Prompt::Double> prompts;
  std::unique_ptr<RecordedTips> tips;

  QString LastPrompt() const { return prompts->Shown().isEmpty() ? QString() : prompts->Shown().last().text; }
  QLabel* Count() const { return form->ToolPnl()->PiecesStatus; }
  // The pieces panel in its hints mode, switched there and back by the player's clicks.
  QString HintsShown() {
    QTest::mouseClick(Count(), Qt::LeftButton);
    const QString text = Count()->text();
    QTest::mouseClick(Count(), Qt::LeftButton);
    return text;
  }
  void ActivateForm() {
    form->activateWindow();
    form->raise();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
  }

private slots:
  void initTestCase() {
    ModalAnswers::PlaySettings();
    ProgSettings& settings = *Settings();
    settings.ShowHintsStat = false;
    settings.ShowTodClock = false;
    settings.RecentPuzzles.clear();
    prompts = std::make_unique<Prompt::Double>();
    form = std::make_unique<TMainForm>();
    tips = std::make_unique<RecordedTips>();
    form->Start({});
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
  }

  void cleanupTestCase() {
    if (Puzzle* puzzle = Puzzle::Current()) puzzle->ClearChanged();
    form.reset();
    tips.reset();
    prompts.reset();
  }

  // Before any puzzle: the idle clock's text, and the timer that ticks it each second or
  // each five, as the seconds setting says.
  void clockWithoutAPuzzle() {
    ProgSettings& settings = *Settings();
    settings.ShowSeconds = false;
    form->SetClockInterval();
    for (bool seconds : {true, false}) {
      std::multiset<int> expected = RunningIntervals(*form);
      QVERIFY(expected.count(seconds ? 5000 : 1000));
      expected.erase(expected.find(seconds ? 5000 : 1000));
      expected.insert(seconds ? 1000 : 5000);
      settings.ShowSeconds = seconds;
      form->SetClockInterval();
      form->ClockTimerTimer();
      QCOMPARE(form->ToolPnl()->TimeStatus->text(), seconds ? QStringLiteral("0 h 00 m 00 s") : QStringLiteral("0 h 00 m"));
      QCOMPARE(RunningIntervals(*form), expected);
    }
    QCOMPARE(HintsShown(), QStringLiteral("0 hints"));
    QCOMPARE(Count()->text(), QStringLiteral("0 of 0"));
  }

  // The auto-save choice arms a timer of that many minutes; off arms none.
  void autoSaveIntervalIsArmed() {
    const std::multiset<int> idle = RunningIntervals(*form);
    for (int minutes : {1, 5, 10, 20, 0, 5, 0}) {
      form->AutoSaveAtnExecute(minutes);
      std::multiset<int> expected = idle;
      if (minutes > 0) expected.insert(minutes * 60 * 1000);
      QCOMPARE(RunningIntervals(*form), expected);
      QCOMPARE(Settings()->AutoSaveInterval, minutes);
    }
  }

  void open() {
    form->WMCopyData({QStringLiteral("game"), PuzzleFixtures::WritePicture(QStringLiteral("play.bmp"), 480, 320)});
    QTRY_VERIFY_WITH_TIMEOUT(Puzzle::Current() != nullptr, 20000);
    QTRY_VERIFY(form->Table()->Surface().GetChipList().Count() > 4);
    ActivateForm();
    QTRY_VERIFY(Puzzle::Current()->IsClockRunning());
  }

  // Another window of the game taking the focus is the player leaving; coming back starts
  // the clock again.
  void clockStopsWhileThePlayerIsAway() {
    Puzzle* puzzle = Puzzle::Current();
    QWidget other;
    other.resize(200, 100);
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QTRY_VERIFY(!puzzle->IsClockRunning());
    QVERIFY(!form->ToolPnl()->TimeStatus->isEnabled());
    ActivateForm();
    QTRY_VERIFY(puzzle->IsClockRunning());
    QVERIFY(form->ToolPnl()->TimeStatus->isEnabled());
  }

  void statusAndHintTexts() {
    Puzzle* puzzle = Puzzle::Current();
    const int total = puzzle->GetPieceCount();
    QCursor::setPos(form->mapToGlobal(QPoint(-50, -50)));  // over no piece
    auto hint = [this] {
      prompts->Clear();
      form->HintAtnExecute();
      return LastPrompt();
    };
    const QString moveOver = QStringLiteral("Move the mouse over a puzzle piece to use the hint feature.\n\n");
    // The limit only falls and the count only rises.
    QCOMPARE(HintsShown(), QStringLiteral("Unlimited"));
    QCOMPARE(hint(), moveOver + QStringLiteral("Hints remaining: Unlimited"));
    puzzle->SetHintCounts(5, 2);
    QCOMPARE(HintsShown(), QStringLiteral("3 hints"));
    QCOMPARE(hint(), moveOver + QStringLiteral("Hints remaining:  3"));
    puzzle->SetHintCounts(2, 2);
    QCOMPARE(HintsShown(), QStringLiteral("0 hints"));
    QCOMPARE(hint(), QStringLiteral("This puzzle's 2 allowed hints have already been used."));
    puzzle->AddJoin();
    puzzle->AddJoin();
    form->UpdatePiecesStatus();
    QCOMPARE(Count()->text(), QStringLiteral("3 of %1").arg(total));
  }

  // A saved game is saved again by auto save, but not while pieces hang at the pointer, and
  // not once its file has gone: nothing is written in its place.
  void autoSaveAroundCapturesAndAVanishedFile() {
    Puzzle* puzzle = Puzzle::Current();
    prompts->Clear();
    savePath = PuzzleFixtures::ScratchPath(QStringLiteral("play.saw"));
    QFile::remove(savePath);
    puzzle->SetChanged();
    QVERIFY(form->SavePuzzle(true));
    QVERIFY(QFileInfo(savePath).isFile());
    QVERIFY(!puzzle->IsChanged());

    TableSurface& surface = form->Table()->Surface();
    ChipList& pieces = surface.GetChipList();
    const PuzzleChip* first = pieces.At(pieces.Count() - 1);
    const QPoint at(first->TableX() + first->Mask().TableWidth() / 2, first->TableY() + first->Mask().TableHeight() / 2);
    QVERIFY(pieces.HitTest(at.x(), at.y()));
    surface.MouseDown(TableSurface::MiddleButton, at.x(), at.y());
    surface.MouseUp(TableSurface::MiddleButton, at.x(), at.y());
    QCOMPARE(PuzzleChip::CapturedList().CountUnits(), 1);
    puzzle->SetChanged();
    form->AutoSaveTimerTimer();
    QVERIFY(puzzle->IsChanged());
    surface.ReleaseAt(at.x(), at.y());
    QCOMPARE(PuzzleChip::CapturedList().CountUnits(), 0);
    form->AutoSaveTimerTimer();
    QVERIFY(!puzzle->IsChanged());

    QVERIFY(QFile::remove(savePath));
    puzzle->SetChanged();
    form->AutoSaveTimerTimer();
    QVERIFY(puzzle->IsChanged());
    QVERIFY(!QFileInfo::exists(savePath));
    QVERIFY2(prompts->Shown().isEmpty(), qPrintable(LastPrompt()));
  }

  // "No" keeps the changes unsaved and lets the next step go on; "Cancel" stops it.
  void answersToSaveYourChanges() {
    Puzzle* puzzle = Puzzle::Current();
    puzzle->SetChanged();
    prompts->Clear();
    prompts->Answer(Prompt::Cancel);
    QVERIFY(!form->QuerySave());
    QCOMPARE(LastPrompt(), QStringLiteral("Do you want to save your changes to the current puzzle?"));
    prompts->Clear();
    prompts->Answer(Prompt::No);
    QVERIFY(form->QuerySave());
    QVERIFY(puzzle->IsChanged());
    QVERIFY(!QFileInfo::exists(savePath));
  }

  // With applause suppressed, completing plays nothing, though the rest of completion
  // (the bevel taken off) happens.
  void completionWithApplauseSuppressed() {
    ProgSettings& settings = *Settings();
    settings.SoundEffects = true;
    settings.SuppressApplause = true;
    settings.AutoRemoveBevel = true;
    Puzzle* puzzle = Puzzle::Current();
    puzzle->SetBevelOn(true);
    while (puzzle->GetJoins() + 1 < puzzle->GetPieceCount()) puzzle->AddJoin();
    QVERIFY(!puzzle->IsClockRunning());
    QTRY_VERIFY(!puzzle->IsBevelOn());
    QCOMPARE(form->ApplauseCount(), 0);
    QCOMPARE(Count()->text(), QStringLiteral("%1 of %1").arg(puzzle->GetPieceCount()));
    puzzle->SetChanged();
    prompts->Clear();
    prompts->Answer(Prompt::No);
    QVERIFY(form->QuerySave());
    QCOMPARE(LastPrompt(), QStringLiteral("Do you want to save the completed puzzle?"));
  }

  // "No" to the completed puzzle's question lets the next one open; it allows no hints.
  void nextPuzzleWithoutHints() {
    Puzzle* completed = Puzzle::Current();
    completed->SetChanged();
    prompts->Clear();
    prompts->Answer(Prompt::No);
    form->WMCopyData({QStringLiteral("game"), PuzzleFixtures::WritePicture(QStringLiteral("next.bmp"), 400, 300)});
    QTRY_VERIFY_WITH_TIMEOUT(Puzzle::Current() && Puzzle::Current() != completed, 20000);
    QCOMPARE(LastPrompt(), QStringLiteral("Do you want to save the completed puzzle?"));
    QVERIFY(!QFileInfo::exists(savePath));
    Puzzle* puzzle = Puzzle::Current();
    puzzle->SetHintCounts(0, 0);
    QCOMPARE(HintsShown(), QStringLiteral("0 hints"));
    prompts->Clear();
    form->HintAtnExecute();
    QCOMPARE(LastPrompt(), QStringLiteral("No hints are allowed for this puzzle."));
  }

  // A track the check refuses leaves the background-sound commands disabled, as for a puzzle
  // without music, and the player's setting as it was; a track that plays enables them.
  void backgroundSoundCommandsFollowTheTrack() {
    Settings()->EnableBackgroundSound = true;
    const struct {
      const char* name;
      QByteArray music;
      bool midi;
      bool plays;
    } cases[] = {
        {"tone", MusicWriter::WaveImage({}), false, true},
        {"tone at 1 Hz", MusicWriter::WaveImage({1, 1, 1, 8, 12174, false}), false, false},
        {"20,000 notes at one tick", MusicWriter::ChordsAtOneTick(20000), true, false},
        {"tune", MusicWriter::ChordsAtOneTick(64), true, true},
    };
    for (const auto& c : cases) {
      const QString path = PuzzleFixtures::ScratchPath(QLatin1String(c.name) + QStringLiteral(".jig"));
      StillPuzzleContent content;
      content.ReadPicture(PuzzleFixtures::WritePicture(QStringLiteral("sound.bmp"), 240, 160));
      content.music = c.music;
      content.musicIsMidi = c.midi;
      QVERIFY(JigsawFile::SaveStillPuzzle(path, content));
      Puzzle::Current()->ClearChanged();
      prompts->Clear();
      form->WMCopyData({QStringLiteral("game"), path});
      QTRY_VERIFY_WITH_TIMEOUT(Puzzle::Current() && Puzzle::Current()->GetPath() == path, 20000);
      for (const char* action : {"BkgdSndEnabledAtn", "PlayAtn", "PauseAtn"})
        QVERIFY2(form->findChild<QAction*>(QLatin1String(action))->isEnabled() == c.plays, action);
      QCOMPARE(prompts->Shown().size(), c.plays ? 0 : 1);
      QVERIFY(Settings()->EnableBackgroundSound);
    }
  }

  // Closing the window with "No" closes it and writes nothing.
  void closingWithNo() {
    Puzzle::Current()->SetChanged();
    prompts->Clear();
    prompts->Answer(Prompt::No);
    QVERIFY(form->close());
    QVERIFY(!form->isVisible());
    QCOMPARE(LastPrompt(), QStringLiteral("Do you want to save your changes to the current puzzle?"));
    QVERIFY(!QFileInfo::exists(savePath));
  }

  // Green while a step keeps up with the timer, yellow when it lags (the colour-depth tip
  // once, and only on a screen of fewer than 32 bits), both dark while nothing plays.
  void performanceLights() {
    SmallLed green, yellow;
    tips->shown.clear();
    struct Step { bool running; int first; int depth; bool green; bool yellow; QList<int> tips; };
    const Step steps[] = {
        {true, 67, 24, true, false, {}},   {true, 68, 24, false, true, {21}}, {true, 90, 24, false, true, {21}},
        {false, 90, 24, false, false, {21}}, {true, 0, 24, true, false, {21}}, {true, -1, 24, false, false, {21}},
        {true, 200, 32, false, true, {21}}, {true, 10, 24, true, false, {21}}, {true, 200, 16, false, true, {21, 21}},
    };
    int n = 0;
    for (const Step& s : steps) {
      PerformanceLeds::Show(PerformanceStats{s.running, s.first, 0}, green, yellow, s.depth);
      QVERIFY2(green.IsLit() == s.green && yellow.IsLit() == s.yellow, qPrintable(QString::number(n)));
      QVERIFY2(std::equal(tips->shown.begin(), tips->shown.end(), s.tips.begin(), s.tips.end()), qPrintable(QString::number(n)));
      ++n;
    }
  }
};

TV_QTEST_MAIN(PlayStateQTest)
#include "PlayStateQTest.moc"
