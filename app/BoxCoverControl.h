#pragma once
// The main window's side of the box cover: the thumbnail in the control panel's frame, the
// hover preview that rests beside it, the tool window of the box-cover command, and the
// window a saved game asks for at load.

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>

class FGPanel;
class OstrevPanel;
class Puzzle;
class QAction;
class TBoxCoverFrm;
class VirtualBuffer;

class BoxCoverControl : public QObject {
  Q_OBJECT
public:
  static constexpr int HoverMillis = 500;

  BoxCoverControl(QWidget* mainWindow, OstrevPanel* frame, QAction* boxCoverAtn);
  ~BoxCoverControl() override;

  // Where the pointer is, in global coordinates (tests put their own).
  std::function<QPoint()> CursorPos;
  // The control panel sits at the top of the window: the preview opens below the thumbnail.
  std::function<bool()> PanelAtTop;

  TBoxCoverFrm* Window() const;
  QTimer& HoverTimer() { return hoverTimer; }

  // The thumbnail of a puzzle just started, when its file allows a preview.
  void PuzzleStarted(Puzzle* puzzle);
  // No puzzle any more: no window, no thumbnail.
  void PuzzleGone();
  // The tool window where the saved game had it, when its file asks and allows it.
  void ShowAtLoad(Puzzle* puzzle);
  void BoxCoverAtnExecute();
  void BoxCoverPnlMouseEnter();
  void BoxCoverHoverTimer();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  TBoxCoverFrm* MakeWindow(Puzzle* puzzle, bool toolbar);
  void OpenToolWindow(Puzzle* puzzle);
  void CloseWindow();

  QWidget* mainWindow;
  OstrevPanel* frame;
  QAction* boxCoverAtn;
  FGPanel* thumbPnl;
  std::unique_ptr<VirtualBuffer> thumbnail;
  QPointer<TBoxCoverFrm> window;
  QTimer hoverTimer;
};
