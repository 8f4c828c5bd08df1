// The main window: what it writes for a second copy, its place across restarts, its
// recorded state, and the wheel.

#include "ControlPanel.h"
#include "OpeningGreeting.h"
#include "PuzzleFixtures.h"
#include "QtTestMain.h"
#include "TMainForm.h"
#include "WhenModal.h"

#include "Yelk/ERegistry.h"
#include "platform/HelpWindow.h"
#include "puzzle/ChipList.h"
#include "puzzle/Puzzle.h"
#include "settings/ProgSettings.h"
#include "table/TableSurface.h"
#include "table/TableTop.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QWheelEvent>
#include <QtTest>

namespace {
std::vector<const PuzzleChip*> Order(ChipList& pieces) {
  std::vector<const PuzzleChip*> order;
  for (int i = 0; i < pieces.Count(); ++i) order.push_back(pieces.At(i));
  return order;
}

// A normal window placed from settings, shown, then closed as the player would.
QRect RunOnce(const QRect& saved) {
  ProgSettings& settings = *Settings();
  settings.Maximized = false;
  settings.XPosition = saved.x();
  settings.YPosition = saved.y();
  settings.Width = saved.width();
  settings.Height = saved.height();
  settings.Save();
  settings.Load();
  TMainForm form;
  form.Start({});
  if (!QTest::qWaitForWindowExposed(&form) || !DismissNextModal()) return {};
  const QRect placed = form.geometry();
  form.close();
  return placed;
}
// The open dialog's offer taken as it stands.
void AcceptOpenDialogWhenShown() {
  QTimer::singleShot(50, [] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return AcceptOpenDialogWhenShown();
    modal->findChild<QPushButton*>(QStringLiteral("OpenBtn"))->click();
  });
}

}  // namespace

class MainFormQTest : public QObject {
  Q_OBJECT
private slots:
  // A second copy finds the running one by these values.
  void writesWhatIdentifiesTheRunningCopy() {
    TMainForm form;
    QCOMPARE(ERegistry::QuickReadInt(QString(), QStringLiteral("Window handle"), 0),
             int(form.winId()));
    QCOMPARE(ERegistry::QuickReadInt(QString(), QStringLiteral("App handle"), 0),
             int(QCoreApplication::applicationPid()));
    form.WMCopyData(
        {QStringLiteral("/usr/bin/game"), QStringLiteral("/x:1"), QStringLiteral("p/a.jig")});
    QCOMPARE(form.PendingPath(), QDir::current().absoluteFilePath(QStringLiteral("p/a.jig")));
  }

  // The place survives a restart; one saved off every screen comes back inside the screen.
  void placeSurvivesARestartInsideTheScreen() {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect inside(area.x() + 12, area.y() + 20, 770, 400);
    const QRect first = RunOnce(inside);
    QCOMPARE(first, inside);
    Settings()->Load();
    QCOMPARE(
        QRect(Settings()->XPosition, Settings()->YPosition, Settings()->Width, Settings()->Height),
        inside);
    for (const QRect& away : {QRect(5000, 4000, 770, 400), QRect(-3000, -900, 5000, 3000)}) {
      const QRect placed = RunOnce(away);
      // The window system may set the frame where the window was asked to go.
      QVERIFY2(placed.width() <= area.width() && placed.height() <= area.height() &&
                   area.adjusted(-4, -4, 4, 4).contains(placed),
               qPrintable(QStringLiteral("%1,%2 %3x%4")
                              .arg(placed.x())
                              .arg(placed.y())
                              .arg(placed.width())
                              .arg(placed.height())));
    }
  }

  // Maximised is recorded however the window gets there, and a restart keeps it.
  void maximisedIsRecordedFromTheWindowState() {
    Settings()->Maximized = false;
    TMainForm form;
    form.Start({});
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(DismissNextModal());
    form.setWindowState(Qt::WindowMaximized);
    QTRY_VERIFY(Settings()->Maximized);
    form.setWindowState(Qt::WindowNoState);
    QTRY_VERIFY(!Settings()->Maximized);
    form.setWindowState(Qt::WindowMaximized);
    QTRY_VERIFY(Settings()->Maximized);
    form.close();
    Settings()->Load();
    QVERIFY(Settings()->Maximized);
  }

