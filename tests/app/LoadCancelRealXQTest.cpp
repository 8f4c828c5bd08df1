// Esc stops a load at every stage, pressed in the loading window while the main window is
// disabled, under a real X server: a still picture, a saved game and an animated puzzle. The
// table is left empty and the minis empty and showing the empty table.

#include "PuzzleFixtures.h"
#include "QtTestMain.h"
#include "QvpWriter.h"
#include "RealInput.h"
#include "TMainForm.h"
#include "WhenModal.h"

#include "Yelk/TMsgLog.h"
#include "controls/ChooseBox.h"
#include "imaging/VirtualBuffer.h"
#include "puzzle/Puzzle.h"
#include "settings/ProgSettings.h"
#include "table/MiniSurface.h"
#include "table/TLoadBarForm.h"
#include "table/TableSurface.h"
#include "table/TableTop.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <cstring>

namespace {
TLoadBarForm* LoadingWindow() {
  for (QWidget* window : QApplication::topLevelWidgets())
    if (auto* form = qobject_cast<TLoadBarForm*>(window); form && form->isVisible()) return form;
  return nullptr;
}

void AcceptOpenDialog() {
  WhenModal([](QWidget* dialog) {
    // The fewest pieces that still leave interior pieces for a mini.
    if (auto* pieces = dialog->findChild<ChooseBox*>(QStringLiteral("NumPiecesBox"))) {
      int chosen = -1;
      for (int i = 0; i < pieces->count(); ++i) {
        const int count = pieces->itemText(i).remove(QLatin1Char(',')).toInt();
        if (count >= 20 && (chosen < 0 || count < pieces->itemText(chosen).remove(QLatin1Char(',')).toInt()))
          chosen = i;
      }
      if (chosen >= 0) pieces->setCurrentIndex(chosen);
    }
    dialog->findChild<QPushButton*>(QStringLiteral("OpenBtn"))->click();
  });
}

// Presses Esc in the loading window, through the window system, once it shows the stage
// (0: before the first one). What it found is kept for the checks.
class EscAtStage : public QObject {
public:
  // toMain: the key goes to the disabled main window instead, as when the loading window
  // lost the keyboard; the busy state takes it there.
  // bar: pressed only once the bar has got there too.
  EscAtStage(int stage, bool toMain, int bar = 0) : stage(stage), toMain(toMain), bar(bar) { ticks = startTimer(0); }
  void timerEvent(QTimerEvent*) override {
    TLoadBarForm* form = LoadingWindow();
    if (pressed || !form || form->GetStage() != stage || form->BarPosition() < bar) return;
    pressed = true;
    formEnabled = form->isEnabled();
    mainEnabled = TableTop::Current()->window()->isEnabled();
    QTest::keyClick(toMain ? TableTop::Current()->window()->windowHandle() : form->windowHandle(), Qt::Key_Escape);
    killTimer(ticks);
  }
  int stage;
  bool toMain;
  int bar;
  int ticks;
  bool pressed = false;
  bool formEnabled = false;
  bool mainEnabled = true;
};

// Counts the X server's key events as they arrive, before the program handles them.
class XKeyWatch : public QAbstractNativeEventFilter {
public:
  XKeyWatch() { qApp->installNativeEventFilter(this); }
  ~XKeyWatch() override { qApp->removeNativeEventFilter(this); }
  bool nativeEventFilter(const QByteArray&, void* message, qintptr*) override {
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const int type = event->response_type & 0x7F;
    if (type == XCB_KEY_PRESS || type == XCB_KEY_RELEASE) (type == XCB_KEY_PRESS ? presses : releases) += 1;
    return false;
  }
  int presses = 0;
  int releases = 0;
};

// Counts the key presses the program is given, in front of every filter installed before it.
class QtKeyWatch : public QObject {
public:
  QtKeyWatch() { qApp->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* event) override {
    presses += event->type() == QEvent::KeyPress;
    return false;
  }
  int presses = 0;
};

// The top piece laid over the next one: Down's release then sends it to the bottom.
bool CoverSecondPiece(TableSurface& surface) {
  ChipList& pieces = surface.GetChipList();
  if (pieces.Count() < 2) return false;
  PuzzleChip* top = pieces.At(0);
  const PuzzleChip* next = pieces.At(1);
  top->Place(top->Mask().Rotation(), false, true, true, next->TableX(), next->TableY());
  return true;
}

bool SameAsTable(MiniSurface& mini, const VirtualBuffer& table) {
  VirtualBuffer expected(mini.width(), mini.height(), QStringLiteral("Expected"));
  expected.StretchFrom(table);
  const VirtualBuffer* shown = mini.Buffer();
  return shown && shown->width == expected.width && shown->height == expected.height &&
         std::memcmp(shown->memory, expected.memory, std::size_t(expected.width) * expected.height * 4) == 0;
}
}  // namespace

class LoadCancelRealXQTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TMainForm> form;
  QString picture, savedGame, animated;

  // A full load of the picture: the interior pieces lie on a mini, whose thumbnail shows them.
  void LoadPictureFully() {
    AcceptOpenDialog();
    form->OpenDroppedFile(picture);
    QTRY_VERIFY_WITH_TIMEOUT(Puzzle::Current() != nullptr, 20000);
  }

  void CancelAt(const QString& path, bool viaDialog, int stage, bool toMain) {
    LoadPictureFully();
    bool miniHoldsPieces = false;
    for (MiniSurface* mini : form->findChildren<MiniSurface*>()) miniHoldsPieces |= !mini->Chips().IsEmpty();
    QVERIFY(miniHoldsPieces);
    EscAtStage esc(stage, toMain);
    if (viaDialog) AcceptOpenDialog();
    form->OpenDroppedFile(path);
    QTRY_VERIFY(!TLoadBarForm::LoadIsRunning());
    QVERIFY2(esc.pressed, qPrintable(QStringLiteral("stage %1 never showed").arg(stage)));
    QVERIFY(esc.formEnabled);
    QVERIFY(!esc.mainEnabled);
    QVERIFY(form->isEnabled());
    QVERIFY(!Puzzle::Current());
    const TableSurface& surface = form->Table()->Surface();
    QVERIFY(!surface.GetPuzzle());
    QVERIFY(const_cast<TableSurface&>(surface).GetChipList().IsEmpty());
    for (MiniSurface* mini : form->findChildren<MiniSurface*>()) {
      QVERIFY(mini->Chips().IsEmpty());
      if (!mini->IsActive())
        QVERIFY2(SameAsTable(*mini, *surface.TableBuffer()), qPrintable(QStringLiteral("mini %1").arg(mini->Index())));
    }
    QVERIFY(TMsgLog::Lines().filter(QStringLiteral("Load Bar Cancel, stage=%1").arg(stage)).size() > 0);
  }

