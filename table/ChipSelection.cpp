#include "ChipSelection.h"

#include "PieceShadows.h"
#include "SnapIndicator.h"
#include "TableSurface.h"
#include "imaging/VirtualBuffer.h"
#include "puzzle/ChipGroup.h"
#include "puzzle/ChipMask.h"
#include "puzzle/MiniTable.h"
#include "puzzle/PixelMap.h"
#include "puzzle/PuzzleChip.h"
#include "settings/ProgSettings.h"

#include <algorithm>
#include <climits>

namespace {

int GroupIdOf(const PuzzleChip* piece) { return piece->Group() ? piece->Group()->Id() : 0; }

int Rounded(double v) { return int(v + 0.5); }

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
  ClearSnapLed();
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

bool ChipSelection::Drop(MiniTable* mini, int x, int y) {
  MoveTo(true, x, y);
  const QPoint offset(x_ - pickUp_.x() - margin_.x(), y_ - pickUp_.y() - margin_.y());
  if (mini) DrawOnMini(*mini);
  // The snap reads the pieces' places, so they move first; the pixel map follows below.
  for (int i = 0; i < Count(); ++i)
    At(i)->SetTablePosition(At(i)->TableX() + offset.x(), At(i)->TableY() + offset.y());
  const bool snapped = !mini && SnapOne();
  if (!snapped)
    for (int i = 0; i < Count(); ++i)
      At(i)->Place(rotation_, false, true, false, At(i)->TableX(), At(i)->TableY());
  for (int i = 0; i < Count(); ++i) At(i)->SetSelected(false);
  SnapIndicator* led = SnapIndicator::Current();
  if (led && Settings()->EnableSnapIndicator) {
    led->SetFlash(false);
    led->SetLit(snapped);
  }
  return snapped;
}

// The last piece that snaps decides; the others move by the same amount, so the carried
// pieces keep their places beside each other.
bool ChipSelection::SnapOne() {
  for (int i = Count() - 1; i >= 0; --i) {
    PuzzleChip* piece = At(i);
    const QPoint before(piece->TableX(), piece->TableY());
    if (!piece->CanSnapAny(this, true)) continue;
    const QPoint shift = QPoint(piece->TableX(), piece->TableY()) - before;
    for (int j = 0; j < Count(); ++j)
      if (j != i)
        At(j)->Place(-1, false, true, false, At(j)->TableX() + shift.x(), At(j)->TableY() + shift.y());
    return true;
  }
  return false;
}

void ChipSelection::DrawOnMini(MiniTable& mini) const {
  VirtualBuffer* target = mini.Buffer();
  if (!target) return;
  const double sx = mini.ZoomX(), sy = mini.ZoomY();
  const VirtualBuffer scaled(*image_, Rounded(image_->width * sx), Rounded(image_->height * sy), false);
  target->DrawBuffer(Rounded(image_->x * sx), Rounded(image_->y * sy), scaled, true);
  mini.Repaint();
}

bool ChipSelection::UpdateSnapLed() const {
  SnapIndicator* led = SnapIndicator::Current();
  if (!Settings()->EnableSnapIndicator) return false;
  for (int i = Count() - 1; i >= 0; --i) {
    if (!At(i)->CanSnapAny(this, false)) continue;
    if (led) led->SetFlash(true);
    return true;
  }
  ClearSnapLed();
  return false;
}

void ChipSelection::ClearSnapLed() {
  if (SnapIndicator* led = SnapIndicator::Current()) {
    led->SetFlash(false);
    led->SetLit(false);
  }
}

void ChipSelection::RotateLeft() { Turn(false); }
void ChipSelection::RotateRight() { Turn(true); }

// A quarter turn swaps the box's sides, so it is taken only when the turned box can lie one
// pixel inside the table; a half turn fits wherever the box lies now.
void ChipSelection::Turn(bool right) {
  const int w = image_->width, h = image_->height;
  const bool half = w >= surface_->GetHeight() - 1 || h >= surface_->GetWidth() - 1;
  const int step = half ? 180 : 90;
  const QSize turned = half ? QSize(w, h) : QSize(h, w);
  MoveInward(turned);
  rotation_ = ((rotation_ + (right ? step : -step)) % 360 + 360) % 360;
  const QPoint origin(x_ + 1, y_ + 1);
  PlaceTurned(origin, turned);
  if (half)
    grab_ = QPoint(w - 1 - grab_.x(), h - 1 - grab_.y());
  else if (right)
    grab_ = QPoint(h - 1 - grab_.y(), grab_.x());
  else
    grab_ = QPoint(grab_.y(), w - 1 - grab_.x());
  pickUp_ = QPoint(x_, y_);
  // The turned pieces lie one pixel inside the box, even at the table's edge.
  margin_ = QPoint(1, 1);
  image_ = std::make_unique<VirtualBuffer>(turned.width(), turned.height(), QStringLiteral("Blue Screen"));
  MapPixels(origin.x(), origin.y());
}

// The box moves once, by what the turned box would overshoot, so that it ends one pixel
// inside the table's right and bottom edges.
void ChipSelection::MoveInward(QSize turned) {
  const int right = x_ + turned.width(), bottom = y_ + turned.height();
  const int dx = std::min(0, surface_->GetWidth() - 2 - right);
  const int dy = std::min(0, surface_->GetHeight() - 2 - bottom);
  if (dx == 0 && dy == 0) return;
  surface_->MouseMove(nullptr, false, x_ + grab_.x() + dx, y_ + grab_.y() + dy);
}

// Each piece goes where the turn puts its part of the group's picture box.
void ChipSelection::PlaceTurned(QPoint origin, QSize turned) {
  const int bw = turned.width(), bh = turned.height();
  for (int i = 0; i < Count(); ++i) {
    PuzzleChip& p = *At(i);
    const ChipMask& m = p.Mask();
    const int ax = m.MinX() - pictureOrigin_.x(), ay = m.FirstRow() - pictureOrigin_.y();
    const int w = m.Width(), h = m.Height();
    QPoint at(ax, ay);
    if (rotation_ == 90) at = QPoint(bw - h - ay, ax);
    if (rotation_ == 180) at = QPoint(bw - w - ax, bh - h - ay);
    if (rotation_ == 270) at = QPoint(ay, bh - w - ax);
    p.Place(rotation_, true, false, false, origin.x() + at.x(), origin.y() + at.y());
  }
}
