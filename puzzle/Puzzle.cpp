// The puzzle's life: opening its source, the global list and the current puzzle, and the
// picture it is played with.

#include "Puzzle.h"

#include "AnimatedFileReader.h"
#include "BevelFilter.h"
#include "BevelRings.h"
#include "ChipGroup.h"
#include "ChipList.h"
#include "CuttingDie.h"
#include "imaging/VirtualBuffer.h"
#include "JigsawFileReader.h"
#include "PixelMap.h"
#include "PictureFile.h"
#include "PictureFit.h"
#include "PuzzleFileReaders.h"
#include "PuzzleChip.h"
#include "PuzzleFileStatus.h"
#include "PuzzleTable.h"
#include "settings/ProgSettings.h"
#include "Yelk/HourGlass.h"
#include "Yelk/PathUtils.h"
#include "Yelk/Prompt.h"
#include "Yelk/TMsgLog.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <vector>

namespace {

Puzzle* currentPuzzle = nullptr;

std::vector<Puzzle*>& PuzzleList() {
  static std::vector<Puzzle*> list;
  return list;
}

QString ExtensionOf(const QString& path) { return GetFileExtFromPath(path).toLower(); }

}  // namespace

void AddPuzzleToList(Puzzle* puzzle) {
  std::vector<Puzzle*>& list = PuzzleList();
  if (puzzle && std::find(list.begin(), list.end(), puzzle) == list.end()) list.push_back(puzzle);
}

void RemovePuzzleFromList(Puzzle* puzzle) {
  std::vector<Puzzle*>& list = PuzzleList();
  list.erase(std::remove(list.begin(), list.end(), puzzle), list.end());
}

void DeleteAllPuzzles() {
  std::vector<Puzzle*>& list = PuzzleList();
  while (!list.empty()) {
    Puzzle* last = list.back();
    list.pop_back();
    delete last;  // its destructor finds it no longer listed
  }
}

Puzzle::Puzzle(const QString& sourcePath, bool deleteSourceFile)
    : path(sourcePath), deleteSource(deleteSourceFile) {
  AddPuzzleToList(this);
  int status;
  {
    HourGlass::Scope busy;
    status = OpenSource();
  }
  if (status != pfsReady) ReportOpenFailure(status);
}

Puzzle::~Puzzle() {
  // The playback holds the clips, picture and bevel that go below.
  if (currentPuzzle == this)
    if (PuzzleTable* table = PuzzleTable::Current()) table->StopProjector();
  RemovePuzzleFromList(this);
  die.reset();
  pixelMap.reset();
  bevel.reset();  // shades the picture, so it goes first
  picture.reset();
  animatedFile.reset();
  jigsawFile.reset();
  if (currentPuzzle == this) {
    // While it is played the pieces on every table, the captured ones and the groups are
    // the puzzle's too: the next puzzle starts without any of them.
    if (PuzzleTable* table = PuzzleTable::Current()) table->DeleteAllPieces();
    PuzzleChip::CapturedList().DeleteAll();
    ChipGroup::DeleteAll();
    currentPuzzle = nullptr;
    // The next puzzle's pieces start from a flat, normal bevel.
    BevelRings::SetBevelStyle(0);
    BevelRings::SetLightRings(false);
  }
  if (deleteSource) QFile::remove(path);
}

Puzzle* Puzzle::Current() { return currentPuzzle; }

void Puzzle::BecomeCurrent() {
  currentPuzzle = this;
  PictureSizeSource::SetCurrent(this);
}

int Puzzle::OpenSource() {
  const QString ext = ExtensionOf(path);
  if (ext == QLatin1String("qvp")) return OpenAnimated();
  if (ext == QLatin1String("jig") || ext == QLatin1String("saw")) return OpenJigsaw();
  if (!QFileInfo::exists(path)) return pfsNotFound;
  if (PictureFile::FormatOf(path) != 0) {
    sourceBytes = PictureFile::ReadBytes(path);
    FitStillImage();
    return pfsReady;
  }
  return pfsUnsupported;
}

int Puzzle::OpenAnimated() {
  std::unique_ptr<AnimatedFileReader> reader = PuzzleFileReaders::OpenAnimated(path);
  if (!reader) return NoReaderStatus();
  const int status = reader->Status();
  if (status == pfsReady) animatedFile = std::move(reader);
  return status;
}

int Puzzle::OpenJigsaw() {
  std::unique_ptr<JigsawFileReader> reader = PuzzleFileReaders::OpenJigsaw(path);
  if (!reader) return NoReaderStatus();
  const int status = reader->Status();
  if (status != pfsReady) return status;
  jigsawFile = std::move(reader);
  scale = jigsawFile->Scale();
  SetHintCounts(jigsawFile->HintLimit(), jigsawFile->HintsUsed());
  clock.SetElapsed(jigsawFile->ElapsedSeconds());
  if (jigsawFile->IsSavedGame()) joins = std::max(jigsawFile->Joins(), 0);
  return pfsReady;
}

// A file of a kind without a reader: missing files are reported as missing all the same.
int Puzzle::NoReaderStatus() const { return QFileInfo::exists(path) ? pfsUnsupported : pfsNotFound; }

