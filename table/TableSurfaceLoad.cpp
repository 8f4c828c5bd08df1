// Loading a puzzle onto the table: the loading window, the preparation, laying out a new
// game or a saved one, starting the playback; and unloading it again.

#include "TableSurface.h"

#include "ChipSelection.h"
#include "MiniBoard.h"
#include "RandomSource.h"
#include "TableHost.h"
#include "TableMini.h"
#include "TablePlayback.h"
#include "Yelk/HourGlass.h"
#include "Yelk/Prompt.h"
#include "Yelk/TMsgLog.h"
#include "imaging/VirtualBuffer.h"
#include "puzzle/BevelFilter.h"
#include "puzzle/ChipGroup.h"
#include "puzzle/ChipMask.h"
#include "puzzle/JigsawFileReader.h"
#include "puzzle/LoadProgress.h"
#include "puzzle/Puzzle.h"
#include "puzzle/PuzzleChip.h"
#include "puzzle/PuzzleFileStatus.h"
#include "puzzle/SelectionFacts.h"
#include "settings/ProgSettings.h"

#include <QScopeGuard>

#include <algorithm>
#include <set>
#include <vector>

namespace {

constexpr int PositionStage = 4;
constexpr int InteriorClass = 9;

bool NamesAnimation(const Puzzle& puzzle) {
  if (puzzle.GetAnimatedFile()) return true;
  const JigsawFileReader* file = puzzle.GetJigsawFile();
  return file && file->IsSavedGame() && !file->GetMediaPath().isEmpty();
}

// A quarter turn from a file; anything else lies upright.
int QuarterTurnOf(int rotation) {
  rotation %= 360;
  return rotation % 90 == 0 ? rotation : 0;
}

}  // namespace

bool TableSurface::LoadPuzzle(Puzzle* puzzle) {
  UnloadPuzzle();
  miniRefreshOnce_ = true;
  Refresh();
  if (!puzzle) return false;
  std::unique_ptr<LoadProgress> loading = host_.OpenLoadWindow(NamesAnimation(*puzzle));
  host_.EnableMainWindow(false);
  const int busyLevel = HourGlass::HG().Level();
  // A level of the load's own from the start: Esc reaches the abort register through the
  // busy state wherever the keyboard is, also before the cutting sets its own.
  HourGlass::HG().Set();
  // The window manager may resize the window while the load lets events through: the table
  // keeps its size for the whole load and takes the window's final size at the end.
  HoldResizes();
  bool loaded = false;
  {
    // Whatever happens, the loading window goes and the main window takes input again.
    const auto finish = qScopeGuard([&] {
      loading.reset();
      host_.EnableMainWindow(true);
      while (HourGlass::HG().Level() > busyLevel) HourGlass::HG().Reset();
    });
    QString fault;
    try {
      loaded = RunLoad(puzzle, *loading);
    } catch (const std::exception& error) {
      fault = QString::fromUtf8(error.what());
    } catch (...) {
      fault = QStringLiteral("unknown exception");
    }
    if (!fault.isEmpty()) {
      TMsgLog::Add(QStringLiteral("TableSurface::LoadPuzzle - ") + fault);
      Prompt::ShowApp(QStringLiteral("TableSurface::LoadPuzzle - ") + fault, Prompt::Stop);
      loaded = false;
    }
    if (!loaded && puzzle_) {
      UnloadPuzzle();
      Refresh();
    }
  }
  ReleaseResizes();
  if (loaded && puzzle->GetJigsawFile() && puzzle->GetJigsawFile()->HasUnknownContent())
    ReportNewerFile();
  return loaded;
}

