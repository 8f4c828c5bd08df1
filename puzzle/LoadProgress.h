#pragma once
// What the cutting code tells the loading window and asks it: the stage shown, the bar, and
// whether the player pressed Esc. The window lives in a higher layer and implements this.

class LoadProgress {
public:
  virtual ~LoadProgress() = default;

  // Shows stage 2 (patterns), 3 (pieces), 4 (positions) or 5 (video); the bar restarts at 0.
  virtual void SetStage(int stage) = 0;
  // 0 while no stage is shown.
  virtual int BarPosition() = 0;
  virtual void SetBarPosition(int position) = 0;
  // Once set it stays set.
  virtual bool IsCancelled() const = 0;
  // The last moment Esc counts, once everything has been loaded: true when the load was
  // cancelled. Afterwards Esc no longer cancels and the window no longer offers it.
  virtual bool LastCancelCheck() { return IsCancelled(); }

  void AdvanceBar(int steps) { SetBarPosition(BarPosition() + steps); }
  // The window's cancel check without moving the bar (it lets pending events, Esc among
  // them, through), then the flag.
  bool PollCancel() {
    AdvanceBar(0);
    return IsCancelled();
  }
};
