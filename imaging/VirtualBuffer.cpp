#include "VirtualBuffer.h"

#include "PictureRows.h"
#include "PixelScaler.h"
#include "Yelk/TMsgLog.h"

#include <QImage>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <new>

namespace {

std::atomic<int> liveCount{0};
std::atomic<int> highCount{0};

void CountBirth() {
  const int live = ++liveCount;
  int high = highCount.load();
  while (live > high && !highCount.compare_exchange_weak(high, live)) {
  }
}

bool SizeAllowed(int w, int h, const QString& name) {
  if (w <= 0 || h <= 0) return false;
  if (w > VirtualBuffer::MaxSide || h > VirtualBuffer::MaxSide ||
      std::int64_t(w) * h > VirtualBuffer::MaxPixels) {
    TMsgLog::Add(QStringLiteral("VirtualBuffer - size %1 x %2 refused for %3").arg(w).arg(h).arg(name));
    return false;
  }
  return true;
}

QImage LoadResource(int resourceId, const QString& type, const QString& name) {
  const QString path = QStringLiteral(":/%1/%2").arg(type).arg(resourceId);
  QImage image(path);
  if (image.isNull())
    TMsgLog::Add(QStringLiteral("VirtualBuffer - resource %1 not found for %2").arg(path, name));
  return image;
}

// The largest size of the source's aspect inside w × h.
QSize FittedSize(const VirtualBuffer& source, int w, int h, bool keepAspect) {
  if (!keepAspect || source.IsEmpty() || w <= 0 || h <= 0) return {w, h};
  const double scale = std::min(double(w) / source.width, double(h) / source.height);
  const int fw = std::clamp(int(source.width * scale + 0.5), 1, w);
  const int fh = std::clamp(int(source.height * scale + 0.5), 1, h);
  return {fw, fh};
}

int PercentSide(int side, int percent) {
  if (percent == 100) return side;
  const double scaled = double(percent) * side * 0.01 + 0.5;
  return scaled >= 1 && scaled < VirtualBuffer::MaxSide + 1 ? int(scaled) : 0;
}

std::unique_ptr<VirtualBuffer> testBuffer;

}  // namespace

VirtualBuffer::Storage VirtualBuffer::Allocate(int w, int h, const QString& name, bool cleared) {
  if (!SizeAllowed(w, h, name)) return {};
  const std::size_t count = std::size_t(w) * std::size_t(h);
  auto* pixels = cleared ? new (std::nothrow) std::uint32_t[count]() : new (std::nothrow) std::uint32_t[count];
  if (!pixels) {
    TMsgLog::Add(QStringLiteral("VirtualBuffer - out of memory for %1 x %2 %3").arg(w).arg(h).arg(name));
    return {};
  }
  return {w, h, pixels, count * 4, true};
}

VirtualBuffer::Storage VirtualBuffer::Over(int w, int h, void* memory, std::size_t bytes,
                                           const QString& name) {
  if (!SizeAllowed(w, h, name)) return {};
  const std::size_t needed = RasterBufferMemorySize(w, h);
  if (bytes == 0) bytes = needed;
  if (bytes < needed) {
    TMsgLog::Add(QStringLiteral("VirtualBuffer - memory too small for %1").arg(name));
    return {};
  }
  return {w, h, static_cast<std::uint32_t*>(memory), bytes, false};
}

VirtualBuffer::VirtualBuffer(const Storage& storage, const QString& bufferName)
    : width(storage.width),
      height(storage.height),
      handle(storage.pixels ? RasterLibrary::AddSlot({storage.pixels, storage.width, storage.height}) : 0),
      stride(storage.width * 4),
      memory(storage.pixels),
      name(bufferName),
      memoryBytes(storage.bytes),
      ownsMemory(storage.owned) {
  CountBirth();
}

VirtualBuffer::VirtualBuffer(int w, int h, const QString& bufferName, void* callerMemory,
                             std::size_t callerBytes)
    : VirtualBuffer(callerMemory ? Over(w, h, callerMemory, callerBytes, bufferName)
                                 : Allocate(w, h, bufferName),
                    bufferName) {}

VirtualBuffer::VirtualBuffer(int w, int h, const QString& bufferName, Uncleared)
    : VirtualBuffer(Allocate(w, h, bufferName, false), bufferName) {}

VirtualBuffer::VirtualBuffer(int resourceId, const QString& bufferName, const QString& type)
    : VirtualBuffer(LoadResource(resourceId, type, bufferName), bufferName) {}

