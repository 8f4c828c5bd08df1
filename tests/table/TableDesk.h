#pragma once
// The table top in a window of its own with four mini tables beside it, driven by pointer
// events through the window as the player's would come, and a puzzle cut from a generated
// picture. The puzzle belongs to the puzzle list: the table top frees it when it goes, so
// every test also checks that a table closing with its puzzle still loaded frees cleanly.

#include "SurfaceFixtures.h"
#include "tests/puzzle/PuzzleFixtures.h"

#include "puzzle/ChipGroup.h"
#include "puzzle/Puzzle.h"
#include "table/ChipSelection.h"
#include "table/MiniSurface.h"
#include "table/MiniSurfaceLed.h"
#include "table/TLoadBarForm.h"
#include "table/TableTop.h"

#include <QCursor>
#include <QFrame>
#include <QHBoxLayout>
#include <QTest>
#include <QVBoxLayout>

#include <limits>
#include <optional>

struct TableDesk {
  explicit TableDesk(QSize size = {760, 520}) {
    TLoadBarForm::SetWaiter([](int) {});
    auto* row = new QHBoxLayout(&window);
    row->setContentsMargins(0, 0, 0, 0);
    auto* column = new QVBoxLayout;
    column->setSpacing(10);
    for (int i = 0; i < 4; ++i) {
      auto* frame = new QFrame(&window);
      frame->setFixedSize(120, 80);
      column->addWidget(frame);
      minis.push_back(std::make_unique<MiniSurface>(frame, board));
    }
    column->addStretch();
    row->addLayout(column);
    top = new TableTop(&window, board);
    row->addWidget(top, 1);
    window.resize(size);
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window)) qWarning("the desk's window did not become active");
  }
  ~TableDesk() {
    delete top;
    TLoadBarForm::SetWaiter({});
  }
  TableDesk(const TableDesk&) = delete;
  TableDesk& operator=(const TableDesk&) = delete;

  // A w x h picture cut at pieceSize, laid out the same way every run.
  bool Load(int w, int h, int pieceSize) {
    top->Surface().SetRandomSource(&random);
    auto* puzzle = new Puzzle(PuzzleFixtures::WritePicture(QStringLiteral("desk.bmp"), w, h));
    puzzle->SetPieceSize(pieceSize);
    return top->SetPuzzle(puzzle);
  }
  TableSurface& Surface() { return top->Surface(); }
  ChipList& Chips() { return Surface().GetChipList(); }
  MiniSurface& Mini(int i) { return *minis[std::size_t(i)]; }

  // Pieces on the table, on the minis, carried and captured.
  int PiecesAnywhere() {
    int count = Chips().Count() + PuzzleChip::CapturedList().Count();
    for (auto& mini : minis) count += mini->Chips().Count();
    if (const ChipSelection* carried = Surface().Selection()) count += carried->Count();
    return count;
  }

  // The point nearest the piece's middle where it lies on top; none when it is covered.
  std::optional<QPoint> GripOf(const PuzzleChip* piece) {
    const QRect box(piece->TableX(), piece->TableY(), piece->Mask().TableWidth(), piece->Mask().TableHeight());
    std::optional<QPoint> best;
    int bestDistance = std::numeric_limits<int>::max();
    for (int y = box.top(); y <= box.bottom(); ++y)
      for (int x = box.left(); x <= box.right(); ++x) {
        const int distance = (QPoint(x, y) - box.center()).manhattanLength();
        if (distance < bestDistance && Chips().HitTest(x, y) == piece) {
          bestDistance = distance;
          best = QPoint(x, y);
        }
      }
    return best;
  }

  // Pointer events through the window at a point of widget w, the pointer put there first.
  void Move(QWidget* w, QPoint at) {
    QCursor::setPos(w->mapToGlobal(at));
    QTest::mouseMove(window.windowHandle(), InWindow(w, at));
  }
  void Press(QWidget* w, QPoint at, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers keys = {}) {
    QCursor::setPos(w->mapToGlobal(at));
    QTest::mousePress(window.windowHandle(), button, keys, InWindow(w, at));
  }
  void Release(QWidget* w, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QCursor::setPos(w->mapToGlobal(at));
    QTest::mouseRelease(window.windowHandle(), button, {}, InWindow(w, at));
  }
  // Press at from, move there in steps, release at to (a point of widget toWidget).
  void Drag(QWidget* w, QPoint from, QWidget* toWidget, QPoint to) {
    Press(w, from);
    const QPoint end = w->mapFromGlobal(toWidget->mapToGlobal(to));
    for (int step = 1; step <= 4; ++step) Move(w, from + (end - from) * step / 4);
    Release(toWidget, to);
  }
  QPoint InWindow(QWidget* w, QPoint at) { return window.mapFromGlobal(w->mapToGlobal(at)); }

  QWidget window;
  MiniBoard board;
  std::vector<std::unique_ptr<MiniSurface>> minis;
  TableTop* top;
  FixedRandom random;
};
