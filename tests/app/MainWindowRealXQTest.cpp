// The main window under a real X server and window manager: maximise, restore, full screen
// and the sizes the window manager may give, with a saved game whose largest group takes
// most of the table's height.

#include "ControlPanel.h"
#include "PuzzleFixtures.h"
#include "QtTestMain.h"
#include "TMainForm.h"
#include "PieceGrip.h"
#include "RealInput.h"
#include "WhenModal.h"
#include "WindowManagerState.h"

#include "Yelk/TMsgLog.h"
#include "controls/ChooseBox.h"
#include "puzzle/ChipGroup.h"
#include "puzzle/ChipMask.h"
#include "puzzle/Puzzle.h"
#include "puzzle/PuzzleChip.h"
#include "settings/ProgSettings.h"
#include "table/ChipSelection.h"
#include "table/MiniSurface.h"
#include "table/TableSurface.h"
#include "table/TableTop.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScreen>
#include <QTimer>
#include <QLayout>
#include <QWindow>
#include <QtTest>

#include <functional>
#include <memory>
#include <optional>

namespace {
constexpr int SettleMillis = 10000;

// Lays the chain of pieces down from top as the picture shows them and joins them, as a
// drop beside each neighbour would; the group's box follows its members.
ChipGroup* JoinChain(PuzzleChip* top, int count, QPoint at) {
  std::vector<PuzzleChip*> chain;
  for (PuzzleChip* piece = top; piece && int(chain.size()) < count; piece = piece->Neighbour(ChipSide::Down))
    chain.push_back(piece);
  for (PuzzleChip* piece : chain)
    piece->Place(0, false, true, true, at.x() + piece->Mask().MinX(), at.y() + piece->Mask().FirstRow());
  for (std::size_t i = 1; i < chain.size(); ++i)
    if (!chain[i - 1]->Snap(chain[i], nullptr, true)) return nullptr;
  QRect box;
  for (PuzzleChip* piece : chain)
    box |= QRect(piece->TableX(), piece->TableY(), piece->Mask().TableWidth(), piece->Mask().TableHeight());
  TableSurface& surface = TableTop::Current()->Surface();
  ChipGroup* group = chain.front()->Group();
  group->SetBounds(surface.GetWidth(), surface.GetHeight(), true, box.left(), box.top(), box.right(),
                   box.bottom());
  return group;
}

// The scatter may have put a loose piece where a group now lies; a click must find one.
void LayLoosePiecesClearOfGroups(ChipList& pieces, int tableWidth) {
  for (int i = 0; i < pieces.Count(); ++i) {
    PuzzleChip* piece = pieces.At(i);
    if (piece->Group()) continue;
    const int x = tableWidth - piece->Mask().TableWidth() - 10;
    piece->Place(0, false, true, true, x + piece->Mask().MinX(), 10 + piece->Mask().FirstRow());
  }
}

// A click on a loose piece picks it up: it hangs at the pointer while the window changes.
void PickUpALoosePiece(TMainForm& form) {
  TableTop* top = form.Table();
  ChipList& pieces = top->Surface().GetChipList();
  for (int i = 0; i < pieces.Count() && !top->Surface().Selection(); ++i) {
    const PuzzleChip* piece = pieces.At(i);
    if (piece->Group()) continue;
    const std::optional<QPoint> at = TableHands::Grip(top->Surface(), *piece);
    if (!at) continue;
    top->MousePressed(Qt::LeftButton, Qt::NoModifier, *at);
    top->MouseReleased(Qt::LeftButton, *at);
  }
  QVERIFY(top->Surface().Selection());
}

PuzzleChip* TopLeftPiece(ChipList& pieces) {
  for (int i = 0; i < pieces.Count(); ++i)
    if (!pieces.At(i)->Neighbour(ChipSide::Left) && !pieces.At(i)->Neighbour(ChipSide::Up)) return pieces.At(i);
  return nullptr;
}

// Every piece of the puzzle, wherever it lies.
int PiecesEverywhere(TMainForm& form) {
  int count = form.Table()->Surface().GetChipList().Count() + PuzzleChip::CapturedList().Count();
  for (MiniSurface* mini : form.findChildren<MiniSurface*>()) count += mini->Chips().Count();
  if (const ChipSelection* carried = form.Table()->Surface().Selection()) count += carried->Count();
  return count;
}

// What the X server shows of the table, once two looks a moment apart agree (a repaint that
// was due has landed).
QImage TableOnScreen(TMainForm& form) {
  TableTop* top = form.Table();
  const QPoint at = top->mapTo(&form, QPoint(0, 0));
  const auto look = [&] {
    return form.screen()->grabWindow(form.winId(), at.x(), at.y(), top->width(), top->height()).toImage();
  };
  QImage last = look();
  for (int i = 0; i < 50; ++i) {
    QTest::qWait(100);
    QImage now = look();
    if (now == last) return now;
    last = now;
  }
  return last;
}

bool IsCapturedMessage(const Prompt::Record& record) {
  return record.text.startsWith(QStringLiteral("One or more puzzle sections"));
}
}  // namespace

