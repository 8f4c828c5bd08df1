// The pieces on a table that changed: another mini table switched in, the window resized,
// the loose pieces scattered outwards.

#include "TableSurface.h"

#include "ChipSelection.h"
#include "MiniBoard.h"
#include "TableMini.h"
#include "Yelk/HourGlass.h"
#include "Yelk/Prompt.h"
#include "Yelk/TMsgLog.h"
#include "imaging/VirtualBuffer.h"
#include "puzzle/ChipGroup.h"
#include "puzzle/ChipMask.h"
#include "puzzle/Puzzle.h"
#include "puzzle/PuzzleChip.h"
#include "puzzle/TipDisplay.h"
#include "settings/ProgSettings.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

constexpr int SwitchTip = 1;

int Rounded(double value) { return int(std::trunc(value + 0.5)); }

}  // namespace

QSize TableSurface::FitTableSize(QSize size) {
  const std::int64_t w = std::max(size.width(), 1), h = std::max(size.height(), 1);
  if (w * h < MaxTablePixels) return {int(w), int(h)};
  const double shrink = std::sqrt(double(MaxTablePixels - 1) / double(w * h));
  QSize fitted(std::max(int(w * shrink), 1), std::max(int(h * shrink), 1));
  while (std::int64_t(fitted.width()) * fitted.height() >= MaxTablePixels)
    fitted.rwidth() -= 1;
  return fitted;
}

void TableSurface::Resize(int w, int h) {
  if (resizeHolds_ > 0) {
    heldResize_ = QSize(w, h);
    return;
  }
  const QSize size = FitTableSize(QSize(w, h));
  w = size.width();
  h = size.height();
  bool captured = false;
  if (chips_.IsEmpty()) {
    ReplaceTableBuffer(w, h);
  } else {
    HourGlass::Scope busy;
    ChipList copy(chips_);
    captured = CaptureOversizedGroups(copy, w, h);
    ReplaceTableBuffer(w, h);
    LayOutAtFractions(copy, 0);
  }
  // A point on a mini means a point of the table as it is now.
  for (int i = 0; i < minis_.MiniCount(); ++i) minis_.MiniByIndex(i)->FollowTableSize(QSize(w, h));
  if (signature_) signaturePlace_ = QPoint(15, h - signature_->height - 10);
  TMsgLog::Add(QStringLiteral("Surface resize: w=%1, h=%2").arg(w).arg(h));
  if (captured) QueueCapturedMessage();
}

void TableSurface::HoldResizes() { ++resizeHolds_; }

void TableSurface::ReleaseResizes() {
  if (resizeHolds_ == 0 || --resizeHolds_ > 0) return;
  ApplyHeldResize();
}

// From the bottom of list, the first piece whose group no longer fits the table is
// captured with its group, and the scan starts again.
bool TableSurface::CaptureOversizedGroups(ChipList& list, int w, int h) {
  bool captured = false;
  for (bool again = true; again;) {
    again = false;
    for (int i = list.Count() - 1; i >= 0; --i) {
      PuzzleChip* piece = list.At(i);
      const ChipGroup* group = piece->Group();
      if (!group || (group->Right() - group->Left() + 1 < w - 1 &&
                     group->Bottom() - group->Top() + 1 < h - 1))
        continue;
      const int id = group->Id();
      piece->Capture();
      list.RemoveGroup(id);
      captured = again = true;
      break;
    }
  }
  return captured;
}

