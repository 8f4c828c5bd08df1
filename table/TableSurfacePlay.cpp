// The table while the window comes and goes, and the hint marks.

#include "TableSurface.h"

#include "MiniBoard.h"
#include "TableMini.h"
#include "TablePlayback.h"
#include "Yelk/TMsgLog.h"
#include "puzzle/ChipMask.h"
#include "puzzle/Puzzle.h"
#include "puzzle/PuzzleChip.h"
#include "puzzle/TipDisplay.h"
#include "settings/ProgSettings.h"

#include <utility>

namespace {

constexpr int HintTip = 11;
constexpr int MiniHintTip = 12;

}  // namespace

void TableSurface::Suspend(bool t) {
  activationPause_ = false;
  if (!puzzle_) return;
  if (IsAnimatedSource()) {
    if (playback_->HasTrackPlayer()) playback_->StopTrack();
    TMsgLog::Add(QStringLiteral("Surface - Suspend, t=") + (t ? u'1' : u'0'));
    playback_->PauseProjector();
    if (playing_) playing_ = t;
    if (playback_->HasProjector() && OnStatistics) {
      stats_.running = false;
      OnStatistics(stats_);
    }
  }
  if (t) puzzle_->StopClock(false);
}

void TableSurface::Resume(bool t) {
  if (!puzzle_) return;
  if (IsAnimatedSource() && (!t || playing_)) {
    TMsgLog::Add(QStringLiteral("Surface - Resume, t=") + (t ? u'1' : u'0'));
    playback_->PlayProjector();
    playing_ = true;
    if (Settings()->EnableBackgroundSound && playback_->HasTrackPlayer()) playback_->RestartTrack();
  }
  puzzle_->StartClock();
}

void TableSurface::PauseUntilIdle() {
  if (IsStaticPicture()) return;
  playback_->PauseProjector();
  activationPause_ = true;
  QTimer::singleShot(0, &flashTimer_, [this] {
    if (!std::exchange(activationPause_, false) || !puzzle_ || !playback_->HasProjector()) return;
    playback_->PlayProjector();
  });
}

bool TableSurface::ShowChipHint(PuzzleChip* piece) {
  if (hintState_ != 0 || !piece || !chips_.Contains(piece)) return false;
  hintPoint_ = QPoint(piece->TableX() + piece->Mask().TableWidth() / 2,
                      piece->TableY() + piece->Mask().TableHeight() / 2);
  hintState_ = 1;
  Refresh();
  StartHintTimer();
  TipDisplay::Show(HintTip);
  return true;
}

bool TableSurface::ShowMiniHint(TableMini& mini, PuzzleChip* piece) {
  if (hintState_ != 0) return false;
  const int x = mini.ShowHintMarker(piece);
  if (x < 0) return false;
  hintPoint_ = QPoint(x, 0);
  hintState_ = 2;
  Refresh();
  StartHintTimer();
  if (!TipDisplay::Show(HintTip)) TipDisplay::Show(MiniHintTip);
  return true;
}

void TableSurface::StartHintTimer() {
  hintTimer_ = std::make_unique<QTimer>();
  hintTimer_->setSingleShot(true);
  hintTimer_->setInterval(HintMillis);
  hintTimer_->callOnTimeout([this] { HideHint(); });
  hintTimer_->start();
}

void TableSurface::HideHint() {
  if (hintState_ == 0) return;
  if (hintTimer_) {
    hintTimer_->stop();
    // The timer may be the one calling: it goes once control is back in the event loop.
    hintTimer_.release()->deleteLater();
  }
  if (hintState_ == 2) minis_.HideHintMarker();
  hintState_ = 0;
  Refresh();
}
