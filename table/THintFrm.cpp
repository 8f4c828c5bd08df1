#include "THintFrm.h"

#include "TableTop.h"
#include "controls/Artwork.h"
#include "controls/XPButton.h"
#include "puzzle/ChipMask.h"
#include "puzzle/PuzzleChip.h"

#include <QAction>
#include <QCursor>
#include <QFrame>
#include <QMouseEvent>

#include <algorithm>
#include <array>

namespace {

constexpr int ButtonSize = 23;
constexpr int Side = 74;

// The piece's own side seen in each screen direction (up, left, right, down) at each turn.
constexpr std::array<std::array<ChipSide, 4>, 4> SidesOnScreen{{
    {ChipSide::Up, ChipSide::Left, ChipSide::Right, ChipSide::Down},
    {ChipSide::Left, ChipSide::Down, ChipSide::Up, ChipSide::Right},
    {ChipSide::Down, ChipSide::Right, ChipSide::Left, ChipSide::Up},
    {ChipSide::Right, ChipSide::Up, ChipSide::Down, ChipSide::Left},
}};

int DirectionIndex(int arrowKey) {
  switch (arrowKey) {
    case Qt::Key_Up: return 0;
    case Qt::Key_Left: return 1;
    case Qt::Key_Right: return 2;
    default: return 3;
  }
}

ChipSide SideOnScreen(const PuzzleChip& piece, int arrowKey) {
  const int turn = ((piece.Mask().Rotation() / 90) % 4 + 4) % 4;
  return SidesOnScreen[std::size_t(turn)][std::size_t(DirectionIndex(arrowKey))];
}

constexpr std::array<int, 4> ArrowKeys{Qt::Key_Up, Qt::Key_Left, Qt::Key_Right, Qt::Key_Down};

}  // namespace

THintFrm::THintFrm(QWidget* owner, PuzzleChip* piece)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), piece_(piece) {
  ++openCount_;
  setObjectName(QStringLiteral("HintFrm"));
  // A square pop-up.
  setFixedSize(Side, Side);
  Panel1 = new QFrame(this);
  Panel1->setFrameShape(QFrame::StyledPanel);
  Panel1->setFrameShadow(QFrame::Raised);
  Panel1->setGeometry(rect());
  Panel1->installEventFilter(this);
  Panel2 = new QFrame(Panel1);
  Panel2->setGeometry((Side - 3 * ButtonSize) / 2, (Side - 3 * ButtonSize) / 2, 3 * ButtonSize, 3 * ButtonSize);
  Panel2->installEventFilter(this);
  TopAtn = MakeDirection(TopBtn, QStringLiteral("arrow-up"), QStringLiteral("Find Top Piece"), Qt::Key_Up, {1, 0});
  LeftAtn = MakeDirection(LeftBtn, QStringLiteral("arrow-left"), QStringLiteral("Find Left Piece"), Qt::Key_Left, {0, 1});
  RightAtn = MakeDirection(RightBtn, QStringLiteral("arrow-right"), QStringLiteral("Find Right Piece"), Qt::Key_Right, {2, 1});
  BottomAtn = MakeDirection(BottomBtn, QStringLiteral("arrow-down"), QStringLiteral("Find Bottom Piece"), Qt::Key_Down, {1, 2});
  CancelAtn = new QAction(this);
  CancelAtn->setShortcut(QKeySequence(Qt::Key_Escape));
  connect(CancelAtn, &QAction::triggered, this, [this] { CancelAtnExecute(); });
  addAction(CancelAtn);
  PlaceBesidePiece();
  Preselect();
}

THintFrm::~THintFrm() { --openCount_; }

QAction* THintFrm::MakeDirection(XPButton*& button, const QString& image, const QString& hint, int key, QPoint at) {
  auto* action = new QAction(Artwork::Icon(QStringLiteral("images/16/") + image), QString(), this);
  action->setToolTip(hint);
  action->setShortcut(QKeySequence(key));
  action->setEnabled(piece_ && SideOpenOnScreen(*piece_, key));
  connect(action, &QAction::triggered, this, [this, key] { AtnExecute(key); });
  addAction(action);
  button = new XPButton(Panel2);
  button->SetAction(action);
  button->setGeometry(at.x() * ButtonSize, at.y() * ButtonSize, ButtonSize, ButtonSize);
  return action;
}

PuzzleChip* THintFrm::NeighbourOnScreen(const PuzzleChip& piece, int arrowKey) {
  return piece.Neighbour(SideOnScreen(piece, arrowKey));
}

bool THintFrm::SideOpenOnScreen(const PuzzleChip& piece, int arrowKey) {
  return !piece.IsJoined(SideOnScreen(piece, arrowKey));
}

void THintFrm::AtnExecute(int arrowKey) {
  result_ = piece_ ? NeighbourOnScreen(*piece_, arrowKey) : nullptr;
  done(Accepted);
}

void THintFrm::CancelAtnExecute() { done(Rejected); }

bool THintFrm::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == Panel1 || watched == Panel2) && event->type() == QEvent::MouseButtonRelease) {
    CancelAtnExecute();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

// Centred on the pointer across, within the table top; below the piece under the pointer,
// or above it when there is no room below. Where neither has room it stays on the table top
// all the same: above it lie the menus and the title bar.
void THintFrm::PlaceBesidePiece() {
  const TableTop* top = TableTop::Current();
  if (!top || !piece_) return;
  const QPoint pointer = QCursor::pos();
  const QRect table(top->mapToGlobal(QPoint(0, 0)), top->size());
  const int left = std::min(std::max(pointer.x() - width() / 2, table.left()), table.right() - width());
  const int h = piece_->Mask().TableHeight();
  int y = pointer.y() + h;
  if (table.bottom() - height() < y) y = pointer.y() - (h + height());
  y = std::max(std::min(y, table.bottom() + 1 - height()), table.top());
  move(left, y);
}

// One open side: its neighbour is the only answer.
void THintFrm::Preselect() {
  if (!piece_) return;
  int open = 0;
  int openKey = 0;
  for (int key : ArrowKeys)
    if (SideOpenOnScreen(*piece_, key)) {
      ++open;
      openKey = key;
    }
  if (open == 1) result_ = NeighbourOnScreen(*piece_, openKey);
}

int THintFrm::ShowModal() {
  if (result_) return Accepted;
  if (!piece_) return Rejected;
  if (std::none_of(ArrowKeys.begin(), ArrowKeys.end(), [&](int key) { return SideOpenOnScreen(*piece_, key); }))
    return Rejected;
  return exec();
}
