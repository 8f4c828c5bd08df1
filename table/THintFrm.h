#pragma once
// The small direction pop-up of a hint: four arrow buttons ask which neighbour of the
// picked piece to find, in the directions the player sees on the screen. A piece with only
// one open side answers at once; a piece joined all round answers "cancelled".

#include <QDialog>

class PuzzleChip;
class QAction;
class QFrame;
class XPButton;

class THintFrm : public QDialog {
  Q_OBJECT
public:
  // Placed under the pointer (above it near the table's bottom), within the table top.
  THintFrm(QWidget* owner, PuzzleChip* piece);
  ~THintFrm() override;

  // Accepted at once for a preselected neighbour, Rejected at once for a piece joined all
  // round, otherwise the player's choice.
  int ShowModal();
  // The neighbour chosen; null until one is.
  PuzzleChip* Result() const { return result_; }
  // The piece's neighbour shown in a screen direction (Qt::Key_Up, _Left, _Right, _Down),
  // and whether that side is still open.
  static PuzzleChip* NeighbourOnScreen(const PuzzleChip& piece, int arrowKey);
  static bool SideOpenOnScreen(const PuzzleChip& piece, int arrowKey);
  static bool IsOpen() { return openCount_ > 0; }

  QFrame* Panel1;
  QFrame* Panel2;
  XPButton* TopBtn;
  XPButton* LeftBtn;
  XPButton* RightBtn;
  XPButton* BottomBtn;
  QAction* TopAtn;
  QAction* LeftAtn;
  QAction* RightAtn;
  QAction* BottomAtn;
  QAction* CancelAtn;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  QAction* MakeDirection(XPButton*& button, const QString& image, const QString& hint, int key, QPoint at);
  void AtnExecute(int arrowKey);
  void CancelAtnExecute();
  void PlaceBesidePiece();
  void Preselect();

  static inline int openCount_ = 0;
  PuzzleChip* piece_;
  PuzzleChip* result_ = nullptr;
};
