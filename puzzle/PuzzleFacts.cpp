// What a puzzle tells about itself: names, dates, counts, progress, hints, changes, the
// elapsed-time text and the thumbnail.

#include "AnimatedFileReader.h"
#include "BevelFilter.h"
#include "imaging/VirtualBuffer.h"
#include "JigsawFileReader.h"
#include "PictureFile.h"
#include "PictureThumbnail.h"
#include "Puzzle.h"
#include "settings/ProgSettings.h"
#include "TipDisplay.h"
#include "Yelk/PathUtils.h"

#include <QBuffer>
#include <QDate>
#include <QLocale>
#include <algorithm>
#include <cmath>

namespace {

// Tips shown as the hint allowance runs out.
constexpr int LastHintTip = 27;
constexpr int FewHintsTip = 13;
constexpr int FewHints = 7;

int Percent(double part, double whole) {
  return std::clamp(static_cast<int>(part * 100.0 / whole + 0.5), 0, 100);
}

QString TwoDigits(int n) { return (n < 10 ? QStringLiteral("0") : QString()) + QString::number(n); }

}  // namespace

QString Puzzle::GetDisplayName() const {
  return GetFileNameFromPath(savedPath.isEmpty() ? path : savedPath, Settings()->ShowFileExts);
}

QString Puzzle::GetTypeName() const {
  const QString ext = GetFileExtFromPath(path).toLower();
  if (ext == QLatin1String("bmp")) return QStringLiteral("Bitmap image");
  if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg"))
    return QStringLiteral("JPEG image");
  if (jigsawFile)
    return jigsawFile->IsSavedGame() ? QStringLiteral("Saved jigsaw puzzle")
                                     : QStringLiteral("Still image jigsaw puzzle");
  if (animatedFile) return QStringLiteral("Tessavinelume jigsaw puzzle");
  return QStringLiteral("Unrecognized image yype");
}

QString Puzzle::FormatLastPlayDate(int dayNumber) {
  const QDate date = QDate(1899, 12, 30).addDays(dayNumber);
  return date.isValid() ? QLocale::system().toString(date, QLocale::ShortFormat) : QString();
}

QString Puzzle::GetLastPlayDate() const {
  if (!jigsawFile || !jigsawFile->IsSavedGame()) return {};
  return FormatLastPlayDate(jigsawFile->SaveDate());
}

QString Puzzle::GetMediaPath() const {
  return jigsawFile && animatedFile ? jigsawFile->GetMediaPath() : path;
}

const QByteArray* Puzzle::GetNoteStream() const {
  if (jigsawFile) return jigsawFile->GetNoteStream();
  return animatedFile ? animatedFile->GetNoteStream() : nullptr;
}

bool Puzzle::IsPreviewAllowed() const { return !jigsawFile || jigsawFile->BoxCoverAvailable(); }

bool Puzzle::HasBoxCover() const { return GetBoxCoverFlag() != 0; }

int Puzzle::GetBoxCoverFlag() const { return jigsawFile ? jigsawFile->BoxCoverFormat() : 0; }

std::unique_ptr<VirtualBuffer> Puzzle::GetBoxCover() {
  if (!jigsawFile || !IsPreviewAllowed() || !HasBoxCover()) return nullptr;
  return jigsawFile->GetPreviewBuffer();
}

QImage Puzzle::MakeThumbnail(int box) {
  if (!IsPreviewAllowed() || box <= 0) return {};
  if (!jigsawFile && animatedFile) return animatedFile->DrawThumbnail(box);
  const QImage source = jigsawFile ? jigsawFile->GetBitmap() : LoadPicture();
  if (source.isNull()) return {};
  const QSize fitted = PictureThumbnail::FittedSize(source.size(), box);
  if (fitted == source.size()) return source;
  return source.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

Puzzle::PictureBytes Puzzle::ThumbnailBytes() {
  if (!IsPreviewAllowed() || (!jigsawFile && animatedFile)) return {};
  if (!jigsawFile) return SourcePicture();
  if (jigsawFile->PictureFormat() == PictureFile::Jpeg && jigsawFile->JpegNotDecoded()) return {};
  QBuffer block;
  block.open(QIODevice::WriteOnly);
  if (!jigsawFile->CopyPicture(block)) return {};
  return {block.data(), jigsawFile->PictureFormat(), path};
}

Puzzle::PictureBytes Puzzle::SourcePicture() const {
  return {sourceBytes, PictureFile::FormatOf(path), GetFileNameFromPath(path)};
}

int Puzzle::GetPieceCount() const {
  if (started) return pieceCount;
  return jigsawFile && jigsawFile->IsSavedGame() ? jigsawFile->PieceCount() : 0;
}

int Puzzle::GetSavedPieceCount() const { return jigsawFile ? jigsawFile->PieceCount() : 0; }

// Counts may come from a damaged file: nothing here divides by zero or leaves 0..100.
int Puzzle::GetPercentComplete() const {
  if (started) {
    if (joins <= 0 || pieceCount <= 0) return 0;
    if (pieceCount == joins + 1) return 100;
    return Percent(joins, pieceCount);
  }
  if (jigsawFile && jigsawFile->IsSavedGame()) {
    const int savedPieces = jigsawFile->PieceCount();
    if (savedPieces <= 1) return 0;
    return Percent(jigsawFile->Joins(), savedPieces - 1);
  }
  return 0;
}

void Puzzle::AddJoin() {
  ++joins;
  if (OnJoin) OnJoin(*this);
}

void Puzzle::UseHint() {
  ++hintsUsed;
  if (hintLimit == -1) return;
  SetChanged();
  if (hintsUsed == hintLimit - 1)
    TipDisplay::Show(LastHintTip);
  else if (hintLimit - hintsUsed < FewHints)
    TipDisplay::Show(FewHintsTip);
}

// A negative limit other than -1 (a damaged file) counts as no limit.
void Puzzle::SetHintCounts(int limit, int used) {
  if (limit >= 0 && (hintLimit == -1 || limit < hintLimit)) hintLimit = limit;
  if (used > hintsUsed) hintsUsed = used;
}

bool Puzzle::IsBevelOn() const { return bevel && bevel->IsBevelOn(); }

bool Puzzle::IsBevelLight() const { return bevel && bevel->Light(); }

void Puzzle::SetBevelOn(bool on) {
  if (!bevel || bevel->IsBevelOn() == on) return;
  bevel->SetBevelOn(on);
  SetChanged();
}

void Puzzle::SetBevelLight(bool light) {
  if (!bevel || bevel->Light() == light) return;
  bevel->SetLight(light);
  SetChanged();
}

void Puzzle::SetChanged() {
  if (changePending) return;
  changePending = true;
  if (OnChange) OnChange(*this);
}

void Puzzle::ClearChanged() {
  if (!changePending) return;
  changePending = false;
  if (OnChange) OnChange(*this);
}

QString Puzzle::FormatElapsed(bool longForm) const {
  const int s = GetElapsedSeconds();
  const int h = s / 3600;
  const int m = (s % 3600) / 60;
  if (longForm) return QStringLiteral("%1 hours, %2 mins").arg(h).arg(m);
  QString text = QStringLiteral("%1 h %2 m").arg(h).arg(TwoDigits(m));
  if (Settings()->ShowSeconds) text += QStringLiteral(" %1 s").arg(TwoDigits(s % 60));
  return text;
}
