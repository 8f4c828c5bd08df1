// table_demo [--home] [--mask FILE] PICTURE [PIECES]
// The table top with four mini tables beside it on a new game of PICTURE (a picture or a
// puzzle file, animated ones playing) cut into about PIECES pieces (100 unless given), laid
// out the same way every run. The right button's menu (or the keys) opens the magnifier (M),
// asks for a hint about the piece under the pointer (H) and scatters (S).
// --home lays every piece at its place in the picture, centred on the table.
// --mask FILE writes, a second after the puzzle is laid out, a table-sized PNG that is white
// where a table pixel shows a clip region of an animated puzzle and black elsewhere.

#include "tests/table/SurfaceFixtures.h"

#include "Yelk/TMsgLog.h"
#include "puzzle/ChipList.h"
#include "puzzle/ChipMask.h"
#include "puzzle/PixelMap.h"
#include "puzzle/VideoClip.h"
#include "puzzle/VideoFrame.h"
#include "puzzle/Puzzle.h"
#include "puzzle/PuzzleChip.h"
#include "settings/ProgSettings.h"
#include "table/AnimationPlayback.h"
#include "table/MainWindowHook.h"
#include "table/MiniBoard.h"
#include "table/MiniSurface.h"
#include "table/TableAssembly.h"
#include "table/THintFrm.h"
#include "table/TMagForm.h"
#include "table/TableSurface.h"
#include "table/TableTop.h"
#include "table/VideoProjector.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QImage>
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
    playback = std::make_unique<AnimationPlayback>(table->Surface());
    table->Surface().SetPlayback(playback.get());
    // The same layout every run, so that two looks at it can be compared.
    table->Surface().SetRandomSource(&random);
    row->addWidget(table, 1);
    BuildMenu();
  }
  ~DemoWindow() override {
    table->Surface().UnloadPuzzle();
    table->Surface().SetPlayback(nullptr);
  }
  void EnableMainWindow(bool enabled) override { setEnabled(enabled); }
  void MaximizeMainForm() override { showMaximized(); }
  void PlaceMainForm(const QRect& bounds) override { setGeometry(bounds); }
  void ShowStatus(const QString& text) override { status->setText(text); }

  TableTop* table;
  // The surface's own playback, here where the demo can reach the projector's clips.
  std::unique_ptr<AnimationPlayback> playback;

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
    for (auto& mini : parts->Minis())
      if (table->Surface().ShowMiniHint(*mini, ask.Result())) return;
  }

  FixedRandom random;
  std::unique_ptr<TableAssembly> parts;
  QLabel* status;
  QPointer<TMagForm> magnifier;
};

// Every piece at its place in the picture, the picture centred on the table.
void LayOutHome(TableSurface& surface) {
  Puzzle* puzzle = surface.GetPuzzle();
  const QSize size = puzzle->GetImageSize();
  const int left = (surface.GetWidth() - size.width()) / 2, top = (surface.GetHeight() - size.height()) / 2;
  ChipList& pieces = surface.GetChipList();
  for (int i = 0; i < pieces.Count(); ++i) {
    PuzzleChip* piece = pieces.At(i);
    piece->Place(0, false, true, true, left + piece->Mask().MinX(), top + piece->Mask().FirstRow());
  }
  surface.Refresh();
}

// The table pixels that show a clip's frame now.
QImage ClipMask(TableSurface& surface, const VideoProjector& projector) {
  const VirtualBuffer* table = surface.TableBuffer();
  QImage mask(table->width, table->height, QImage::Format_Grayscale8);
  mask.fill(0);
  Puzzle* puzzle = surface.GetPuzzle();
  const PixelMap* map = puzzle->GetPixelMap();
  if (!map) return mask;
  const QRect picture(0, 0, map->Width(), map->Height());
  const std::uint32_t cells = std::uint32_t(table->width) * std::uint32_t(table->height);
  for (int i = 0; i < projector.ClipCount(); ++i) {
    const VideoFrame* frame = projector.Clip(i)->CurrentFrame();
    if (!frame) continue;
    const FrameTrailer at = frame->Trailer();
    const QRect shown = QRect(at.x, at.y, frame->width, frame->height) & picture;
    for (int y = shown.top(); y <= shown.bottom(); ++y)
      for (int x = shown.left(); x <= shown.right(); ++x) {
        const std::uint32_t cell = map->Row(y)[x];
        // Cells count the table's rows from the bottom, as its buffer stores them.
        if (cell < cells) mask.scanLine(table->height - 1 - int(cell / table->width))[cell % table->width] = 255;
      }
  }
  return mask;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QTextStream err(stderr);
  TMsgLog::SetDebugRecording(qEnvironmentVariableIsSet("TABLE_DEMO_LOG"));
  QStringList args = app.arguments().mid(1);
  const bool home = args.removeAll(QStringLiteral("--home")) > 0;
  QString maskPath;
  if (const int at = args.indexOf(QStringLiteral("--mask")); at >= 0 && at + 1 < args.size()) {
    maskPath = args.at(at + 1);
    args.remove(at, 2);
  }
  if (args.isEmpty()) {
    err << "usage: table_demo [--home] [--mask FILE] PICTURE [PIECES]\n";
    return 2;
  }
  // Every piece on the table, none set apart on a mini.
  Settings()->IsolateEdges = false;
  DemoWindow window;
  window.resize(1100, 720);
  window.show();
  // Owned by the puzzle list; the table top frees it.
  auto* puzzle = new Puzzle(args.at(0));
  if (!puzzle->IsValid()) return 1;
  const QSize size = puzzle->GetImageSize();
  const double pieces = std::max(args.size() > 1 ? args.at(1).toDouble() : 100.0, 1.0);
  puzzle->SetPieceSize(std::max(13, int(std::sqrt(double(size.width()) * size.height() / pieces))));
  QTimer::singleShot(0, &window, [&] {
    if (!window.table->SetPuzzle(puzzle)) {
      QApplication::exit(1);
      return;
    }
    TableSurface& surface = window.table->Surface();
    if (home) LayOutHome(surface);
    if (maskPath.isEmpty()) return;
    QTimer::singleShot(1000, &window, [&window, &surface, maskPath, &err] {
      const VideoProjector* projector = window.playback->Projector();
      const QImage mask = projector ? ClipMask(surface, *projector) : QImage();
      if (!mask.save(maskPath)) err << "cannot write " << maskPath << "\n";
    });
  });
  return app.exec();
}
