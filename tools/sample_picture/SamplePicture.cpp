// Paints the sample picture that ./play opens: a lake in the hills at sunset, with enough
// detail and colour everywhere that every piece of the puzzle can be told apart.

#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <cmath>
#include <vector>

namespace {

// A ridge line by midpoint displacement: heights for x = 0 .. width.
std::vector<double> Ridge(int width, double base, double roughness, QRandomGenerator& rng) {
  int size = 1;
  while (size < width) size *= 2;
  std::vector<double> h(size + 1, base);
  double spread = roughness;
  for (int step = size; step > 1; step /= 2, spread *= 0.55) {
    for (int i = step / 2; i < size; i += step)
      h[i] = (h[i - step / 2] + h[i + step / 2]) / 2 + (rng.generateDouble() - 0.5) * spread;
  }
  h.resize(width + 1);
  return h;
}

QPainterPath RidgePath(const std::vector<double>& h, int bottom) {
  QPainterPath path;
  path.moveTo(0, bottom);
  for (std::size_t x = 0; x < h.size(); ++x) path.lineTo(double(x), h[x]);
  path.lineTo(double(h.size() - 1), bottom);
  path.closeSubpath();
  return path;
}

void PaintSky(QPainter& p, int w, int horizon) {
  QLinearGradient sky(0, 0, 0, horizon);
  sky.setColorAt(0.0, QColor(38, 52, 112));
  sky.setColorAt(0.45, QColor(150, 92, 150));
  sky.setColorAt(0.8, QColor(246, 150, 90));
  sky.setColorAt(1.0, QColor(255, 208, 120));
  p.fillRect(0, 0, w, horizon, sky);
}

void PaintSun(QPainter& p, QPointF at, double radius) {
  QRadialGradient glow(at, radius * 5);
  glow.setColorAt(0.0, QColor(255, 240, 190, 220));
  glow.setColorAt(0.25, QColor(255, 190, 110, 90));
  glow.setColorAt(1.0, QColor(255, 160, 90, 0));
  p.setBrush(glow);
  p.setPen(Qt::NoPen);
  p.drawEllipse(at, radius * 5, radius * 5);
  p.setBrush(QColor(255, 246, 214));
  p.drawEllipse(at, radius, radius);
}

void PaintClouds(QPainter& p, int w, int horizon, QRandomGenerator& rng) {
  p.setPen(Qt::NoPen);
  for (int c = 0; c < 9; ++c) {
    const double cx = rng.bounded(w), cy = horizon * (0.1 + 0.5 * rng.generateDouble());
    const double span = w * (0.08 + 0.1 * rng.generateDouble());
    for (int puff = 0; puff < 14; ++puff) {
      const double px = cx + (rng.generateDouble() - 0.5) * span;
      const double py = cy + (rng.generateDouble() - 0.5) * span * 0.18;
      const double r = span * (0.08 + 0.1 * rng.generateDouble());
      const int shade = 200 + rng.bounded(50);
      p.setBrush(QColor(shade, 160 + rng.bounded(60), 170 + rng.bounded(50), 70));
      p.drawEllipse(QPointF(px, py), r * 1.6, r * 0.7);
    }
  }
}

void PaintHills(QPainter& p, int w, int horizon, QRandomGenerator& rng) {
  const QColor layers[] = {QColor(112, 88, 140), QColor(84, 70, 118), QColor(58, 66, 96),
                           QColor(40, 58, 62)};
  for (int i = 0; i < 4; ++i) {
    const double base = horizon - (4 - i) * horizon * 0.07;
    const auto h = Ridge(w, base, horizon * (0.45 - i * 0.06), rng);
    p.setBrush(layers[i]);
    p.setPen(Qt::NoPen);
    p.drawPath(RidgePath(h, horizon));
  }
}

void PaintLake(QPainter& p, const QImage& sky, int w, int h, int horizon, QRandomGenerator& rng) {
  // The lake mirrors the sky and hills, darkened and broken by ripples.
  for (int y = horizon; y < h; ++y) {
    const int mirrorY = std::max(0, 2 * horizon - y);
    const double depth = double(y - horizon) / (h - horizon);
    const int shift = int(std::sin(y * 0.9) * 3 * (0.3 + depth) + rng.bounded(3) - 1);
    QImage row = sky.copy(0, mirrorY, w, 1);
    p.drawImage(QPoint(shift, y), row);
    p.fillRect(0, y, w, 1, QColor(10, 30, 60, int(60 + 120 * depth)));
  }
  p.setPen(QPen(QColor(255, 230, 180, 120), 1.5));
  for (int i = 0; i < 160; ++i) {
    const double y = horizon + std::pow(rng.generateDouble(), 2.0) * (h - horizon) * 0.6;
    const double x = w * 0.62 + (rng.generateDouble() - 0.5) * w * 0.25 * (1 + (y - horizon) / h);
    const double len = 6 + rng.bounded(30);
    p.drawLine(QPointF(x, y), QPointF(x + len, y));
  }
}

void PaintTree(QPainter& p, double x, double ground, double height, QRandomGenerator& rng) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(24, 30, 26));
  p.drawRect(QRectF(x - height * 0.02, ground - height * 0.25, height * 0.04, height * 0.25));
  for (int tier = 0; tier < 7; ++tier) {
    const double top = ground - height + tier * height * 0.11;
    const double half = height * (0.08 + tier * 0.035) * (0.9 + 0.2 * rng.generateDouble());
    QPainterPath tri;
    tri.moveTo(x, top);
    tri.lineTo(x - half, top + height * 0.22);
    tri.lineTo(x + half, top + height * 0.22);
    tri.closeSubpath();
    p.setBrush(QColor(20 + tier * 3, 40 + tier * 4, 34 + tier * 2));
    p.drawPath(tri);
  }
}

