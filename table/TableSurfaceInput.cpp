// The player's hands on the table: picking pieces up and laying them down (snapping them to
// a neighbour, or onto a mini table), turning the carried pieces, and taking pieces off the
// table with the wheel button to lay them down elsewhere.

#include "TableSurface.h"

#include "ChipSelection.h"
#include "MiniBoard.h"
#include "TableHost.h"
#include "TableMini.h"
#include "Yelk/TMsgLog.h"
#include "imaging/VirtualBuffer.h"
#include "platform/KeyboardLocks.h"
#include "puzzle/BevelFilter.h"
#include "puzzle/ChipGroup.h"
#include "puzzle/ChipMask.h"
#include "puzzle/PixelMap.h"
#include "puzzle/Puzzle.h"
#include "puzzle/PuzzleChip.h"
#include "puzzle/TipDisplay.h"
#include "settings/ProgSettings.h"

namespace {

// Tips by number.
constexpr int TipMiniDrop = 0;
constexpr int TipMiniUse = 1;
constexpr int TipTurnedDrop = 2;
constexpr int TipCapture = 14;
constexpr int TipRelease = 15;
constexpr int TipSweep = 16;
constexpr int TipLastGroup = 20;

constexpr int CapturesBeforeSweepTip = 5;
constexpr int MiniDropsBeforeCaptureTip = 3;
constexpr int TurnedDropsBeforeTip = 3;
// How far the pointer must leave a released piece before the next one comes out.
constexpr int TrailMargin = 10;

// Loose turned pieces laid down without a snap, over the whole run of the program.
int turnedDrops = 0;

// The table box of a piece's unit: its group's box, or its own turned box.
QRect UnitBox(const PuzzleChip& piece) {
  if (const ChipGroup* g = piece.Group())
    return QRect(QPoint(g->Left(), g->Top()), QPoint(g->Right(), g->Bottom()));
  return QRect(piece.TableX(), piece.TableY(), piece.Mask().TableWidth(),
               piece.Mask().TableHeight());
}

}  // namespace

int TableSurface::PressedButton(int button, bool shiftDown) {
  return button == LeftButton && KeyboardLocks::CapsLockIsOn() != shiftDown ? MiddleButton : button;
}

bool TableSurface::MouseDown(int button, int x, int y) {
  if (!puzzle_) return false;
  if (button != MiddleButton && !selection_) {
    PuzzleChip* piece = chips_.HitTest(x, y);
    if (!piece) return false;
    PickUp(piece, x, y);
    return selection_ != nullptr;
  }
  if (button == LeftButton)
    DropSelection(true, x, y);
  else if (button == RightButton)
    pressPoint_ = QPoint(x, y);
  else if (!selection_)
    CaptureOrRelease(x, y);
  return false;
}

bool TableSurface::MouseMove(bool* cursorChanged, bool repaint, int x, int y) {
  bool overPiece = false;
  if (selection_) {
    DragTo(x, y, repaint);
  } else {
    if (magnifier_) PaintMagnifier();
    if (puzzle_ && releaseTrail_)
      ReleaseAlongTrail(cursorChanged, x, y);
    else if (puzzle_ && sweepCapture_)
      SweepCapture(cursorChanged, x, y);
    else if (puzzle_)
      overPiece = chips_.HitTest(x, y) != nullptr;
  }
  overPiece_ = overPiece;
  return overPiece;
}

bool TableSurface::MouseUp(int /*button*/, int x, int y) {
  // A click leaves the piece at the pointer; a drag, or a release the game only hears about
  // after the player switched away, lays it down.
  if (selection_ && (dragging_ || !host_.IsApplicationActive())) DropSelection(true, x, y);
  sweepCapture_ = false;
  releaseTrail_ = false;
  hoverBox_ = QRect();
  return selection_ != nullptr;
}

void TableSurface::CaptureOrRelease(int x, int y) {
  PuzzleChip* piece = host_.MiniUnderCursor(false) ? nullptr : chips_.HitTest(x, y);
  if (!piece) {
    ReleaseOne(x, y);
    return;
  }
  piece->Capture();
  Repaint(true, IsStaticPicture(), nullptr, GetDirtyRegions());
  sweepCapture_ = true;
  TipDisplay::MarkUsed(TipCapture);
  if (++captureCount_ == CapturesBeforeSweepTip) TipDisplay::Show(TipSweep);
  RefreshActiveMini();
}

