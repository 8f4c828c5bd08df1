#include "ControlPanel.h"

#include "MainActions.h"
#include "SnapLed.h"

#include "controls/OstrevPanel.h"
#include "controls/WhatsThis.h"

#include <QAction>
#include <QLabel>
#include <QToolButton>

#include <algorithm>

namespace {
constexpr int MiniWidth = 81;
constexpr int MiniHeight = 52;
constexpr int MiniGap = 2;
constexpr int BigButton = 34;
constexpr int SmallButton = 22;
// Room right of the minis for the snap LED and the what's-this button.
constexpr int LedColumn = 40;
}  // namespace

ControlPanel::ControlPanel(QWidget* parent, MainActions& actions) : WallPaperPanel(parent) {
  setObjectName(QStringLiteral("ToolPnl"));
  setFixedHeight(PanelHeight);
  setMinimumWidth(MinimumWidth);
  WhatsThis::SetHelpContext(this, 770);
  CtrlPnlBvl = new QFrame(this);
  CtrlPnlBvl->setFrameShape(QFrame::HLine);
  CtrlPnlBvl->setFrameShadow(QFrame::Sunken);
  CtrlPnlBvl->hide();

  MiniPanelHolder = new QWidget(this);
  MiniPanelHolder->setObjectName(QStringLiteral("MiniPanelHolder"));
  for (int i = 0; i < 4; ++i) {
    auto* panel = new QFrame(MiniPanelHolder);
    panel->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(i * (MiniWidth + MiniGap), 0, MiniWidth, MiniHeight);
    Panels[i] = panel;
  }
  MiniPanelHolder->setGeometry(0, 2, 4 * MiniWidth + 3 * MiniGap, PanelHeight - 2);

  ToolBar1 = new QWidget(this);
  OpenPuzzleBtn = Button(ToolBar1, actions.OpenAtn, BigButton, 29);
  ToolBar1->resize(BigButton, BigButton);

  ToolBar4 = new QWidget(this);
  SavePuzzleBtn = Button(ToolBar4, actions.SaveAtn, SmallButton, 16);
  MagnifierBtn = Button(ToolBar4, actions.MagnifierAtn, SmallButton, 16);
  FullScreenBtn = Button(ToolBar4, actions.FullScreenAtn, SmallButton, 16);
  ArrangeBtn = Button(ToolBar4, actions.ScatterAtn, SmallButton, 16);
  MagnifierBtn->move(SmallButton, 0);
  FullScreenBtn->move(0, SmallButton);
  ArrangeBtn->move(SmallButton, SmallButton);
  ToolBar4->resize(2 * SmallButton, 2 * SmallButton);

  ToolBar2 = new QWidget(this);
  PlayBtn = Button(ToolBar2, actions.PauseAtn, BigButton, 29);
  OptionsBtn = Button(ToolBar2, actions.OptionsAtn, BigButton, 29);
  HelpBtn = Button(ToolBar2, actions.HelpPopupAtn, BigButton, 29);
  ExitBtn = Button(ToolBar2, actions.ExitAtn, BigButton, 29);
  OptionsBtn->move(BigButton, 0);
  HelpBtn->move(2 * BigButton, 0);
  ExitBtn->move(3 * BigButton, 0);
  ToolBar2->resize(4 * BigButton, BigButton);

  ToolBar3 = new QWidget(this);
  WhatsBtn = Button(ToolBar3, actions.HelpWhatsBtnAtn, SmallButton, 16);
  ToolBar3->resize(SmallButton, SmallButton);

  BoxCoverPnl = new OstrevPanel(this);
  BoxCoverPnl->setObjectName(QStringLiteral("BoxCoverPnl"));
  BoxCoverPnl->SetCaption(QStringLiteral("(No image)"));
  BoxCoverPnl->setToolTip(QStringLiteral("Box Cover Image (F9)"));
  WhatsThis::SetHelpContext(BoxCoverPnl, 170);
  BoxCoverPnl->resize(58, 53);

  ProximityLed = new SnapLed(this);
  ProximityLed->setToolTip(QStringLiteral("Snap Indicator"));
  WhatsThis::SetHelpContext(ProximityLed, 210);
  YellowLed = new SmallLed(this, SmallLed::lcYellow);
  GreenLed = new SmallLed(this, SmallLed::lcGreen);
  for (SmallLed* led : {YellowLed, GreenLed})
    led->setToolTip(QStringLiteral("Performance Indicator"));
  WhatsThis::SetHelpContext(YellowLed, 180);
  WhatsThis::SetHelpContext(GreenLed, 190);
  for (SmallLed* led : {static_cast<SmallLed*>(ProximityLed), YellowLed, GreenLed})
    led->resize(14, 14);

  TimeStatus =
      StatusPanel(QStringLiteral("0 h 00 m"), QStringLiteral("Elapsed Time Clock"), 270, 79);
  PiecesStatus = StatusPanel(QStringLiteral("0 of 0"),
                             QStringLiteral("Number of Solved Pieces and Total Pieces"), 260, 75);
}

QToolButton* ControlPanel::Button(QWidget* bar, QAction* action, int size, int iconSize) {
  auto* button = new QToolButton(bar);
  button->setDefaultAction(action);
  button->setAutoRaise(true);
  button->setIconSize(QSize(iconSize, iconSize));
  button->setFixedSize(size, size);
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

QLabel* ControlPanel::StatusPanel(const QString& text, const QString& hint, int helpContext,
                                  int width) {
  auto* label = new QLabel(text, this);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setAlignment(Qt::AlignCenter);
  label->setAutoFillBackground(true);
  label->setToolTip(hint);
  label->resize(width, 15);
  QFont font = label->font();
  font.setPixelSize(10);
  label->setFont(font);
  WhatsThis::SetHelpContext(label, helpContext);
  return label;
}

void ControlPanel::SetAlignedTop(bool top) {
  CtrlPnlBvl->setVisible(top);
  MiniPanelHolder->move(MiniPanelHolder->x(), top ? 1 : 2);
}

void ControlPanel::resizeEvent(QResizeEvent* event) {
  WallPaperPanel::resizeEvent(event);
  const int w = width();
  CtrlPnlBvl->setGeometry(0, 0, w, 2);
  ToolBar1->move(6, 13);
  ToolBar4->move(ToolBar1->geometry().right() + 5, 8);
  BoxCoverPnl->move(ToolBar4->geometry().right() + 5, 4);
  ToolBar2->move(w - 6 - ToolBar2->width(), 13);
  const int statusLeft = ToolBar2->x() - 6 - TimeStatus->width();
  TimeStatus->move(statusLeft, 7);
  PiecesStatus->move(statusLeft + 2, 25);
  YellowLed->move(statusLeft + 22, 43);
  GreenLed->move(statusLeft + 43, 43);
  PlaceMiniPanels(statusLeft);
}

// Centred in the panel, unless that would crowd the buttons at either end.
void ControlPanel::PlaceMiniPanels(int statusLeft) {
  const int holderWidth = MiniPanelHolder->width();
  const int leftmost = BoxCoverPnl->geometry().right() + 6;
  const int rightmost = statusLeft - LedColumn - holderWidth;
  const int centred = (width() - holderWidth) / 2;
  const int x = std::max(leftmost, std::min(centred, rightmost));
  MiniPanelHolder->move(x, MiniPanelHolder->y());
  const int edge = MiniPanelHolder->geometry().right() + 1;
  ProximityLed->move(edge + 15, 9);
  ToolBar3->move(edge + 9, 30);
}