VirtualBuffer::VirtualBuffer(const QImage& bitmap, const QString& bufferName)
    : VirtualBuffer(Allocate(bitmap.width(), bitmap.height(), bufferName), bufferName) {
  if (IsEmpty()) return;
  const QImage rgb = bitmap.convertToFormat(QImage::Format_RGB32);
  for (int row = 0; row < height; ++row)
    StorePictureRow(reinterpret_cast<const std::uint32_t*>(rgb.constScanLine(row)), Row(row), width);
}

VirtualBuffer::VirtualBuffer(const VirtualBuffer& source, int w, int h, bool keepAspect,
                             Filter filter)
    : VirtualBuffer(Allocate(FittedSize(source, w, h, keepAspect).width(),
                             FittedSize(source, w, h, keepAspect).height(), source.name),
                    source.name) {
  PixelScaler::Resample(source.Image(), Image(), filter == Filter::Smooth);
}

VirtualBuffer::VirtualBuffer(const VirtualBuffer& source, int percent, Filter filter)
    : VirtualBuffer(Allocate(PercentSide(source.width, percent), PercentSide(source.height, percent),
                             source.name),
                    source.name) {
  if (IsEmpty() || source.IsEmpty()) return;
  if (width == source.width && height == source.height)
    std::memcpy(memory, source.memory, RasterBufferMemorySize(width, height));
  else
    PixelScaler::Resample(source.Image(), Image(), filter == Filter::Smooth);
}

VirtualBuffer::~VirtualBuffer() {
  if (handle) RasterLibrary::RemoveSlot(handle);
  if (ownsMemory) delete[] memory;
  --liveCount;
}

bool VirtualBuffer::Open() const { return RasterLibrary::Activate(handle); }

void VirtualBuffer::LogOutside(int px, int py) const {
  if (loggedOutside) return;
  loggedOutside = true;
  TMsgLog::Add(QStringLiteral("VirtualBuffer::PtToI - (%1, %2) outside %3 (%4 x %5)")
                   .arg(px).arg(py).arg(name).arg(width).arg(height));
}

int VirtualBuffer::PtToI_1(QPoint point) const { return PtToI_2(point.x(), point.y()); }

int VirtualBuffer::PtToI_2(int px, int py) const {
  if (!Image().Contains(px, py)) {
    LogOutside(px, py);
    return 0;
  }
  return (height - 1 - py) * (stride / 4) + px;
}

void VirtualBuffer::DrawBuffer(int px, int py, const VirtualBuffer& source, bool transparent) {
  RasterLibrary::CopyBlock(source.Image(), 0, 0, source.width, source.height, Image(), px, py,
                           transparent);
}

std::unique_ptr<VirtualBuffer> VirtualBuffer::SubImage(int left, int top, int right,
                                                       int bottom) const {
  const int l = std::max(left, 0), t = std::max(top, 0);
  const int r = std::min(right, width - 1), b = std::min(bottom, height - 1);
  const bool inside = l <= r && t <= b;
  auto part = std::make_unique<VirtualBuffer>(inside ? r - l + 1 : 0, inside ? b - t + 1 : 0, name);
  if (inside) {
    RasterLibrary::CopyBlock(Image(), l, t, part->width, part->height, part->Image(), 0, 0, false);
    part->x = l;
    part->y = t;
  }
  return part;
}

void VirtualBuffer::StretchFrom(const VirtualBuffer& source) {
  PixelScaler::Resample(source.Image(), Image(), false);
}

void VirtualBuffer::MagnifyFrom(const VirtualBuffer& source, int sx, int sy) {
  PixelScaler::Magnify(source.Image(), sx, sy, Image());
}

void VirtualBuffer::TileFrom(const VirtualBuffer& source) {
  if (source.IsEmpty()) return;
  for (int ty = 0; ty < height; ty += source.height)
    for (int tx = 0; tx < width; tx += source.width) DrawBuffer(tx, ty, source, false);
}

void VirtualBuffer::MakeTestCopy() const {
  testBuffer = std::make_unique<VirtualBuffer>(*this, 100);
}

const VirtualBuffer* VirtualBuffer::TestBuffer() { return testBuffer.get(); }

int VirtualBuffer::LiveCount() { return liveCount.load(); }

int VirtualBuffer::HighCount() { return highCount.load(); }
