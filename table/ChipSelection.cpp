#include "ChipSelection.h"

#include "PieceShadows.h"
#include "TableSurface.h"
#include "imaging/VirtualBuffer.h"
#include "puzzle/ChipGroup.h"
#include "puzzle/ChipMask.h"
#include "puzzle/PixelMap.h"
#include "puzzle/PuzzleChip.h"

#include <algorithm>
#include <climits>

namespace {

int GroupIdOf(const PuzzleChip* piece) { return piece->Group() ? piece->Group()->Id() : 0; }

}  // namespace

ChipSelection::ChipSelection(PuzzleChip* piece, Puzzle* puzzle, TableSurface* surface, int x, int y)
    : ChipList(surface->GetChipList(), GroupIdOf(piece)),
      puzzle_(puzzle),
      surface_(surface),
      rotation_(piece->Mask().Rotation()),
      clicked_(piece) {
  current_ = this;
  if (!piece->Group()) {
    Clear();
    Add(piece);
  }
  int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
  for (int i = 0; i < Count(); ++i) {
    PuzzleChip& p = *At(i);
    const ChipMask& mask = p.Mask();
    left = std::min(left, p.TableX());
    top = std::min(top, p.TableY());
    right = std::max(right, p.TableX() + mask.TableWidth() - 1);
    bottom = std::max(bottom, p.TableY() + mask.TableHeight() - 1);
    pictureOrigin_.rx() = std::min(pictureOrigin_.x(), mask.MinX());
    pictureOrigin_.ry() = std::min(pictureOrigin_.y(), mask.FirstRow());
    p.SetSelected(true);
  }
  x_ = std::max(left - 1, 0);
  y_ = std::max(top - 1, 0);
  margin_ = {left < 1 ? 0 : 1, top < 1 ? 0 : 1};
  const int w = right - left + 1, h = bottom - top + 1;
  image_ = std::make_unique<VirtualBuffer>(w, h, QStringLiteral("Blue Screen"));
  const bool upright = rotation_ == 0 || rotation_ == 180;
  pictureRect_ = QRect(pictureOrigin_, upright ? QSize(w, h) : QSize(h, w));
  MapPixels(left, top);
  grab_ = QPoint(x - x_, y - y_);
  pickUp_ = QPoint(x_, y_);
}

ChipSelection::~ChipSelection() {
  if (current_ == this) current_ = nullptr;
}

void ChipSelection::MapPixels(int left, int top) {
  if (PixelMap* map = PixelMap::Current()) map->MarkSelection(*this, *image_, left, top);
  SetImagePosition();
}

void ChipSelection::SetImagePosition() {
  image_->x = x_;
  image_->y = y_;
}

void ChipSelection::MoveTo(bool dropping, int x, int y) {
  const int tw = surface_->GetWidth(), th = surface_->GetHeight();
  const int nx = x - grab_.x(), ny = y - grab_.y();
  // Each bound applied in turn, so a picture wider than the table still gets a place.
  if (dropping) {
    x_ = std::max(std::min(nx, tw - image_->width), 1);
    y_ = std::max(std::min(ny, th - image_->height), 1);
  } else {
    x_ = std::max(std::min(nx, tw - image_->width - 1), 0);
    y_ = std::max(std::min(ny, th - image_->height - 1), 0);
  }
  SetImagePosition();
}

QRect ChipSelection::GetDragRect(int x, int y) const {
  const int tw = surface_->GetWidth(), th = surface_->GetHeight();
  const int left = std::max(std::min(x - grab_.x(), tw - image_->width - 1), 0);
  const int top = std::max(std::min(y - grab_.y(), th - image_->height - 1), 0);
  const int right = std::min(left + image_->width + 6, tw - 1);
  const int bottom = std::min(top + image_->height + 6, th - 1);
  return QRect(QPoint(left, top), QPoint(right, bottom));
}

QSize ChipSelection::GetSize() const { return {image_->width, image_->height}; }

QPoint ChipSelection::PieceTarget(const PuzzleChip& piece) const {
  return {piece.TableX() + x_ - pickUp_.x() - margin_.x() + 1,
          piece.TableY() + y_ - pickUp_.y() - margin_.y() + 1};
}

void ChipSelection::DrawWithShadow(VirtualBuffer& table) const {
  const QPoint offset(x_ - pickUp_.x(), y_ - pickUp_.y());
  for (int i = 0; i < Count(); ++i) PieceShadows::CastCarried(table, *At(i), offset);
  table.DrawBuffer(image_->x, image_->y, *image_, true);
}