void PaintShore(QPainter& p, int w, int h, QRandomGenerator& rng) {
  const int top = int(h * 0.86);
  const auto shore = Ridge(w, top, h * 0.1, rng);
  p.setPen(Qt::NoPen);
  QLinearGradient grass(0, top - h * 0.05, 0, h);
  grass.setColorAt(0.0, QColor(54, 84, 40));
  grass.setColorAt(1.0, QColor(22, 40, 20));
  p.setBrush(grass);
  p.drawPath(RidgePath(shore, h));
  for (double x = w * 0.04; x < w * 0.3; x += w * (0.03 + 0.04 * rng.generateDouble()))
    PaintTree(p, x, shore[int(x)] + 4, h * (0.22 + 0.12 * rng.generateDouble()), rng);
  for (double x = w * 0.85; x < w; x += w * (0.03 + 0.03 * rng.generateDouble()))
    PaintTree(p, x, shore[int(x)] + 4, h * (0.18 + 0.1 * rng.generateDouble()), rng);
  // Flowers and grass blades in the foreground.
  const QColor flowers[] = {QColor(250, 210, 70), QColor(235, 90, 110), QColor(250, 250, 240),
                            QColor(170, 120, 230)};
  for (int i = 0; i < 700; ++i) {
    const double x = rng.bounded(w);
    const double y = shore[int(x)] + 6 + rng.generateDouble() * (h - shore[int(x)]);
    p.setPen(QPen(QColor(60 + rng.bounded(40), 110 + rng.bounded(60), 40), 1.2));
    p.drawLine(QPointF(x, y), QPointF(x + rng.bounded(7) - 3, y - 6 - rng.bounded(14)));
    if (rng.bounded(3) == 0) {
      p.setPen(Qt::NoPen);
      p.setBrush(flowers[rng.bounded(4)]);
      const double r = 1.5 + rng.generateDouble() * 2.5 * (y / h);
      p.drawEllipse(QPointF(x, y - 8), r, r);
    }
  }
}

void PaintBalloon(QPainter& p, QPointF at, double r) {
  // Envelope: a round top narrowing to the mouth, in vertical stripes.
  QPainterPath envelope;
  envelope.moveTo(at.x() - r * 0.3, at.y() + r * 1.05);
  envelope.cubicTo(at.x() - r * 1.4, at.y() + r * 0.2, at.x() - r * 1.1, at.y() - r * 1.1,
                   at.x(), at.y() - r * 1.1);
  envelope.cubicTo(at.x() + r * 1.1, at.y() - r * 1.1, at.x() + r * 1.4, at.y() + r * 0.2,
                   at.x() + r * 0.3, at.y() + r * 1.05);
  envelope.closeSubpath();
  const QColor stripes[] = {QColor(220, 60, 60), QColor(250, 200, 60), QColor(60, 140, 220)};
  p.save();
  p.setClipPath(envelope);
  p.setPen(Qt::NoPen);
  const double band = r * 2.4 / 7;
  for (int i = 0; i < 7; ++i) {
    p.setBrush(stripes[i % 3]);
    p.drawRect(QRectF(at.x() - r * 1.2 + i * band, at.y() - r * 1.2, band + 1, r * 2.4));
  }
  QRadialGradient shade(at + QPointF(-r * 0.4, -r * 0.5), r * 1.6);
  shade.setColorAt(0.0, QColor(255, 255, 255, 70));
  shade.setColorAt(0.6, QColor(0, 0, 0, 0));
  shade.setColorAt(1.0, QColor(40, 0, 60, 110));
  p.setBrush(shade);
  p.drawRect(QRectF(at.x() - r * 1.3, at.y() - r * 1.3, r * 2.6, r * 2.6));
  p.restore();
  p.setPen(QPen(QColor(60, 40, 30), std::max(1.0, r * 0.04)));
  p.drawLine(at + QPointF(-r * 0.3, r * 1.05), at + QPointF(-r * 0.15, r * 1.45));
  p.drawLine(at + QPointF(r * 0.3, r * 1.05), at + QPointF(r * 0.15, r * 1.45));
  p.setBrush(QColor(120, 80, 50));
  p.drawRect(QRectF(at.x() - r * 0.17, at.y() + r * 1.45, r * 0.34, r * 0.28));
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("sample.jpg");
  const int w = argc > 3 ? std::atoi(argv[2]) : 1400;
  const int h = argc > 3 ? std::atoi(argv[3]) : 1000;
  QRandomGenerator rng(2004);
  const int horizon = int(h * 0.55);

  QImage image(w, h, QImage::Format_RGB32);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  PaintSky(p, w, horizon);
  PaintSun(p, QPointF(w * 0.62, horizon * 0.78), h * 0.045);
  PaintClouds(p, w, horizon, rng);
  PaintBalloon(p, QPointF(w * 0.24, horizon * 0.3), h * 0.05);
  PaintBalloon(p, QPointF(w * 0.8, horizon * 0.42), h * 0.025);
  PaintHills(p, w, horizon, rng);
  const QImage upper = image.copy(0, 0, w, horizon + 1);
  PaintLake(p, upper, w, h, horizon, rng);
  PaintShore(p, w, h, rng);
  p.end();
  return image.save(out, nullptr, 90) ? 0 : 1;
}
