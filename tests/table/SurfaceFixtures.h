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
#include "puzzle/ChipMask.h"
#include "puzzle/Puzzle.h"
#include "puzzle/PuzzleChip.h"

#include <QStringList>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
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
  void MoveCursorTo(QPoint tablePoint) override { cursor = tablePoint; }
  bool IsLeftButtonDown() const override { return leftDown; }
  bool IsApplicationActive() const override { return active; }
  TableMini* MiniUnderCursor(bool excludeActive) const override {
    return miniUnder && !(excludeActive && miniUnder->IsActive()) ? miniUnder : nullptr;
  }
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
  bool leftDown = false;
  bool active = true;
  TableMini* miniUnder = nullptr;
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
  int ShowHintMarker(PuzzleChip*) override { return markAt; }
  void FollowTableSize(QSize table) override { followed = table; }

  int repaints = 0;
  QSize followed;
  int markersHidden = 0;
  int markAt = -1;  // the column a hint's cross answers

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

// Where picture offset (lx, ly) of a w x h box lies once turned: the pixel's centre turned
// about the origin as geometry does it, apart from the game's own formulas.
inline QPoint Turned(int rotation, int lx, int ly, int w, int h) {
  const QTransform turn = QTransform().rotate(rotation);
  const QPointF at = turn.map(QPointF(lx + 0.5, ly + 0.5)) - turn.mapRect(QRectF(0, 0, w, h)).topLeft();
  return {int(std::floor(at.x())), int(std::floor(at.y()))};
}

inline std::uint32_t Darker(std::uint32_t pixel, int by) {
  std::uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8)
    out |= std::uint32_t(std::max(int((pixel >> shift) & 0xFF) - by, 0)) << shift;
  return out;
}

// The table as it should look: the felt tiled, every resting piece's shadow, then the pieces
// from the bottom of the list to the top, each pixel where its turn puts it.
inline std::string ReferenceMismatch(TableSurface& surface, Puzzle& puzzle, const VirtualBuffer& felt,
                          const QRect& skip = QRect()) {
  const VirtualBuffer& table = *surface.TableBuffer();
  const int w = table.width, h = table.height;
  std::vector<std::uint32_t> ref(std::size_t(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) ref[std::size_t(y) * w + x] = felt.Row(y % felt.height)[x % felt.width];
  ChipList& list = surface.GetChipList();
  static constexpr int levels[] = {45, 30, 15, 5};
  for (int i = 0; i < list.Count(); ++i) {
    const PuzzleChip& p = *list.At(i);
    for (const OutlinePoint& o : p.Outline())
      for (int k = 0; k < std::min<int>(o.restingLength, 4); ++k) {
        const int x = p.TableX() - p.Mask().MinX() + o.x + k, y = p.TableY() - p.Mask().FirstRow() + o.y + k;
        if (x >= 0 && y >= 0 && x < w && y < h) ref[std::size_t(y) * w + x] = Darker(ref[std::size_t(y) * w + x], levels[k]);
      }
  }
  const VirtualBuffer& picture = *puzzle.GetImage(true);
  for (int i = list.Count() - 1; i >= 0; --i) {
    const PuzzleChip& p = *list.At(i);
    const ChipMask& m = p.Mask();
    m.ForEachRun([&](int py, int first, int last) {
      for (int px = first; px <= last; ++px) {
        const QPoint at = QPoint(p.TableX(), p.TableY()) +
                          Turned(m.Rotation(), px - m.MinX(), py - m.FirstRow(), m.Width(), m.Height());
        if (at.x() >= 0 && at.y() >= 0 && at.x() < w && at.y() < h)
          ref[std::size_t(at.y()) * w + at.x()] = picture.Row(py)[px];
      }
    });
  }
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (!skip.contains(x, y) && (table.Row(y)[x] & 0xFFFFFF) != (ref[std::size_t(y) * w + x] & 0xFFFFFF))
        return QStringLiteral("pixel %1,%2: drawn %3, expected %4").arg(x).arg(y)
            .arg(table.Row(y)[x], 0, 16).arg(ref[std::size_t(y) * w + x], 0, 16).toStdString();
  return {};
}

// Empty when every piece of the main table lies wholly on it with its centre stored.
inline std::string OffTable(TableSurface& surface) {
  ChipList& list = surface.GetChipList();
  for (int i = 0; i < list.Count(); ++i) {
    const PuzzleChip& p = *list.At(i);
    const bool inside = p.TableX() >= 0 && p.TableY() >= 0 &&
                        p.TableX() + p.Mask().TableWidth() <= surface.GetWidth() &&
                        p.TableY() + p.Mask().TableHeight() <= surface.GetHeight();
    const bool centred = p.Group() || (p.CentreX() > 0 && p.CentreX() < 1 && p.CentreY() > 0 && p.CentreY() < 1);
    if (!inside || !centred)
      return QStringLiteral("piece %1 at %2,%3 centre %4,%5").arg(p.Id()).arg(p.TableX())
          .arg(p.TableY()).arg(p.CentreX()).arg(p.CentreY()).toStdString();
  }
  return {};
}
