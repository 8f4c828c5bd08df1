#include "TBoxCoverFrm.h"

#include "PuzzleNote.h"
#include "WindowPlacement.h"

#include "Yelk/PathUtils.h"
#include "controls/Artwork.h"
#include "imaging/VirtualBuffer.h"
#include "platform/Screens.h"
#include "puzzle/Puzzle.h"
#include "settings/ProgSettings.h"
#include "table/FGPanel.h"

#include <QAction>
#include <QCloseEvent>
#include <QMoveEvent>
#include <QLabel>
#include <QPainter>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
TBoxCoverFrm* current = nullptr;

TBoxCoverFrm::AreaSource& Areas() {
  static TBoxCoverFrm::AreaSource source = [](const QRect& near) { return Screens::AvailableNear(near); };
  return source;
}

const QString WarningText = QStringLiteral("The box cover image differs from the puzzle");
constexpr Qt::WindowFlags HoverFlags =
    Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus;
// Kept above the main window by the window manager, never above the game's questions.
constexpr Qt::WindowFlags ToolFlags = Qt::Tool;
}  // namespace

TBoxCoverFrm::TBoxCoverFrm(QWidget* owner) : QWidget(owner, ToolFlags) {
  setObjectName(QStringLiteral("BoxCoverFrm"));
  setWindowTitle(QStringLiteral("Box Cover Image"));
  setAttribute(Qt::WA_ShowWithoutActivating);
  setMinimumSize(147, 114);
  CoverPnl = new FGPanel(this);
  CoverPnl->setObjectName(QStringLiteral("CoverPnl"));
  CoverPnl->PaintPanelFirst = true;
  CoverPnl->OnPaint = [this] { PaintCover(); };
  WarningPnl = new QLabel(WarningText, CoverPnl);
  WarningPnl->setObjectName(QStringLiteral("WarningPnl"));
  WarningPnl->setAlignment(Qt::AlignCenter);
  WarningPnl->setAutoFillBackground(true);
  WarningPnl->setFixedHeight(fontMetrics().height() + 10);
  WarningPnl->hide();
  auto* coverColumn = new QVBoxLayout(CoverPnl);
  coverColumn->setContentsMargins(0, 0, 0, 0);
  coverColumn->addStretch();
  coverColumn->addWidget(WarningPnl);
  BuildToolbar();
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addWidget(CoverPnl, 1);
  column->addWidget(ToolBar1);
  PrintBtn->setEnabled(Settings()->PrintingAvailable);
  resize(415, 217);
  current = this;
}

TBoxCoverFrm::~TBoxCoverFrm() {
  if (current == this) current = nullptr;
}

TBoxCoverFrm* TBoxCoverFrm::Current() { return current; }

void TBoxCoverFrm::SetAreaSource(AreaSource source) {
  Areas() = source ? std::move(source)
                   : AreaSource([](const QRect& near) { return Screens::AvailableNear(near); });
}

BoxCoverWindowPlace TBoxCoverFrm::SavedPlace() {
  BoxCoverWindowPlace place;
  if (!current || !current->isVisible() || !current->toolbarOn) return place;
  place.shown = true;
  const QRect frame = current->frameGeometry();
  place.top = frame.top();
  place.left = frame.left();
  place.state = current->ZoomBtn->isChecked() ? 1 : 0;
  return place;
}