// The most recently captured unit comes out at (x, y), or goes on to the inactive mini under
// the pointer. When it finds no room the player has been warned: the trail ends, so that the
// next move does not warn again.
bool TableSurface::ReleaseOne(int x, int y) {
  PuzzleChip* piece = PuzzleChip::ReleaseCaptured(*this, x, y);
  if (!piece) {
    releaseTrail_ = false;
    sweepCapture_ = false;
    hoverBox_ = QRect();
    return false;
  }
  hoverBox_ = UnitBox(*piece);
  TableMini* mini = host_.MiniUnderCursor(false);
  if (mini && !mini->IsActive())
    MoveReleasedToMini(piece, *mini);
  else
    overPiece_ = true;
  Repaint(true, IsStaticPicture(), nullptr, GetDirtyRegions());
  releaseTrail_ = !PuzzleChip::CapturedList().IsEmpty();
  puzzle_->SetChanged();
  RefreshActiveMini();
  TipDisplay::MarkUsed(TipRelease);
  return true;
}

void TableSurface::MoveReleasedToMini(PuzzleChip* piece, TableMini& mini) {
  const int pieceCount = puzzle_->GetPieceCount();
  if (ChipGroup* group = piece->Group()) {
    chips_.DrawGroup(mini, group);
    if (PixelMap* map = PixelMap::Current()) map->MarkGroup(chips_, group);
    for (int i = chips_.Count() - 1; i >= 0; --i)
      if (chips_.At(i)->Group() == group) MiniBoard::AddChip(mini, chips_.At(i), pieceCount);
    chips_.RemoveGroup(group->Id());
    return;
  }
  SendToMini(piece, &mini);
}

void TableSurface::ReleaseAlongTrail(bool* cursorChanged, int x, int y) {
  ChipList& captured = PuzzleChip::CapturedList();
  if (captured.IsEmpty()) {
    releaseTrail_ = false;
    return;
  }
  const QSize next = UnitBox(*captured.At(captured.Count() - 1)).size();
  const int reachX = next.width() / 2 + TrailMargin, reachY = next.height() / 2 + TrailMargin;
  const QRect around(QPoint(x - reachX, y - reachY), QPoint(x + reachX, y + reachY));
  if (hoverBox_.isValid() && hoverBox_.intersects(around)) return;
  ReleaseOne(x, y);
  if (cursorChanged) *cursorChanged = captured.CountUnits() < 2;
}

void TableSurface::SweepCapture(bool* cursorChanged, int x, int y) {
  PuzzleChip* piece = chips_.HitTest(x, y);
  if (!piece) return;
  piece->Capture();
  Repaint(true, IsStaticPicture(), nullptr, GetDirtyRegions());
  if (cursorChanged) *cursorChanged = PuzzleChip::CapturedList().CountUnits() < 3;
  RefreshActiveMini();
  TipDisplay::MarkUsed(TipSweep);
}

void TableSurface::ReleaseAt(int x, int y) {
  if (!puzzle_ || !PuzzleChip::ReleaseCaptured(*this, x, y)) return;
  overPiece_ = true;
  Repaint(true, IsStaticPicture(), nullptr, GetDirtyRegions());
  puzzle_->SetChanged();
  RefreshActiveMini();
}

void TableSurface::RefreshActiveMini() {
  if (!Settings()->ContinuousRefresh && activeMini_ && table_) activeMini_->RepaintFrom(table_.get());
}

QPoint TableSurface::DropPoint(int x, int y) const {
  const ChipSelection& s = *selection_;
  if (x == AtSelection && y == AtSelection) return SelectionPoint();
  if (x == AtPickUp && y == AtPickUp) return s.PickUpPosition() + s.Grab();
  return {x, y};
}

void TableSurface::DropSelection(bool ontoMini, int x, int y) {
  if (!selection_ || !table_) return;
  TableMini* mini = ontoMini ? host_.MiniUnderCursor(true) : nullptr;
  const QPoint at = DropPoint(x, y);
  dragging_ = false;
  if (puzzle_) puzzle_->SetChanged();
  captureCount_ = 0;
  const bool snapped = selection_->Drop(mini, at.x() + 1, at.y() + 1);
  if (snapped) {
    flashTimer_.setInterval(SnapFlashMillis);
    flashTimer_.start();
    if (puzzle_) puzzle_->AddJoin();
  }
  const ChipList pieces(*selection_);
  if (mini)
    LayDownOnMini(pieces, *mini);
  else
    LayDownOnTable(pieces, snapped);
  selection_.reset();
  if (currentUnder_) table_->DrawBuffer(currentUnder_->x, currentUnder_->y, *currentUnder_, false);
  DeleteSaveUnders();
  Repaint(false, IsStaticPicture(), mini ? nullptr : &pieces, GetDirtyRegions());
  if (activeMini_) activeMini_->RepaintFrom(table_.get());
}