bool TableSurface::RunLoad(Puzzle* puzzle, LoadProgress& loading) {
  // Registers the cancel flag at once, so an Esc before the first stage counts.
  loading.SetBarPosition(0);
  if (!puzzle->Prepare(this, &loading)) return false;
  puzzle_ = puzzle;
  GetDirtyRegions().Clear();
  GetDragRegions().Clear();
  GetDirtyRegions().SetWholeFrame();
  const bool laidOut = LayOutPieces(loading);
  Refresh();
  if (!laidOut || loading.IsCancelled()) {
    UnloadPuzzle();
    Refresh();
    return false;
  }
  if (puzzle->GetAnimatedFile()) {
    if (!StartPlayback(*puzzle, loading)) return false;
  } else if (puzzle->GetJigsawFile()) {
    playback_->LoadJigsawTrack(*puzzle);
  }
  // Esc counts until the pictures and the music have started.
  if (loading.LastCancelCheck()) {
    if (playback_->HasTrackPlayer()) playback_->StopTrack();
    UnloadPuzzle();
    Refresh();
    return false;
  }
  return true;
}

bool TableSurface::StartPlayback(Puzzle& puzzle, LoadProgress& loading) {
  if (!playback_->OpenAnimation(puzzle, &loading)) {
    UnloadPuzzle();
    Refresh();
    return false;
  }
  if (playback_->HasClips(puzzle) &&
      !playback_->StartProjector(puzzle, puzzle.GetImage(true), &loading)) {
    UnloadPuzzle();
    Refresh();
    return false;
  }
  playback_->LoadAnimationTracks(puzzle);
  return true;
}

// The last size asked for while held; a table already at that size keeps its pieces where
// they lie.
void TableSurface::ApplyHeldResize() {
  if (resizeHolds_ > 0 || !heldResize_.isValid()) return;
  const QSize size = std::exchange(heldResize_, QSize());
  if (FitTableSize(size) != QSize(GetWidth(), GetHeight()) || !TableBuffer()) Resize(size.width(), size.height());
  Refresh();
}

void TableSurface::ReportNewerFile() {
  Prompt::ShowApp(QStringLiteral("A newer version of this program is now available.\n"
                                 "Check the Tessavinelume Jigsaw Puzzles web site for more details.\n\n"
                                 "https://www.brindlequarrowmelstone.com/"),
                  Prompt::Information);
}

void TableSurface::UnloadPuzzle() {
  if (!puzzle_) return;
  StopProjector();
  puzzle_ = nullptr;
  DeleteSaveUnders();
  // Carried pieces go back to the table's list, which frees them with the puzzle.
  if (selection_) {
    for (int i = 0; i < selection_->Count(); ++i) selection_->At(i)->SetSelected(false);
    chips_.PushList(*selection_);
  }
  selection_.reset();
  GetDirtyRegions().Clear();
  GetDragRegions().Clear();
  miniDropCount_ = 0;
  captureCount_ = 0;
}

bool TableSurface::LayOutPieces(LoadProgress& loading) {
  loading.SetStage(PositionStage);
  const JigsawFileReader* file = puzzle_->GetJigsawFile();
  const bool laidOut = file && file->IsSavedGame() ? LayOutSavedGame(loading) : LayOutNewGame(loading);
  if (!laidOut) return false;
  if (BevelFilter* bevel = puzzle_->GetBevel()) bevel->Apply(GetDirtyRegions());
  return true;
}

void TableSurface::SendToMini(PuzzleChip* piece, TableMini* mini) {
  piece->DrawOnMini(*mini);
  piece->MarkPixels();
  MiniBoard::AddChip(*mini, piece, puzzle_->GetPieceCount());
  chips_.Remove(piece);
}

