#pragma once
// The just-in-time tips: decides whether a tip asked for is due, keeps the tips shown (the
// history, newest first) and the tips the player no longer needs (the used list) from one
// run to the next, and drives the tip bar: its text, buttons and slide. It is the puzzle's
// tips sink. No widget here: the bar (a JITTView) shows this state and calls back.

#include "puzzle/TipDisplay.h"
#include "table/JITTCatalogue.h"
#include "table/JITTServices.h"

#include <QString>
#include <vector>

class JITTManager : public TipDisplay {
public:
  static constexpr int DismissMs = 20000;
  static constexpr std::int64_t SpacingMs = 600000;
  static constexpr int SlideStartTop = -17;
  static constexpr int SlidePixels = 3;
  // Sliding out, the bar goes once its top has passed this.
  static constexpr int SlideGoneBelow = -18;
  static inline const QString HistoryValue = QStringLiteral("Tips history");
  static inline const QString UsedValue = QStringLiteral("Tips unavailable");

  // Loads both lists and becomes the current tips sink.
  explicit JITTManager(JITTServices services, JITTView* view = nullptr);
  ~JITTManager() override;
  JITTManager(const JITTManager&) = delete;
  JITTManager& operator=(const JITTManager&) = delete;

  // The manager that the slide's beats reach; null while none lives.
  static JITTManager* Global() { return global; }

  void SetView(JITTView* view);

  // TipDisplay.
  bool ShowTip(int id) override;
  void MarkTipUsed(int id) override;
  bool IsTipEligible(int id) override;

  bool Enabled() const { return enabled; }
  void SetEnabled(bool on) { enabled = on; }
  // The newest tip again, staying put, while the bar is not down.
  void ShowLastTip();
  // Every tip becomes available; both lists are emptied and the bar goes.
  void ResetTips();

  // The bar's controls.
  void BackTipBtnClick();
  void FwdTipBtnClick();
  void TipDetailsBtnClick();
  void StayBtnClick();
  void CloseTipBtnClick() { Close(CloseCause::Button); }
  void DismissTimerTimer() { Close(CloseCause::DismissTimer); }

  // One beat of the slide, on the main thread.
  void SlideStep();

  // What the bar shows.
  const QString& Text() const { return text; }
  int HelpContext() const;
  int Top() const { return top; }
  bool BarVisible() const { return barVisible; }
  bool OnScreen() const { return onScreen; }
  bool Sliding() const { return services.ticks->IsActive(); }
  bool StayDown() const { return stayDown; }
  bool DismissRunning() const { return dismissRunning; }
  bool BackEnabled() const { return backEnabled; }
  bool FwdEnabled() const { return fwdEnabled; }
  bool DetailsEnabled() const { return detailsEnabled; }
  int HistoryIndex() const { return index; }
  std::vector<int> HistoryIds() const { return Ids(history); }
  std::vector<int> UsedIds() const { return Ids(used); }
  const JITTCatalogue& Catalogue() const { return catalogue; }

private:
  enum class CloseCause { Program, Button, DismissTimer };

  void Close(CloseCause cause);
  void ShowEntry(int entry);
  void StartTipSlide(bool autoDismiss);
  void SetDismiss(bool running);
  void Changed();
  bool IndexValid() const { return index >= 0 && index < int(history.size()); }
  std::vector<JITT*> LoadList(const QString& name);
  void SaveList(const QString& name, const std::vector<JITT*>& list);
  static std::vector<int> Ids(const std::vector<JITT*>& list);

  static inline JITTManager* global = nullptr;

  JITTServices services;
  JITTView* view;
  JITTCatalogue catalogue;
  std::vector<JITT*> history;  // newest first
  std::vector<JITT*> used;
  int index = -1;
  bool enabled = true;
  // Rules 3 and 5 need "a tip was shown in this run" apart from its time: a clock may read 0.
  bool shownSinceStart = false;
  std::int64_t lastTipTime = 0;
  QString text;
  int top = SlideStartTop;
  bool barVisible = false;
  bool onScreen = false;
  bool stayDown = false;
  bool dismissRunning = false;
  bool backEnabled = false;
  bool fwdEnabled = false;
  bool detailsEnabled = false;
};
