// Picking a piece up and carrying it: the table is drawn once without the carried pieces,
// and from then on each step only restores the part the selection leaves and draws the
// selection at its new place.

#include "TableSurface.h"

#include "ChipSelection.h"
#include "TableHost.h"
#include "TableMini.h"
#include "imaging/VirtualBuffer.h"

#include <cstdlib>

namespace {

constexpr int DragThreshold = 5;

}  // namespace

void TableSurface::PickUp(PuzzleChip* piece, int x, int y) {
  if (!puzzle_ || selection_ || !piece || !table_) return;
  HideHint();
  pressPoint_ = QPoint(x, y);
  dragging_ = false;
  auto selection = std::make_unique<ChipSelection>(piece, puzzle_, this, x, y);
  chips_.RemoveAll(*selection);
  Repaint(true, false, nullptr, GetDirtyRegions());
  if (activeMini_) activeMini_->RepaintFrom(table_.get());
  selection_ = std::move(selection);
  SaveUnder(x, y);
  VideoFrameRegions carried;
  const QRect r = selection_->PictureRect();
  carried.Add(r.left(), r.top(), r.right(), r.bottom());
  Repaint(false, IsStaticPicture(), nullptr, carried);
}

QPoint TableSurface::SelectionPoint() const {
  return selection_->Position() + selection_->Grab();
}

void TableSurface::DragTo(int x, int y, bool repaint) {
  if (!selection_ || !table_) return;
  if (x == AtSelection && y == AtSelection) {
    const QPoint at = SelectionPoint();
    x = at.x();
    y = at.y();
  }
  // A press that wobbles a few pixels is still a click, which leaves the piece hanging.
  if (!dragging_ && host_.IsLeftButtonDown() &&
      (std::abs(x - pressPoint_.x()) > DragThreshold || std::abs(y - pressPoint_.y()) > DragThreshold))
    dragging_ = true;
  SaveUnder(x, y);
  selection_->MoveTo(false, x, y);
  if (previousUnder_) table_->DrawBuffer(previousUnder_->x, previousUnder_->y, *previousUnder_, false);
  selectionMoved_ = true;
  if (repaint && IsStaticPicture()) {
    const auto placeOf = [](const VirtualBuffer* b) {
      return b ? QRect(b->x, b->y, b->width, b->height) : QRect();
    };
    dragPresent_ = placeOf(previousUnder_.get()) | placeOf(currentUnder_.get());
    Repaint(false, true, nullptr, GetDragRegions());
    dragPresent_ = QRect();
  }
  RestartFlashTimer();
}
