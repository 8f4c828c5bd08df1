// The table surface's life: construction with its background and watermark, the table as
// the puzzle sees it, the playback seams, the magnifier's buffers and the stacking order.

#include "TableSurface.h"

#include "AnimationPlayback.h"
#include "BackgroundTint.h"
#include "ChipSelection.h"
#include "MiniBoard.h"
#include "RandomSource.h"
#include "TableHost.h"
#include "TableMini.h"
#include "TablePlayback.h"
#include "controls/Artwork.h"
#include "imaging/VirtualBuffer.h"
#include "platform/PageBlock.h"
#include "puzzle/Puzzle.h"
#include "puzzle/PuzzleChip.h"
#include "settings/ProgSettings.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

constexpr int SignatureId = 8100;
constexpr int CrossHairId = 8102;
constexpr int TextureId = 8103;
constexpr int DefaultTableColour = 0x7599B9;

TableSurface::LogoSource& Logo() {
  static TableSurface::LogoSource source;
  return source;
}

VideoFrameRegions& MainDirty() {
  static VideoFrameRegions regions;
  return regions;
}

VideoFrameRegions& DragDirty() {
  static VideoFrameRegions regions;
  return regions;
}

}  // namespace

TableHost::~TableHost() = default;
BufferView::~BufferView() = default;
TablePlayback::~TablePlayback() = default;

TableSurface::TableSurface(TableHost& host, MiniBoard& minis)
    : host_(host),
      minis_(minis),
      ownPlayback_(std::make_unique<AnimationPlayback>(*this)),
      ownRandom_(std::make_unique<ClockRandom>()),
      activeMini_(minis.FirstMini()) {
  playback_ = ownPlayback_.get();
  random_ = ownRandom_.get();
  flashTimer_.setInterval(FlashMillis);
  flashTimer_.setSingleShot(false);
  flashTimer_.callOnTimeout([this] { FlashTimer(); });
  if (Settings()->BackgroundColor == DefaultTableColour)
    InstallDefaultBackground();
  else
    MakeBackground(Settings()->BackgroundColor);
  if (Settings()->SignatureShown) InstallSignature();
  current_ = this;
  SetCurrent(this);
}

TableSurface::~TableSurface() {
  UnloadPuzzle();
  if (current_ == this) current_ = nullptr;
}

void TableSurface::SetLogoSource(LogoSource source) { Logo() = std::move(source); }

void TableSurface::SetPlayback(TablePlayback* playback) {
  playback_ = playback ? playback : ownPlayback_.get();
}

void TableSurface::SetRandomSource(RandomSource* random) {
  random_ = random ? random : ownRandom_.get();
}

void TableSurface::InstallSignature() {
  // A sponsor's logo arrives as a finished shading map (its own copy); only the default
  // picture is turned into one here.
  if (Logo()) signature_ = Logo()();
  if (signature_ && !signature_->IsEmpty()) return;
  signature_ = std::make_unique<VirtualBuffer>(SignatureId, QStringLiteral("Signature"));
  signature_->MakeShadeMap(10, 1);
}

void TableSurface::InstallDefaultBackground() {
  background_ = std::make_unique<VirtualBuffer>(TextureId, QStringLiteral("Background"));
  // On a dark desktop theme the felt is toned down with it.
  const QColor face = QGuiApplication::palette().color(QPalette::Button);
  if (face.red() < 201 && face.green() < 201 && face.blue() < 201) background_->Darken(14);
}

void TableSurface::MakeBackground(int colour) {
  const VirtualBuffer texture(TextureId, QStringLiteral("Def bkgd"));
  auto tinted = TintTexture(texture, colour);
  if (current_ == this)
    SetBackground(std::move(tinted));
  else
    background_ = std::move(tinted);
  host_.SetTableColor(colour & 0xFFFFFF);
}

void TableSurface::SetBackground(std::unique_ptr<VirtualBuffer> buffer) {
  if (buffer)
    background_ = std::move(buffer);
  else
    InstallDefaultBackground();
  // Every table shows the new felt: each mini takes its turn on the main table once.
  TableMini* start = activeMini_;
  if (!start || !Puzzle::Current()) {
    Refresh();
    return;
  }
  TableMini* mini = start;
  do {
    mini = minis_.After(mini);
    SwitchToMini(mini, nullptr);
  } while (mini != start);
}

