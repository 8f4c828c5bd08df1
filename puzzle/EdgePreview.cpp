#include "EdgePreview.h"

#include "ChipEdge.h"
#include "EdgeTemplates.h"
#include "PixelCanvas.h"
#include "imaging/FloodFill.h"

#include <QGuiApplication>
#include <QPalette>

#include <algorithm>

namespace {

constexpr QRgb Key = 0xFFFF0000;

QRgb PieceColour() {
  const QColor face = QGuiApplication::palette().color(QPalette::Button);
  return qRgb(std::max(face.red() - 64, 0), std::max(face.green() - 64, 0),
              std::max(face.blue() - 64, 0));
}

QRgb Shifted(QRgb colour, int amount) {
  auto channel = [amount](int value) { return std::clamp(value + amount, 0, 255); };
  return qRgb(channel(qRed(colour)), channel(qGreen(colour)), channel(qBlue(colour)));
}

// Walks one diagonal down and to the right: light on the edges the walk enters the piece
// by, shadow on the edges it leaves by.
void ShadeDiagonal(QImage& image, int x, int y, QRgb piece) {
  enum class Last { Nothing, Key, Piece } last = Last::Nothing;
  int lightLeft = 0;
  static constexpr int Light[] = {25, 15, 5};
  for (int step = 0; x + step < image.width() && y + step < image.height(); ++step) {
    auto* pixel = reinterpret_cast<QRgb*>(image.scanLine(y + step)) + x + step;
    if (*pixel == Key) {
      for (int back = 1; last == Last::Piece && back <= 3 && back <= step; ++back) {
        auto* before = reinterpret_cast<QRgb*>(image.scanLine(y + step - back)) + x + step - back;
        if (*before == piece) *before = Shifted(piece, -Light[back - 1]);
      }
      last = Last::Key;
      lightLeft = 0;
    } else if (*pixel == piece) {
      if (last == Last::Key) lightLeft = 3;
      if (lightLeft > 0) *pixel = Shifted(piece, Light[3 - lightLeft--]);
      last = Last::Piece;
    }
  }
}

}  // namespace

QImage DrawEdgePreview(int pieceSize) {
  const int s = std::max(pieceSize, 1);
  QImage image(2 * s, 2 * s, QImage::Format_RGB32);
  image.fill(Key);
  const QRgb piece = PieceColour();

  const EdgeTemplates templates(s);
  ChipEdge e = templates.Shape(0);
  ChipEdge e90 = e;
  e90.Rotate(90);
  e90.Mirror(true, false);
  ChipEdge e180 = e;
  e180.Rotate(180);
  ChipEdge e270 = e90;
  e270.Rotate(180);

  auto* top = reinterpret_cast<std::uint32_t*>(image.bits());
  PixelCanvas canvas(top, image.bytesPerLine() / 4, image.width(), image.height());
  canvas.SetPenColor(piece);
  const float scale = 10000.0f / float(s);
  QPoint at(s / 2, s / 2);
  for (const ChipEdge* edge : {&e, &e90, &e180, &e270}) at = edge->Draw(canvas, scale, at);

  // The fill counts rows from the bottom; the picture's rows run from the top.
  const RasterImage raster{top, image.width(), image.height()};
  FloodFill::Run(raster, s / 2 + 2, image.height() - 1 - (s / 2 + 2), piece);

  for (int x = image.width() - 1; x >= 0; --x) ShadeDiagonal(image, x, 0, piece);
  for (int y = 1; y < image.height(); ++y) ShadeDiagonal(image, 0, y, piece);
  return image;
}
