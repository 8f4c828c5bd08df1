// VirtualBuffer's pixel effects and drawing: darkening, shading maps, fills, marker lines,
// pictures and labels.

#include "VirtualBuffer.h"

#include "FloodFill.h"
#include "Yelk/SystemUtils.h"
#include "Yelk/TMsgLog.h"

#include <QImage>
#include <QPainter>
#include <algorithm>

namespace {

std::uint32_t Clamp8(int channel) { return static_cast<std::uint32_t>(std::clamp(channel, 0, 255)); }

// Adds delta to each channel of a pixel, keeping its top byte.
std::uint32_t AddToChannels(std::uint32_t pixel, int delta) {
  const int r = int((pixel >> 16) & 0xFF) + delta;
  const int g = int((pixel >> 8) & 0xFF) + delta;
  const int b = int(pixel & 0xFF) + delta;
  return (pixel & 0xFF000000u) | (Clamp8(r) << 16) | (Clamp8(g) << 8) | Clamp8(b);
}

void FillRow(std::uint32_t* row, int count, std::uint32_t value) { std::fill(row, row + count, value); }

void FillColumn(const RasterImage& image, int column, std::uint32_t value) {
  if (column < 0 || column >= image.width) return;
  for (int row = 0; row < image.height; ++row) image.Row(row)[column] = value;
}

void FillLine(const RasterImage& image, int row, std::uint32_t value) {
  if (row >= 0 && row < image.height) FillRow(image.Row(row), image.width, value);
}

}  // namespace

void VirtualBuffer::Darken(int amount) {
  for (int row = 0; row < height; ++row) {
    std::uint32_t* pixels = Row(row);
    for (int col = 0; col < width; ++col) pixels[col] = AddToChannels(pixels[col], -amount);
  }
}

void VirtualBuffer::MakeShadeMap(int divisor, int darkness) {
  if (divisor < 1) {
    TMsgLog::Add(QStringLiteral("VirtualBuffer::MakeShadeMap - divisor %1 taken as 1 for %2").arg(divisor).arg(name));
    divisor = 1;
  }
  const std::size_t count = std::size_t(width) * std::size_t(height);
  for (std::size_t i = 0; i < count; ++i) {
    const int blue = int(memory[i] & 0xFF);
    int shade = blue / divisor;
    if (blue == 1 || blue == 15) shade = 0;
    if (blue == 2) shade = -darkness;
    memory[i] = static_cast<std::uint32_t>(shade);
  }
}

void VirtualBuffer::ApplyShadeMap(int px, int py, const VirtualBuffer& map) {
  // The part of the map that lies over this buffer.
  const int left = std::max(0, -px), top = std::max(0, -py);
  const int right = int(std::min<std::int64_t>(map.width, std::int64_t(width) - px));
  const int bottom = int(std::min<std::int64_t>(map.height, std::int64_t(height) - py));
  for (int my = top; my < bottom; ++my) {
    const std::uint32_t* shades = map.Row(my);
    std::uint32_t* pixels = Row(py + my);
    for (int mx = left; mx < right; ++mx) {
      const int shade = static_cast<std::int32_t>(shades[mx]);
      if (shade) pixels[px + mx] = AddToChannels(pixels[px + mx], shade);
    }
  }
}

void VirtualBuffer::Fill(int px, int py, int colour) {
  // A class-library colour is 0x00BBGGRR; the buffer holds 0x00RRGGBB.
  FloodFill::Run(Image(), px, py, ReverseRGB(static_cast<std::uint32_t>(colour)) & 0xFFFFFF);
}

void VirtualBuffer::DrawCrossLines(QPoint point, int colour, int shadow) {
  if (shadow != -1) {
    FillLine(Image(), point.y() + 1, std::uint32_t(shadow) & 0xFFFFFF);
    FillColumn(Image(), point.x() + 1, std::uint32_t(shadow) & 0xFFFFFF);
  }
  FillLine(Image(), point.y(), std::uint32_t(colour) & 0xFFFFFF);
  FillColumn(Image(), point.x(), std::uint32_t(colour) & 0xFFFFFF);
}

void VirtualBuffer::DrawVerticalLine(int px, int colour, int shadow) {
  if (shadow != -1) FillColumn(Image(), px + 1, std::uint32_t(shadow) & 0xFFFFFF);
  FillColumn(Image(), px, std::uint32_t(colour) & 0xFFFFFF);
}

void VirtualBuffer::DrawGraphic(const QImage& graphic, int px, int py) {
  if (IsEmpty() || graphic.isNull()) return;
  const QImage rgb = graphic.convertToFormat(QImage::Format_RGB32);
  const int left = std::max(0, -px), top = std::max(0, -py);
  const int right = int(std::min<std::int64_t>(rgb.width(), std::int64_t(width) - px));
  const int bottom = int(std::min<std::int64_t>(rgb.height(), std::int64_t(height) - py));
  for (int gy = top; gy < bottom; ++gy) {
    const auto* from = reinterpret_cast<const std::uint32_t*>(rgb.constScanLine(gy));
    std::uint32_t* to = Row(py + gy);
    for (int gx = left; gx < right; ++gx) to[px + gx] = from[gx] & 0xFFFFFF;
  }
}

void VirtualBuffer::DrawLabel(const QString& text, int length) {
  if (IsEmpty()) return;
  // Painted on an upright copy; only the pixels the text changed are written back.
  QImage canvas(width, height, QImage::Format_RGB32);
  for (int row = 0; row < height; ++row)
    std::copy_n(Row(row), width, reinterpret_cast<std::uint32_t*>(canvas.scanLine(row)));
  {
    QPainter painter(&canvas);
    painter.setPen(Qt::white);
    painter.drawText(QRect(4, 0, std::max(0, width - 8), height), Qt::AlignLeft | Qt::AlignVCenter,
                     text.left(std::max(0, length)));
  }
  for (int row = 0; row < height; ++row) {
    const auto* from = reinterpret_cast<const std::uint32_t*>(canvas.constScanLine(row));
    std::uint32_t* to = Row(row);
    for (int col = 0; col < width; ++col)
      if ((from[col] ^ to[col]) & 0xFFFFFF) to[col] = from[col] & 0xFFFFFF;
  }
}
