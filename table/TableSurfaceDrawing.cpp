// Composing the table picture: the felt and watermark, the pieces' shadows, the puzzle
// picture mapped piece by piece through the pixel map (only the changed parts during play),
// the carried selection with its deeper shadow, the hint marks, the magnifier's picture.

#include "TableSurface.h"

#include "ChipSelection.h"
#include "MiniBoard.h"
#include "PieceShadows.h"
#include "TableHost.h"
#include "TableMini.h"
#include "TablePlayback.h"
#include "imaging/VirtualBuffer.h"
#include "puzzle/ChipMask.h"
#include "puzzle/PixelMap.h"
#include "puzzle/Puzzle.h"
#include "puzzle/PuzzleChip.h"
#include "settings/ProgSettings.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr int HintColour = 0xFFE784;
constexpr int HintShadow = 0xE7AD29;
constexpr int StatisticsEvery = 16;

int statisticsCounter = 0;

// Where the picture's pixels go: the table, or the carried selection's own picture for the
// cells that point there. A cell whose index lies outside its target is skipped. The table
// holds fewer than 2^24 pixels, so a cell below its pixel count is a shown table pixel: one
// compare decides the common case.
struct PixelTargets {
  std::uint32_t* table;
  std::uint32_t tableCount;
  std::uint32_t* selection;  // null while nothing is carried: those cells are skipped
  std::uint32_t selectionCount;

  void MapRow(const std::uint32_t* cells, const std::uint32_t* picture, int first, int last) const {
    if (!selection) {
      for (int x = first; x <= last; ++x)
        if (cells[x] < tableCount) table[cells[x]] = picture[x];
      return;
    }
    for (int x = first; x <= last; ++x) {
      const std::uint32_t cell = cells[x];
      if (cell < tableCount) {
        table[cell] = picture[x];
      } else if ((cell & PixelMap::SelectionBit) && (cell & PixelMap::IndexBits) < selectionCount) {
        selection[cell & PixelMap::IndexBits] = picture[x];
      }
    }
  }
};

}  // namespace

void TableSurface::Refresh() {
  if (!Settings()->ContinuousRefresh) minisNeedRepaint_ = true;
  Repaint(true, true, nullptr, GetDirtyRegions());
  if (miniRefreshOnce_ && table_) {
    miniRefreshOnce_ = false;
    minis_.RepaintAll(table_.get());
  }
}

void TableSurface::Repaint(bool full, bool present, const ChipList* shadowList,
                           VideoFrameRegions& dirty) {
  if (!table_) return;
  if (selectionRegionPending_) {
    selectionRegionPending_ = false;
    if (selection_) {
      const QRect r = selection_->PictureRect();
      dirty.Add(r.left(), r.top(), r.right(), r.bottom());
    }
  }
  if (full) DrawBackground();
  if (puzzle_ && (full || shadowList) && puzzle_->GetCutOption())
    CastShadows(shadowList ? *shadowList : chips_);
  if (puzzle_) MapPicture(dirty);
  if (minisNeedRepaint_) {
    minisNeedRepaint_ = false;
    RepaintActiveMini(true);
  }
  if (selection_) {
    selection_->DrawWithShadow(*table_);
    selectionMoved_ = false;
  }
  presentPending_ = !present;
  if (!present) return;
  DrawHintMarker();
  PresentTable(full || !dragPresent_.isValid() || hintState_ != 0 || dirty.IsWholeFrame() ||
               dirty.Count() > 0);
  FinishPresent();
}

void TableSurface::FinishPresent() {
  if (magnifier_) PaintMagnifier();
  if (Settings()->ContinuousRefresh && activeMini_) activeMini_->RepaintFrom(table_.get());
  CountStatistics();
}

// A playback step presents only the pieces (and the carried selection) that show a changed
// rectangle, unless the whole table waits to be presented.
void TableSurface::ShowStep(VideoFrameRegions& changed) {
  if (!table_ || presentPending_ || hintState_ != 0 || changed.IsWholeFrame()) {
    Repaint(false, true, nullptr, changed);
    return;
  }
  Repaint(false, false, nullptr, changed);
  presentPending_ = false;
  host_.PresentParts(*table_, TableAreaOf(changed));
  FinishPresent();
}

QRegion TableSurface::TableAreaOf(const VideoFrameRegions& changed) const {
  QRegion area;
  auto touches = [&changed](const QRect& pictureBox) {
    for (const QRect& r : changed.Rectangles())
      if (r.intersects(pictureBox)) return true;
    return false;
  };
  for (int i = 0; i < chips_.Count(); ++i) {
    const PuzzleChip& piece = *chips_.At(i);
    const ChipMask& mask = piece.Mask();
    if (touches(QRect(mask.MinX(), mask.FirstRow(), mask.Width(), mask.Height())))
      area += QRect(piece.TableX(), piece.TableY(), mask.TableWidth(), mask.TableHeight());
  }
  if (selection_ && touches(selection_->PictureRect()))
    area += selection_->GetDragRect(SelectionPoint().x(), SelectionPoint().y());
  return area;
}

void TableSurface::DrawBackground() {
  if (background_) table_->TileFrom(*background_);
  if (Settings()->SignatureShown && signature_)
    table_->ApplyShadeMap(signaturePlace_.x(), signaturePlace_.y(), *signature_);
  if (mergedMini_) {
    // The mini whose pieces came over shows an empty table now.
    mergedMini_->RepaintFrom(table_.get());
    mergedMini_ = nullptr;
  }
}