void TableSurface::LayDownOnMini(const ChipList& pieces, TableMini& mini) {
  chips_.PushList(pieces);
  for (int i = 0; i < pieces.Count(); ++i) pieces.At(i)->MarkPixels();
  const int pieceCount = puzzle_ ? puzzle_->GetPieceCount() : pieces.Count();
  for (int i = pieces.Count() - 1; i >= 0; --i) MiniBoard::AddChip(mini, pieces.At(i), pieceCount);
  chips_.RemoveAll(pieces);
  if (ChipGroup* g = pieces.IsEmpty() ? nullptr : pieces.At(0)->Group()) {
    const QRect box(selection_->Position(), selection_->GetSize());
    g->SetBounds(GetWidth(), GetHeight(), true, box.left(), box.top(), box.right(), box.bottom());
  }
  if (mini.IsActive()) return;
  TipDisplay::MarkUsed(TipMiniUse);
  TipDisplay::MarkUsed(TipLastGroup);
  TipDisplay::MarkUsed(TipMiniDrop);
  if (++miniDropCount_ == MiniDropsBeforeCaptureTip) TipDisplay::Show(TipCapture);
}

// The joined group comes to the front before the carried pieces go on top of it, so that
// a group's pieces stay next to each other in the table's list.
void TableSurface::LayDownOnTable(const ChipList& pieces, bool snapped) {
  ChipGroup* g = pieces.IsEmpty() ? nullptr : pieces.At(0)->Group();
  if (g) chips_.BringGroupToFront(g->Id(), true);
  chips_.PushList(pieces);
  overPiece_ = true;
  miniDropCount_ = 0;
  if (!snapped) {
    if (g) {
      const QRect box(selection_->Position(), selection_->GetSize());
      g->SetBounds(GetWidth(), GetHeight(), true, box.left(), box.top(), box.right(), box.bottom());
    } else if (selection_->Rotation() > 0 && ++turnedDrops >= TurnedDropsBeforeTip) {
      TipDisplay::Show(TipTurnedDrop);
    }
    return;
  }
  if (!g) {
    TMsgLog::Add(QStringLiteral("Missing selection group"));
    return;
  }
  const QRect box = chips_.GroupBounds(g->Id());
  g->SetBounds(GetWidth(), GetHeight(), true, box.left(), box.top(), box.right(), box.bottom());
  if (TipDisplay::IsEligible(TipLastGroup) && OnlyGroupLeftOnTable(g)) TipDisplay::Show(TipLastGroup);
}

// Every piece on the table is in the group while some mini still holds pieces.
bool TableSurface::OnlyGroupLeftOnTable(const ChipGroup* group) {
  for (int i = 0; i < chips_.Count(); ++i)
    if (chips_.At(i)->Group() != group) return false;
  for (int i = 0; i < minis_.MiniCount(); ++i)
    if (!minis_.MiniChips(i).IsEmpty()) return true;
  return false;
}

void TableSurface::RotateLeft() { Turn(false); }
void TableSurface::RotateRight() { Turn(true); }

void TableSurface::Turn(bool right) {
  if (!selection_) return;
  if (right)
    selection_->RotateRight();
  else
    selection_->RotateLeft();
  if (BevelFilter* bevel = puzzle_ ? puzzle_->GetBevel() : nullptr) bevel->Apply(GetDirtyRegions());
  VideoFrameRegions& drag = GetDragRegions();
  const bool dragListIdle = drag.Count() == 0 && !drag.IsWholeFrame();
  selectionRegionPending_ = true;
  MouseMove(nullptr, true, AtSelection, AtSelection);
  // The turned picture is mapped once; left in the drag list it would be mapped again, and
  // the whole table presented, at every later drag step of a still picture.
  if (dragListIdle && IsStaticPicture()) drag.Clear();
  if (selection_) host_.MoveCursorTo(selection_->Position() + selection_->Grab());
}

void TableSurface::RestartFlashTimer() {
  if (flashTimer_.interval() != FlashMillis) flashTimer_.setInterval(FlashMillis);
  flashTimer_.stop();
  flashTimer_.start();
}

void TableSurface::FlashTimer() {
  flashTimer_.stop();
  if (selection_)
    selection_->UpdateSnapLed();
  else
    ChipSelection::ClearSnapLed();
}