QSize TableSurface::ScreenSize() const { return host_.ScreenSize(); }
void TableSurface::MaximizeMainForm() { host_.MaximizeMainForm(); }
void TableSurface::PlaceMainForm(const QRect& bounds) { host_.PlaceMainForm(bounds); }
QSize TableSurface::AvailableArea() const { return host_.AvailableArea(); }

void TableSurface::SwitchToMini(int index) {
  if (TableMini* mini = minis_.MiniByIndex(index)) SwitchToMini(mini, nullptr);
}

int TableSurface::GetWidth() const { return table_ ? table_->width : 0; }
int TableSurface::GetHeight() const { return table_ ? table_->height : 0; }

void TableSurface::DeleteAllPieces() {
  // The puzzle whose pieces go is going too: the table lets go of it first, which also
  // hands carried pieces back to the table's list.
  if (puzzle_ && puzzle_ == Puzzle::Current()) UnloadPuzzle();
  chips_.DeleteAll();
  minis_.ClearAllMinis();
}

bool TableSurface::TakeJoinSound() { return std::exchange(joinSoundPending_, false); }

// The table lies in huge pages where the system allows: drawing turned pieces writes down
// its columns, a row apart per pixel, which small pages make a page walk each.
void TableSurface::ReplaceTableBuffer(int w, int h) {
  table_.reset();
  tableBlock_.reset();
  const std::size_t bytes = std::size_t(std::max(w, 0)) * std::size_t(std::max(h, 0)) * 4;
  if (bytes > 0) tableBlock_ = std::make_unique<PageBlock>(bytes);
  if (tableBlock_ && !tableBlock_->IsEmpty())
    table_ = std::make_unique<VirtualBuffer>(w, h, QStringLiteral("Table Surface"), tableBlock_->Data(), bytes);
  else
    table_ = std::make_unique<VirtualBuffer>(w, h, QStringLiteral("Table Surface"));
}

void TableSurface::DeleteSaveUnders() {
  previousUnder_.reset();
  currentUnder_.reset();
}

bool TableSurface::IsAnimatedSource() const {
  if (!puzzle_) return false;
  if (puzzle_->GetAnimatedFile()) return true;
  return puzzle_->GetJigsawFile() && playback_->HasTrackPlayer();
}

bool TableSurface::IsStaticPicture() const {
  return !puzzle_ || !puzzle_->GetAnimatedFile() || !playback_->HasProjector() ||
         playback_->ProjectorPaused() || !playback_->ProjectorStarted();
}

void TableSurface::StopProjector() {
  if (playback_->HasProjector()) playback_->ClearProjector();
}

void TableSurface::DestroyProjector() { playback_->DestroyProjector(); }

void TableSurface::ShowIdleStep() {
  if (!presentPending_ || !table_) return;
  presentPending_ = false;
  PresentTable(true);
  if (magnifier_) PaintMagnifier();
}

VideoFrameRegions& TableSurface::GetDirtyRegions() { return MainDirty(); }
VideoFrameRegions& TableSurface::GetDragRegions() { return DragDirty(); }

void TableSurface::SetMagnifier(int w, int h, BufferView* view) {
  magnifier_ = std::make_unique<VirtualBuffer>(w, h, QStringLiteral("Mag Screen"));
  magnifierView_ = view;
  if (!crossHair_) {
    crossHair_ = std::make_unique<VirtualBuffer>(CrossHairId, QStringLiteral("CrossHair"));
    crossHair_->MakeShadeMap(5, 40);
  }
}

void TableSurface::FreeMagnifier() {
  magnifier_.reset();
  crossHair_.reset();
  magnifierView_ = nullptr;
}

void TableSurface::BottomToTop() {
  if (!puzzle_ || selection_) return;
  chips_.BottomToTop();
  Repaint(true, IsStaticPicture(), nullptr, MainDirty());
}

void TableSurface::TopToBottom() {
  if (!puzzle_ || selection_) return;
  chips_.TopToBottom();
  Repaint(true, IsStaticPicture(), nullptr, MainDirty());
}