void TableSurface::CastShadows(const ChipList& list) {
  for (int i = list.Count() - 1; i >= 0; --i) {
    const PuzzleChip& piece = *list.At(i);
    if (!piece.IsSelected()) PieceShadows::CastResting(*table_, piece);
  }
}

void TableSurface::MapPicture(const VideoFrameRegions& dirty) {
  const PixelMap* map = puzzle_->GetPixelMap();
  const VirtualBuffer* picture = puzzle_->GetImage(true);
  if (!map || map->IsEmpty() || !picture || picture->IsEmpty()) return;
  VirtualBuffer* image = selection_ ? &selection_->Image() : nullptr;
  const PixelTargets targets{
      table_->memory, std::uint32_t(table_->width) * std::uint32_t(table_->height),
      image ? image->memory : nullptr,
      image ? std::uint32_t(image->width) * std::uint32_t(image->height) : 0};
  const int w = std::min(map->Width(), picture->width), h = std::min(map->Height(), picture->height);
  auto mapRect = [&](const QRect& r) {
    const int left = std::max(r.left(), 0), right = std::min(r.right(), w - 1);
    const int top = std::max(r.top(), 0), bottom = std::min(r.bottom(), h - 1);
    for (int y = top; y <= bottom; ++y) targets.MapRow(map->Row(y), picture->Row(y), left, right);
  };
  if (dirty.IsWholeFrame()) {
    mapRect(QRect(0, 0, w, h));
    return;
  }
  for (int i = dirty.Count() - 1; i >= 0; --i) mapRect(dirty.Rectangle(i));
}

void TableSurface::RepaintActiveMini(bool takeSaveUnder) {
  if (activeMini_) activeMini_->RepaintFrom(table_.get());
  if (takeSaveUnder && selection_) SaveUnder(SelectionPoint().x(), SelectionPoint().y());
}

void TableSurface::DrawHintMarker() {
  if (hintState_ == 1) table_->DrawCrossLines(hintPoint_, HintColour, HintShadow);
  if (hintState_ == 2) table_->DrawVerticalLine(hintPoint_.x(), HintColour, HintShadow);
}

void TableSurface::PresentTable(bool wholeTable) {
  host_.Present(*table_, wholeTable ? QRect() : dragPresent_);
}

void TableSurface::CountStatistics() {
  if (!OnStatistics || ++statisticsCounter < StatisticsEvery) return;
  statisticsCounter = 0;
  stats_.running = playback_->HasProjector() && playback_->ProjectorStarted() &&
                   !playback_->ProjectorPaused();
  if (stats_.running) std::tie(stats_.first, stats_.second) = playback_->ProjectorCounters();
  OnStatistics(stats_);
}

// The selection's part of the table is cut out as it is before the selection is drawn at
// a new place; where the old and new parts overlap the table still shows the selection, so
// that part comes from the previous cut.
void TableSurface::SaveUnder(int x, int y) {
  if (!selection_ || !table_) return;
  const QRect r = selection_->GetDragRect(x, y);
  previousUnder_ = std::move(currentUnder_);
  currentUnder_ = table_->SubImage(r.left(), r.top(), r.right(), r.bottom());
  if (previousUnder_)
    currentUnder_->DrawBuffer(previousUnder_->x - currentUnder_->x,
                              previousUnder_->y - currentUnder_->y, *previousUnder_, false);
}

void TableSurface::PaintMagnifier() {
  if (!magnifier_ || !crossHair_ || !table_ || magnifier_->IsEmpty()) return;
  const int mw = magnifier_->width, mh = magnifier_->height;
  const int cw = crossHair_->width, ch = crossHair_->height;
  const QPoint p = host_.CursorPosition();
  // The source is half the magnifier's size; at an edge it stays inside and the cross-hair
  // moves towards the edge instead.
  auto fit = [](int centre, int source, int limit, int& offset) {
    int s = centre - source / 2;
    if (s + source > limit) {
      offset += 2 * (s + source - limit);
      s = limit - source;
    }
    if (s < 0) {
      offset += 2 * s;
      s = 0;
    }
    return s;
  };
  int offsetX = -cw / 2, offsetY = -ch / 2;
  const int sx = fit(p.x(), mw / 2, table_->width, offsetX);
  const int sy = fit(p.y(), mh / 2, table_->height, offsetY);
  const int crossX = std::clamp(offsetX + mw / 2, -cw / 2, mw - cw / 2 - 1);
  const int crossY = std::clamp(offsetY + mh / 2, 1 - ch / 2, mh - ch / 2 - 1);
  // A magnifier larger than twice the table shows the table's colour around it.
  if (mw / 2 > table_->width || mh / 2 > table_->height)
    std::fill_n(magnifier_->memory, std::size_t(mw) * std::size_t(mh),
                std::uint32_t(Settings()->BackgroundColor & 0xFFFFFF));
  magnifier_->MagnifyFrom(*table_, sx, sy);
  magnifier_->ApplyShadeMap(crossX, crossY, *crossHair_);
  if (magnifierView_) magnifierView_->Show(*magnifier_);
}
