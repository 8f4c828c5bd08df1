#include "TableTop.h"

#include "ChipSelection.h"
#include "MainWindowHook.h"
#include "MiniBoard.h"
#include "MiniSurface.h"
#include "SoundEffect.h"
#include "TLoadBarForm.h"
#include "TMagForm.h"
#include "TableSurface.h"
#include "Yelk/TMsgLog.h"
#include "controls/Artwork.h"
#include "imaging/BufferPresenter.h"
#include "imaging/VirtualBuffer.h"
#include "puzzle/ChipGroup.h"
#include "puzzle/Puzzle.h"
#include "puzzle/PuzzleChip.h"
#include "puzzle/TipDisplay.h"
#include "settings/ProgSettings.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <cstdlib>

namespace {

constexpr int JoinSoundId = 8000;
constexpr int TurnSoundId = 8001;
constexpr int LongDragTip = 14;
constexpr int SmallestTableMargin = 16;

int ButtonNumber(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton: return TableSurface::LeftButton;
    case Qt::RightButton: return TableSurface::RightButton;
    case Qt::MiddleButton: return TableSurface::MiddleButton;
    default: return -1;
  }
}

}  // namespace

QCursor TableTop::CursorShape(TableCursor id) {
  switch (id) {
    case TableCursor::None: return QCursor(Qt::BlankCursor);
    case TableCursor::Drag: return current_ ? current_->carrying_ : Artwork::Cursor(QStringLiteral("cursors/DRAG"));
    case TableCursor::MultiDrag:
      return current_ ? current_->carryingMany_ : Artwork::Cursor(QStringLiteral("cursors/MULTIDRAG"));
    case TableCursor::NoDrop:
    case TableCursor::No: return QCursor(Qt::ForbiddenCursor);
    case TableCursor::UpArrow: return QCursor(Qt::UpArrowCursor);
    case TableCursor::Default: break;
  }
  return QCursor(Qt::ArrowCursor);
}

TableTop::TableTop(QWidget* parent, MiniBoard& minis, MainWindowHook* hook)
    : FGPanel(parent),
      minis_(minis),
      hook_(hook),
      tableColour_(Settings()->BackgroundColor & 0xFFFFFF),
      carrying_(Artwork::Cursor(QStringLiteral("cursors/DRAG"))),
      carryingMany_(Artwork::Cursor(QStringLiteral("cursors/MULTIDRAG"))) {
  setMouseTracking(true);
  current_ = this;
  surface_ = std::make_unique<TableSurface>(*this, minis);
  if (TableMini* first = minis.FirstMini(); first && !minis.ActiveMini()) first->Activate();
}

// The puzzles go first: a puzzle frees its pieces only while their table is there.
TableTop::~TableTop() {
  DeleteAllPuzzles();
  surface_.reset();
  if (current_ == this) current_ = nullptr;
}

bool TableTop::SetPuzzle(Puzzle* puzzle) {
  if (!puzzle) return false;
  if (!joinSound_) joinSound_ = new SoundEffect(JoinSoundId, this);
  if (!turnSound_) turnSound_ = new SoundEffect(TurnSoundId, this);
  const bool loaded = surface_->LoadPuzzle(puzzle);
  FollowLargestUnit();
  return loaded;
}

bool TableTop::HasSelection() const { return surface_->Selection() != nullptr; }

QRect TableTop::TableRect() const {
  return QRect(0, 0, surface_->GetWidth(), surface_->GetHeight()) & rect();
}

TableCursor TableTop::CaptureCursor() {
  const int units = PuzzleChip::CapturedList().CountUnits();
  return units == 0 ? TableCursor::Default : units == 1 ? TableCursor::Drag : TableCursor::MultiDrag;
}

