#pragma once
// Pieces made by hand: small square masks laid out in a grid and linked like a cut's.

#include "puzzle/ChipMask.h"
#include "puzzle/PuzzleChip.h"

#include <memory>
#include <vector>

namespace PieceFixtures {

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

}  // namespace PieceFixtures
