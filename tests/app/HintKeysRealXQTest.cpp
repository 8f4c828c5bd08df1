// The hint pop-up's arrow keys under a real X server and window manager, pressed and let go
// as a player does: the key goes down while the pop-up has the focus and closes it, and comes
// up once the window manager has given the focus back to the main window. The release must
// act on nothing there: no piece turns, moves or changes its place in the pile.

#include "ModalAnswers.h"
#include "RealInput.h"
#include "PuzzleFixtures.h"
#include "QtTestMain.h"
#include "TMainForm.h"
#include "WhenModal.h"

#include "puzzle/ChipList.h"
#include "puzzle/ChipMask.h"
#include "puzzle/Puzzle.h"
#include "puzzle/PuzzleChip.h"
#include "settings/ProgSettings.h"
#include "table/ChipSelection.h"
#include "table/THintFrm.h"
#include "table/TableSurface.h"
#include "table/TableTop.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>
#include <QtTest>

#include <memory>
#include <optional>
#include <tuple>
#include <vector>

namespace {
constexpr int Patience = 20000;

// Sees each real (not repeated) release of one key before anything in the program acts on it.
class ReleaseWatch : public QObject {
public:
  explicit ReleaseWatch(int key) : key_(key) { qApp->installEventFilter(this); }
  bool seen = false;

protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::KeyRelease && event->spontaneous()) {
      const auto* release = static_cast<QKeyEvent*>(event);
      if (release->key() == key_ && !release->isAutoRepeat()) seen = true;
    }
    return false;
  }

private:
  int key_;
};
}  // namespace

class HintKeysRealXQTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TMainForm> form;

  ChipList& Pieces() { return form->Table()->Surface().GetChipList(); }

  // A loose piece with a neighbour on the key's side, and a point of the screen where it lies on top.
  std::optional<QPoint> PointOverPieceWithNeighbour(int key) {
    ChipList& pieces = Pieces();
    for (int i = 0; i < pieces.Count(); ++i) {
      PuzzleChip* piece = pieces.At(i);
      if (piece->Group() || !THintFrm::NeighbourOnScreen(*piece, key)) continue;
      const QPoint centre(piece->TableX() + piece->Mask().TableWidth() / 2,
                          piece->TableY() + piece->Mask().TableHeight() / 2);
      for (int dy = -6; dy <= 6; dy += 2)
        for (int dx = -6; dx <= 6; dx += 2)
          if (pieces.HitTest(centre.x() + dx, centre.y() + dy) == piece)
            return form->Table()->mapToGlobal(centre + QPoint(dx, dy));
    }
    return std::nullopt;
  }

  static THintFrm* ActiveHint() { return qobject_cast<THintFrm*>(QApplication::activeWindow()); }

  // Opens the hint pop-up over a piece as asked, presses key in it and lets the key go once the
  // main window has the focus again. Whatever the pop-up and the opening did is done by then:
  // the release must leave every piece as it was at that moment.
  void PressInHintPopUp(int key, const QStringList& open, bool fromMenu) {
    // The last hint's mark has gone: a new hint shows only then.
    QTRY_VERIFY_WITH_TIMEOUT(form->Table()->Surface().HintState() == 0, Patience);
    const std::optional<QPoint> at = PointOverPieceWithNeighbour(key);
    QVERIFY(at);
    const int hintsUsed = Puzzle::Current()->GetHintsUsed();
    const QString keyName = key == Qt::Key_Left ? QStringLiteral("Left") : QStringLiteral("Down");
    ReleaseWatch watch(key);
    TableState before;
    enum class Step { Open, Menu, Hint, Taken, Released } step = Step::Open;
    bool failed = false;
    // The opening runs modal loops inside the handling of the player's own input: the player
    // acts from a timer, which every one of those loops runs.
    QTimer player;
    player.setInterval(10);
    connect(&player, &QTimer::timeout, this, [&] {
      switch (step) {
        case Step::Open:
          failed |= !Xdo(QStringList{QStringLiteral("mousemove"), QString::number(at->x()), QString::number(at->y())} + open);
          step = fromMenu ? Step::Menu : Step::Hint;
          break;
        case Step::Menu:
          if (QApplication::activePopupWidget() != form->TableMenu()) return;
          failed |= !Xdo({QStringLiteral("key"), QStringLiteral("h")});
          step = Step::Hint;
          break;
        case Step::Hint:
          if (!ActiveHint()) return;
          failed |= !Xdo({QStringLiteral("keydown"), keyName});
          step = Step::Taken;
          break;
        case Step::Taken:
          // The pop-up has closed, the focus is back and a right-click has picked its piece up.
          if (THintFrm::IsOpen() || QApplication::activeWindow() != form.get()) return;
          if (fromMenu && !form->Table()->Surface().Selection()) return;
          before = StateOf(form->Table()->Surface());
          failed |= !Xdo({QStringLiteral("keyup"), keyName});
          step = Step::Released;
          break;
        case Step::Released: break;
      }
    });
    player.start();
    QTRY_VERIFY_WITH_TIMEOUT(watch.seen || failed, Patience);
    player.stop();
    QVERIFY2(!failed, "xdotool failed");
    QCOMPARE(Puzzle::Current()->GetHintsUsed(), hintsUsed + 1);
    QCoreApplication::processEvents();
    QVERIFY(StateOf(form->Table()->Surface()) == before);
  }

private slots:
  void initTestCase() {
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    StopKeyRepeat();
    ModalAnswers::PlaySettings();
    Settings()->TipsEnabled = false;
    Settings()->UpsideRight = true;
    form = std::make_unique<TMainForm>();
    form->Start({});
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QVERIFY(DismissNextModal());
    ModalAnswers answers;
    form->WMCopyData({QStringLiteral("game"), PuzzleFixtures::WritePicture(QStringLiteral("keys.bmp"), 480, 320)});
    QTRY_VERIFY_WITH_TIMEOUT(Puzzle::Current() != nullptr, Patience);
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get(), Patience));
  }

  // Right-click, Hint, Left: the pop-up finds the left neighbour; the piece the right-click
  // picked up is not turned by the key's release.
  void leftFromTheTableMenu() {
    PressInHintPopUp(Qt::Key_Left, {QStringLiteral("click"), QStringLiteral("3")}, true);
  }

  // F3, Down: the pop-up marks the neighbour below; the release sends nothing to the bottom.
  void downAfterF3() {
    // The piece still carried from the last case is laid down first.
    if (form->Table()->Surface().Selection()) {
      QVERIFY(Xdo({QStringLiteral("click"), QStringLiteral("1")}));
      QTRY_VERIFY(!form->Table()->Surface().Selection());
    }
    PressInHintPopUp(Qt::Key_Down, {QStringLiteral("key"), QStringLiteral("F3")}, false);
  }

  void cleanupTestCase() {
    if (Puzzle::Current()) Puzzle::Current()->ClearChanged();
    form.reset();
  }
};

TV_QTEST_MAIN(HintKeysRealXQTest)
#include "HintKeysRealXQTest.moc"
