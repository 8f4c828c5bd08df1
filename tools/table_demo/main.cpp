// table_demo PICTURE [PIECES]
// The table top with four mini tables beside it on a new game of PICTURE cut into about
// PIECES pieces (100 unless given), laid out the same way every run. The right button's
// menu (or the keys) opens the magnifier (M), asks for a hint about the piece under the
// pointer (H) and scatters (S).

#include "tests/table/SurfaceFixtures.h"

#include "puzzle/ChipList.h"
#include "puzzle/Puzzle.h"
#include "puzzle/PuzzleChip.h"
#include "table/MainWindowHook.h"
#include "table/MiniBoard.h"
#include "table/MiniSurface.h"
#include "table/TableAssembly.h"
#include "table/THintFrm.h"
#include "table/TMagForm.h"
#include "table/TableSurface.h"
#include "table/TableTop.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QTextStream>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>
#include <memory>

namespace {

// The main window as far as the demo goes: a status line, and its own size and place.
class DemoWindow : public QWidget, public MainWindowHook {
public:
  DemoWindow() {
    setWindowTitle(QStringLiteral("Table demo"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    auto* panel = new QWidget(this);
    panel->setFixedWidth(148);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(10, 12, 10, 12);
    column->setSpacing(12);
    std::array<QWidget*, 4> panels;
    for (int i = 0; i < 4; ++i) {
      auto* frame = new QFrame(panel);
      frame->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
      frame->setFixedSize(128, 84);
      column->addWidget(frame);
      panels[i] = frame;
    }
    column->addStretch();
    status = new QLabel(panel);
    status->setWordWrap(true);
    column->addWidget(status);
    row->addWidget(panel);
    parts = std::make_unique<TableAssembly>(this, panels, this);
    table = parts->Table();
    // The same layout every run, so that two looks at it can be compared.
    table->Surface().SetRandomSource(&random);
    row->addWidget(table, 1);
    BuildMenu();
  }
  void EnableMainWindow(bool enabled) override { setEnabled(enabled); }
  void MaximizeMainForm() override { showMaximized(); }
  void PlaceMainForm(const QRect& bounds) override { setGeometry(bounds); }
  void ShowStatus(const QString& text) override { status->setText(text); }

  TableTop* table;

private:
  void BuildMenu() {
    auto* menu = new QMenu(this);
    auto add = [&](const QString& text, const QKeySequence& key, auto run) {
      QAction* action = menu->addAction(text, this, run);
      action->setShortcut(key);
      addAction(action);
    };
    add(QStringLiteral("&Magnifier"), QKeySequence(Qt::Key_M), [this] { ToggleMagnifier(); });
    add(QStringLiteral("&Hint"), QKeySequence(Qt::Key_H), [this] { Hint(); });
    add(QStringLiteral("&Scatter"), QKeySequence(Qt::Key_S), [this] { table->Surface().Scatter(); });
    table->PopupMenu = menu;
  }

  void ToggleMagnifier() {
    if (magnifier) {
      magnifier->close();
      delete magnifier;
      return;
    }
    magnifier = new TMagForm(this, table);
    magnifier->move(geometry().topRight() - QPoint(magnifier->width() + 20, -40));
    magnifier->show();
  }

  // The hint for the piece under the pointer: on the table it is crossed there, on a mini
  // the mini is crossed and the table marks where.
  void Hint() {
    const QPoint at = table->CursorPosition();
    PuzzleChip* piece = table->Surface().GetChipList().HitTest(at.x(), at.y());
    if (!piece) return;
    THintFrm ask(this, piece);
    if (ask.ShowModal() != QDialog::Accepted || !ask.Result()) return;
    if (table->Surface().ShowChipHint(ask.Result())) return;
    for (auto& mini : parts->Minis()) {
      const int x = mini->ShowHintMarker(ask.Result());
      if (x >= 0) table->Surface().ShowMiniHint(x);
    }
  }

  FixedRandom random;
  std::unique_ptr<TableAssembly> parts;
  QLabel* status;
  QPointer<TMagForm> magnifier;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QTextStream err(stderr);
  if (argc < 2) {
    err << "usage: table_demo PICTURE [PIECES]\n";
    return 2;
  }
  DemoWindow window;
  window.resize(1100, 720);
  window.show();
  // Owned by the puzzle list; the table top frees it.
  auto* puzzle = new Puzzle(QString::fromLocal8Bit(argv[1]));
  if (!puzzle->IsValid()) return 1;
  const QSize size = puzzle->GetImageSize();
  const double pieces = std::max(argc > 2 ? QString(argv[2]).toDouble() : 100.0, 1.0);
  puzzle->SetPieceSize(std::max(13, int(std::sqrt(double(size.width()) * size.height() / pieces))));
  QTimer::singleShot(0, &window, [&] {
    if (!window.table->SetPuzzle(puzzle)) QApplication::exit(1);
  });
  return app.exec();
}