void TableTop::Paint() {
  if (!surface_->TableBuffer()) ResizeTable();
  const QRect table = TableRect();
  if (table != rect()) {
    // Beyond a table capped in size the window shows the table's colour.
    QPainter painter(this);
    painter.setClipRegion(QRegion(rect()).subtracted(table));
    painter.fillRect(rect(), QColor(QRgb(tableColour_)));
  }
  surface_->Refresh();
}

void TableTop::resizeEvent(QResizeEvent* event) {
  FGPanel::resizeEvent(event);
  if (!surface_->TableBuffer()) return;
  if (HasSelection()) {
    surface_->DropSelection(true, TableSurface::AtSelection, TableSurface::AtSelection);
    EndHangingCapture();
    dropPending_ = true;
  }
  // While resizes are held the table's size is not the one to compare with: every size is
  // passed on, so that the last one (also a return to the size before the hold) is the one kept.
  if (surface_->HoldsResizes() ||
      QSize(surface_->GetWidth(), surface_->GetHeight()) != TableSurface::FitTableSize(size())) {
    ResizeTable();
    if (!PuzzleChip::CapturedList().IsEmpty()) SetCursor(CaptureCursor());
  }
  update();
}

void TableTop::ResizeTable() { surface_->Resize(width(), height()); }

void TableTop::mousePressEvent(QMouseEvent* event) {
  MousePressed(event->button(), event->modifiers(), event->position().toPoint());
}

void TableTop::mouseMoveEvent(QMouseEvent* event) { MouseMoved(event->position().toPoint()); }

void TableTop::mouseReleaseEvent(QMouseEvent* event) {
  MouseReleased(event->button(), event->position().toPoint());
}

void TableTop::MousePressed(Qt::MouseButton qtButton, Qt::KeyboardModifiers modifiers, QPoint at) {
  int button = ButtonNumber(qtButton);
  if (button < 0) return;
  button = TableSurface::PressedButton(button, modifiers & Qt::ShiftModifier);
  if (button == TableSurface::MiddleButton) {
    if (HasSelection()) {
      Hold();
    } else {
      surface_->MouseDown(button, at.x(), at.y());
      SetCursor(CaptureCursor());
    }
  } else if (button == TableSurface::RightButton && (modifiers & Qt::ControlModifier) && HasSelection()) {
    if (modifiers & Qt::ShiftModifier)
      RotateLeft();
    else
      RotateRight();
    return;
  } else {
    if (button == TableSurface::RightButton) {
      ShowPopupMenu();
      shownCursor_ = TableCursor::Default;
      QWidget::setCursor(CursorShape(TableCursor::Default));
    }
    PressToPickUp(button, at);
  }
  PlayJoinSound();
}

// A press over a mini table (while the table holds the pointer) counts at the table point
// the mini shows there.
void TableTop::PressToPickUp(int button, QPoint at) {
  QPoint point = at;
  const bool overMini = MiniSurface::CursorToTable(minis_, point);
  surface_->MouseDown(button, point.x(), point.y());
  if (HasSelection()) {
    dropPending_ = false;
    SetCursor(TableCursor::None);
    return;
  }
  EndHangingCapture();
  if (overMini) {
    SetCursor(CaptureCursor());
  } else {
    pressPending_ = true;
    pressPoint_ = at;
  }
}

void TableTop::MouseMoved(QPoint at) {
  // A trail (nothing carried) may cross a mini table: there it goes on at the table point
  // the mini shows. A carried piece follows the pointer and stops at the table's edge.
  if (!HasSelection() && !rect().contains(at)) MiniSurface::CursorToTable(minis_, at);
  if (at == lastMove_) return;
  lastMove_ = at;
  bool changed = false;
  surface_->MouseMove(&changed, true, at.x(), at.y());
  if (changed) dropPending_ = true;
  if (dropPending_ && at != lastDrop_) {
    dropPending_ = false;
    SetCursor(CaptureCursor());
  } else {
    SetCursor(cursor_, true);
  }
  if (hook_) hook_->ShowStatus(surface_->StatusText);
}

