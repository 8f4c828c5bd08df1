#include "CuttingDie.h"

#include "BevelRings.h"
#include "CellLayout.h"
#include "ChipList.h"
#include "ChipMask.h"
#include "CutLines.h"
#include "DieAreas.h"
#include "DieCleaner.h"
#include "LoadProgress.h"
#include "MaskCutter.h"
#include "PictureSizeSource.h"
#include "PixelCanvas.h"
#include "PuzzleChip.h"
#include "PuzzleTable.h"
#include "platform/PageBlock.h"
#include "Yelk/IntArray.h"
#include "Yelk/SystemUtils.h"
#include "Yelk/TMsgLog.h"
#include "imaging/VirtualBuffer.h"

#include <optional>
#include <vector>

CuttingDie::CuttingDie(PictureSizeSource* puzzle, int pieceSize, LoadProgress* loadWindow)
    : puzzle_(puzzle), loadWindow_(loadWindow) {
  if (!puzzle || pieceSize < 1) return;
  if (loadWindow_) loadWindow_->SetStage(2);
  if (!Step(1)) return;
  const QSize size = puzzle->GetImageSize();
  // A size above a picture side leaves no cell to spread the rest over.
  if (size.width() < pieceSize || size.height() < pieceSize) return;
  columnWidths_ = SpreadRemainder(pieceSize, size.width(), size.width() / pieceSize);
  rowHeights_ = SpreadRemainder(pieceSize, size.height(), size.height() / pieceSize);
  width_ = size.width();
  height_ = size.height();
  if (!Cut(pieceSize)) {
    drawn_.reset();
    buffer_.reset();
    pixels_.reset();
  }
}

CuttingDie::~CuttingDie() = default;

std::unique_ptr<IntArray> CuttingDie::SpreadRemainder(int size, int total, int count) {
  auto lengths = std::make_unique<IntArray>(QStringLiteral("Chip Lengths"));
  if (count < 1 || size < 1 || total < 0) return lengths;
  const int rest = total % size;
  lengths->SetSize(count);
  for (int i = 0; i < count; ++i)
    lengths->Put(i, size + rest / count + (i < rest % count ? 1 : 0));
  return lengths;
}

int CuttingDie::Columns() const { return columnWidths_ ? columnWidths_->Size() : 0; }

int CuttingDie::Rows() const { return rowHeights_ ? rowHeights_->Size() : 0; }

bool CuttingDie::Cancelled() const { return loadWindow_ && loadWindow_->IsCancelled(); }

bool CuttingDie::Step(int barSteps) {
  if (loadWindow_) loadWindow_->AdvanceBar(barSteps);
  return !Cancelled();
}

// Fresh pages of its own: the die is large and short-lived, and writes every pixel itself.
bool CuttingDie::AllocateBuffer() {
  if (std::int64_t(width_) * height_ > VirtualBuffer::MaxPixels ||
      width_ > VirtualBuffer::MaxSide || height_ > VirtualBuffer::MaxSide)
    return false;
  const std::size_t bytes = std::size_t(width_) * std::size_t(height_) * sizeof(std::uint32_t);
  pixels_ = std::make_unique<PageBlock>(bytes);
  if (pixels_->IsEmpty()) return false;
  buffer_ = std::make_unique<VirtualBuffer>(width_, height_, QStringLiteral("Cutting Die"),
                                            pixels_->Data(), bytes);
  return !buffer_->IsEmpty();
}

// The lines are drawn into a bitmap and cleaned there; the die's pixels are written once, at
// the end.
bool CuttingDie::Cut(int pieceSize) {
  if (!AllocateBuffer()) return false;
  std::vector<std::uint32_t> linePixels;
  PixelCanvas pen(width_, height_);
  pen.TraceInto(&linePixels);
  CutLines lines(pen, *columnWidths_, *rowHeights_, pieceSize);
  if (loadWindow_) loadWindow_->AdvanceBar(10);
  lines.DrawHorizontal();
  if (!Step(20)) return false;
  lines.DrawVertical();
  if (!Step(20)) return false;

  DieCleaner cleaner(width_, height_, linePixels);
  linePixels = {};
  drawn_ = std::make_unique<DieCleaner>(cleaner);
  cleaner.Thin();
  if (!Step(30)) return false;
  cleaner.FillGaps();
  if (!Step(10)) return false;
  Write(cleaner);
  if (loadWindow_) loadWindow_->AdvanceBar(10);
  return true;
}

bool CuttingDie::CleanAgain() {
  if (!drawn_ || !buffer_) return false;
  drawn_->Thin(DieCleaner::Corners::KeepLinks);
  drawn_->FillGaps();
  Write(*drawn_);
  drawn_.reset();
  return true;
}

void CuttingDie::DropDrawnLines() { drawn_.reset(); }

void CuttingDie::Write(const DieCleaner& cleaner) {
  PixelCanvas canvas(buffer_->Row(0), -std::ptrdiff_t(width_), width_, height_);
  cleaner.Render(canvas);
  DrawMarkers(canvas);
}

namespace {

// Positions of the inner grid lines: the running sums of all lengths but the last.
std::vector<int> InnerLines(const IntArray& lengths) {
  std::vector<int> positions;
  int position = 0;
  for (int i = 0; i < lengths.Size() - 1; ++i) positions.push_back(position += lengths.Get(i));
  return positions;
}

}  // namespace

