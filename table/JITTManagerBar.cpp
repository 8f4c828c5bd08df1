// The tip bar's side of the manager: what it shows, its buttons and its slide.

#include "table/JITTManager.h"

#include <algorithm>

int JITTManager::HelpContext() const {
  return IndexValid() ? history[size_t(index)]->HelpContext() : JITT::NoHelp;
}

// The entry of the history on the bar, with the buttons as they are for the newest.
void JITTManager::ShowEntry(int entry) {
  index = entry;
  text = history[size_t(index)]->Text();
  fwdEnabled = false;
  backEnabled = history.size() > 1;
  detailsEnabled = HelpContext() != JITT::NoHelp;
}

void JITTManager::StartTipSlide(bool autoDismiss) {
  top = SlideStartTop;
  barVisible = true;
  onScreen = false;
  services.ticks->SetActive(true);
  if (autoDismiss)
    SetDismiss(true);
  else
    stayDown = true;
  Changed();
}

void JITTManager::SlideStep() {
  // A beat may still arrive after the slide ended; moving then would start the bar back up.
  if (!services.ticks->IsActive()) return;
  if (!onScreen) {
    top = std::min(top + SlidePixels, 0);
    if (top == 0) {
      services.ticks->SetActive(false);
      onScreen = true;
    }
  } else if (top < SlideGoneBelow) {
    services.ticks->SetActive(false);
    barVisible = false;
    onScreen = false;
  } else {
    top -= SlidePixels;
  }
  Changed();
}

// The bar slides away from wherever it is; one coming down turns round.
void JITTManager::Close(CloseCause cause) {
  SetDismiss(false);
  if (cause == CloseCause::DismissTimer && stayDown) return;
  if (barVisible) {
    onScreen = true;
    services.ticks->SetActive(true);
  }
  stayDown = false;
  index = history.empty() ? -1 : 0;
  Changed();
}

void JITTManager::BackTipBtnClick() {
  if (index < 0 || index >= int(history.size()) - 1) return;
  ++index;
  text = history[size_t(index)]->Text();
  detailsEnabled = HelpContext() != JITT::NoHelp;
  fwdEnabled = true;
  backEnabled = index < int(history.size()) - 1;
  stayDown = true;
  Changed();
}

void JITTManager::FwdTipBtnClick() {
  if (index <= 0 || index >= int(history.size())) return;
  --index;
  text = history[size_t(index)]->Text();
  detailsEnabled = HelpContext() != JITT::NoHelp;
  fwdEnabled = index > 0;
  backEnabled = true;
  Changed();
}

void JITTManager::TipDetailsBtnClick() {
  const int context = HelpContext();
  if (context == JITT::NoHelp) return;
  if (!services.help->ShowContext(context)) services.help->ShowTopic(QStringLiteral("Contents"));
}

void JITTManager::StayBtnClick() {
  stayDown = !stayDown;
  if (!stayDown && !dismissRunning)
    Close(CloseCause::Program);
  else
    Changed();
}

void JITTManager::SetDismiss(bool running) {
  dismissRunning = running;
  if (view) view->SetDismissTimer(running);
}

void JITTManager::Changed() {
  if (view) view->Refresh();
}
