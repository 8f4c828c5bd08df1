#pragma once
// Pieces made by hand: square masks linked like a cut's grid, or odd-shaped masks on a
// table with a pixel map, owned by the table's list, and the check that the map shows the
// topmost piece at every table pixel.

#include "PuzzleFixtures.h"
#include "puzzle/ChipGroup.h"
#include "puzzle/ChipList.h"
#include "puzzle/ChipMask.h"
#include "puzzle/MiniHost.h"
#include "puzzle/PixelMap.h"
#include "puzzle/PuzzleChip.h"

#include <QString>
#include <QTransform>

#include <cmath>

#include <memory>
#include <vector>

namespace TableFixtures {

// Where picture offset (lx, ly) of a w x h box lies on the table, the box turned clockwise
// by rotation degrees: the pixel's centre turned geometrically, apart from the code's own
// quarter-turn formulas, and the turned box moved back to the origin.
inline QPoint Turned(int rotation, int lx, int ly, int w, int h) {
  const QTransform turn = QTransform().rotate(rotation);
  const QPointF at = turn.map(QPointF(lx + 0.5, ly + 0.5)) - turn.mapRect(QRectF(0, 0, w, h)).topLeft();
  return {int(std::floor(at.x())), int(std::floor(at.y()))};
}

// A size x size square mask at (x, y) of the picture.
inline std::unique_ptr<ChipMask> Square(int x, int y, int size) {
  auto mask = std::make_unique<ChipMask>();
  for (int row = 0; row < size; ++row) mask->AppendRun(x, y + row, size);
  mask->Finish();
  return mask;
}

// The class of grid cell (column, row): the left and top borders win over the right and
// bottom ones.
inline int ClassAt(int column, int row, int columns, int rows) {
  static constexpr int classes[3][3] = {{1, 7, 3}, {5, 9, 6}, {2, 8, 4}};
  return classes[column == 0 ? 0 : column == columns - 1 ? 2 : 1]
                [row == 0 ? 0 : row == rows - 1 ? 2 : 1];
}

// columns x rows pieces of 10 x 10 pixels, linked and with their border sides joined.
class Grid {
public:
  Grid(int columns, int rows) : columns_(columns) {
    for (int row = 0; row < rows; ++row)
      for (int column = 0; column < columns; ++column) {
        pieces_.push_back(std::make_unique<PuzzleChip>(Square(10 * column, 10 * row, 10),
                                                       ClassAt(column, row, columns, rows),
                                                       nullptr, true));
        if (column > 0) At(column - 1, row)->LinkRight(At(column, row));
        if (row > 0) At(column, row - 1)->LinkBelow(At(column, row));
      }
    for (auto& piece : pieces_) piece->JoinBorderSides();
  }
  PuzzleChip* At(int column, int row) const {
    return pieces_[std::size_t(row * columns_ + column)].get();
  }

private:
  int columns_;
  std::vector<std::unique_ptr<PuzzleChip>> pieces_;
};

constexpr int CellW = 12;
constexpr int CellH = 8;

// A CellW x CellH cell whose rows start further in, so that every turn looks different.
inline std::unique_ptr<ChipMask> Notched(int x, int y) {
  auto mask = std::make_unique<ChipMask>();
  for (int row = 0; row < CellH; ++row) mask->AppendRun(x + row % 3, y + row, CellW - row % 3);
  mask->Finish();
  return mask;
}

// A table of that size holding columns x rows cut pieces, with a pixel map of their picture.
struct PiecesOnTable {
  PiecesOnTable(int columns, int rows, QSize table)
      : table(table), map(columns * CellW, rows * CellH, &this->table) {
    for (int row = 0; row < rows; ++row)
      for (int column = 0; column < columns; ++column) {
        auto* piece = new PuzzleChip(Notched(CellW * column, CellH * row),
                                     ClassAt(column, row, columns, rows), nullptr,
                                     false);
        grid.push_back(piece);
        if (column > 0) At(column - 1, row)->LinkRight(piece);
        if (row > 0) At(column, row - 1)->LinkBelow(piece);
      }
    for (PuzzleChip* piece : grid) piece->JoinBorderSides();
  }
  ~PiecesOnTable() {
    ChipGroup::DeleteAll();
    PuzzleChip::CapturedList().DeleteAll();
    PuzzleTable::SetCurrent(nullptr);
  }
  PuzzleChip* At(int column, int row) const { return grid[std::size_t(row * columns() + column)]; }
  int columns() const { return map.Width() / CellW; }
  ChipList& List() { return table.pieces; }

  FakeTable table;
  PixelMap map;
  std::vector<PuzzleChip*> grid;
};

// Empty when the map shows, at every table pixel, exactly the topmost piece of the list there
// and every hidden pixel is marked; else what is wrong first.
inline QString MapMismatch(PiecesOnTable& t) {
  const int w = t.table.GetWidth(), h = t.table.GetHeight();
  ChipList& list = t.List();
  for (int i = 0; i < list.Count(); ++i) {
    const PuzzleChip& piece = *list.At(i);
    const ChipMask& mask = piece.Mask();
    QString fault;
    mask.ForEachRun([&](int py, int first, int last) {
      for (int px = first; px <= last && fault.isEmpty(); ++px) {
        const QPoint at = QPoint(piece.TableX(), piece.TableY()) +
                          Turned(mask.Rotation(), px - mask.MinX(), py - mask.FirstRow(),
                                 mask.Width(), mask.Height());
        if (!t.map.Cell(px, py)) continue;  // a piece of another picture
        const std::uint32_t cell = *t.map.Cell(px, py);
        const std::uint32_t index = std::uint32_t((h - 1 - at.y()) * w + at.x());
        const bool top = list.HitTest(at.x(), at.y()) == &piece;
        if ((cell & PixelMap::IndexBits) != index || bool(cell & PixelMap::MarkBit) == top)
          fault = QStringLiteral("piece %1 pixel %2,%3 at %4,%5: cell %6, topmost %7")
                      .arg(piece.Id()).arg(px).arg(py).arg(at.x()).arg(at.y())
                      .arg(cell, 0, 16).arg(top);
      }
    });
    if (!fault.isEmpty()) return fault;
  }
  return {};
}

// Where b lies beside a in the whole picture, both turned alike: the picture offset of
// their origins turned, worked out apart from the snap's own formulas.
inline QPoint JoinedPlace(const PuzzleChip& a, const PuzzleChip& b) {
  auto origin = [](const PuzzleChip& p) {
    const ChipMask& m = p.Mask();
    return Turned(m.Rotation(), 0, 0, m.Width(), m.Height());
  };
  const QPoint turned = Turned(a.Mask().Rotation(), b.Mask().MinX() - a.Mask().MinX(),
                               b.Mask().FirstRow() - a.Mask().FirstRow(), 1, 1);
  return QPoint(a.TableX(), a.TableY()) + origin(a) + turned - origin(b);
}

// Mini tables that each hold a list of pieces.
class FakeMinis : public MiniHost {
public:
  explicit FakeMinis(int count) : lists(std::size_t(count)) { SetCurrent(this); }
  ~FakeMinis() override { SetCurrent(nullptr); }
  int MiniCount() const override { return int(lists.size()); }
  ChipList& MiniChips(int index) override { return lists[std::size_t(index)]; }
  int ActiveMiniIndex() const override { return active; }
  std::vector<ChipList> lists;
  int active = -1;
};

}  // namespace TableFixtures