class MainWindowRealXQTest : public QObject {
  Q_OBJECT

  QString savedGame;
  int pieceCount = 0;
  QSize largestGroup;

  // The table has taken the window's final size: no hold, the picture as large as the table top.
  static bool Settled(TMainForm& form) {
    TableTop* top = form.Table();
    const TableSurface& surface = top->Surface();
    return !surface.HoldsResizes() && QSize(surface.GetWidth(), surface.GetHeight()) == top->size();
  }

  void CheckTable(TMainForm& form, const char* step, int round) {
    const QString where = QStringLiteral("%1 %2").arg(QLatin1String(step)).arg(round);
    QTRY_VERIFY2_WITH_TIMEOUT(Settled(form), qPrintable(where), SettleMillis);
    TableTop* top = form.Table();
    QVERIFY2(top->width() > largestGroup.width() && top->height() > largestGroup.height(),
             qPrintable(where + QStringLiteral(": table %1x%2").arg(top->width()).arg(top->height())));
    QVERIFY2(PuzzleChip::CapturedList().IsEmpty(), qPrintable(where + QStringLiteral(": a group was captured")));
    // The window itself is large enough: the control panel below the table is not cut off.
    const QRect panel(form.ToolPnl()->mapTo(&form, QPoint(0, 0)), form.ToolPnl()->size());
    QVERIFY2(form.rect().contains(panel), qPrintable(where + QStringLiteral(": the window is smaller than its table")));
    // What the window manager is told: no smaller than the largest group and the panel below.
    const QSize told = form.windowHandle()->minimumSize();
    QVERIFY2(told.width() > largestGroup.width() && told.height() > largestGroup.height() + form.ToolPnl()->height(),
             qPrintable(where + QStringLiteral(": the window manager may make it %1x%2").arg(told.width()).arg(told.height())));
    QCOMPARE(PiecesEverywhere(form), pieceCount);
  }

  // The window manager may pass through other sizes on the way into or out of full screen;
  // the table took only the final one (its resizes since the log was cleared).
  static void CheckOnlyFinalSize(TMainForm& form, int round) {
    const TableSurface& surface = form.Table()->Surface();
    const QString final = QStringLiteral("Surface resize: w=%1, h=%2").arg(surface.GetWidth()).arg(surface.GetHeight());
    const QStringList resizes = TMsgLog::Lines().filter(QStringLiteral("Surface resize: "));
    for (const QString& line : resizes)
      QVERIFY2(line.endsWith(final), qPrintable(QStringLiteral("round %1: %2, then %3").arg(round).arg(line, final)));
    TMsgLog::Clear();
  }

