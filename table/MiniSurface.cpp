#include "MiniSurface.h"

#include "MiniBoard.h"
#include "MiniSurfaceLed.h"
#include "TableSurface.h"
#include "TableTop.h"
#include "controls/WhatsThis.h"
#include "imaging/VirtualBuffer.h"
#include "platform/KeyboardLocks.h"
#include "puzzle/PuzzleChip.h"
#include "puzzle/TipDisplay.h"
#include "settings/ProgSettings.h"

#include <QCursor>
#include <QMouseEvent>

#include <cmath>
#include <cstdlib>

namespace {

constexpr int HintColour = 0xFFE784;
constexpr int DragStart = 6;
constexpr int MiniDragTip = 19;
constexpr int MiniHelpContext = 200;

}  // namespace

MiniSurface::MiniSurface(QWidget* parent, MiniBoard& board)
    : FGPanel(parent), board_(board), index_(board.MiniCount()), led_(nullptr) {
  board.Add(this);
  // Its own topic, not the control panel's around it.
  WhatsThis::SetHelpContext(this, MiniHelpContext);
  if (parent) {
    led_ = new MiniSurfaceLed(parent->parentWidget() ? parent->parentWidget() : parent);
    parent->installEventFilter(this);
    resize(parent->size());
  } else {
    led_ = new MiniSurfaceLed(this);
  }
  if (const TableSurface* table = TableSurface::CurrentSurface())
    FollowTableSize(QSize(table->GetWidth(), table->GetHeight()));
}

MiniSurface::~MiniSurface() {
  board_.Remove(this);
  if (!active_) chips_.DeleteAll();
  // The lamp lives in the panel's parent, which may outlive this mini.
  if (led_ && led_->parentWidget() != this) delete led_.data();
}

void MiniSurface::FollowTableSize(QSize table) {
  const bool known = table.width() > 0 && table.height() > 0 && width() > 0 && height() > 0;
  scaleX_ = known ? double(width()) / table.width() : 0;
  scaleY_ = known ? double(height()) / table.height() : 0;
}

namespace {

void SwitchTo(TableMini* mini) {
  if (TableTop* top = TableTop::Current(); top && mini) top->Surface().SwitchToMini(mini, nullptr);
}

}  // namespace

void MiniSurface::SwitchToFirst(const MiniBoard& board) { SwitchTo(board.FirstMini()); }

void MiniSurface::SwitchToLast(const MiniBoard& board) { SwitchTo(board.MiniByIndex(board.MiniCount() - 1)); }

void MiniSurface::SwitchToNext(const MiniBoard& board) { SwitchTo(board.After(board.ActiveMini())); }

void MiniSurface::SwitchToPrevious(const MiniBoard& board) { SwitchTo(board.Before(board.ActiveMini())); }

TableMini* MiniSurface::FindMiniWithChip(const MiniBoard& board, const PuzzleChip* piece) {
  for (int i = board.MiniCount() - 1; i >= 0; --i) {
    TableMini* mini = board.MiniByIndex(i);
    if (!mini->IsActive() && mini->Chips().Contains(piece)) return mini;
  }
  return nullptr;
}

bool MiniSurface::AnyMiniHasChips(const MiniBoard& board) {
  for (int i = 0; i < board.MiniCount(); ++i)
    if (!board.MiniByIndex(i)->Chips().IsEmpty()) return true;
  return false;
}

void MiniSurface::RepaintEmptyMinis(const MiniBoard& board, const VirtualBuffer* source) {
  for (int i = 0; i < board.MiniCount(); ++i) {
    TableMini* mini = board.MiniByIndex(i);
    if (!mini->IsActive() && mini->Chips().IsEmpty()) mini->RepaintFrom(source);
  }
}

void MiniSurface::Activate() {
  for (int i = 0; i < board_.MiniCount(); ++i)
    if (auto* mini = dynamic_cast<MiniSurface*>(board_.MiniByIndex(i))) mini->active_ = false;
  active_ = true;
  if (led_) led_->Light();
}

void MiniSurface::RepaintFrom(const VirtualBuffer* source) {
  if (width() <= 0 || height() <= 0) return;
  if (!thumbnail_ || thumbnail_->width != width() || thumbnail_->height != height()) {
    thumbnail_ = std::make_unique<VirtualBuffer>(width(), height(), QStringLiteral("Mini buff"));
    savedThumbnail_.reset();
  }
  if (source && source != thumbnail_.get() && !source->IsEmpty()) {
    FollowTableSize(QSize(source->width, source->height));
    thumbnail_->StretchFrom(*source);
  }
  if (!markerShown_ && savedThumbnail_) {
    thumbnail_->DrawBuffer(0, 0, *savedThumbnail_, false);
    savedThumbnail_.reset();
  }
  if (markerShown_) thumbnail_->DrawCrossLines(marker_, HintColour);
  thumbnail_->Render(this);
}

void MiniSurface::HideHintMarker() {
  if (!markerShown_) return;
  markerShown_ = false;
  RepaintFrom(nullptr);
}

int MiniSurface::ShowHintMarker(PuzzleChip* piece) {
  if (markerShown_ || !piece || !chips_.Contains(piece) || width() <= 0 || height() <= 0) return -1;
  if (!thumbnail_) RepaintFrom(nullptr);
  marker_ = QPoint(int(std::trunc((thumbnail_->width - 1) * piece->CentreX() + 0.5)),
                   int(std::trunc((thumbnail_->height - 1) * piece->CentreY() + 0.5)));
  markerShown_ = true;
  savedThumbnail_ = thumbnail_->SubImage(0, 0, thumbnail_->width - 1, thumbnail_->height - 1);
  RepaintFrom(nullptr);
  const TableTop* top = TableTop::Current();
  return top ? top->mapFromGlobal(mapToGlobal(marker_)).x() : -1;
}