  // Full-screen mode and back: the window returns to its place, and Maximized is not
  // touched by the trip.
  void fullScreenReturnsToTheWindowAsItWas() {
    ProgSettings& settings = *Settings();
    settings.Maximized = false;
    settings.XPosition = 20;
    settings.YPosition = 30;
    settings.Width = 770;
    settings.Height = 420;
    TMainForm form;
    form.Start({});
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(DismissNextModal());
    const QRect before = form.geometry();
    form.Actions().FullScreenAtn->trigger();
    QTRY_VERIFY(form.windowState() & Qt::WindowFullScreen);
    QVERIFY(settings.FullScreenActive);
    QVERIFY(form.Actions().FullScreenAtn->isChecked());
    form.Actions().FullScreenAtn->trigger();
    QTRY_COMPARE(form.windowState(), Qt::WindowNoState);
    QVERIFY(!settings.FullScreenActive);
    QVERIFY(!settings.Maximized);
    QTRY_COMPARE(form.geometry(), before);
    form.close();
  }

  // A trip to full screen and back leaves the window and Maximized as they were, however
  // quick; a restore during a trip (the window manager's, as the player asks it) is kept: the
  // window ends restored, and the game takes it once the trip is over.
  void aRestoreDuringAFullScreenTripIsKept() {
    Settings()->Maximized = true;
    TMainForm form;
    form.Start({});
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(DismissNextModal());
    QTRY_VERIFY(form.isMaximized());
    const auto tripOver = [&] { return !form.Table()->Surface().HoldsResizes(); };
    form.SetFullScreen(true);
    form.SetFullScreen(false);
    QVERIFY(form.windowState() & Qt::WindowMaximized);
    QTRY_VERIFY_WITH_TIMEOUT(tripOver(), 10000);
    QVERIFY(Settings()->Maximized);
    form.SetFullScreen(true);
    form.setWindowState(Qt::WindowFullScreen);  // restored underneath
    form.SetFullScreen(false);
    QVERIFY(Settings()->Maximized);
    QTRY_VERIFY_WITH_TIMEOUT(tripOver(), 10000);
    QCOMPARE(form.windowState(), Qt::WindowNoState);
    QVERIFY(!Settings()->Maximized);
    form.close();
  }