  // After a storm of switches the window is where it began, the table exactly the window's
  // table area (below the menu, above the control panel, the whole width), and what the
  // screen shows of it is what a full redraw shows: nothing left over from a passing size.
  void CheckBackAtStart(TMainForm& form, Qt::WindowStates start, const char* step) {
    // In full screen the window manager may drop the maximised state it keeps for afterwards.
    const bool fullScreen = start & Qt::WindowFullScreen;
    const auto atStart = [&] {
      const bool stateAsAtStart = fullScreen ? bool(form.windowState() & Qt::WindowFullScreen) : form.windowState() == start;
      return stateAsAtStart && Settings()->FullScreenActive == fullScreen && Settled(form);
    };
    const auto where = [&] {
      const TableSurface& surface = form.Table()->Surface();
      return QStringLiteral("%1: state %2 (from %3), full screen %4, held %5, table %6x%7 in %8x%9")
          .arg(QLatin1String(step)).arg(int(form.windowState())).arg(int(start))
          .arg(Settings()->FullScreenActive).arg(surface.HoldsResizes()).arg(surface.GetWidth())
          .arg(surface.GetHeight()).arg(form.Table()->width()).arg(form.Table()->height());
    };
    QTRY_VERIFY2_WITH_TIMEOUT(atStart(), qPrintable(where()), SettleMillis);
    // Quiet for a moment: no late answer of the window manager moves it again.
    QTest::qWait(400);
    QVERIFY2(atStart(), qPrintable(where()));
    TableTop* top = form.Table();
    const QWidget* column = form.centralWidget();
    const QPoint topLeft = top->mapTo(column, QPoint(0, 0));
    QVERIFY2(topLeft.x() == 0 && top->width() == column->width(), step);
    const int panelTop = form.ToolPnl()->mapTo(column, QPoint(0, 0)).y();
    QVERIFY2(topLeft.y() + top->height() == panelTop || form.ToolPnl()->y() == 0, step);
    QCOMPARE(QSize(top->Surface().GetWidth(), top->Surface().GetHeight()), top->size());
    const QImage shown = TableOnScreen(form);
    top->Surface().Refresh();
    top->repaint();
    const QImage redrawn = TableOnScreen(form);
    QVERIFY2(shown == redrawn, qPrintable(QStringLiteral("%1: the screen showed more than the table").arg(QLatin1String(step))));
    QVERIFY(PuzzleChip::CapturedList().IsEmpty());
    QCOMPARE(PiecesEverywhere(form), pieceCount);
  }

  // The saved game comes back maximised with its groups on the table.
  void ContinueSavedGame(TMainForm& form) {
    form.Start({savedGame});
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    (void)QTest::qWaitFor([&] { return Puzzle::Current() && form.Table()->Surface().GetPuzzle(); }, 20000);
    QVERIFY2(Puzzle::Current(), qPrintable(TMsgLog::Lines().mid(TMsgLog::Lines().size() - 20).join('\n')));
  }

private slots:
  void initTestCase() {
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    ProgSettings& settings = *Settings();
    settings.Maximized = true;
    settings.IsolateEdges = false;
    settings.UpsideRight = true;
    settings.ShowWelcome = false;
    settings.TipsEnabled = false;
  }

  // The first start is maximised: the window manager gives it the whole work area.
  void startsMaximisedOverTheWorkArea() {
    TMainForm form;
    form.Start({});
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(DismissNextModal());
    const QRect area = form.screen()->availableGeometry();
    QTRY_VERIFY(form.isMaximized());
    QTRY_VERIFY2(form.frameGeometry().width() >= area.width() - 2,
                 qPrintable(QStringLiteral("%1 of %2").arg(form.frameGeometry().width()).arg(area.width())));
    form.close();
  }