void TableTop::MouseReleased(Qt::MouseButton qtButton, QPoint at) {
  const int button = ButtonNumber(qtButton);
  if (button < 0) return;
  const bool carried = HasSelection();
  QPoint point = at;
  if (carried) MiniSurface::CursorToTable(minis_, point);
  if (surface_->MouseUp(button, point.x(), point.y())) {
    // The piece hangs at the pointer: the table keeps the pointer until it is laid down.
    grabMouse();
  } else {
    EndHangingCapture();
    if (carried && !IsCursorInside()) SetCursor(CaptureCursor());
  }
  ShowTip14(at);
  if (!HasSelection()) {
    dropPending_ = true;
    lastDrop_ = at;
  }
  FollowLargestUnit();
  PlayJoinSound();
}

void TableTop::ShowTip14(QPoint at) {
  if (!pressPending_) return;
  pressPending_ = false;
  const Puzzle* puzzle = Puzzle::Current();
  if (!puzzle) return;
  const int reach = 2 * puzzle->GetPieceSize();
  if (std::abs(pressPoint_.x() - at.x()) > reach && std::abs(pressPoint_.y() - at.y()) > reach)
    TipDisplay::Show(LongDragTip);
}

void TableTop::PlayJoinSound() {
  if (surface_->TakeJoinSound() && Settings()->SoundEffects && joinSound_) joinSound_->Play();
}

void TableTop::EndHangingCapture() {
  if (mouseGrabber() == this) releaseMouse();
}

void TableTop::DropSelection() {
  DropAt(true, TableSurface::AtSelection, TableSurface::AtSelection);
  dropPending_ = true;
}

void TableTop::DropAt(bool ontoMini, int x, int y) {
  if (!HasSelection()) return;
  const bool special = (x == TableSurface::AtSelection && y == TableSurface::AtSelection) ||
                       (x == TableSurface::AtPickUp && y == TableSurface::AtPickUp);
  surface_->DropSelection(ontoMini, x, y);
  EndHangingCapture();
  SetCursor(CaptureCursor());
  lastDrop_ = special ? CursorPosition() : QPoint(x, y);
  FollowLargestUnit();
}

void TableTop::Hold() {
  const ChipSelection* selection = surface_->Selection();
  if (!selection) return;
  PuzzleChip* clicked = selection->ClickedPiece();
  const QPoint at = surface_->SelectionPoint();
  DropAt(false, at.x(), at.y());
  if (clicked) clicked->Capture();
  surface_->Refresh();
  SetCursor(CaptureCursor());
}

void TableTop::Release() {
  const QPoint at = CursorPosition();
  surface_->ReleaseAt(at.x(), at.y());
  SetCursor(CaptureCursor());
}

void TableTop::RotateLeft() {
  if (!HasSelection()) return;
  surface_->RotateLeft();
  if (Settings()->SoundEffects && turnSound_) turnSound_->Play();
}

void TableTop::RotateRight() {
  if (!HasSelection()) return;
  surface_->RotateRight();
  if (Settings()->SoundEffects && turnSound_) turnSound_->Play();
}

void TableTop::ShowPopupMenu() {
  if (!PopupMenu) return;
  const bool held = mouseGrabber() == this;
  PopupMenu->exec(QCursor::pos());
  if (held && isVisible()) grabMouse();
}

