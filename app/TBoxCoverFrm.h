#pragma once
// The box cover window: the saved game's own cover, or else the puzzle's picture, at 50 %
// or at full scale. Two faces: a frameless hover preview beside the thumbnail that never
// takes the focus, and a tool window above the main window with zoom, print, note and close.
// One at a time; the saved-game writer reads its place from the current one.

#include "puzzle/JigsawFileReader.h"

#include <QRect>
#include <QWidget>
#include <functional>
#include <memory>

class FGPanel;
class Puzzle;
class QLabel;
class QToolBar;
class QToolButton;
class VirtualBuffer;

class TBoxCoverFrm : public QWidget {
  Q_OBJECT
public:
  // The available area of the screen nearest a rectangle (tests put a screen of their own).
  using AreaSource = std::function<QRect(const QRect&)>;

  explicit TBoxCoverFrm(QWidget* owner);
  ~TBoxCoverFrm() override;

  static TBoxCoverFrm* Current();
  static void SetAreaSource(AreaSource source);
  // What a saved game records of the window: shown only as the tool window.
  static BoxCoverWindowPlace SavedPlace();

  void SetPuzzle(Puzzle* puzzle, bool measureOnly);
  void SetToolbar(bool on);
  bool HasToolbar() const { return toolbarOn; }
  // Shows the window; the tool face also comes to the front (above the main window only).
  void ShowCover();

  // The tool face centred on its screen; the place is remembered as the automatic one.
  void CentreOnScreen();
  // The hover face beside the thumbnail: above it, or below it when the panel is at the top.
  void PlaceBeside(const QRect& thumbnail, bool above);
  // A saved place (frame top-left), kept on the screen.
  void PlaceAt(QPoint frameTopLeft);

  void ZoomBtnClick();
  void PrintBtnClick();
  void NoteBtnClick();
  void ExitBtnClick() { close(); }

  // Where the window's frame goes for a client size: centred in the available area, or
  // with its top-left at a place; either way whole inside the area, the client cut down
  // when the area is smaller.
  static QRect CentredFrame(const QRect& area, QSize client, QSize frame);
  static QRect FrameAt(const QRect& area, QPoint topLeft, QSize client, QSize frame);

  QSize Wanted() const { return wanted; }
  const VirtualBuffer* Image() const { return image.get(); }

  QToolBar* ToolBar1;
  QToolButton *ZoomBtn, *PrintBtn, *NoteBtn, *ExitBtn;
  QLabel* WarningPnl;

protected:
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

private:
  void BuildToolbar();
  void PaintCover();
  int MinimumWidth() const;
  QSize FrameSize() const;
  // Moves and sizes the window (client size + frame) inside the available area.
  using Placement = std::function<QRect(QSize frame)>;
  void Place(Placement where, bool automatic);
  void FrameMayHaveChanged();
  void PlaceFrame(QPoint topLeft, QSize client);
  QRect Area(const QRect& near) const;
  void ApplyFlags(Qt::WindowFlags flags);

  FGPanel* CoverPnl;
  std::unique_ptr<VirtualBuffer> image;
  Puzzle* puzzle = nullptr;
  bool hasOwnCover = false;
  bool toolbarOn = true;
  QPoint lastAuto{-1, -1};
  bool movedByUser = false;
  QSize wanted;
  Placement placement;
  QSize placedFrame;
  bool placedAutomatically = false;
};