private slots:
  void initTestCase() {
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    ProgSettings& settings = *Settings();
    settings.IsolateEdges = true;
    settings.ShowWelcome = false;
    settings.TipsEnabled = false;
    TLoadBarForm::SetWaiter([](int) {});
    picture = PuzzleFixtures::WritePicture(QStringLiteral("still.bmp"), 320, 240);
    QvpWriter writer(160, 120);
    writer.AddClip(24, 16, 5, 0, 20, 30);
    animated = PuzzleFixtures::ScratchPath(QStringLiteral("moving.qvp"));
    QVERIFY(writer.Write(animated));
    form = std::make_unique<TMainForm>();
    form->Start({});
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QVERIFY(DismissNextModal());
    LoadPictureFully();
    savedGame = PuzzleFixtures::ScratchPath(QStringLiteral("still.saw"));
    AnswerFileDialog(savedGame);
    QVERIFY(form->SavePuzzle(true));
    QVERIFY(QFileInfo::exists(savedGame));
  }
  void cleanupTestCase() {
    form->close();
    form.reset();
  }

  void escStopsTheLoad_data() {
    QTest::addColumn<int>("source");
    QTest::addColumn<int>("stage");
    QTest::addColumn<bool>("toMain");
    for (int stage : {0, 2, 3, 4}) {
      QTest::addRow("picture, stage %d", stage) << 0 << stage << false;
      QTest::addRow("saved game, stage %d", stage) << 1 << stage << false;
    }
    for (int stage : {0, 2, 3, 4, 5}) QTest::addRow("animated, stage %d", stage) << 2 << stage << false;
    for (int stage : {0, 4}) QTest::addRow("picture, stage %d, key to the main window", stage) << 0 << stage << true;
  }
  // Esc once the animation's last stage shows a full bar, with the pictures and the music
  // starting, still cancels: the table is left empty.
  void escWithTheLastStageFullCancels() {
    LoadPictureFully();
    EscAtStage esc(5, false, 100);
    AcceptOpenDialog();
    form->OpenDroppedFile(animated);
    QTRY_VERIFY(!TLoadBarForm::LoadIsRunning());
    QVERIFY2(esc.pressed, "the last stage never showed a full bar");
    QVERIFY(!Puzzle::Current());
    QVERIFY(!form->Table()->Surface().GetPuzzle());
    QVERIFY(form->isEnabled());
    QVERIFY(TMsgLog::Lines().filter(QStringLiteral("Load Bar Cancel, stage=5, barPos=100")).size() > 0);
  }

  // Down pressed during a load and held past its end, repeating as keys do on every desktop,
  // then let go: the press went nowhere (the game was busy), and so do its repeats and its
  // release: nothing on the table changes, though Down went to the main window the time
  // before.
  void keyHeldAcrossTheEndOfALoadChangesNothing() {
    SetKeyRepeat(true);
    LoadPictureFully();
    form->activateWindow();
    QTRY_VERIFY(HasKeyboard(*form));
    XKeyWatch down;
    TableSurface& surface = form->Table()->Surface();
    QVERIFY(CoverSecondPiece(surface));
    const TableState loaded = StateOf(surface);
    QVERIFY(Xdo({QStringLiteral("key"), QStringLiteral("Down")}));
    // Held a moment too long on a loaded machine, it may have repeated.
    QTRY_VERIFY2(down.releases >= 1 && down.releases == down.presses,
                 qPrintable(QStringLiteral("%1 presses, %2 releases").arg(down.presses).arg(down.releases)));
    QTRY_VERIFY(!(StateOf(surface) == loaded));
    QCoreApplication::processEvents();
    Puzzle::Current()->ClearChanged();
    bool pressedDuringLoad = false;
    // The load waits between its stages: there the key goes down and reaches the game.
    // The key goes to the window that has the keyboard: one of ours is given it first.
    bool sent = false;
    std::unique_ptr<QtKeyWatch> seen;
    TLoadBarForm::SetWaiter([&](int) {
      if (sent || !QTest::qWaitFor([] { return QApplication::activeWindow() != nullptr; }, 20000)) return;
      seen = std::make_unique<QtKeyWatch>();  // in front of the busy state's filter
      sent = Xdo({QStringLiteral("keydown"), QStringLiteral("Down")});
      pressedDuringLoad = sent && QTest::qWaitFor([&] { return seen->presses > 0; }, 20000);
    });
    AcceptOpenDialog();
    form->OpenDroppedFile(picture);
    TLoadBarForm::SetWaiter([](int) {});
    QTRY_VERIFY_WITH_TIMEOUT(Puzzle::Current() != nullptr && !TLoadBarForm::LoadIsRunning(), 20000);
    QVERIFY(pressedDuringLoad);
    QTRY_VERIFY(QApplication::activeWindow() == form.get());
    QVERIFY(CoverSecondPiece(surface));
    const TableState before = StateOf(surface);
    // Repeats come after the load's end, each a press and a release for the game.
    const int atEnd = down.presses;
    QTRY_VERIFY_WITH_TIMEOUT(down.presses >= atEnd + 3, 20000);
    QVERIFY(Xdo({QStringLiteral("keyup"), QStringLiteral("Down")}));
    QTRY_VERIFY(down.releases == down.presses);
    QCoreApplication::processEvents();
    QVERIFY(StateOf(surface) == before);
    // A fresh press and release still restack.
    QVERIFY(CoverSecondPiece(surface));
    const TableState covered = StateOf(surface);
    QVERIFY(Xdo({QStringLiteral("key"), QStringLiteral("Down")}));
    QTRY_VERIFY(!(StateOf(surface) == covered));
  }

  void escStopsTheLoad() {
    QFETCH(int, source);
    QFETCH(int, stage);
    QFETCH(bool, toMain);
    const QString path = source == 0 ? picture : source == 1 ? savedGame : animated;
    CancelAt(path, source != 1, stage, toMain);
  }
};

TV_QTEST_MAIN(LoadCancelRealXQTest)
#include "LoadCancelRealXQTest.moc"