  // A game with a column of joined pieces about three quarters of the maximised table's
  // height, and a pair beside it, saved.
  void makeSavedGameWithTallGroup() {
    TMainForm form;
    form.Start({});
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(DismissNextModal());
    QTRY_VERIFY(form.isMaximized());
    QTRY_VERIFY_WITH_TIMEOUT(Settled(form), SettleMillis);
    const int height = form.Table()->height() * 3 / 4;
    const QString picture = PuzzleFixtures::WritePicture(QStringLiteral("tall.bmp"), height * 2 / 3, height);
    WhenModal([](QWidget* dialog) {
      auto* pieces = dialog->findChild<ChooseBox*>(QStringLiteral("NumPiecesBox"));
      int fewest = 0;
      for (int i = 1; i < pieces->count(); ++i)
        if (pieces->itemText(i).remove(QLatin1Char(',')).toInt() < pieces->itemText(fewest).remove(QLatin1Char(',')).toInt())
          fewest = i;
      pieces->setCurrentIndex(fewest);
      dialog->findChild<QPushButton*>(QStringLiteral("OpenBtn"))->click();
    });
    Prompt::Double prompts;
    form.OpenDroppedFile(picture);
    QTRY_VERIFY_WITH_TIMEOUT(Puzzle::Current() != nullptr || !prompts.Shown().isEmpty(), 20000);
    QVERIFY2(prompts.Shown().isEmpty(), qPrintable(prompts.Shown().value(0).text));
    QVERIFY2(Puzzle::Current(), qPrintable(TMsgLog::Lines().mid(TMsgLog::Lines().size() - 30).join('\n')));
    Puzzle* puzzle = Puzzle::Current();
    pieceCount = puzzle->GetPieceCount();
    ChipList& pieces = form.Table()->Surface().GetChipList();
    QCOMPARE(pieces.Count(), pieceCount);
    PuzzleChip* corner = TopLeftPiece(pieces);
    QVERIFY(corner);
    int rows = 0;
    for (PuzzleChip* piece = corner; piece; piece = piece->Neighbour(ChipSide::Down)) ++rows;
    QVERIFY(rows >= 3);
    ChipGroup* tall = JoinChain(corner, rows, QPoint(10, 10));
    QVERIFY(tall);
    QVERIFY(JoinChain(corner->Neighbour(ChipSide::Right), 2, QPoint(form.Table()->width() / 2, 10)));
    LayLoosePiecesClearOfGroups(pieces, form.Table()->width());
    largestGroup = QSize(tall->Right() - tall->Left() + 1, tall->Bottom() - tall->Top() + 1);
    QVERIFY2(largestGroup.height() * 3 > form.Table()->height() * 2, "the group is not tall enough");
    puzzle->AddJoin();
    puzzle->SetChanged();
    savedGame = PuzzleFixtures::ScratchPath(QStringLiteral("tall.saw"));
    AnswerFileDialog(savedGame);
    QVERIFY(form.SavePuzzle(true));
    QVERIFY2(QFileInfo::exists(savedGame), qPrintable(TMsgLog::Lines().mid(TMsgLog::Lines().size() - 20).join('\n') + prompts.Shown().value(0).text));
    form.close();
  }

  // A game saved maximised comes back maximised into a window that was not: the window
  // manager's answer arrives a moment later, and the game waits for it instead of finding
  // the table too small. Meanwhile no puzzle is current, and no command of the one before is
  // offered.
  void gameSavedMaximisedMaximisesTheWindow() {
    QVERIFY(!savedGame.isEmpty());
    Prompt::Double prompts;
    ProgSettings& settings = *Settings();
    const QRect small(30, 30, 770, 480);
    settings.Maximized = false;
    settings.XPosition = small.x();
    settings.YPosition = small.y();
    settings.Width = small.width();
    settings.Height = small.height();
    TMainForm form;
    form.Start({});
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(DismissNextModal());
    QList<QAction*> withoutPuzzle;
    for (QAction* action : form.Actions().All())
      if (action->isEnabled()) withoutPuzzle << action;
    QTRY_VERIFY_WITH_TIMEOUT(Settled(form), SettleMillis);
    QVERIFY(form.Table()->height() < largestGroup.height());
    for (int round = 0; round < 2; ++round) {
      // Once played here, the window may not be smaller than the group, but is not maximised.
      QTRY_VERIFY_WITH_TIMEOUT(Settled(form) && !form.isMaximized(), SettleMillis);
      form.OpenDroppedFile(savedGame);
      QVERIFY(!Puzzle::Current());
      for (QAction* action : form.Actions().All())
        QVERIFY2(!action->isEnabled() || withoutPuzzle.contains(action), qPrintable(action->objectName()));
      QTRY_VERIFY2_WITH_TIMEOUT(Puzzle::Current() && form.Table()->Surface().GetPuzzle(),
                                qPrintable(prompts.Shown().value(0).text), SettleMillis);
      QTRY_VERIFY(form.isMaximized());
      CheckTable(form, "continued", round);
      // Small again for the next round, the game on the table.
      form.PlaceMainForm(small);
    }
    form.close();
    settings.Maximized = true;
  }

