#include "BoxCoverControl.h"

#include "TBoxCoverFrm.h"

#include "Yelk/Prompt.h"
#include "controls/OstrevPanel.h"
#include "imaging/VirtualBuffer.h"
#include "puzzle/Puzzle.h"
#include "puzzle/TipDisplay.h"
#include "settings/ProgSettings.h"
#include "table/FGPanel.h"

#include <QAction>
#include <QCursor>
#include <QEvent>

namespace {
constexpr int BoxCoverTip = 18;
}

BoxCoverControl::BoxCoverControl(QWidget* owner, OstrevPanel* panel, QAction* action)
    : QObject(owner), mainWindow(owner), frame(panel), boxCoverAtn(action) {
  CursorPos = [] { return QCursor::pos(); };
  PanelAtTop = [] { return !Settings()->AlignControlPanelToBottom; };
  thumbPnl = new FGPanel(frame);
  thumbPnl->setObjectName(QStringLiteral("ThumbPnl"));
  thumbPnl->setGeometry(2, 2, 1, 1);
  thumbPnl->setToolTip(frame->toolTip());
  thumbPnl->OnPaint = [this] {
    if (thumbnail) thumbnail->Render(thumbPnl);
  };
  thumbPnl->OnMouseEnter = [this] { BoxCoverPnlMouseEnter(); };
  thumbPnl->hide();
  thumbPnl->installEventFilter(this);
  connect(frame, &OstrevPanel::OnMouseEnter, this, &BoxCoverControl::BoxCoverPnlMouseEnter);
  hoverTimer.setInterval(HoverMillis);
  connect(&hoverTimer, &QTimer::timeout, this, &BoxCoverControl::BoxCoverHoverTimer);
}

BoxCoverControl::~BoxCoverControl() { CloseWindow(); }

TBoxCoverFrm* BoxCoverControl::Window() const { return window; }

// A click on the thumbnail is the box-cover command.
bool BoxCoverControl::eventFilter(QObject* watched, QEvent* event) {
  if (watched == thumbPnl && event->type() == QEvent::MouseButtonRelease) boxCoverAtn->trigger();
  return QObject::eventFilter(watched, event);
}

void BoxCoverControl::PuzzleStarted(Puzzle* puzzle) {
  PuzzleGone();
  if (!puzzle || !puzzle->IsPreviewAllowed()) return;
  const QSize box = frame->contentsRect().size() - QSize(4, 4);
  std::unique_ptr<VirtualBuffer> cover = puzzle->GetBoxCover();
  const VirtualBuffer* source = cover ? cover.get() : puzzle->GetImage();
  if (!source || source->IsEmpty() || box.isEmpty()) return;
  thumbnail = std::make_unique<VirtualBuffer>(*source, box.width(), box.height(), true,
                                              VirtualBuffer::Filter::Smooth);
  frame->SetCaption(QString());
  const QSize size(thumbnail->width, thumbnail->height);
  thumbPnl->setGeometry((box.width() - size.width()) / 2 + 2, (box.height() - size.height()) / 2 + 2,
                        size.width(), size.height());
  thumbPnl->show();
  thumbPnl->update();
}

void BoxCoverControl::PuzzleGone() {
  CloseWindow();
  hoverTimer.stop();
  thumbnail.reset();
  thumbPnl->hide();
  frame->SetCaption(QStringLiteral("(No image)"));
}

void BoxCoverControl::CloseWindow() {
  delete window;
  boxCoverAtn->setChecked(false);
}

TBoxCoverFrm* BoxCoverControl::MakeWindow(Puzzle* puzzle, bool toolbar) {
  CloseWindow();
  window = new TBoxCoverFrm(mainWindow);
  connect(window, &QObject::destroyed, this, [this] { boxCoverAtn->setChecked(false); });
  window->SetPuzzle(puzzle, false);
  window->SetToolbar(toolbar);
  return window;
}

void BoxCoverControl::OpenToolWindow(Puzzle* puzzle) {
  MakeWindow(puzzle, true);
  window->CentreOnScreen();
  window->ShowCover();
  hoverTimer.stop();
  boxCoverAtn->setChecked(true);
  TipDisplay::MarkUsed(BoxCoverTip);
}

// Also refused when the file forbids a preview, as the other two ways to the window are.
void BoxCoverControl::ShowAtLoad(Puzzle* puzzle) {
  const JigsawFileReader* file = puzzle ? puzzle->GetJigsawFile() : nullptr;
  if (!file || !puzzle->IsPreviewAllowed()) return;
  const BoxCoverWindowPlace place = file->SavedBoxCoverWindow();
  if (!place.shown) return;
  Settings()->FullScaleBoxCover = place.state == 1;
  MakeWindow(puzzle, true);
  window->ShowCover();
  window->PlaceAt(QPoint(place.left, place.top));
  hoverTimer.stop();
  boxCoverAtn->setChecked(true);
}

void BoxCoverControl::BoxCoverAtnExecute() {
  Puzzle* puzzle = Puzzle::Current();
  if (!puzzle) return;
  if (window && window->HasToolbar()) {
    const bool show = !window->isVisible();
    if (show)
      window->ShowCover();
    else
      window->hide();
    boxCoverAtn->setChecked(show);
  } else if (window) {
    window->SetToolbar(true);
    window->CentreOnScreen();
    window->ShowCover();
    boxCoverAtn->setChecked(true);
    TipDisplay::MarkUsed(BoxCoverTip);
  } else if (puzzle->IsPreviewAllowed()) {
    OpenToolWindow(puzzle);
  } else {
    boxCoverAtn->setChecked(false);
    Prompt::ShowApp(QStringLiteral("No box cover image is provided for this jigsaw puzzle."));
  }
}

void BoxCoverControl::BoxCoverPnlMouseEnter() {
  const Puzzle* puzzle = Puzzle::Current();
  if (!puzzle || !puzzle->IsPreviewAllowed() || hoverTimer.isActive()) return;
  if (window && window->HasToolbar() && window->isVisible()) return;
  hoverTimer.start();
}

void BoxCoverControl::BoxCoverHoverTimer() {
  const QRect thumb(thumbPnl->mapToGlobal(QPoint(0, 0)), thumbPnl->size());
  const QRect panel(frame->mapToGlobal(QPoint(0, 0)), frame->size());
  if (!panel.contains(CursorPos())) {
    if (window && !window->HasToolbar()) window->hide();
    hoverTimer.stop();
    return;
  }
  Puzzle* puzzle = Puzzle::Current();
  if (!puzzle) return;
  if (!window) {
    MakeWindow(puzzle, false);
    window->PlaceBeside(thumb.isValid() ? thumb : panel, !PanelAtTop());
  }
  window->ShowCover();
  if (window->HasToolbar()) {
    boxCoverAtn->setChecked(true);
    hoverTimer.stop();
  }
}