MiniSurface* MiniSurface::MiniUnderCursor(const MiniBoard& board, bool excludeActive) {
  if (!Settings()->DragBetweenMinis) return nullptr;
  const QPoint pointer = QCursor::pos();
  for (int i = board.MiniCount() - 1; i >= 0; --i) {
    auto* mini = dynamic_cast<MiniSurface*>(board.MiniByIndex(i));
    if (!mini || !mini->isVisible() || !mini->rect().contains(mini->mapFromGlobal(pointer))) continue;
    return excludeActive && mini->active_ ? nullptr : mini;
  }
  return nullptr;
}

bool MiniSurface::CursorToTable(const MiniBoard& board, QPoint& point) {
  const MiniSurface* mini = MiniUnderCursor(board, false);
  if (!mini || mini->scaleX_ <= 0 || mini->scaleY_ <= 0) return false;
  point = mini->ToTable(mini->mapFromGlobal(QCursor::pos()));
  return true;
}

QPoint MiniSurface::ToTable(QPoint at) const {
  if (scaleX_ <= 0 || scaleY_ <= 0) return at;
  return QPoint(int(std::trunc(at.x() / scaleX_ + 0.5)), int(std::trunc(at.y() / scaleY_ + 0.5)));
}

void MiniSurface::Paint() { RepaintFrom(nullptr); }

void MiniSurface::resizeEvent(QResizeEvent* event) {
  FGPanel::resizeEvent(event);
  if (const TableSurface* table = TableSurface::CurrentSurface())
    FollowTableSize(QSize(table->GetWidth(), table->GetHeight()));
  PlaceLed();
}

// The mini fills its panel and its lamp sits under the panel.
bool MiniSurface::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parentWidget() && (event->type() == QEvent::Resize || event->type() == QEvent::Move)) {
    if (event->type() == QEvent::Resize) resize(parentWidget()->size());
    PlaceLed();
  }
  return FGPanel::eventFilter(watched, event);
}

void MiniSurface::PlaceLed() {
  const QWidget* panel = parentWidget();
  if (!panel || !led_ || led_->parentWidget() == this) return;
  const QRect r = panel->geometry();
  led_->setGeometry(r.left() + r.width() / 3, r.top() + r.height() + 2, r.width() / 3, 2);
  led_->show();
}

bool MiniSurface::InCaptureMode(Qt::KeyboardModifiers modifiers) const {
  return KeyboardLocks::CapsLockIsOn() != bool(modifiers & Qt::ShiftModifier) &&
         !PuzzleChip::CapturedList().IsEmpty();
}

void MiniSurface::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::MiddleButton ||
      (event->button() == Qt::LeftButton && InCaptureMode(event->modifiers()))) {
    Forward(event);
    return;
  }
  if (event->button() != Qt::LeftButton) return;
  clickPending_ = !active_;
  drag_ = Drag::Pressed;
  pressPoint_ = event->position().toPoint();
  savedCursor_ = cursor();
}

void MiniSurface::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (drag_ == Drag::Pressed &&
      (std::abs(at.x() - pressPoint_.x()) >= DragStart || std::abs(at.y() - pressPoint_.y()) >= DragStart)) {
    drag_ = Drag::Dragging;
    clickPending_ = false;
  }
  if (drag_ == Drag::Dragging) {
    const TableTop* top = TableTop::Current();
    const bool overTable = MiniUnderCursor(board_, false) || (top && top->IsCursorInside());
    setCursor(TableTop::CursorShape(overTable ? TableCursor::Drag : TableCursor::NoDrop));
    return;
  }
  // Every move of a trail goes on, also once it has left this mini: the mini keeps the
  // pointer while the button is down.
  const bool forward = (event->buttons() & Qt::MiddleButton) ||
                       ((event->buttons() & Qt::LeftButton) && InCaptureMode(event->modifiers()));
  if (forward) Forward(event);
}

void MiniSurface::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && LeftUpHandled()) return;
  if (event->button() == Qt::LeftButton || event->button() == Qt::MiddleButton) Forward(event);
}

// A click switches this mini in; a drag moves its pieces onto the table it ends over.
bool MiniSurface::LeftUpHandled() {
  TableTop* top = TableTop::Current();
  if (clickPending_ && !active_) {
    clickPending_ = false;
    drag_ = Drag::None;
    if (top) top->Surface().SwitchToMini(this, nullptr);
    return true;
  }
  if (drag_ == Drag::None) return false;
  if (drag_ == Drag::Dragging) {
    TableMini* target = MiniUnderCursor(board_, false);
    if (!target && top && top->IsCursorInside()) target = board_.ActiveMini();
    setCursor(savedCursor_);
    if (target && target != this && top) {
      top->Surface().SwitchToMini(target, this);
      TipDisplay::MarkUsed(MiniDragTip);
    }
  }
  drag_ = Drag::None;
  return true;
}

void MiniSurface::Forward(QMouseEvent* event) {
  drag_ = Drag::None;
  clickPending_ = false;
  TableTop* top = TableTop::Current();
  if (!top) return;
  if (event->type() == QEvent::MouseButtonPress) {
    top->MousePressed(event->button(), event->modifiers(), ToTable(event->position().toPoint()));
    return;
  }
  // A move or release may lie over the table or another mini by now: the table top is told
  // where the pointer is and decides what lies there.
  const QPoint at = top->mapFromGlobal(event->globalPosition().toPoint());
  if (event->type() == QEvent::MouseButtonRelease)
    top->MouseReleased(event->button(), at);
  else
    top->MouseMoved(at);
}
