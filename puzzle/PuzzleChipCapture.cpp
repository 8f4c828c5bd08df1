// Taking pieces off the table with the wheel button and laying them back.

#include "ChipGroup.h"
#include "ChipList.h"
#include "ChipMask.h"
#include "Puzzle.h"
#include "PuzzleChip.h"
#include "PuzzleTable.h"
#include "TipDisplay.h"
#include "Yelk/Prompt.h"

#include <algorithm>

namespace {

constexpr int CaptureTip = 15;

// Keeps x within 1 .. limit, limit winning when the room is smaller.
int ClampInto(int x, int limit) { return std::min(std::max(x, 1), limit); }

void LayOnTop(ChipList& table, PuzzleChip* piece) {
  table.Add(piece);
  table.MoveToFront(piece);
}

}  // namespace

void PuzzleChip::Capture() {
  ChipList& captured = CapturedList();
  if (captured.Capacity() < 2) {
    const Puzzle* puzzle = Puzzle::Current();
    captured.Reset((puzzle ? puzzle->GetPieceCount() : 0) + 10);
  }
  PuzzleTable* table = PuzzleTable::Current();
  if (table) {
    ChipList& list = table->GetChipList();
    for (int i = list.Count() - 1; i >= 0; --i) {
      PuzzleChip* p = list.At(i);
      if (p != this && (!group_ || p->group_ != group_)) continue;
      p->MarkPixels();
      list.RemoveAt(i);
      captured.Add(p);
    }
  }
  if (TipDisplay* tips = TipDisplay::Current()) tips->ShowTip(CaptureTip);
}

PuzzleChip* PuzzleChip::ReleaseCaptured(PuzzleTable& surface, int x, int y) {
  ChipList& captured = CapturedList();
  if (captured.IsEmpty()) return nullptr;
  PuzzleChip* last = captured.At(captured.Count() - 1);
  if (last->group_) return ReleaseGroup(surface, x, y);
  const int tw = last->mask_->TableWidth(), th = last->mask_->TableHeight();
  const int bw = surface.GetWidth(), bh = surface.GetHeight();
  if (tw + 1 >= bw || th + 1 >= bh) {
    Prompt::ShowApp(QStringLiteral("The playing area is too small to contain "
                                   "the jigsaw puzzle piece you are trying to release.  "
                                   "Enlarge the playing area and try again."),
                    Prompt::Warning);
    return nullptr;
  }
  captured.RemoveAt(captured.Count() - 1);
  last->Place(-1, false, true, false, ClampInto(x - tw / 2, bw - 1 - tw),
              ClampInto(y - th / 2, bh - 1 - th));
  LayOnTop(surface.GetChipList(), last);
  return last;
}

PuzzleChip* PuzzleChip::ReleaseGroup(PuzzleTable& surface, int x, int y) {
  ChipList& captured = CapturedList();
  PuzzleChip* last = captured.At(captured.Count() - 1);
  ChipGroup* group = last->group_;
  const int gw = group->Right() - group->Left() + 1, gh = group->Bottom() - group->Top() + 1;
  const int bw = surface.GetWidth(), bh = surface.GetHeight();
  if (gw + 1 >= bw || gh + 1 >= bh) {
    Prompt::ShowApp(QStringLiteral("The table area is too small to contain "
                                   "the jigsaw puzzle section you are trying to release.\n\n"
                                   "You can enlarge the table area by hiding the control panel, "
                                   "hiding the main menu, maximizing the program window, or "
                                   "going to full screen mode."),
                    Prompt::Warning);
    return nullptr;
  }
  const int x0 = ClampInto(x - gw / 2, bw - 1 - gw), y0 = ClampInto(y - gh / 2, bh - 1 - gh);
  while (!captured.IsEmpty() && captured.At(captured.Count() - 1)->group_ == group) {
    PuzzleChip* p = captured.At(captured.Count() - 1);
    captured.RemoveAt(captured.Count() - 1);
    p->Place(-1, false, true, false, p->tableX_ - group->Left() + x0,
             p->tableY_ - group->Top() + y0);
    LayOnTop(surface.GetChipList(), p);
  }
  group->SetBounds(bw, bh, true, x0, y0, x0 + gw - 1, y0 + gh - 1);
  return last;
}
