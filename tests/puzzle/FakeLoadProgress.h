#pragma once
// Stands in for the loading window: records the stages and the bar, and raises the cancel
// flag once the bar has passed a chosen position.

#include "puzzle/LoadProgress.h"

#include <climits>
#include <vector>

class FakeLoadProgress : public LoadProgress {
public:
  explicit FakeLoadProgress(int cancelAbove = INT_MAX) : cancelAbove_(cancelAbove) {}

  void SetStage(int stage) override {
    stages.push_back(stage);
    bar = 0;
  }
  int BarPosition() override { return stages.empty() ? 0 : bar; }
  void SetBarPosition(int position) override {
    if (!stages.empty()) bar = position;
    if (bar > cancelAbove_) cancelled = true;
  }
  bool IsCancelled() const override { return cancelled; }

  std::vector<int> stages;
  int bar = 0;
  bool cancelled = false;

private:
  int cancelAbove_;
};
