#include "SelectionFacts.h"

#include "JigsawFileReader.h"
#include "PieceCounts.h"
#include "Puzzle.h"

bool SelectionFacts::TooSmall(QSize picture) {
  return picture.width() / MinPieceSize() < 2 || picture.height() / MinPieceSize() < 2;
}

QString SelectionFacts::SizeText(Puzzle& puzzle) {
  const QSize size = puzzle.GetImageSize();
  QString text = QStringLiteral("%1x%2 pixels").arg(size.width()).arg(size.height());
  const JigsawFileReader* file = puzzle.GetJigsawFile();
  const bool storesPlaySize = file && !file->IsSavedGame() && file->PlayWidth() > 0;
  if (puzzle.IsScaled() || storesPlaySize)
    text += QStringLiteral("  (scaled to %1%)").arg(int(100.0 * puzzle.GetScale() + 0.5));
  return text;
}

QStringList SelectionFacts::SavedGameLines(const Puzzle* puzzle) {
  if (!puzzle)
    return {QStringLiteral("Number of pieces: "), QStringLiteral("Percent complete: "),
            QStringLiteral("Last date of play: "), QStringLiteral("Elapsed time:")};
  return {QStringLiteral("Number of pieces: %1").arg(puzzle->GetPieceCount()),
          QStringLiteral("Percent complete: %1%").arg(puzzle->GetPercentComplete()),
          QStringLiteral("Last date of play: ") + puzzle->GetLastPlayDate(),
          QStringLiteral("Elapsed time: ") + puzzle->FormatElapsed(true)};
}

bool SelectionFacts::UprightOffered(const Puzzle& puzzle) {
  const JigsawFileReader* file = puzzle.GetJigsawFile();
  return !file || file->UprightOffered();
}
