// What greets a puzzle that has just opened: the welcome page on the first run, after that
// the first tip that fits.

#include "ControlPanel.h"
#include "OpeningGreeting.h"
#include "SaveTarget.h"
#include "TMainForm.h"
#include "WindowPlacement.h"

#include "platform/HelpViewer.h"
#include "platform/HelpWindow.h"
#include "platform/Screens.h"
#include "puzzle/Puzzle.h"
#include "puzzle/TipDisplay.h"
#include "settings/ProgSettings.h"
#include "table/MiniSurface.h"
#include "table/TableAssembly.h"
#include "table/TableTop.h"

#include <QTimer>

namespace {

// The tips offered at opening, named for what they teach.
constexpr int RotationTip = 24;
constexpr int ColourDepthTip = 17;
constexpr int IsolateEdgesTip = 25;
constexpr int EdgesShownTip = 0;
constexpr int WhatsThisTip = 5;
constexpr int ShowLastTipTip = 9;
constexpr int BoxCoverToolbarTip = 18;
constexpr int MiniDragTip = 19;
constexpr int ReplayTip = 26;
constexpr int UpdateCheckTip = 28;

constexpr int daysBetweenUpdateChecks = 90;
// Long enough for the help window to come up over the table before play pauses behind it.
constexpr int welcomeSettleMs = 500;
// From the table's top-left corner to the welcome page's frame.
constexpr int welcomeInset = 8;

// The welcome page opens on the table, its title bar below the main window's title bar and
// menus; a help window the player already has open stays where it is.
void PlaceOnTable(QWidget& help, const QWidget& table) {
  if (help.isVisible()) return;
  const QRect wanted(table.mapToGlobal(QPoint(welcomeInset, welcomeInset)), help.frameGeometry().size());
  help.move(WindowPlacement::PlaceInside(wanted, Screens::AvailableNear(wanted)).topLeft());
}

// The first tip that fits and is shown, or NothingShown.
int OfferTips(const OpeningFacts& facts, ProgSettings& settings) {
  const bool updateDue = facts.today > settings.NextCheckDate;
  const struct {
    int tip;
    bool fits;
  } offers[] = {
      {RotationTip, !settings.UpsideRight},
      {ColourDepthTip, facts.animated && facts.colourDepth < 17},
      {IsolateEdgesTip, !facts.miniHoldsPieces},
      {EdgesShownTip, facts.miniHoldsPieces},
      {WhatsThisTip, facts.controlPanelVisible},
      {ShowLastTipTip, true},
      {BoxCoverToolbarTip, true},
      {MiniDragTip, facts.miniHoldsPieces},
      {ReplayTip, facts.completeSavedGame},
      {UpdateCheckTip, updateDue},
  };
  for (const auto& offer : offers) {
    if (!offer.fits || !TipDisplay::Show(offer.tip)) continue;
    if (offer.tip == UpdateCheckTip) settings.NextCheckDate = facts.today + daysBetweenUpdateChecks;
    return offer.tip;
  }
  return OpeningGreeting::NothingShown;
}

}  // namespace

int OpeningGreeting::Greet(const OpeningFacts& facts, ProgSettings& settings,
                           const std::function<bool()>& openWelcome) {
  // Pieces on the minis at opening: the player already isolates the edge pieces.
  if (facts.miniHoldsPieces) TipDisplay::MarkUsed(IsolateEdgesTip);
  if (settings.ShowWelcome) {
    // Cleared first: the background music waits until the welcome has had its turn.
    settings.ShowWelcome = false;
    return openWelcome() ? WelcomeShown : NothingShown;
  }
  return OfferTips(facts, settings);
}

void TMainForm::GreetOpenedPuzzle() {
  Puzzle* puzzle = Puzzle::Current();
  if (!puzzle) return;
  OpeningFacts facts;
  facts.animated = puzzle->GetAnimatedFile() != nullptr;
  facts.colourDepth = Screens::Primary().colourDepth;
  facts.miniHoldsPieces = MiniSurface::AnyMiniHasChips(table->Board());
  facts.controlPanelVisible = !toolPnl->isHidden();
  facts.completeSavedGame = IsSavedGamePath(puzzle->GetPath()) && puzzle->GetPercentComplete() >= 100;
  facts.today = ProgSettings::TodayAsDayNumber();
  OpeningGreeting::Greet(facts, *Settings(), [this] {
    PlaceOnTable(*HelpWindow::Instance(), *Table());
    if (!HelpViewer::ShowContext(OpeningGreeting::WelcomeTopic)) return false;
    Table()->Suspend(false);
    if (!welcomeTimer) {
      welcomeTimer = new QTimer(this);
      welcomeTimer->setSingleShot(true);
      welcomeTimer->setInterval(welcomeSettleMs);
      connect(welcomeTimer, &QTimer::timeout, this, &TMainForm::WelcomeTimerTimer);
    }
    welcomeTimer->start();
    return true;
  });
}

// Lets the animation reach its first frame, then pauses play behind the welcome page.
void TMainForm::WelcomeTimerTimer() {
  Table()->Resume(false);
  Table()->Suspend(true);
  welcomeTimer->stop();
}
