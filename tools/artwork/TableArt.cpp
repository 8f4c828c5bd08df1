// The table's felt (resource 8103), the signature watermark (8100), the magnifier's
// cross-hair (8102), the toolbar wallpaper and the LEDs.
//
// The felt uses only the sixteen shades of the table's tint list, so that any colour the
// player picks can be laid over it; the watermark and the cross-hair are shading maps:
// 1 leaves the table unchanged, 2 darkens it, any other grey v lightens it by a share of v.

#include "ArtKit.h"
#include "Drawings.h"

#include <QFont>
#include <QPainterPathStroker>
#include <QRadialGradient>
#include <array>
#include <cmath>
#include <random>
#include <vector>

using namespace ArtKit;

namespace {

// A periodic grid of floats, so that whatever is drawn into it tiles without a seam.
class Field {
public:
  Field(int w, int h) : w(w), h(h), v(size_t(w) * h, 0.0) {}
  double& At(int x, int y) { return v[size_t(((y % h) + h) % h) * w + ((x % w) + w) % w]; }
  double Get(int x, int y) const { return v[size_t(((y % h) + h) % h) * w + ((x % w) + w) % w]; }
  const int w, h;

private:
  std::vector<double> v;
};

// Smooth value noise with a period of 'cells' lattice cells across the field.
void AddNoise(Field& f, int cells, double amplitude, std::mt19937& rng) {
  std::uniform_real_distribution<double> uni(-1.0, 1.0);
  std::vector<double> lattice(size_t(cells) * cells);
  for (double& x : lattice) x = uni(rng);
  auto lat = [&](int i, int j) { return lattice[size_t((j % cells) * cells + (i % cells))]; };
  auto fade = [](double t) { return t * t * (3 - 2 * t); };
  for (int y = 0; y < f.h; ++y)
    for (int x = 0; x < f.w; ++x) {
      const double gx = double(x) * cells / f.w, gy = double(y) * cells / f.h;
      const int i = int(gx), j = int(gy);
      const double tx = fade(gx - i), ty = fade(gy - j);
      const double top = lat(i, j) + (lat(i + 1, j) - lat(i, j)) * tx;
      const double bottom = lat(i, j + 1) + (lat(i + 1, j + 1) - lat(i, j + 1)) * tx;
      f.At(x, y) += amplitude * (top + (bottom - top) * ty);
    }
}

// Short, slightly bent fibres laid in every direction: the look of felt.
void AddFibres(Field& f, int count, std::mt19937& rng) {
  std::uniform_real_distribution<double> uni(0.0, 1.0);
  for (int n = 0; n < count; ++n) {
    double x = uni(rng) * f.w, y = uni(rng) * f.h;
    double angle = uni(rng) * 2 * M_PI;
    const double bend = (uni(rng) - 0.5) * 0.25;
    const int length = 6 + int(uni(rng) * 14);
    const double strength = (uni(rng) < 0.55 ? 1.0 : -1.0) * (3.0 + uni(rng) * 6.0);
    for (int s = 0; s < length; ++s) {
      f.At(int(std::floor(x)), int(std::floor(y))) += strength;
      x += std::cos(angle);
      y += std::sin(angle);
      angle += bend;
    }
  }
}

void Felt() {
  constexpr int size = 256;
  // The tint list's offsets from the default table colour 0x7599B9.
  const std::array<int, 16> offsets{-27, -24, -20, -16, -12, -8, -4, 0, 5, 7, 12, 16, 20, 24, 29, 39};
  std::mt19937 rng(8103);
  Field f(size, size);
  AddNoise(f, 4, 3.0, rng);
  AddNoise(f, 16, 3.5, rng);
  AddNoise(f, 64, 3.0, rng);
  AddFibres(f, 5200, rng);
  std::normal_distribution<double> grain(0.0, 2.2);
  QImage image(size, size, QImage::Format_RGB32);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const double value = f.Get(x, y) + grain(rng);
      int best = offsets[0];
      for (int d : offsets)
        if (std::abs(d - value) < std::abs(best - value)) best = d;
      image.setPixel(x, y, qRgb(0x75 + best, 0x99 + best, 0xB9 + best));
    }
  Save(image, "bitmaps/8103.png");
}

// Turns a white-on-black coverage picture into a shading map: 1 where nothing is drawn,
// a grey that lightens the table by up to 'peak' / divisor where it is.
QImage ShadeMap(const QImage& coverage, int peak) {
  QImage map(coverage.size(), QImage::Format_RGB32);
  for (int y = 0; y < coverage.height(); ++y)
    for (int x = 0; x < coverage.width(); ++x) {
      const int a = qAlpha(coverage.pixel(x, y));
      int v = a * peak / 255;
      if (v < 3) v = 1;
      if (v == 15) v = 16;  // 15 means "unchanged" to the shading map
      map.setPixel(x, y, qRgb(v, v, v));
    }
  return map;
}

