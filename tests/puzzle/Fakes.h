#pragma once
// Stand-ins for the puzzle's picture and the loading window.

#include "puzzle/LoadProgress.h"
#include "puzzle/PictureSizeSource.h"

#include <climits>
#include <vector>

// A picture of a fixed size; while alive it can be the current puzzle's picture.
class FakePicture : public PictureSizeSource {
public:
  FakePicture(int width, int height, bool current = false) : size_(width, height) {
    if (current) SetCurrent(this);
  }
  QSize GetImageSize() override { return size_; }

private:
  QSize size_;
};

// Records the stages and the bar, and raises the cancel flag once the bar has passed a
// chosen position.
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