void TableTop::Suspend(bool t) {
  const QPoint at = CursorPosition();
  const QPointF local(std::max(at.x(), 0), std::max(at.y(), 0));
  QCoreApplication::postEvent(this, new QMouseEvent(QEvent::MouseButtonRelease, local, mapToGlobal(local),
                                                    Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
  TMsgLog::Add(QStringLiteral("Table Top - Suspend"));
  surface_->Suspend(t);
}

void TableTop::Resume(bool t) {
  TMsgLog::Add(QStringLiteral("Table Top - Resume"));
  surface_->Resume(t);
}

void TableTop::FreeSoundEffects() {
  delete joinSound_;
  joinSound_ = nullptr;
  delete turnSound_;
  turnSound_ = nullptr;
}

void TableTop::LimitResize(int* w, int* h) const {
  const QSize groups = ChipGroup::MaxExtent();
  const int m = std::max({surface_->GetChipList().MaxPieceExtent(), groups.width(), groups.height()});
  if (w) *w = std::max(*w, m + SmallestTableMargin);
  if (h) *h = std::max(*h, m + SmallestTableMargin);
}

void TableTop::FollowLargestUnit() {
  int w = 0, h = 0;
  if (surface_->GetPuzzle()) LimitResize(&w, &h);
  const QSize limit = QSize(w, h).boundedTo(AvailableSize());
  if (limit == minimumSize()) return;
  setMinimumSize(limit);
  if (hook_) hook_->TableMinimumChanged();
}

QSize TableTop::AvailableSize() const {
  const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
  if (!shown) return size();
  QSize area = shown->availableGeometry().size() - (window()->frameGeometry().size() - size());
  if (!Settings()->ShowMainMenu)
    if (const auto* main = qobject_cast<const QMainWindow*>(window()))
      area.rheight() -= main->menuBar()->sizeHint().height();
  return area;
}

bool TableTop::IsCursorInside() const { return TableRect().contains(CursorPosition()); }

void TableTop::SetCursor(TableCursor id, bool keep) {
  if (!keep) cursor_ = id;
  TableCursor shown = cursor_;
  const TMagForm* magnifier = TMagForm::Current();
  if (HasSelection() && MiniUnderCursor(false))
    shown = TableCursor::UpArrow;
  else if (magnifier && magnifier->isVisible())
    shown = magnifier->frameGeometry().contains(QCursor::pos()) ? TableCursor::None : cursor_;
  else if (HasSelection() && !IsCursorInside())
    shown = TableCursor::No;
  // Asked for at every pointer move: only a change reaches the window.
  if (shown == shownCursor_) return;
  shownCursor_ = shown;
  QWidget::setCursor(CursorShape(shown));
}

void TableTop::Present(const VirtualBuffer& table, const QRect& part) { table.RenderPart(this, part); }

void TableTop::PresentParts(const VirtualBuffer& table, const QRegion& parts) {
  BufferPresenter::PresentRegion(table.Image(), this, 0, 0, parts);
}

void TableTop::SetTableColor(int colour) {
  tableColour_ = colour & 0xFFFFFF;
  update();
}

void TableTop::EnableMainWindow(bool enabled) {
  if (hook_) hook_->EnableMainWindow(enabled);
}

std::unique_ptr<LoadProgress> TableTop::OpenLoadWindow(bool animated) {
  auto form = std::make_unique<TLoadBarForm>(window());
  form->SetQvp(animated);
  form->show();
  form->raise();
  return form;
}

QPoint TableTop::CursorPosition() const { return mapFromGlobal(QCursor::pos()); }

void TableTop::MoveCursorTo(QPoint tablePoint) { QCursor::setPos(mapToGlobal(tablePoint)); }

bool TableTop::IsLeftButtonDown() const { return QGuiApplication::mouseButtons() & Qt::LeftButton; }

bool TableTop::IsApplicationActive() const {
  return QGuiApplication::applicationState() == Qt::ApplicationActive;
}

TableMini* TableTop::MiniUnderCursor(bool excludeActive) const {
  return MiniSurface::MiniUnderCursor(minis_, excludeActive);
}

QSize TableTop::ScreenSize() const {
  const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
  return shown ? shown->size() : size();
}

void TableTop::MaximizeMainForm() {
  if (hook_)
    hook_->MaximizeMainForm();
  else
    window()->showMaximized();
}

void TableTop::PlaceMainForm(const QRect& bounds) {
  if (hook_)
    hook_->PlaceMainForm(bounds);
  else
    window()->setGeometry(bounds);
}

QSize TableTop::AvailableArea() const { return AvailableSize(); }