void TBoxCoverFrm::BuildToolbar() {
  ToolBar1 = new QToolBar(this);
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setIconSize(QSize(16, 16));
  auto button = [this](const char* name, const QString& hint, const QString& image) {
    auto* b = new QToolButton(ToolBar1);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(hint);
    b->setIcon(Artwork::Icon(image));
    b->setAutoRaise(true);
    return b;
  };
  ZoomBtn = button("ZoomBtn", QStringLiteral("Enlarge"), QStringLiteral("images/16/zoom"));
  ZoomBtn->setCheckable(true);
  PrintBtn = button("PrintBtn", QStringLiteral("Print"), QStringLiteral("images/16/print"));
  NoteBtn = button("NoteBtn", QStringLiteral("About the Puzzle"), QStringLiteral("images/16/note"));
  NoteBtn->setEnabled(false);
  ExitBtn = button("ExitBtn", QStringLiteral("Close"), QStringLiteral("images/16/close"));
  auto* CloseAtn = new QAction(this);
  CloseAtn->setShortcut(Qt::Key_Escape);
  addAction(CloseAtn);
  ToolBar1->addSeparator();
  for (QToolButton* b : {ZoomBtn, PrintBtn, NoteBtn}) ToolBar1->addWidget(b);
  ToolBar1->addSeparator();
  ToolBar1->addWidget(ExitBtn);
  connect(ZoomBtn, &QToolButton::clicked, this, &TBoxCoverFrm::ZoomBtnClick);
  connect(PrintBtn, &QToolButton::clicked, this, &TBoxCoverFrm::PrintBtnClick);
  connect(NoteBtn, &QToolButton::clicked, this, &TBoxCoverFrm::NoteBtnClick);
  connect(ExitBtn, &QToolButton::clicked, this, &TBoxCoverFrm::ExitBtnClick);
  connect(CloseAtn, &QAction::triggered, this, &TBoxCoverFrm::ExitBtnClick);
}

int TBoxCoverFrm::MinimumWidth() const {
  return hasOwnCover ? fontMetrics().horizontalAdvance(WarningText) + 20 : 0;
}

void TBoxCoverFrm::SetPuzzle(Puzzle* p, bool measureOnly) {
  puzzle = p;
  if (!puzzle) return;
  hasOwnCover = puzzle->HasBoxCover();
  const int extra = (hasOwnCover ? WarningPnl->height() : 0) +
                    (toolbarOn ? ToolBar1->sizeHint().height() : 0);
  const bool full = Settings()->FullScaleBoxCover;
  image = puzzle->GetBoxCover();
  if (!image) {
    const VirtualBuffer* picture = puzzle->GetImage(false);
    if (picture) image = std::make_unique<VirtualBuffer>(*picture, full ? 100 : 50);
  } else if (!full) {
    image = std::make_unique<VirtualBuffer>(*image, 50);
  }
  const QSize picture = image ? QSize(image->width, image->height) : QSize();
  wanted = QSize(std::max(MinimumWidth(), picture.width() + 10), picture.height() + extra + 10);
  if (!measureOnly) resize(wanted);
  WarningPnl->setVisible(hasOwnCover);
  setWindowTitle(QLatin1Char('"') + GetFileNameFromPath(puzzle->GetPath(), false) +
                 QStringLiteral("\" Box Cover"));
  ZoomBtn->setChecked(full);
  // The note editor is built in: only the note itself decides.
  NoteBtn->setEnabled(puzzle->GetNoteStream() != nullptr);
  if (!measureOnly) CoverPnl->update();
}

void TBoxCoverFrm::PaintCover() {
  if (!image || image->IsEmpty()) return;
  const int warning = WarningPnl->isVisible() ? WarningPnl->height() : 0;
  int x = 5, y = 5;
  if (CoverPnl->width() > image->width + 10) x = (CoverPnl->width() - image->width) / 2;
  if (CoverPnl->height() - warning > image->height + 10)
    y = (CoverPnl->height() - warning - image->height) / 2;
  image->RenderAt(CoverPnl, x, y);
  if (!toolbarOn) {
    // The hover face has no frame of its own: a lowered edge marks it.
    QPainter p(CoverPnl);
    p.setPen(palette().color(QPalette::Dark));
    p.drawRect(CoverPnl->rect().adjusted(0, 0, -1, -1));
  }
}

void TBoxCoverFrm::ApplyFlags(Qt::WindowFlags flags) {
  const bool shown = isVisible();
  setWindowFlags(flags);
  setAttribute(Qt::WA_ShowWithoutActivating, !toolbarOn);
  // A change of flags hides the window.
  if (shown) show();
}

void TBoxCoverFrm::SetToolbar(bool on) {
  if (!image || on == toolbarOn) return;
  toolbarOn = on;
  const int warning = hasOwnCover ? WarningPnl->height() : 0;
  const int bar = ToolBar1->sizeHint().height();
  const QSize client(std::max(MinimumWidth(), image->width + 10),
                     image->height + warning + 10 + (on ? bar : 0));
  ToolBar1->setVisible(on);
  ApplyFlags(on ? ToolFlags : HoverFlags);
  resize(client);
  wanted = client;
}