  // Maximise and restore, full screen on and off, and sizes above and below the largest
  // group: nothing crashes, no group is captured, the table never gets smaller than the
  // group, no captured message shows, and no piece is lost.
  void survivesEveryStateAndSize() {
    QVERIFY(!savedGame.isEmpty());
    Prompt::Double prompts;
    auto form = std::make_unique<TMainForm>();
    ContinueSavedGame(*form);
    if (QTest::currentTestFailed()) return;
    QTRY_VERIFY(form->isMaximized());
    CheckTable(*form, "loaded", 0);
    for (int round = 0; round < 10; ++round) {
      if (round % 2 == 0) PickUpALoosePiece(*form);
      form->setWindowState(Qt::WindowNoState);
      QTRY_COMPARE(form->windowState(), Qt::WindowNoState);
      CheckTable(*form, "restored", round);
      form->setWindowState(Qt::WindowMaximized);
      QTRY_VERIFY(form->isMaximized());
      CheckTable(*form, "maximised", round);
    }
    for (int round = 0; round < 10; ++round) {
      if (round % 2 == 0) PickUpALoosePiece(*form);
      TMsgLog::Clear();
      form->Actions().FullScreenAtn->trigger();
      QTRY_VERIFY(form->windowState() & Qt::WindowFullScreen);
      CheckTable(*form, "full screen", round);
      CheckOnlyFinalSize(*form, round);
      form->Actions().FullScreenAtn->trigger();
      QTRY_VERIFY(!(form->windowState() & Qt::WindowFullScreen));
      CheckTable(*form, "windowed", round);
      CheckOnlyFinalSize(*form, round);
    }
    // Full screen began maximised: a restore afterwards brings the saved normal place back.
    const QPoint normalPlace(Settings()->XPosition, Settings()->YPosition);
    form->setWindowState(Qt::WindowNoState);
    QTRY_COMPARE(form->windowState(), Qt::WindowNoState);
    QTRY_COMPARE(form->geometry().topLeft(), normalPlace);
    QRandomGenerator random(39);
    const QRect area = form->screen()->availableGeometry();
    for (int round = 0; round < 20; ++round) {
      const QSize asked(random.bounded(300, area.width() - 40), random.bounded(200, area.height() - 60));
      form->resize(asked);
      QTRY_VERIFY_WITH_TIMEOUT(form->size() == asked.expandedTo(form->minimumSize()), SettleMillis);
      CheckTable(*form, "resized", round);
    }
    for (const Prompt::Record& record : prompts.Shown())
      QVERIFY2(!IsCapturedMessage(record), "the captured message showed");
    form->close();
  }

  // The saved game continued maximised in the active window, the pointer resting on the
  // control panel (no hover mark on the table); the F12 presses that reach the game counted.
  void ContinueForKeys(std::unique_ptr<TMainForm>& form, int& presses) {
    QVERIFY(!savedGame.isEmpty());
    Settings()->Maximized = true;
    form = std::make_unique<TMainForm>();
    ContinueSavedGame(*form);
    if (QTest::currentTestFailed()) return;
    QTRY_VERIFY(form->isMaximized());
    CheckTable(*form, "loaded", 0);
    form->activateWindow();
    QTRY_VERIFY_WITH_TIMEOUT(HasKeyboard(*form), SettleMillis);
    const QPoint rest = form->ToolPnl()->mapToGlobal(QPoint(5, 5));
    QVERIFY(Xdo({QStringLiteral("mousemove"), QString::number(rest.x()), QString::number(rest.y())}));
    connect(form->Actions().FullScreenAtn, &QAction::triggered, form.get(), [&presses] { ++presses; });
  }

  static void PressesHandled(const int& presses, int count) {
    QTRY_VERIFY2_WITH_TIMEOUT(presses == count, qPrintable(QStringLiteral("%1 of %2 presses").arg(presses).arg(count)),
                              SettleMillis);
  }

  // What the game believes of its window against what the window manager reports: full
  // screen in the setting the next F12 follows, the menu's check and the log; maximised.
  static QString Disagreement(TMainForm& form) {
    const WmState wm = WindowManagerState(form);
    const QStringList said = TMsgLog::Lines().filter(QStringLiteral("Full screen mode, on="));
    const bool logged = !said.isEmpty() && said.last().endsWith(QLatin1Char('1'));
    const bool checked = form.Actions().FullScreenAtn->isChecked();
    const ProgSettings& settings = *Settings();
    if (settings.FullScreenActive == wm.fullScreen && checked == wm.fullScreen && logged == wm.fullScreen &&
        (wm.fullScreen || settings.Maximized == wm.maximised) && Settled(form))
      return {};
    return QStringLiteral("window manager: full screen %1, maximised %2; game: full screen %3, check %4, log %5, "
                          "maximised %6, table settled %7")
        .arg(wm.fullScreen).arg(wm.maximised).arg(settings.FullScreenActive).arg(checked).arg(logged)
        .arg(settings.Maximized).arg(Settled(form));
  }

