#pragma once
// The main window's control panel (ToolPnl): the tool buttons, the box-cover frame, the
// four mini-table panels, the snap and performance LEDs and the clock and piece counts.
// It lays its parts out itself: the buttons at both ends, the minis centred between.

#include "controls/WallPaperPanel.h"

#include <array>

class MainActions;
class OstrevPanel;
class QFrame;
class QLabel;
class QToolButton;
class SmallLed;
class SnapLed;

class ControlPanel : public WallPaperPanel {
  Q_OBJECT
public:
  static constexpr int PanelHeight = 61;
  static constexpr int MinimumWidth = 750;

  ControlPanel(QWidget* parent, MainActions& actions);

  // The top edge line shows while the panel sits at the window's top.
  void SetAlignedTop(bool top);

  QFrame* CtrlPnlBvl;
  QWidget* MiniPanelHolder;
  std::array<QFrame*, 4> Panels;
  QWidget *ToolBar1, *ToolBar2, *ToolBar3, *ToolBar4;
  QToolButton *OpenPuzzleBtn, *PlayBtn, *OptionsBtn, *HelpBtn, *ExitBtn;
  QToolButton *SavePuzzleBtn, *MagnifierBtn, *FullScreenBtn, *ArrangeBtn, *WhatsBtn;
  OstrevPanel* BoxCoverPnl;
  SnapLed* ProximityLed;
  SmallLed *YellowLed, *GreenLed;
  QLabel *TimeStatus, *PiecesStatus;

protected:
  void resizeEvent(QResizeEvent* event) override;

private:
  QToolButton* Button(QWidget* bar, QAction* action, int size, int iconSize);
  QLabel* StatusPanel(const QString& text, const QString& hint, int helpContext, int width);
  void PlaceMiniPanels(int statusLeft);
};