void TBoxCoverFrm::ShowCover() {
  show();
  if (toolbarOn) raise();
}

QRect TBoxCoverFrm::Area(const QRect& near) const { return Areas()(near); }

QSize TBoxCoverFrm::FrameSize() const {
  // Nothing until a window manager has framed the window.
  if (!isVisible()) return {};
  const QSize frame = frameGeometry().size() - geometry().size();
  return frame.isValid() ? frame : QSize();
}

QRect TBoxCoverFrm::FrameAt(const QRect& area, QPoint topLeft, QSize client, QSize frame) {
  return WindowPlacement::PlaceInside(QRect(topLeft, client + frame), area);
}

QRect TBoxCoverFrm::CentredFrame(const QRect& area, QSize client, QSize frame) {
  const QSize outer = client + frame;
  const QPoint centred(area.left() + (area.width() - outer.width()) / 2,
                       area.top() + (area.height() - outer.height()) / 2);
  return FrameAt(area, centred, client, frame);
}

// Every placement comes here. The window manager's frame is known only once it has framed
// the window: when it turns out other than the one placed with, the placement is made again.
// It frames the tool face without moving it, so the first event that finds the frame looks.
void TBoxCoverFrm::Place(Placement where, bool automatic) {
  placement = std::move(where);
  placedAutomatically = automatic;
  placedFrame = FrameSize();
  const QRect placed = placement(placedFrame);
  resize(placed.size() - placedFrame);
  move(placed.topLeft());
  if (automatic) lastAuto = frameGeometry().topLeft();
  if (toolbarOn && placedFrame.isEmpty())
    WindowPlacement::AtFirstEventWhen(*this, [this] { return !FrameSize().isEmpty(); },
                                      [this] { FrameMayHaveChanged(); });
}

void TBoxCoverFrm::FrameMayHaveChanged() {
  if (placement && isVisible() && FrameSize() != placedFrame) Place(placement, placedAutomatically);
}

void TBoxCoverFrm::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  FrameMayHaveChanged();
}

void TBoxCoverFrm::PlaceFrame(QPoint topLeft, QSize client) {
  client = client.expandedTo(minimumSize());
  Place([this, topLeft, client](QSize frame) {
    return FrameAt(Area(QRect(topLeft, client + frame)), topLeft, client, frame);
  }, false);
}

void TBoxCoverFrm::CentreOnScreen() {
  const QSize client = wanted.expandedTo(minimumSize());
  Place([this, client](QSize frame) { return CentredFrame(Area(frameGeometry()), client, frame); }, true);
  movedByUser = false;
}

void TBoxCoverFrm::PlaceBeside(const QRect& thumbnail, bool above) {
  const QSize outer = size() + FrameSize();
  const int top = above ? thumbnail.top() - outer.height() - 2 : thumbnail.bottom() + 3;
  PlaceFrame(QPoint(thumbnail.left(), top), size());
}

void TBoxCoverFrm::PlaceAt(QPoint frameTopLeft) { PlaceFrame(frameTopLeft, size()); }

void TBoxCoverFrm::ZoomBtnClick() {
  if (!puzzle) return;
  const QPoint at = frameGeometry().topLeft();
  // A window manager may shift a window along one axis; only a move on both is the player's.
  if (lastAuto != QPoint(-1, -1) && !movedByUser && at.x() != lastAuto.x() &&
      at.y() != lastAuto.y())
    movedByUser = true;
  Settings()->FullScaleBoxCover = !Settings()->FullScaleBoxCover;
  SetPuzzle(puzzle, true);
  if (movedByUser)
    PlaceFrame(at, wanted);
  else
    CentreOnScreen();
  CoverPnl->update();
}

void TBoxCoverFrm::PrintBtnClick() {
  if (!puzzle) return;
  // The puzzle's own picture, also when the window shows a cover of the game's own.
  if (const VirtualBuffer* picture = puzzle->GetImage(false)) picture->Print(this);
}

void TBoxCoverFrm::NoteBtnClick() {
  if (puzzle) ShowPuzzleNote(this, *puzzle);
}

void TBoxCoverFrm::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  // The owner frees it; a close only ends this showing.
  deleteLater();
}