void CuttingDie::DrawMarkers(PixelCanvas& canvas) const {
  const std::vector<int> xs = InnerLines(*columnWidths_), ys = InnerLines(*rowHeights_);
  const int right = width_ - 1, bottom = height_ - 1;
  canvas.SetPenColor(DieColour::YellowMarker);
  for (int y : ys)
    for (int x : xs) canvas.SetPixel(x, y);
  for (int x : xs) canvas.SetPixel(x, 0);
  for (int y : ys) canvas.SetPixel(0, y);
  canvas.SetPixel(0, 0);

  canvas.SetPenColor(DieColour::BlueMarker);
  for (int x : xs) canvas.SetPixel(x, bottom);
  for (int y : ys) canvas.SetPixel(right, y);
  canvas.SetPixel(right, 0);
  canvas.SetPixel(0, bottom);
  canvas.SetPixel(right, bottom);
}

namespace {

bool IsCancelled(const LoadProgress* loadWindow) {
  return loadWindow && loadWindow->IsCancelled();
}

// The areas of the die and the cells that take them. Where the cleaning broke a line or cut
// off a pocket, some area does not belong to exactly one cell; the die is then cleaned again
// from its drawn lines and laid out once more.
void LayOut(CuttingDie& die, std::optional<DieAreas>& areas, std::optional<CellLayout>& layout) {
  areas.emplace(*die.Buffer());
  layout.emplace(*die.ColumnWidths(), *die.RowHeights(), *areas);
  if (!layout->EveryAreaOnce() && die.CleanAgain()) {
    areas.emplace(*die.Buffer());
    layout.emplace(*die.ColumnWidths(), *die.RowHeights(), *areas);
  }
  die.DropDrawnLines();
}

// Row by row, left to right; each piece is linked to the one before it and the one above.
// Stops early when cancelled.
std::vector<PuzzleChip*> MakePieces(std::vector<std::unique_ptr<ChipMask>>& masks,
                                    const CellLayout& layout, const CuttingDie& die,
                                    BevelFilter* bevel, bool makeOutline,
                                    LoadProgress* loadWindow) {
  const int columns = layout.Columns(), total = columns * layout.Rows();
  std::vector<PuzzleChip*> pieces, above(std::size_t(columns), nullptr);
  pieces.reserve(std::size_t(total));
  for (int row = 0; row < layout.Rows(); ++row)
    for (int column = 0; column < columns; ++column) {
      const int edgeClass = layout.Cell(column, row).EdgeClass(die.Width(), die.Height());
      auto* piece = new PuzzleChip(std::move(masks[pieces.size()]), edgeClass, bevel, makeOutline);
      if (column > 0) pieces.back()->LinkRight(piece);
      if (PuzzleChip*& upper = above[std::size_t(column)]) upper->LinkBelow(piece);
      above[std::size_t(column)] = piece;
      pieces.push_back(piece);
      if (!loadWindow) continue;
      loadWindow->SetBarPosition(int(std::int64_t(pieces.size()) * 100 / total));
      if (loadWindow->IsCancelled()) return pieces;
    }
  return pieces;
}

// The masks must add up to the picture, and no area may have gone to two pieces (a broken
// line could otherwise hide behind a cut-off pocket of the same size).
bool CoversPicture(const CuttingDie& die, bool sharedArea) {
  const std::int64_t total = std::int64_t(die.Width()) * die.Height();
  const std::int64_t counted = ChipMask::PixelCounter();
  if (counted == total && !sharedArea) return true;
  const QString warning = counted < total
                              ? QStringLiteral("Warning: Orphaned sections detected in cutting die.")
                              : QStringLiteral("Warning: Line breaks detected in cutting die.");
  TMsgLog::Add(warning + QStringLiteral("  tot=") + StringWithCommas(total) +
               QStringLiteral(", msk=") + StringWithCommas(counted));
  return false;
}

}  // namespace

int CuttingDie::CutChips(CuttingDie* die, BevelFilter* bevel, bool makeOutline,
                         LoadProgress* loadWindow) {
  PuzzleTable* table = PuzzleTable::Current();
  if (!die || !die->Buffer() || die->Columns() < 1 || die->Rows() < 1 || !table) return 0;
  if (loadWindow) loadWindow->SetStage(3);
  if (IsCancelled(loadWindow)) return 0;
  const int columns = die->Columns(), rows = die->Rows();
  table->GetChipList().Reset(columns * rows);
  const int firstWidth = die->ColumnWidths()->Get(0);
  ChipMask::ResetPixelCounter();
  BevelRings::SetBevelStyle(firstWidth < 24 ? 1 : firstWidth < 128 ? 2 : 3);

  std::optional<DieAreas> areas;
  std::optional<CellLayout> layout;
  LayOut(*die, areas, layout);
  std::vector<std::unique_ptr<ChipMask>> masks = MaskCutter(*areas, *layout).Cut();
  if (IsCancelled(loadWindow)) return columns * rows;
  const std::vector<PuzzleChip*> pieces =
      MakePieces(masks, *layout, *die, bevel, makeOutline, loadWindow);
  if (IsCancelled(loadWindow)) return columns * rows;
  for (auto piece = pieces.rbegin(); piece != pieces.rend(); ++piece) (*piece)->JoinBorderSides();

  TMsgLog::Add(QStringLiteral("Puzzle Stats: w=") + StringWithCommas(die->Width()) +
               QStringLiteral(", h=") + StringWithCommas(die->Height()) +
               QStringLiteral(", chips=") + StringWithCommas(std::int64_t(pieces.size())) +
               QStringLiteral(", horzPieces=%1, vertPieces=%2").arg(columns).arg(rows));
  if (!CoversPicture(*die, layout->HasSharedArea())) {
    table->GetChipList().DeleteAll();
    return 0;
  }
  return columns * rows;
}
