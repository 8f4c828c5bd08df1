// Preparing a puzzle for play: the file versions, the picture, the cut into pieces with the
// bevel, and the clock. Every way out leaves either a playable puzzle or no die, no bevel
// and no pieces behind.

#include "Puzzle.h"

#include "AnimatedFileReader.h"
#include "BevelFilter.h"
#include "ChipList.h"
#include "CuttingDie.h"
#include "JigsawFileReader.h"
#include "LoadProgress.h"
#include "PixelMap.h"
#include "PieceCounts.h"
#include "PuzzleFileReaders.h"
#include "PuzzleFileStatus.h"
#include "PuzzleTable.h"
#include "SavedWindowWish.h"
#include "imaging/DecodeCancel.h"
#include "imaging/DecodeRefusal.h"
#include "imaging/VirtualBuffer.h"
#include "settings/ProgSettings.h"
#include "Yelk/HourGlass.h"
#include "Yelk/Prompt.h"
#include "Yelk/TMsgLog.h"
#include "Yelk/GenSwerr.h"

#include <algorithm>
#include <new>

namespace {

// A cut whose knobs happen to touch fails; a slightly larger piece moves the knobs apart.
constexpr int MaxCutRetries = 3;
constexpr int SmallestPieceSize = 13;
// Below this the minimum piece size may still be raised after a failed cut.
constexpr int MinPieceSizeCeiling = 20;

const QString& UpdateLine() {
  static const QString line = QStringLiteral(
      "The selected jigsaw puzzle requires an updated version\n"
      "of the Tessavinelume Jigsaw Puzzles program.\n\n");
  return line;
}

void ShowInfo(const QString& text) {
  TMsgLog::Add(text);
  Prompt::ShowApp(text, Prompt::Information);
}

void ShowError(const QString& text) {
  TMsgLog::Add(text);
  Prompt::Show(text, QStringLiteral("Error"), Prompt::Stop);
}

// An internal fault: the size should have been refused or cut long before.
void ReportDieFailure(int pieceSize) {
  GenSwerr(QStringLiteral("Die Failure.  ") + QString::number(pieceSize));
}

}  // namespace

Puzzle::ChipCutter Puzzle::cutChips = &CuttingDie::CutChips;

bool Puzzle::Prepare(PuzzleTable* surface, LoadProgress* loadWindow) {
  // The cut lays its pieces on the current table, so that must be the one prepared for.
  if (!surface) surface = PuzzleTable::Current();
  if (!surface || surface != PuzzleTable::Current()) {
    TMsgLog::Add(QStringLiteral("Puzzle::Prepare - no current table for ") + path);
    return false;
  }
  ChipList& pieces = surface->GetChipList();
  try {
    // Prepared again: the earlier cut and its pieces go before the picture they shade.
    if (bevel) DropCut(pieces);
    started = false;
    if (picture) FreePicture();
    BecomeCurrent();
    if (!CheckFileVersions() || !OpenRecordedAnimation() ||
        !RestoreSavedLayout(*surface)) return false;
    if (!CheckLivePicture(loadWindow)) return false;
    HourGlass::Scope busy;
    if (!CheckPieceSize() || !CutWithRetries(*surface, loadWindow)) return false;
    SetBevelOptions();
    // Pieces larger than the table as it is now need the whole screen.
    if (pieces.MaxPieceExtent() > std::min(surface->GetWidth(), surface->GetHeight()))
      surface->MaximizeMainForm();
    die.reset();
    started = true;
    StartClock();
    return true;
  } catch (const std::exception& error) {
    // Mostly memory for a very large picture; the player gets a refusal, not a crash.
    TMsgLog::Add(QStringLiteral("Puzzle::Prepare - ") + QString::fromUtf8(error.what()));
    DropCut(pieces);
    ReportCorrupt(pfsCorrupt, path);
    return false;
  }
}

bool Puzzle::CheckFileVersions() {
  if (animatedFile && !CheckAnimatedVersion(*animatedFile)) return false;
  if (jigsawFile && jigsawFile->FileVersion() > 1) {
    ShowInfo(UpdateLine() + QStringLiteral(
                                "The latest program version can be downloaded from\n"
                                "the Tessavinelume web site, www.tessavinelume.com."));
    valid = false;
    return false;
  }
  return true;
}