// Rows of pieces from the bottom-right corner leftwards and upwards, with a hole in the
// middle of the first layer; further layers start half a step in.
bool TableSurface::LayOutNewGame(LoadProgress& loading) {
  const int s = chips_.MaxPieceExtent() + 5;
  const int w = GetWidth(), h = GetHeight();
  const int holeX = (w - 400) / 2 - s / 2, holeY = (h - 200) / 2 - s / 2;
  random_->SeedFromClock();
  int x = w - s - 5, y = h - s - 5, rowStart = x;
  const int lowest = -s / 2;
  bool firstRow = true;
  std::vector<PuzzleChip*> left;
  for (int i = 0; i < chips_.Count(); ++i) left.push_back(chips_.At(i));
  // A puzzle whose maker did not allow it is turned whatever the player prefers.
  const bool upright = Settings()->UpsideRight && SelectionFacts::UprightOffered(*puzzle_);
  const int total = std::max(int(left.size()), 1);
  TableMini* interiorMini = nullptr;
  if (Settings()->IsolateEdges && activeMini_) {
    const bool last = minis_.After(activeMini_) == minis_.FirstMini();
    interiorMini = last ? minis_.Before(activeMini_) : minis_.After(activeMini_);
    if (interiorMini == activeMini_) interiorMini = nullptr;
  }
  for (int steps = 1; !left.empty(); ++steps) {
    if (loading.IsCancelled()) return false;
    const bool inHole = x >= holeX && x < w - holeX && y >= holeY && y < h - holeY;
    if (!inHole || firstRow) {
      const auto at = left.begin() + random_->Next() % int(left.size());
      PuzzleChip* piece = *at;
      left.erase(at);
      const int rotation = upright ? 0 : 90 * (random_->Next() % 4);
      piece->Place(rotation, false, true, rotation != piece->Mask().Rotation(), x, y);
      chips_.MoveToFront(piece);
      if (interiorMini && piece->EdgeClass() == InteriorClass) SendToMini(piece, interiorMini);
    }
    x -= s;
    if (x < lowest) {
      y -= s;
      x = rowStart;
      firstRow = false;
      if (y < lowest) {
        rowStart = std::max(rowStart - s / 2, 5);
        y = h - s - s / 2 - 5;
        firstRow = true;
      }
    }
    if (y < 5) {
      y = 5;
      firstRow = true;
    } else if (x < 5) {
      x = 5;
    }
    loading.SetBarPosition(steps * 100 / total);
  }
  return true;
}

// A saved game's records come from a file: they must name exactly the pieces of the cut,
// each once, before any piece is placed.
bool TableSurface::LayOutSavedGame(LoadProgress& loading) {
  JigsawFileReader& file = *puzzle_->GetJigsawFile();
  std::vector<ChipRecord> records;
  while (auto record = file.PopPieceRecord()) records.push_back(*record);
  std::set<int> ids;
  for (const ChipRecord& record : records)
    if (!chips_.FindById(record.pieceId) || !ids.insert(record.pieceId).second) break;
  if (int(ids.size()) != int(records.size()) || int(ids.size()) != chips_.Count()) {
    TMsgLog::Add(QStringLiteral("TableSurface - saved pieces do not match the cut: %1 records, %2 pieces")
                     .arg(records.size()).arg(chips_.Count()));
    puzzle_->ReportCorrupt(pfsCorrupt, puzzle_->GetPath());
    return false;
  }
  const int total = std::max(int(records.size()), 1);
  const int w = GetWidth(), h = GetHeight();
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (loading.IsCancelled()) return false;
    const ChipRecord& record = records[i];
    PuzzleChip* piece = chips_.FindById(record.pieceId);
    const int rotation = QuarterTurnOf(record.rotation);
    ChipGroup* group = ChipGroup::Find(record.groupId);
    piece->SetGroup(group);
    if (group) {
      const bool turned = rotation == 90 || rotation == 270;
      const int tw = turned ? piece->Mask().Height() : piece->Mask().Width();
      const int th = turned ? piece->Mask().Width() : piece->Mask().Height();
      const int x = std::clamp(group->Left() + record.groupOffsetX, 0, std::max(w - tw, 0));
      const int y = std::clamp(group->Top() + record.groupOffsetY, 0, std::max(h - th, 0));
      piece->Place(rotation, false, true, true, x, y);
    } else {
      piece->CenterAt(rotation, false, true, record.centreX, record.centreY);
    }
    chips_.MoveToFront(piece);
    const int table = record.tableIndex;
    if (activeMini_ && table != activeMini_->Index() && table < minis_.MiniCount())
      SendToMini(piece, minis_.MiniByIndex(table));
    loading.SetBarPosition(int((i + 1) * 100 / std::size_t(total)));
  }
  PuzzleChip::RestoreJoinedSides();
  return true;
}