  // Once the window manager has handled all the game asked of it, the game agrees with it.
  static void CheckAgreement(TMainForm& form, const QString& where) {
    QTRY_VERIFY2_WITH_TIMEOUT(Settled(form), qPrintable(where), SettleMillis);
    QVERIFY2(WindowManagerCaughtUp(form), qPrintable(where));
    QTRY_VERIFY2_WITH_TIMEOUT(Disagreement(form).isEmpty(),
                              qPrintable(where + QStringLiteral(": ") + Disagreement(form)), SettleMillis);
  }

  // F12 pressed as a player presses it, faster than the window manager answers: twice 40 ms
  // apart, fifteen times in a row (and once more back), and between maximise and restore.
  // Each storm ends with the table at the window's final size, drawn afresh.
  void fullScreenStormsEndAtTheWindowsFinalSize() {
    Prompt::Double prompts;
    std::unique_ptr<TMainForm> form;
    int presses = 0;
    ContinueForKeys(form, presses);
    if (QTest::currentTestFailed()) return;
    const Qt::WindowStates start = form->windowState();
    const QString f12 = QStringLiteral("F12");
    const auto pressesHandled = [&](int count) { PressesHandled(presses, count); };

    QVERIFY(Xdo({QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("40"), f12, f12}));
    pressesHandled(2);
    CheckBackAtStart(*form, start, "F12 twice");

    QStringList fifteen{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("15")};
    for (int i = 0; i < 15; ++i) fifteen << f12;
    QVERIFY(Xdo(fifteen));
    pressesHandled(17);
    CheckBackAtStart(*form, start | Qt::WindowFullScreen, "F12 fifteen times");
    QVERIFY(Xdo({QStringLiteral("key"), f12}));
    pressesHandled(18);
    CheckBackAtStart(*form, start, "F12 once more");

    // Each toggle comes before the window has handled the two presses sent just before it.
    for (int round = 0; round < 6; ++round) {
      QVERIFY(Xdo({QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("40"), f12, f12}));
      const Qt::WindowStates toggled = round % 2 == 0 ? Qt::WindowNoState : Qt::WindowMaximized;
      form->setWindowState(toggled);
      pressesHandled(20 + 2 * round);
      CheckBackAtStart(*form, toggled, round % 2 == 0 ? "restored between F12" : "maximised between F12");
    }
    CheckBackAtStart(*form, start, "maximise and restore between F12");
    for (const Prompt::Record& record : prompts.Shown())
      QVERIFY2(!IsCapturedMessage(record), "the captured message showed");
    form->close();
  }

  // F12 in bursts of every even length, 30 ms apart, each length eight times: the window
  // manager may answer late, and may end a burst in full screen; whatever it ends in, the
  // game ends believing it, and the next F12 switches from there.
  void f12BurstsEndAsTheWindowManagerSays() {
    Prompt::Double prompts;
    std::unique_ptr<TMainForm> form;
    int presses = 0, sent = 0;
    ContinueForKeys(form, presses);
    if (QTest::currentTestFailed()) return;
    for (int length = 2; length <= 16; length += 2) {
      for (int round = 0; round < 8; ++round) {
        QStringList keys{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("30")};
        for (int i = 0; i < length; ++i) keys << QStringLiteral("F12");
        QProcess xdo;
        XdoMeanwhile(xdo, keys);
        PressesHandled(presses, sent += length);
        QTRY_VERIFY(xdo.state() == QProcess::NotRunning);
        CheckAgreement(*form, QStringLiteral("%1 presses, round %2").arg(length).arg(round));
        if (QTest::currentTestFailed()) return;
      }
    }
    const bool fullScreen = WindowManagerState(*form).fullScreen;
    QVERIFY(Xdo({QStringLiteral("key"), QStringLiteral("F12")}));
    PressesHandled(presses, sent + 1);
    CheckAgreement(*form, QStringLiteral("the next F12"));
    QCOMPARE(WindowManagerState(*form).fullScreen, !fullScreen);
    form->close();
  }

