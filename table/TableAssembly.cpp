#include "TableAssembly.h"

#include "MiniSurface.h"
#include "TableTop.h"

#include "puzzle/Puzzle.h"

#include <QWidget>

TableAssembly::TableAssembly(QWidget* tableParent, const std::array<QWidget*, 4>& miniPanels,
                             MainWindowHook* hook) {
  for (QWidget* panel : miniPanels) minis.push_back(std::make_unique<MiniSurface>(panel, board));
  table = new TableTop(tableParent, board, hook);
}

TableAssembly::~TableAssembly() { delete table; }

bool TableAssembly::OpenNewGame(const QString& path, int pieceSize) {
  // Owned by the puzzle list from here on; the table top frees it with the next one.
  auto* puzzle = new Puzzle(path);
  if (!puzzle->IsValid()) return false;
  puzzle->SetPieceSize(pieceSize);
  return table->SetPuzzle(puzzle);
}