// Versions 1 and 2 are read; the animation a jigsaw file names is held to the same rule.
bool Puzzle::CheckAnimatedVersion(const AnimatedFileReader& file) {
  const int version = file.FileVersion();
  if (version == 0) {
    ShowInfo(QStringLiteral("The version of the selected jigsaw puzzle is outdated\n"
                            "and is no longer supported."));
    valid = false;
    return false;
  }
  if (version > 2) {
    ShowInfo(UpdateLine() + QStringLiteral(
                                "Please install the latest program version from the\n"
                                "Tessavinelume Jigsaw Puzzles CD-ROM."));
    valid = false;
    return false;
  }
  return true;
}

// A jigsaw file may show the picture of an animated puzzle stored beside it.
bool Puzzle::OpenRecordedAnimation() {
  if (!jigsawFile || animatedFile) return true;
  const QString media = jigsawFile->GetMediaPath();
  if (media.isEmpty()) return true;
  std::unique_ptr<AnimatedFileReader> reader = PuzzleFileReaders::OpenAnimated(media);
  const int status = reader ? reader->Status() : int(pfsUnsupported);
  if (status == pfsReady) {
    if (!CheckAnimatedVersion(*reader)) return false;
    animatedFile = std::move(reader);
    return true;
  }
  const QString quoted = QStringLiteral("File \"") + media + QLatin1Char('"');
  if (status == pfsNotFound)
    ShowError(quoted + QStringLiteral(" could not be found."));
  else if (status == pfsUnsupported)
    ShowError(quoted + QStringLiteral(" uses an unsupported file type."));
  else
    ReportCorrupt(status, media);
  valid = false;
  return false;
}

// A saved game is laid out on a table at least as large as it was played on, its groups
// made again, and it is cut again exactly as it was, so its pieces come back by their ids.
bool Puzzle::RestoreSavedLayout(PuzzleTable& table) {
  if (!jigsawFile || !jigsawFile->IsSavedGame()) return true;
  JigsawFileReader& file = *jigsawFile;
  const QSize saved = file.SavedTableSize();
  if ((saved.width() > table.GetWidth() || saved.height() > table.GetHeight()) &&
      !FitSavedWindow(table))
    return false;
  if (!file.FitGroupsByRotating(table.GetWidth(), table.GetHeight())) {
    ShowInfo(QStringLiteral(
        "The playing surface is currently not large enough to hold\n"
        "the specified puzzle.\n\n"
        "The playing surface can be made larger by hiding the main menu,\n"
        "hiding the control panel, or switching to full screen mode.\n"));
    return false;
  }
  pieceSize = file.PieceSize();
  joins = std::max(file.Joins(), 0);
  file.RestoreGroups(table.GetWidth(), table.GetHeight());
  table.SwitchToMini(file.ActiveMini());
  return true;
}

// The main window as it was saved when this screen is large enough, else maximised; false
// (silently) when even then the largest group cannot lie on the table. The window has mostly
// been changed before the load began; asking again changes nothing then.
bool Puzzle::FitSavedWindow(PuzzleTable& table) {
  const SavedWindowWish wish =
      SavedWindowWish::For(jigsawFile.get(), QSize(table.GetWidth(), table.GetHeight()), table.ScreenSize());
  if (wish.kind == SavedWindowWish::Place)
    table.PlaceMainForm(wish.bounds);
  else
    table.MaximizeMainForm();
  if (wish.screenLargeEnough) return true;
  const QSize group = jigsawFile->LargestGroupExtent();
  if (group.width() <= table.GetWidth() && group.height() <= table.GetHeight()) return true;
  TMsgLog::Add(QStringLiteral("Puzzle::Prepare - saved groups do not fit the table: ") + path);
  return false;
}

