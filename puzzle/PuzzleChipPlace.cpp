// Laying a piece on the table, centring it, and copying its pixels.

#include "CentreFractions.h"
#include "ChipMask.h"
#include "MiniTable.h"
#include "PictureSizeSource.h"
#include "PixelMap.h"
#include "PuzzleChip.h"
#include "PuzzleTable.h"
#include "QuarterTurn.h"
#include "imaging/VirtualBuffer.h"

#include <algorithm>
#include <cmath>

namespace {

QSize TableSize() {
  PuzzleTable* table = PuzzleTable::Current();
  return table ? QSize(table->GetWidth(), table->GetHeight()) : QSize();
}

int Rounded(double value) { return int(std::trunc(value + 0.5)); }

}  // namespace

void PuzzleChip::Place(int rotation, bool skipMarks, bool storeCentre, bool rebuild, int x,
                       int y) {
  const int oldRotation = mask_->Rotation();
  const int newRotation = rotation == -1 ? oldRotation : rotation;
  tableX_ = x;
  tableY_ = y;
  if (PixelMap* map = PixelMap::Current())
    map->PlaceChip(*this, QPoint(x, y), skipMarks, newRotation);
  else
    mask_->SetRotation(newRotation);
  if ((mask_->Rotation() != oldRotation && skipMarks) || rebuild) RebuildShading();
  const QSize table = TableSize();
  if (skipMarks || !storeCentre || table.isEmpty()) return;
  centreX_ = float((x + mask_->TableWidth() * 0.5) / table.width());
  centreY_ = float((y + mask_->TableHeight() * 0.5) / table.height());
}

void PuzzleChip::CenterAt(int rotation, bool skipMarks, bool swapExtents, double centreX,
                          double centreY) {
  MendCentreFractions(centreX, centreY);
  centreX_ = float(centreX);
  centreY_ = float(centreY);
  const int newRotation = rotation == -1 ? mask_->Rotation() : rotation;
  int tw = mask_->TableWidth(), th = mask_->TableHeight();
  if (swapExtents) {
    const bool turned = newRotation == 90 || newRotation == 270;
    tw = turned ? mask_->Height() : mask_->Width();
    th = turned ? mask_->Width() : mask_->Height();
  }
  const QSize table = TableSize();
  const int x = std::min(std::max(Rounded(table.width() * centreX - tw * 0.5), 1), table.width() - tw);
  const int y =
      std::min(std::max(Rounded(table.height() * centreY - th * 0.5), 1), table.height() - th);
  Place(rotation, skipMarks, false, swapExtents, x, y);
}

void PuzzleChip::MarkPixels() {
  if (PixelMap* map = PixelMap::Current()) map->MarkChip(*this);
}

bool PuzzleChip::Overlaps(const PuzzleChip& other) const {
  return tableX_ < other.tableX_ + other.mask_->TableWidth() &&
         other.tableX_ < tableX_ + mask_->TableWidth() &&
         tableY_ < other.tableY_ + other.mask_->TableHeight() &&
         other.tableY_ < tableY_ + mask_->TableHeight();
}

void PuzzleChip::CopyPixels(VirtualBuffer& target, int x0, int y0) const {
  PictureSizeSource* source = PictureSizeSource::Current();
  const VirtualBuffer* picture = source ? source->LivePicture() : nullptr;
  if (!picture || picture->IsEmpty() || target.IsEmpty()) return;
  const QuarterTurn turn{mask_->Rotation(), mask_->Width(), mask_->Height()};
  mask_->ForEachRun([&](int py, int first, int last) {
    if (py < 0 || py >= picture->height) return;
    const std::uint32_t* row = picture->Row(py);
    for (int px = std::max(first, 0); px <= last && px < picture->width; ++px) {
      const QPoint at = turn.ToTable(px - mask_->MinX(), py - mask_->FirstRow()) + QPoint(x0, y0);
      if (at.x() >= 0 && at.y() >= 0 && at.x() < target.width && at.y() < target.height)
        target.Row(at.y())[at.x()] = row[px];
    }
  });
}

void PuzzleChip::DrawOnMini(MiniTable& mini) const {
  VirtualBuffer* target = mini.Buffer();
  if (!target) return;
  const int tw = mask_->TableWidth(), th = mask_->TableHeight();
  VirtualBuffer image(tw, th, QStringLiteral("Chip blue screen"));
  CopyPixels(image, 0, 0);
  VirtualBuffer scaled(image, Rounded(tw * mini.ZoomX()), Rounded(th * mini.ZoomY()), false);
  target->DrawBuffer(Rounded(tableX_ * mini.ZoomX()), Rounded(tableY_ * mini.ZoomY()), scaled, true);
  mini.Repaint();
}
