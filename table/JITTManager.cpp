#include "table/JITTManager.h"

#include <utility>

JITTManager::JITTManager(JITTServices services, JITTView* view)
    : services(std::move(services)), view(nullptr) {
  history = LoadList(HistoryValue);
  index = history.empty() ? -1 : 0;
  used = LoadList(UsedValue);
  SetView(view);
  global = this;
  TipDisplay::SetCurrent(this);
}

// Nothing may reach this manager or its bar once it starts to go: a beat already queued for
// the main thread runs while the ticks are stopped and must find no manager.
JITTManager::~JITTManager() {
  if (global == this) global = nullptr;
  if (TipDisplay::Current() == this) TipDisplay::SetCurrent(nullptr);
  services.ticks->Stop();
  if (view) {
    view->SetDismissTimer(false);
    barVisible = false;
    view->Refresh();
    view->Attach(nullptr);
  }
}

void JITTManager::SetView(JITTView* newView) {
  if (view) view->Attach(nullptr);
  view = newView;
  if (view) view->Attach(this);
}

bool JITTManager::IsTipEligible(int id) {
  const JITT* tip = catalogue.FindTip(id);
  if (!enabled || tip == nullptr || !tip->Available()) return false;
  if (onScreen && !tip->Has(JITT::MayReplace)) return false;
  const JITTOptions options = services.options();
  if (shownSinceStart && (options.oneTipOnly || tip->Has(JITT::FirstAfterStart))) return false;
  if (options.advancedOnly && !tip->Has(JITT::Advanced)) return false;
  if (tip->Has(JITT::Spacing) && shownSinceStart && services.now() - lastTipTime < SpacingMs)
    return false;
  return true;
}

bool JITTManager::ShowTip(int id) {
  if (!IsTipEligible(id)) return false;
  JITT* tip = catalogue.FindTip(id);
  tip->SetAvailable(false);
  history.insert(history.begin(), tip);
  SaveList(HistoryValue, history);
  lastTipTime = services.now();
  shownSinceStart = true;
  ShowEntry(0);
  StartTipSlide(services.options().autoDismiss);
  return true;
}

void JITTManager::MarkTipUsed(int id) {
  JITT* tip = catalogue.FindTip(id);
  if (tip == nullptr || !tip->Available()) return;
  tip->SetAvailable(false);
  // A repeatable tip stays available; listing it would only grow the stored value.
  if (tip->Available()) return;
  used.push_back(tip);
  SaveList(UsedValue, used);
}

void JITTManager::ShowLastTip() {
  if (onScreen || history.empty()) return;
  ShowEntry(0);
  StartTipSlide(false);
}

void JITTManager::ResetTips() {
  Close(CloseCause::Program);
  history.clear();
  SaveList(HistoryValue, history);
  index = -1;
  used.clear();
  SaveList(UsedValue, used);
  catalogue.MakeAllAvailable();
  backEnabled = fwdEnabled = detailsEnabled = false;
  Changed();
}

// Each byte is a tip id; ids the catalogue lacks are skipped.
std::vector<JITT*> JITTManager::LoadList(const QString& name) {
  std::vector<JITT*> list;
  for (const char byte : services.store->Read(name)) {
    JITT* tip = catalogue.FindTip(static_cast<unsigned char>(byte));
    if (tip == nullptr) continue;
    tip->SetAvailable(false);
    list.push_back(tip);
  }
  return list;
}

void JITTManager::SaveList(const QString& name, const std::vector<JITT*>& list) {
  QByteArray ids;
  ids.reserve(qsizetype(list.size()));
  for (const JITT* tip : list) ids.append(char(tip->Id()));
  services.store->Write(name, ids);
}

std::vector<int> JITTManager::Ids(const std::vector<JITT*>& list) {
  std::vector<int> ids;
  for (const JITT* tip : list) ids.push_back(tip->Id());
  return ids;
}