  // Two F12 and, the moment the game has asked for the second, a maximise or restore by the
  // window manager (as its title-bar button does) while the switch still runs: the window
  // manager's maximise is kept, the game agrees, and the normal place stays a normal
  // window's, its frame on the screen.
  void windowManagersMaximiseDuringASwitchIsKept() {
    Prompt::Double prompts;
    std::unique_ptr<TMainForm> form;
    int presses = 0;
    ContinueForKeys(form, presses);
    if (QTest::currentTestFailed()) return;
    connect(form->Actions().FullScreenAtn, &QAction::triggered, form.get(), [&] {
      if (presses % 2 == 0) ToggleMaximisedByWindowManager(*form);
    });
    const QRect area = form->screen()->availableGeometry();
    bool maximised = WindowManagerState(*form).maximised;
    for (int round = 0; round < 6; ++round) {
      const QString where = QStringLiteral("round %1").arg(round);
      QProcess xdo;
      XdoMeanwhile(xdo, {QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("40"), QStringLiteral("F12"),
                         QStringLiteral("F12")});
      maximised = !maximised;
      PressesHandled(presses, 2 * (round + 1));
      QTRY_VERIFY(xdo.state() == QProcess::NotRunning);
      CheckAgreement(*form, where);
      QVERIFY2(WindowManagerState(*form).maximised == maximised, qPrintable(where));
      const ProgSettings& settings = *Settings();
      QVERIFY2(settings.Width < area.width() && settings.Height < area.height(),
               qPrintable(where + QStringLiteral(": normal place %1x%2").arg(settings.Width).arg(settings.Height)));
      if (!maximised)
        QTRY_VERIFY2_WITH_TIMEOUT(area.contains(form->frameGeometry()), qPrintable(where), SettleMillis);
    }
    form->close();
  }

  // The control panel hidden, a saved game continued, the window made as small as it may be,
  // the panel shown again: the window grows for it, and the table keeps room for the largest
  // group.
  void panelShownAgainAtTheMinimumLeavesTheTableWhole() {
    QVERIFY(!savedGame.isEmpty());
    Settings()->Maximized = true;
    Prompt::Double prompts;
    auto form = std::make_unique<TMainForm>();
    form->Start({});
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QVERIFY(DismissNextModal());
    form->activateWindow();
    QTRY_VERIFY_WITH_TIMEOUT(HasKeyboard(*form), SettleMillis);
    QVERIFY(Xdo({QStringLiteral("key"), QStringLiteral("F11")}));
    QTRY_VERIFY(!form->ToolPnl()->isVisible());
    form->OpenDroppedFile(savedGame);
    QTRY_VERIFY_WITH_TIMEOUT(Puzzle::Current() && form->Table()->Surface().GetPuzzle(), SettleMillis);
    form->setWindowState(Qt::WindowNoState);
    QTRY_COMPARE(form->windowState(), Qt::WindowNoState);
    form->resize(200, 150);
    QTRY_VERIFY_WITH_TIMEOUT(Settled(*form) && form->size() == form->minimumSize(), SettleMillis);
    form->activateWindow();
    QTRY_VERIFY_WITH_TIMEOUT(HasKeyboard(*form), SettleMillis);
    QVERIFY(Xdo({QStringLiteral("key"), QStringLiteral("F11")}));
    QTRY_VERIFY(form->ToolPnl()->isVisible());
    CheckTable(*form, "panel shown again", 0);
    TableTop* top = form->Table();
    QVERIFY2(top->height() >= top->minimumHeight() && top->width() >= top->minimumWidth(),
             qPrintable(QStringLiteral("table %1x%2, at least %3x%4").arg(top->width()).arg(top->height())
                            .arg(top->minimumWidth()).arg(top->minimumHeight())));
    for (const Prompt::Record& record : prompts.Shown())
      QVERIFY2(!IsCapturedMessage(record), "the captured message showed");
    form->close();
  }
};

TV_QTEST_MAIN(MainWindowRealXQTest)
#include "MainWindowRealXQTest.moc"
