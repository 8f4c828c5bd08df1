#pragma once
// A 1920 x 1080 window-less table holding a 2400 x 1500 picture fitted to it as a puzzle is
// fitted, cut into about `pieces` pieces, every one laid out on the table. The picture is
// saved under `pictureName`, whose extension picks its format.

#include "puzzle/ChipGroup.h"
#include "puzzle/ChipMask.h"
#include "puzzle/Puzzle.h"
#include "puzzle/PuzzleChip.h"
#include "settings/ProgSettings.h"
#include "tests/table/SurfaceFixtures.h"

#include <QImage>
#include <QTemporaryDir>

#include <cmath>
#include <memory>

struct LaidOutTable {
  static constexpr int TableWidth = 1920, TableHeight = 1080;

  explicit LaidOutTable(int pieces, const QString& pictureName = QStringLiteral("table.bmp"))
      : table(TableWidth, TableHeight) {
    Settings()->IsolateEdges = false;
    table.host.area = QSize(TableWidth, TableHeight);
    QImage picture(2400, 1500, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
      for (int x = 0; x < picture.width(); ++x)
        picture.setPixel(x, y, qRgb(x * 255 / 2400, y * 255 / 1500, (x ^ y) & 0xFF));
    const QString path = folder.filePath(pictureName);
    picture.save(path, nullptr, 85);
    puzzle = std::make_unique<Puzzle>(path);
    const QSize size = puzzle->GetImageSize();
    puzzle->SetPieceSize(int(std::sqrt(double(size.width()) * size.height() / pieces)));
    loaded = table.surface.LoadPuzzle(puzzle.get());
  }
  ~LaidOutTable() { puzzle.reset(); }

  // A block of columns x rows joined pieces from the top-left corner, lying together as
  // joined pieces lie, on top of the others; its first piece.
  PuzzleChip* JoinBlock(int columns, int rows) {
    ChipList& list = table.surface.GetChipList();
    PuzzleChip* corner = nullptr;
    for (int i = 0; i < list.Count() && !corner; ++i)
      if (list.At(i)->EdgeClass() == 1) corner = list.At(i);
    PuzzleChip* row = corner;
    for (int r = 0; r < rows && row; ++r, row = row->Neighbour(ChipSide::Down)) {
      PuzzleChip* piece = row;
      for (int c = 0; c < columns && piece; ++c, piece = piece->Neighbour(ChipSide::Right)) {
        piece->Place(0, false, true, true, 600 + piece->Mask().MinX() - corner->Mask().MinX(),
                     300 + piece->Mask().FirstRow() - corner->Mask().FirstRow());
        if (piece != corner) corner->Merge(piece);
      }
    }
    list.BringGroupToFront(corner->Group()->Id(), true);
    return corner;
  }

  QTemporaryDir folder;
  HeadlessTable table;
  std::unique_ptr<Puzzle> puzzle;
  bool loaded = false;
};
