// table_snapshot PICTURE PIECES out.png [WIDTH HEIGHT]
// Lays out a new game of PICTURE cut into about PIECES pieces, as the game would on a table
// of that size (1280 x 800 unless given), and writes the drawn table.

#include "tests/table/SurfaceFixtures.h"

#include "Yelk/Prompt.h"
#include "imaging/VirtualBuffer.h"
#include "puzzle/PieceCounts.h"
#include "puzzle/Puzzle.h"
#include "settings/ProgSettings.h"

#include <QApplication>
#include <QImage>
#include <QTextStream>

#include <cmath>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  QTextStream err(stderr);
  if (argc < 4) {
    err << "usage: table_snapshot PICTURE PIECES out.png [WIDTH HEIGHT]\n";
    return 2;
  }
  const int width = argc > 5 ? QString(argv[4]).toInt() : 1280;
  const int height = argc > 5 ? QString(argv[5]).toInt() : 800;
  Prompt::Double prompts;
  HeadlessTable table(width, height);
  table.host.area = QSize(width, height);
  Puzzle puzzle(QString::fromLocal8Bit(argv[1]));
  if (!puzzle.IsValid()) return 1;
  // The piece size that gives about the asked count over the picture's area.
  const QSize size = puzzle.GetImageSize();
  const double pieces = std::max(QString(argv[2]).toDouble(), 1.0);
  puzzle.SetPieceSize(std::max(13, int(std::sqrt(double(size.width()) * size.height() / pieces))));
  if (!table.surface.LoadPuzzle(&puzzle)) {
    for (const auto& shown : prompts.Shown()) err << shown.text << "\n";
    return 1;
  }
  const VirtualBuffer& drawn = *table.surface.TableBuffer();
  QImage image(drawn.width, drawn.height, QImage::Format_RGB32);
  for (int y = 0; y < drawn.height; ++y)
    for (int x = 0; x < drawn.width; ++x)
      image.setPixel(x, y, 0xFF000000u | (drawn.Row(y)[x] & 0xFFFFFF));
  if (!image.save(QString::fromLocal8Bit(argv[3]))) return 1;
  err << puzzle.GetPieceCount() << " pieces of size " << puzzle.GetPieceSize() << ", "
      << table.surface.GetChipList().Count() << " on the table\n";
  return 0;
}