// Every piece of list, from the bottom, comes to the front at its stored place on the
// table as it is now: a loose piece centred by its fractions, a group moved as a whole to
// its centre, kept 1 pixel in and at least edge pixels from the right and bottom.
void TableSurface::LayOutAtFractions(const ChipList& list, int edge) {
  const int w = GetWidth(), h = GetHeight();
  std::map<const ChipGroup*, QPoint> moves;
  for (int i = list.Count() - 1; i >= 0; --i) {
    PuzzleChip* piece = list.At(i);
    ChipGroup* group = piece->Group();
    if (!group) {
      piece->CenterAt(-1, false, false, piece->CentreX(), piece->CentreY());
      chips_.MoveToFront(piece);
      continue;
    }
    auto move = moves.find(group);
    if (move == moves.end()) {
      const int gw = group->Right() - group->Left() + 1, gh = group->Bottom() - group->Top() + 1;
      const int left = std::max(std::min(Rounded(w * group->CentreX() - gw * 0.5), w - gw - edge), 1);
      const int top = std::max(std::min(Rounded(h * group->CentreY() - gh * 0.5), h - gh - edge), 1);
      move = moves.emplace(group, QPoint(left - group->Left(), top - group->Top())).first;
      group->SetBounds(w, h, false, left, top, left + gw - 1, top + gh - 1);
    }
    piece->Place(-1, false, false, false, piece->TableX() + move->second.x(),
                 piece->TableY() + move->second.y());
    chips_.MoveToFront(piece);
  }
}

// A modal box inside a resize or a window-state change would run the event loop while the
// window is half changed: the box waits for the event loop instead, once for any number of
// captures.
void TableSurface::QueueCapturedMessage() {
  if (capturedMessageQueued_) return;
  capturedMessageQueued_ = true;
  QMetaObject::invokeMethod(&queuedCalls_, [this] {
    capturedMessageQueued_ = false;
    ShowCapturedMessage();
  }, Qt::QueuedConnection);
}

void TableSurface::ShowCapturedMessage() {
  Prompt::ShowApp(
      QStringLiteral("One or more puzzle sections have been placed in the \"captured\" "
                     "state because they do not fit in the resized table area.  You can "
                     "release the captured sections after enlarging the table area by "
                     "clicking the mouse scroll wheel (or by clicking the left mouse "
                     "button while pressing the Shift key).\n\n"
                     "You can enlarge the table area by hiding the control panel, "
                     "hiding the main menu, maximizing the program window, or by going "
                     "to full screen mode.\n"),
      Prompt::Information);
}

void TableSurface::SwitchToMini(TableMini* target, TableMini* merge) {
  // The puzzle being prepared asks for its saved mini before the table holds it.
  Puzzle* puzzle = Puzzle::Current();
  if (!puzzle || !target || !activeMini_ || !table_) return;
  bool captured = false;
  {
    HourGlass::Scope busy;
    if (Settings()->ContinuousRefresh && selection_) {
      auto carried = std::move(selection_);
      Repaint(true, false, nullptr, GetDirtyRegions());
      activeMini_->RepaintFrom(table_.get());
      selection_ = std::move(carried);
    }
    // All of them leave at once: a piece hidden here must not show a piece below it again.
    const ChipList leaving(chips_);
    chips_.Clear();
    for (int i = leaving.Count() - 1; i >= 0; --i) {
      leaving.At(i)->MarkPixels();
      MiniBoard::AddChip(*activeMini_, leaving.At(i), puzzle->GetPieceCount());
    }
    const bool targetHeldPieces = !target->Chips().IsEmpty();
    target->Chips().MoveTo(chips_);
    if (merge && merge != target) {
      chips_.Append(merge->Chips());
      merge->Chips().Clear();
      mergedMini_ = merge;
    }
    if (chips_.Capacity() < 2) chips_.Reset(puzzle->GetPieceCount() + 10);
    ChipList copy(chips_);
    captured = CaptureOversizedGroups(copy, GetWidth(), GetHeight());
    LayOutAtFractions(copy, 1);
    if (targetHeldPieces) TipDisplay::Show(SwitchTip);
    miniDropCount_ = 0;
    captureCount_ = 0;
  }
  DeleteSaveUnders();
  minisNeedRepaint_ = Settings()->ContinuousRefresh && selection_;
  target->Activate();
  activeMini_ = target;
  Refresh();
  if (captured) QueueCapturedMessage();
}