  // A sideways scroll (vertical delta 0) and a single part-notch leave the pieces' stacking
  // alone; a whole notch restacks, and so do part-notches once they add up to one.
  void wheelNotchesAndGatheredPartsRestackThePieces() {
    // A small window holds more pieces than fit without overlapping: there is a pile.
    ProgSettings& settings = *Settings();
    settings.Maximized = false;
    settings.Width = 770;
    settings.Height = 400;
    settings.PuzzlePieceSize = 40;
    TMainForm form;
    AcceptOpenDialogWhenShown();
    form.Start({PuzzleFixtures::WritePicture(QStringLiteral("wheel.bmp"), 480, 320)});
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_VERIFY(Puzzle::Current() != nullptr);
    ChipList& pieces = form.Table()->Surface().GetChipList();
    QTRY_VERIFY(pieces.Count() > 4);
    QVERIFY(form.windowTitle().endsWith(QStringLiteral(" - wheel")) ||
            form.windowTitle().contains(QStringLiteral("wheel")));
    const auto before = Order(pieces);
    const QPointF at = form.Table()->rect().center();
    for (QPoint delta : {QPoint(120, 0), QPoint(0, 0), QPoint(0, 60), QPoint(-240, 0)}) {
      QWheelEvent wheel(at, form.Table()->mapToGlobal(at), QPoint(), delta, Qt::NoButton,
                        Qt::NoModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(form.Table(), &wheel);
    }
    QVERIFY(Order(pieces) == before);
    form.WMMouseWheel(240);
    const auto notched = Order(pieces);
    QVERIFY(notched != before);
    form.WMMouseWheel(-60);
    QVERIFY(Order(pieces) == notched);
    form.WMMouseWheel(-60);
    QVERIFY(Order(pieces) != notched);
    form.close();
  }

  // An opening greets with the welcome page once, on the first run, and after that with the
  // first tip that fits and is shown, in a fixed order; the update reminder moves its date.
  void openingGreetsWithTheWelcomeOnceThenTheFirstFittingTip() {
    using namespace OpeningGreeting;
    constexpr int today = 46000;
    const QList<int> all = {24, 17, 25, 0, 5, 9, 18, 19, 26, 28};
    struct Row {
      const char* name;
      OpeningFacts facts;
      bool upsideRight, welcome, helpHasPage;
      int checkDate;
      QList<int> refused, offered;
      int result;
    };
    const OpeningFacts still{false, 32, false, true, false, today};
    auto with = [&](auto change) {
      OpeningFacts facts = still;
      change(facts);
      return facts;
    };
    const OpeningFacts minisFull = with([](OpeningFacts& f) { f.miniHoldsPieces = true; });
    const OpeningFacts slowAnimation = with([](OpeningFacts& f) { f.animated = true; f.colourDepth = 16; });
    const OpeningFacts everything = with([](OpeningFacts& f) {
      f.miniHoldsPieces = true;
      f.controlPanelVisible = false;
      f.completeSavedGame = true;
    });
    const Row rows[] = {
        {"first run", still, false, true, true, today, {}, {}, WelcomeShown},
        {"first run, help without the page", still, false, true, false, today, {}, {}, NothingShown},
        {"first run, pieces on the minis", minisFull, false, true, true, today, {}, {}, WelcomeShown},
        {"rotation first", still, false, false, true, today, {}, {24}, 24},
        {"upside right", still, true, false, true, today, {}, {25}, 25},
        {"slow animation", slowAnimation, true, false, true, today, {}, {17}, 17},
        {"animation at 17 bits", with([](OpeningFacts& f) { f.animated = true; f.colourDepth = 17; }),
         true, false, true, today, {}, {25}, 25},
        {"still picture at 16 bits", with([](OpeningFacts& f) { f.colourDepth = 16; }), true, false,
         true, today, {}, {25}, 25},
        {"pieces on the minis", minisFull, true, false, true, today, {}, {0}, 0},
        {"edge tip seen", still, true, false, true, today, {25}, {25, 5}, 5},
        {"panel hidden", with([](OpeningFacts& f) { f.controlPanelVisible = false; }), true, false,
         true, today, {25}, {25, 9}, 9},
        {"all refused", still, false, false, true, today, all, {24, 25, 5, 9, 18}, NothingShown},
        {"update due", everything, false, false, true, today - 1, {24, 0, 9, 18, 19, 26},
         {24, 0, 9, 18, 19, 26, 28}, 28},
        {"update due today", everything, false, false, true, today, all, {24, 0, 9, 18, 19, 26},
         NothingShown},
        {"update refused", everything, false, false, true, today - 5, all,
         {24, 0, 9, 18, 19, 26, 28}, NothingShown},
    };
    ProgSettings& settings = *Settings();
    for (const Row& row : rows) {
      RecordedTips tips;
      tips.refused = row.refused;
      settings.UpsideRight = row.upsideRight;
      settings.ShowWelcome = row.welcome;
      settings.NextCheckDate = row.checkDate;
      int pagesOpened = 0;
      const int result = Greet(row.facts, settings, [&] {
        ++pagesOpened;
        return row.helpHasPage;
      });
      QVERIFY2(result == row.result, row.name);
      QVERIFY2(tips.shown == row.offered, row.name);
      QVERIFY2(pagesOpened == (row.welcome ? 1 : 0), row.name);
      // Cleared whatever happens, so the background music may play from now on.
      QVERIFY2(!settings.ShowWelcome, row.name);
      QVERIFY2(tips.used == (row.facts.miniHoldsPieces ? QList<int>{25} : QList<int>{}), row.name);
      const int nextCheck = result == 28 ? today + 90 : row.checkDate;
      QVERIFY2(settings.NextCheckDate == nextCheck, row.name);
    }

    // Through the window: a fresh game opens its first puzzle under the welcome page, the
    // next one with a tip.
    settings.ShowWelcome = true;
    settings.UpsideRight = false;
    TMainForm form;
    RecordedTips tips;
    AcceptOpenDialogWhenShown();
    const QString picture = PuzzleFixtures::WritePicture(QStringLiteral("welcome.bmp"), 240, 160);
    form.Start({picture});
    QTRY_VERIFY_WITH_TIMEOUT(Puzzle::Current() != nullptr, 20000);
    auto helpWindow = [] {
      for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* help = qobject_cast<HelpWindow*>(window); help && help->isVisible()) return help;
      return static_cast<HelpWindow*>(nullptr);
    };
    QVERIFY(helpWindow());
    QVERIFY(!settings.ShowWelcome);
    // The open dialog offers its own tip; none of the opening's comes with the welcome.
    auto openingTips = [&] {
      QList<int> offered;
      for (int tip : tips.shown)
        if (all.contains(tip)) offered.append(tip);
      return offered;
    };
    QVERIFY(openingTips().isEmpty());
    helpWindow()->close();
    AcceptOpenDialogWhenShown();
    form.OpenRecentClick(picture);
    QTRY_COMPARE_WITH_TIMEOUT(openingTips(), QList<int>{24}, 20000);
    QVERIFY(!helpWindow());
    form.close();
  }
};

TV_QTEST_MAIN(MainFormQTest)
#include "MainFormQTest.moc"
