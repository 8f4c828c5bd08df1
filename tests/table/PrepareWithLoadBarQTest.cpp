#include "QtTestMain.h"
#include "SurfaceFixtures.h"
#include "TestEnvironment.h"
#include "imaging/VirtualBuffer.h"
#include "puzzle/BevelFilter.h"
#include "puzzle/ChipList.h"
#include "puzzle/Puzzle.h"
#include "puzzle/PuzzleTable.h"
#include "table/TLoadBarForm.h"
#include "Yelk/Prompt.h"

#include <QFile>
#include <QKeyEvent>

namespace {

// A table that only holds the pieces.
class PieceTable : public PuzzleTable {
public:
  PieceTable() { SetCurrent(this); }
  ~PieceTable() override {
    pieces.DeleteAll();
    SetCurrent(nullptr);
  }
  QSize AvailableArea() const override { return {1000, 800}; }
  int GetWidth() const override { return 1000; }
  int GetHeight() const override { return 800; }
  void DeleteAllPieces() override { pieces.DeleteAll(); }
  ChipList& GetChipList() override { return pieces; }
  void SetJoinSoundPending() override {}
  QSize ScreenSize() const override { return {1280, 800}; }
  void MaximizeMainForm() override {}
  void PlaceMainForm(const QRect&) override {}
  void SwitchToMini(int) override {}
  ChipList pieces;
};

QString WriteBitmap(int width, int height) {
  VirtualBuffer picture(width, height, QStringLiteral("picture"));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) picture.Row(y)[x] = std::uint32_t(x << 16 | y << 8 | 7);
  const QString path = TestEnvironment::ScratchFolder() + QStringLiteral("/load.bmp");
  QFile file(path);
  file.open(QIODevice::WriteOnly | QIODevice::Truncate);
  picture.Write(file, VirtualBuffer::BitmapMode);
  return path;
}

// A 160 x 120 picture in 20-pixel pieces, with the loading window showing.
struct Loading {
  Loading() {
    puzzle.SetPieceSize(20);
    form.show();
  }
  Prompt::Double prompts;
  PieceTable table;
  Puzzle puzzle{WriteBitmap(160, 120)};
  TLoadBarForm form;
};

}  // namespace

class PrepareWithLoadBarQTest : public QObject {
  Q_OBJECT

private slots:
  void init() { TLoadBarForm::SetWaiter([](int) {}); }
  void cleanup() { TLoadBarForm::SetWaiter({}); }

  // The loading window goes through the die and the pieces with its bar in range, and the
  // puzzle comes out prepared.
  void StagesWhilePreparing() {
    Loading loading;
    auto& [prompts, table, puzzle, form] = loading;
    QVERIFY(puzzle.Prepare(&table, &form));
    QCOMPARE(form.GetStage(), 3);
    QVERIFY(form.BarPosition() >= 0 && form.BarPosition() <= 100);
    QCOMPARE(table.pieces.Count(), 48);
    QVERIFY(puzzle.GetBevel() != nullptr);
    QVERIFY(prompts.Shown().isEmpty());
  }

  // Esc in the window stops the preparation with nothing of the cut left.
  void EscCancels() {
    Loading loading;
    auto& [prompts, table, puzzle, form] = loading;
    form.SetBarPosition(0);  // the window listens for Esc from its first update on
    QTest::keyClick(&form, Qt::Key_Escape);
    QVERIFY(form.IsCancelled());
    QVERIFY(!puzzle.Prepare(&table, &form));
    QCOMPARE(table.pieces.Count(), 0);
    QVERIFY(puzzle.GetBevel() == nullptr);
    QVERIFY(prompts.Shown().isEmpty());
  }

  // An Esc that reaches the loading window before its first stage still stops the load.
  void EscBeforeTheFirstStageStopsTheLoad() {
    Prompt::Double prompts;
    HeadlessTable t(400, 300);
    t.host.loadWindow = [] {
      auto form = std::make_unique<TLoadBarForm>();
      form->show();
      QCoreApplication::postEvent(form.get(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
      return form;
    };
    Puzzle puzzle(WriteBitmap(160, 120));
    puzzle.SetPieceSize(20);
    QVERIFY(!t.surface.LoadPuzzle(&puzzle));
    QVERIFY(t.surface.GetPuzzle() == nullptr);
    QCOMPARE(t.PiecesAnywhere(), 0);
    QCOMPARE(t.host.calls.last(), QStringLiteral("enable"));
  }
};

TV_QTEST_MAIN(PrepareWithLoadBarQTest)
#include "PrepareWithLoadBarQTest.moc"