void Signature() {
  QFont f("DejaVu Serif");
  f.setPixelSize(34);
  f.setBold(true);
  f.setItalic(true);
  f.setLetterSpacing(QFont::AbsoluteSpacing, -0.5);
  QPainterPath text;
  text.addText(10, 38, f, "Tessavinelume");
  const int width = int(text.boundingRect().right()) + 14;
  QPainterPath flourish(QPointF(14, 50));
  flourish.cubicTo(QPointF(width * 0.3, 40), QPointF(width * 0.62, 62), QPointF(width - 10, 44));
  QPainterPathStroker stroker;
  stroker.setWidth(2.4);
  stroker.setCapStyle(Qt::RoundCap);
  QImage coverage = Canvas(width, 64);
  QPainter p(&coverage);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawPath(text);
  p.drawPath(stroker.createStroke(flourish));
  p.end();
  Save(ShadeMap(coverage, 170), "bitmaps/8100.png");
}

// A four-armed cross-hair with a gap in the middle: a bright one-pixel core that lightens
// the picture, ringed by pixels of value 2 that darken it, so it shows on any picture.
void CrossHair() {
  constexpr int size = 31, mid = size / 2, gap = 3, reach = 13;
  QImage map(size, size, QImage::Format_RGB32);
  map.fill(qRgb(1, 1, 1));
  auto core = [&](int x, int y) { return (y == mid || x == mid) && std::abs(x - mid) + std::abs(y - mid) > gap &&
                                         std::abs(x - mid) <= reach && std::abs(y - mid) <= reach; };
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      if (core(x, y)) {
        map.setPixel(x, y, qRgb(255, 255, 255));
        continue;
      }
      bool edge = false;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) edge = edge || core(x + dx, y + dy);
      if (edge) map.setPixel(x, y, qRgb(2, 2, 2));
    }
  Save(map, "bitmaps/8102.png");
}

// Light brushed steel behind toolbars; periodic both ways.
void Wallpaper() {
  constexpr int w = 128, h = 64;
  std::mt19937 rng(57);
  Field f(w, h);
  std::uniform_real_distribution<double> uni(0.0, 1.0);
  for (int n = 0; n < 900; ++n) {  // long horizontal brush strokes
    const int y = int(uni(rng) * h), x0 = int(uni(rng) * w), len = 20 + int(uni(rng) * 90);
    const double s = (uni(rng) - 0.5) * 5.0;
    for (int x = 0; x < len; ++x) f.At(x0 + x, y) += s;
  }
  AddNoise(f, 4, 2.0, rng);
  QImage image(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int d = int(std::lround(f.Get(x, y)));
      image.setPixel(x, y, qRgb(std::clamp(0xe4 + d, 0, 255), std::clamp(0xea + d, 0, 255),
                                std::clamp(0xf2 + d, 0, 255)));
    }
  Save(image, "images/wallpaper.png");
}

struct LedColours {
  QColor core, body, rim, dim, dimRim;
};

void Led(const QString& name, const LedColours& c) {
  for (bool lit : {true, false}) {
    Save(Icon(28, 28, [&](QPainter& p) {
           QPainterPath bezel;
           bezel.addEllipse(QPointF(14, 14), 13, 13);
           Shape(p, bezel, Palette::Metal, 1.4);
           QRadialGradient lamp(QPointF(11.5, 11), 12);
           lamp.setColorAt(0.0, lit ? c.core : c.dim.lighter(135));
           lamp.setColorAt(0.5, lit ? c.body : c.dim);
           lamp.setColorAt(1.0, lit ? c.rim : c.dimRim);
           p.setBrush(lamp);
           p.setPen(QPen(QColor(0, 0, 0, 130), 1.0));
           p.drawEllipse(QPointF(14, 14), 10, 10);
           QRadialGradient shine(QPointF(10.5, 9.5), 5);
           shine.setColorAt(0.0, QColor(255, 255, 255, lit ? 235 : 120));
           shine.setColorAt(1.0, QColor(255, 255, 255, 0));
           p.setPen(Qt::NoPen);
           p.setBrush(shine);
           p.drawEllipse(QPointF(10.5, 9.5), 5, 4.2);
         }),
         QString("leds/%1-%2.png").arg(name, lit ? "lit" : "unlit"));
  }
}

}  // namespace

void DrawTableArt() {
  Felt();
  Signature();
  CrossHair();
  Wallpaper();
  Led("green", {QColor(0xe8, 0xff, 0xd8), QColor(0x3c, 0xe0, 0x2c), QColor(0x16, 0x7a, 0x10),
                QColor(0x2c, 0x55, 0x28), QColor(0x14, 0x2e, 0x12)});
  Led("yellow", {QColor(0xff, 0xfb, 0xd8), QColor(0xff, 0xd2, 0x1e), QColor(0xb0, 0x7a, 0x00),
                 QColor(0x6a, 0x5a, 0x26), QColor(0x3a, 0x30, 0x10)});
}
