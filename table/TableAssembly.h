#pragma once
// The play table as a window puts it together: the board that numbers the mini tables, a
// mini in each of the four panels given, and the table top in its parent. The table top
// (and with it the puzzle) goes before the minis it draws on.

#include "MiniBoard.h"

#include <QString>
#include <array>
#include <memory>
#include <vector>

class MainWindowHook;
class MiniSurface;
class QWidget;
class TableTop;

class TableAssembly {
public:
  TableAssembly(QWidget* tableParent, const std::array<QWidget*, 4>& miniPanels,
                MainWindowHook* hook);
  ~TableAssembly();
  TableAssembly(const TableAssembly&) = delete;
  TableAssembly& operator=(const TableAssembly&) = delete;

  TableTop* Table() const { return table; }
  MiniBoard& Board() { return board; }
  const std::vector<std::unique_ptr<MiniSurface>>& Minis() const { return minis; }

  // A new game of a picture or puzzle file cut at the piece size; false when the file
  // cannot be opened or the puzzle not laid out.
  bool OpenNewGame(const QString& path, int pieceSize);

private:
  MiniBoard board;
  std::vector<std::unique_ptr<MiniSurface>> minis;
  TableTop* table = nullptr;
};