bool Puzzle::CheckLivePicture(LoadProgress* loadWindow) {
  VirtualBuffer* live = nullptr;
  const DecodeRefusal refusal;
  {
    // Esc stops a picture that takes long to decode; a cancel is no error.
    const DecodeCancel cancel([loadWindow] { return loadWindow && loadWindow->PollCancel(); });
    live = GetImage(true);
  }
  if (loadWindow && loadWindow->IsCancelled()) return false;
  if (!live || live->width <= 0 || live->height <= 0) {
    // The decoder's reason, when it gave one, on a line of its own.
    QString text = QStringLiteral("Error: Unable to open the requested file.");
    if (!refusal.Reason().isEmpty()) text += QLatin1Char('\n') + refusal.Reason();
    TMsgLog::Add(QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')));
    Prompt::ShowApp(text, Prompt::Stop);
    return false;
  }
  // The pieces, the pixel map and the table all index the picture by the play size.
  if (live->width != GetImageWidth() || live->height != GetImageHeight()) {
    TMsgLog::Add(QStringLiteral("Puzzle::Prepare - picture is %1 x %2, expected %3 x %4")
                     .arg(live->width).arg(live->height)
                     .arg(GetImageWidth()).arg(GetImageHeight()));
    ReportCorrupt(pfsCorrupt, path);
    return false;
  }
  return true;
}

// A size of 0 would leave the die without a buffer, one above a side cannot be cut, and
// piece ids are 16 bits wide.
bool Puzzle::CheckPieceSize() {
  const int width = GetImageWidth();
  const int height = GetImageHeight();
  if (pieceSize >= SmallestPieceSize && pieceSize <= std::min(width, height) &&
      PieceCount(width, height, pieceSize) <= MaxPieceCount)
    return true;
  TMsgLog::Add(QStringLiteral("Puzzle::Prepare - piece size %1 refused for %2 x %3")
                   .arg(pieceSize).arg(width).arg(height));
  if (jigsawFile && jigsawFile->IsSavedGame())
    ReportCorrupt(pfsCorrupt, path);
  else
    ReportDieFailure(pieceSize);
  return false;
}

bool Puzzle::CutWithRetries(PuzzleTable& table, LoadProgress* loadWindow) {
  ChipList& pieces = table.GetChipList();
  const bool savedGame = jigsawFile && jigsawFile->IsSavedGame();
  for (int retries = 0;; ++retries) {
    const int count = CutOnce(table, loadWindow);
    if (count < 0) return false;  // cancelled; nothing left behind
    if (count > 0 && (!savedGame || count == jigsawFile->PieceCount())) {
      pieceCount = count;
      return true;
    }
    DropCut(pieces);
    if (savedGame) {
      // Another grid would restore the pieces by the wrong ids.
      TMsgLog::Add(QStringLiteral("Puzzle::Prepare - saved game cut into %1 pieces, not %2")
                       .arg(count).arg(jigsawFile->PieceCount()));
      ReportCorrupt(pfsCorrupt, path);
      return false;
    }
    if (retries == MaxCutRetries) {
      ReportDieFailure(pieceSize);
      return false;
    }
    if (pieceSize == MinPieceSize() && pieceSize < MinPieceSizeCeiling) {
      RaiseMinPieceSize();
      Settings()->PuzzlePieceSize = pieceSize + 1;
    }
    TMsgLog::Add(QStringLiteral("Puzzle::Prepare - cut at piece size %1 failed, trying %2")
                     .arg(pieceSize).arg(pieceSize + 1));
    ++pieceSize;
    if (!CheckPieceSize()) return false;
  }
}

// The piece count of one cut, or -1 after a cancel (everything of the cut then gone).
int Puzzle::CutOnce(PuzzleTable& table, LoadProgress* loadWindow) {
  ChipList& pieces = table.GetChipList();
  const auto cancelled = [loadWindow] { return loadWindow && loadWindow->IsCancelled(); };
  die = std::make_unique<CuttingDie>(this, pieceSize, loadWindow);
  if (cancelled()) {
    DropCut(pieces);
    return -1;
  }
  pixelMap.reset();
  pixelMap = std::make_unique<PixelMap>(GetImageWidth(), GetImageHeight(), &table);
  bevel = std::make_unique<BevelFilter>(picture.get(), true, GetImageHeight(), GetImageWidth());
  const int count = cutChips(die.get(), bevel.get(), cutOption, loadWindow);
  if (cancelled()) {
    DropCut(pieces);
    return -1;
  }
  return count;
}

// The pieces first: they shade into the bevel.
void Puzzle::DropCut(ChipList& pieces) {
  pieces.DeleteAll();
  bevel.reset();
  pixelMap.reset();
  die.reset();
}

// A saved game keeps its own bevel; anything else starts as the settings and the file say.
void Puzzle::SetBevelOptions() {
  if (jigsawFile && jigsawFile->IsSavedGame()) {
    if (!jigsawFile->BevelOn())
      bevel->SetBevelOn(false);
    else if (jigsawFile->LightBevel())
      bevel->SetLight(true);
    return;
  }
  if (Settings()->DefaultToBevelOff)
    bevel->SetBevelOn(false);
  else if (Settings()->DefaultToLightBevel || (jigsawFile && jigsawFile->LightBevel()) ||
           (animatedFile && animatedFile->LightBevel()))
    bevel->SetLight(true);
}

void Puzzle::ReportCorrupt(int status, const QString& file) {
  ShowError(QStringLiteral("File \"") + file +
            QStringLiteral("\" is corrupt and can not be opened.  err=") +
            QString::number(status));
}
