#pragma once
// A table surface without a window: a host that counts what it is asked to show, a loading
// window that records its stages (and presses Esc when told), and four mini tables over
// plain buffers. Header-only, so the benchmark and the snapshot tool stand on it too.

#include "imaging/VirtualBuffer.h"
#include "puzzle/LoadProgress.h"
#include "table/MiniBoard.h"
#include "table/RandomSource.h"
#include "table/TableHost.h"
#include "table/TableMini.h"
#include "table/TableSurface.h"
#include "puzzle/ChipList.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class RecordingLoad : public LoadProgress {
public:
  // cancelAtStage: the stage at whose start Esc is pressed (0: at once, -1: never).
  explicit RecordingLoad(int cancelAtStage) : cancelAt_(cancelAtStage) {}
  void SetStage(int stage) override {
    stages.push_back(stage);
    bar_ = 0;
    if (stage == cancelAt_) cancelled_ = true;
  }
  int BarPosition() override { return stages.empty() ? 0 : bar_; }
  void SetBarPosition(int position) override {
    // Esc pressed before the first stage is seen at the first look at the bar.
    if (cancelAt_ == 0) cancelled_ = true;
    if (!stages.empty()) bar_ = position;
  }
  bool IsCancelled() const override { return cancelled_; }
  std::vector<int> stages;

private:
  int cancelAt_;
  int bar_ = 0;
  bool cancelled_ = false;
};

class HeadlessHost : public TableHost {
public:
  void Present(const VirtualBuffer&, const QRect& part) override {
    ++presents;
    lastPart = part;
  }
  void SetTableColor(int c) override { colour = c; }
  void EnableMainWindow(bool enabled) override { calls << (enabled ? "enable" : "disable"); }
  std::unique_ptr<LoadProgress> OpenLoadWindow(bool animated) override {
    calls << (animated ? "load window animated" : "load window");
    if (loadWindow) return loadWindow();
    auto load = std::make_unique<RecordingLoad>(cancelAtStage);
    lastLoad = load.get();
    return load;
  }
  QPoint CursorPosition() const override { return cursor; }
  QSize ScreenSize() const override { return {1920, 1080}; }
  void MaximizeMainForm() override { calls << "maximize"; }
  void PlaceMainForm(const QRect&) override { calls << "place"; }
  QSize AvailableArea() const override { return area; }

  int presents = 0;
  QRect lastPart;
  int colour = -1;
  QStringList calls;
  int cancelAtStage = -1;
  // A loading window of the test's own instead of the recording one.
  std::function<std::unique_ptr<LoadProgress>()> loadWindow;
  RecordingLoad* lastLoad = nullptr;  // valid only while the load runs
  QPoint cursor;
  QSize area{1920, 1080};
};

class BufferMini : public TableMini {
public:
  BufferMini(MiniBoard& board, int index) : board_(board), index_(index), active_(index == 0) {
    board.Add(this);
  }
  VirtualBuffer* Buffer() override { return &buffer_; }
  double ZoomX() const override { return zoomX_; }
  double ZoomY() const override { return zoomY_; }
  void Repaint() override { ++repaints; }
  int Index() const override { return index_; }
  ChipList& Chips() override { return chips_; }
  void Activate() override {
    for (int i = 0; i < board_.MiniCount(); ++i)
      static_cast<BufferMini*>(board_.MiniByIndex(i))->active_ = false;
    active_ = true;
  }
  bool IsActive() const override { return active_; }
  void RepaintFrom(const VirtualBuffer* source) override {
    ++repaints;
    if (!source || source->IsEmpty()) return;
    zoomX_ = double(buffer_.width) / source->width;
    zoomY_ = double(buffer_.height) / source->height;
    buffer_.StretchFrom(*source);
  }
  void HideHintMarker() override { ++markersHidden; }

  int repaints = 0;
  int markersHidden = 0;

private:
  MiniBoard& board_;
  int index_;
  bool active_;
  VirtualBuffer buffer_{96, 72, QStringLiteral("Mini buff")};
  double zoomX_ = 0.05;
  double zoomY_ = 0.05;
  ChipList chips_;
};

// Always the same choices, so a layout can be compared between runs.
class FixedRandom : public RandomSource {
public:
  void SeedFromClock() override { state_ = 12345; }
  int Next() override {
    state_ = state_ * 1103515245u + 12345u;
    return int((state_ >> 8) & 0x7FFFFF);
  }

private:
  unsigned state_ = 12345;
};

// The surface with its host and minis, sized w x h.
struct HeadlessTable {
  HeadlessTable(int w, int h) : minis(MakeMinis(board)), surface(host, board) {
    surface.SetRandomSource(&random);
    surface.Resize(w, h);
  }
  ~HeadlessTable() {
    for (auto& mini : minis) mini->Chips().DeleteAll();
  }
  static std::vector<std::unique_ptr<BufferMini>> MakeMinis(MiniBoard& board) {
    std::vector<std::unique_ptr<BufferMini>> made;
    for (int i = 0; i < 4; ++i) made.push_back(std::make_unique<BufferMini>(board, i));
    return made;
  }
  HeadlessTable(const HeadlessTable&) = delete;
  HeadlessTable& operator=(const HeadlessTable&) = delete;

  // Pieces on the table and on every mini.
  int PiecesAnywhere() {
    int count = surface.GetChipList().Count();
    for (auto& mini : minis) count += mini->Chips().Count();
    return count;
  }

  MiniBoard board;
  std::vector<std::unique_ptr<BufferMini>> minis;
  HeadlessHost host;
  FixedRandom random;
  TableSurface surface;
};