void Puzzle::FitStillImage() {
  const PuzzleTable* table = PuzzleTable::Current();
  const QSize area = table ? table->AvailableArea() : QSize();
  const QSize size = GetImageSize();
  const PictureFit fit = PictureFit::Compute(size.width(), size.height(), area.width(),
                                             area.height(), Settings()->MaxTablePercentage);
  if (!fit.scaled) return;
  playWidth = fit.playWidth;
  playHeight = fit.playHeight;
  scale = fit.scale;
  scaled = true;
}

void Puzzle::ReportOpenFailure(int status) {
  const QString quoted = QStringLiteral("File \"") + path + QLatin1Char('"');
  QString text;
  if (status == pfsNotFound || status == pfsUnsupported) {
    text = quoted + (status == pfsNotFound ? QStringLiteral(" could not be found.")
                                           : QStringLiteral(" uses an unsupported file type."));
    Settings()->RecentPuzzles.removeAll(path);
  } else {
    text = quoted + QStringLiteral(" is corrupt and can not be opened.  err=") +
           QString::number(static_cast<signed char>(status));
  }
  valid = false;
  TMsgLog::Add(text);
  Prompt::Show(text, QStringLiteral("Error"), Prompt::Stop);
}

QSize Puzzle::GetImageSize() {
  if (playWidth == 0) {
    int width = 0;
    int height = 0;
    if (animatedFile) {
      width = animatedFile->PictureWidth();
      height = animatedFile->PictureHeight();
    } else if (jigsawFile) {
      width = jigsawFile->PlayWidth();
      height = jigsawFile->PlayHeight();
      if (width <= 0 || height <= 0) {
        width = jigsawFile->PictureWidth();
        height = jigsawFile->PictureHeight();
      }
    } else if (const int format = PictureFile::FormatOf(path); format != 0) {
      if (!PictureFile::MeasureBytes(sourceBytes, format, width, height))
        TMsgLog::Add(QStringLiteral("Puzzle::GetImageSize - no usable header in ") + path);
    }
    // A size taken from a damaged header is no size.
    if (width > 0 && height > 0) {
      playWidth = width;
      playHeight = height;
    }
  }
  return {playWidth, playHeight};
}

VirtualBuffer* Puzzle::GetImage(bool live) {
  if (!live && picture && bevel && bevel->UnshadedCopy()) return bevel->UnshadedCopy();
  if (!picture) picture = LoadLivePicture();
  return picture.get();
}

// The picture at the play size. A still image is always brought to it, so that the live
// buffer and the play size never disagree; the readers hand over theirs at the play size
// unless the puzzle was fitted afterwards.
std::unique_ptr<VirtualBuffer> Puzzle::LoadLivePicture() {
  std::unique_ptr<VirtualBuffer> loaded;
  const bool still = !animatedFile && !jigsawFile;
  if (animatedFile)
    loaded = animatedFile->GetPicture();
  else if (jigsawFile)
    loaded = jigsawFile->GetPicture();
  else if (const int format = PictureFile::FormatOf(path); format != 0)
    loaded = PictureFile::DecodeBytes(sourceBytes, format, GetFileNameFromPath(path));
  if (!loaded || loaded->IsEmpty()) return nullptr;
  const QSize play = GetImageSize();
  const bool differs = play.width() != loaded->width || play.height() != loaded->height;
  if ((still || scaled) && differs && !play.isEmpty())
    loaded = std::make_unique<VirtualBuffer>(*loaded, play.width(), play.height(), false,
                                             VirtualBuffer::Filter::Smooth);
  return loaded;
}

void Puzzle::FreePicture() { picture.reset(); }

QImage Puzzle::LoadPicture() {
  if (jigsawFile) return jigsawFile->GetBitmap();
  if (animatedFile) return animatedFile->GetBitmap();
  const int format = PictureFile::FormatOf(path);
  if (format == 0) return {};
  const std::unique_ptr<VirtualBuffer> decoded = PictureFile::DecodeBytes(sourceBytes, format, GetFileNameFromPath(path));
  return decoded ? PictureFile::ToImage(*decoded) : QImage();
}

int Puzzle::GetPictureFormat() {
  if (animatedFile) return animatedFile->PictureType();
  if (jigsawFile) return jigsawFile->PictureFormat();
  return ExtensionOf(path) == QLatin1String("bmp") ? PictureFile::Bitmap : PictureFile::Jpeg;
}

bool Puzzle::WritePicture(QIODevice& stream) {
  if (animatedFile) return animatedFile->CopyPicture(stream);
  if (jigsawFile) return jigsawFile->CopyPicture(stream);
  return WriteSourceBytes(stream);
}

bool Puzzle::WriteBoxCover(QIODevice& stream) {
  return jigsawFile ? jigsawFile->CopyBoxCover(stream) : true;
}

bool Puzzle::WriteSourceBytes(QIODevice& stream) const {
  if (sourceBytes.isEmpty()) {
    TMsgLog::Add(QStringLiteral("Puzzle::WritePicture - nothing was read from ") + path);
    return false;
  }
  if (stream.write(sourceBytes) != sourceBytes.size()) {
    TMsgLog::Add(QStringLiteral("Puzzle::WritePicture - copy failed: ") + path);
    return false;
  }
  return true;
}
