// The main window's tips: the bar over the table area, the manager behind it, and the
// commands and windows that reach it.

#include "TMainForm.h"
#include "TipsControl.h"

#include "puzzle/TipDisplay.h"
#include "settings/ProgSettings.h"
#include "table/JITTManager.h"
#include "table/TipBar.h"

#include <QAction>

namespace {

class ManagerTipsControl : public TipsControl {
public:
  explicit ManagerTipsControl(JITTManager& manager) : manager(manager) {}
  bool TipsEnabled() const override { return manager.Enabled(); }
  void SetTipsEnabled(bool on) override { manager.SetEnabled(on); }
  void ResetTips() override { manager.ResetTips(); }

private:
  JITTManager& manager;
};

// Tips that teach a command are done with once the player uses it.
constexpr int WhatsThisTip = 5;
constexpr int ShowLastTipTip = 9;

}  // namespace

void TMainForm::CreateTips() {
  TipPnl = new TipBar(TableTopController);
  tipManager = std::make_unique<JITTManager>(JITTServices::ForProgram(), TipPnl);
  tipManager->SetEnabled(Settings()->TipsEnabled);
  tipsControl = std::make_unique<ManagerTipsControl>(*tipManager);
  TipsControl::SetCurrent(tipsControl.get());
  for (QAction* whatsThis : {atn.HelpWhatsMenuAtn, atn.HelpWhatsBtnAtn})
    connect(whatsThis, &QAction::triggered, this, [] { TipDisplay::MarkUsed(WhatsThisTip); });
  atn.HelpLastTipAtn->setEnabled(true);
  connect(atn.HelpLastTipAtn, &QAction::triggered, this, [this] {
    tipManager->ShowLastTip();
    tipManager->MarkTipUsed(ShowLastTipTip);
  });
}
