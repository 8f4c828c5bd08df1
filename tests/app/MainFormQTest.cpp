// The main window: what it writes for a second copy, its place across restarts, its
// recorded state, and the wheel.

#include "ControlPanel.h"
#include "PuzzleFixtures.h"
#include "QtTestMain.h"
#include "TMainForm.h"

#include "Yelk/ERegistry.h"
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
  if (!QTest::qWaitForWindowExposed(&form)) return {};
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

  // A sideways scroll (vertical delta 0) and part-notches leave the pieces' stacking alone;
  // a whole notch restacks.
  void onlyWholeWheelNotchesRestackThePieces() {
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
    QVERIFY(Order(pieces) != before);
    form.close();
  }
};

TV_QTEST_MAIN(MainFormQTest)
#include "MainFormQTest.moc"
