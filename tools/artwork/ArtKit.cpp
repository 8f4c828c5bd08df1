#include "ArtKit.h"

#include <QDir>
#include <QFileInfo>
#include <QLinearGradient>
#include <QRadialGradient>
#include <QtMath>
#include <cstdio>
#include <cstdlib>

namespace Palette {
const Ramp Blue{QColor(0x9c, 0xc8, 0xff), QColor(0x3f, 0x85, 0xdd), QColor(0x22, 0x5c, 0xb0),
                QColor(0x17, 0x3f, 0x7a)};
const Ramp Green{QColor(0xa8, 0xe6, 0x8f), QColor(0x4c, 0xb0, 0x43), QColor(0x2d, 0x84, 0x29),
                 QColor(0x1c, 0x58, 0x1b)};
const Ramp Red{QColor(0xff, 0x9a, 0x8a), QColor(0xe0, 0x4a, 0x3a), QColor(0xb0, 0x28, 0x20),
               QColor(0x74, 0x18, 0x14)};
const Ramp Amber{QColor(0xff, 0xe9, 0x9a), QColor(0xf4, 0xbd, 0x36), QColor(0xd2, 0x8c, 0x10),
                 QColor(0x8a, 0x5a, 0x08)};
const Ramp Paper{QColor(0xff, 0xff, 0xff), QColor(0xf4, 0xf6, 0xfa), QColor(0xdc, 0xe3, 0xec),
                 QColor(0x6e, 0x7b, 0x8c)};
const Ramp Metal{QColor(0xf2, 0xf4, 0xf7), QColor(0xc8, 0xcf, 0xd8), QColor(0x97, 0xa2, 0xb0),
                 QColor(0x4f, 0x5a, 0x68)};
const Ramp Wood{QColor(0xf0, 0xc8, 0x8c), QColor(0xc9, 0x92, 0x52), QColor(0x9a, 0x66, 0x2e),
                QColor(0x5e, 0x3c, 0x18)};
const Ramp Ink{QColor(0x8a, 0x96, 0xa8), QColor(0x4d, 0x58, 0x68), QColor(0x33, 0x3b, 0x47),
               QColor(0x1d, 0x22, 0x2a)};
const Ramp Violet{QColor(0xd6, 0xb8, 0xff), QColor(0x93, 0x62, 0xd9), QColor(0x6c, 0x3f, 0xb0),
                  QColor(0x43, 0x22, 0x75)};
const Ramp Teal{QColor(0x9c, 0xf0, 0xe4), QColor(0x2f, 0xb5, 0xa5), QColor(0x1b, 0x86, 0x7a),
                QColor(0x10, 0x55, 0x4d)};
// The game's own jigsaw-piece orange.
const Ramp Piece{QColor(0xff, 0xc9, 0x7a), QColor(0xf3, 0x8d, 0x2c), QColor(0xcc, 0x62, 0x12),
                 QColor(0x7c, 0x36, 0x06)};
const Ramp Pink{QColor(0xff, 0xd3, 0xda), QColor(0xf2, 0x8f, 0xa0), QColor(0xcc, 0x5e, 0x73),
                QColor(0x7a, 0x2a, 0x3a)};
}  // namespace Palette

namespace {
QString outputRoot = ".";
}

namespace ArtKit {

void SetOutputRoot(const QString& root) { outputRoot = root; }

void Save(const QImage& image, const QString& relativePath) {
  const QString path = outputRoot + "/" + relativePath;
  QDir().mkpath(QFileInfo(path).absolutePath());
  if (!image.save(path, "PNG", 0)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    std::exit(1);
  }
}

QImage Canvas(int width, int height) {
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

QImage Icon(int size, qreal units, const Drawing& draw) {
  QImage image = Canvas(size, size);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.scale(size / units, size / units);
  draw(p);
  p.end();
  return image.convertToFormat(QImage::Format_ARGB32);
}

void Shape(QPainter& p, const QPainterPath& path, const Ramp& ramp, qreal lineWidth) {
  const QRectF b = path.boundingRect();
  QLinearGradient g(b.topLeft(), b.bottomLeft());
  g.setColorAt(0.0, ramp.light);
  g.setColorAt(0.45, ramp.body);
  g.setColorAt(1.0, ramp.dark);
  p.save();
  p.setPen(lineWidth > 0 ? QPen(ramp.line, lineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)
                         : QPen(Qt::NoPen));
  p.setBrush(g);
  p.drawPath(path);
  p.restore();
}

void Gloss(QPainter& p, const QPainterPath& path, qreal strength) {
  const QRectF b = path.boundingRect();
  QLinearGradient g(b.topLeft(), QPointF(b.left(), b.top() + b.height() * 0.55));
  g.setColorAt(0.0, QColor(255, 255, 255, int(255 * strength)));
  g.setColorAt(1.0, QColor(255, 255, 255, 0));
  p.save();
  p.setClipPath(path);
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawRect(b.adjusted(0, 0, 0, -b.height() * 0.45));
  p.restore();
}

QPainterPath RoundRect(const QRectF& r, qreal radius) {
  QPainterPath path;
  path.addRoundedRect(r, radius, radius);
  return path;
}

namespace {
// One side of a piece from a to b, with a knob bulging to the left of the travel
// direction times 'sign' (+1 outwards for a clockwise outline).
void PieceSide(QPainterPath& path, QPointF a, QPointF b, int sign) {
  if (sign == 0) {
    path.lineTo(b);
    return;
  }
  const QPointF d = b - a;
  const qreal len = std::hypot(d.x(), d.y());
  const QPointF u = d / len;
  const QPointF n(u.y() * sign, -u.x() * sign);  // outward normal for a clockwise path
  auto at = [&](qreal along, qreal out) { return a + u * (len * along) + n * (len * out); };
  path.lineTo(at(0.36, 0.0));
  path.cubicTo(at(0.42, 0.0), at(0.44, 0.06), at(0.40, 0.12));
  path.cubicTo(at(0.33, 0.22), at(0.40, 0.32), at(0.50, 0.32));
  path.cubicTo(at(0.60, 0.32), at(0.67, 0.22), at(0.60, 0.12));
  path.cubicTo(at(0.56, 0.06), at(0.58, 0.0), at(0.64, 0.0));
  path.lineTo(b);
}
}  // namespace

QPainterPath Piece(const QRectF& r, int top, int right, int bottom, int left) {
  QPainterPath path(r.topLeft());
  PieceSide(path, r.topLeft(), r.topRight(), top);
  PieceSide(path, r.topRight(), r.bottomRight(), right);
  PieceSide(path, r.bottomRight(), r.bottomLeft(), bottom);
  PieceSide(path, r.bottomLeft(), r.topLeft(), left);
  path.closeSubpath();
  return path;
}

QPainterPath Arrow(QPointF tip, int dx, int dy, qreal length, qreal width) {
  const QPointF u(dx, dy);        // pointing direction
  const QPointF n(-dy, dx);       // across
  const qreal head = width * 0.55;
  const qreal shaft = width * 0.24;
  QPainterPath path(tip);
  path.lineTo(tip - u * head + n * (width / 2));
  path.lineTo(tip - u * head + n * shaft);
  path.lineTo(tip - u * length + n * shaft);
  path.lineTo(tip - u * length - n * shaft);
  path.lineTo(tip - u * head - n * shaft);
  path.lineTo(tip - u * head - n * (width / 2));
  path.closeSubpath();
  return path;
}

QPainterPath Sheet(const QRectF& r, qreal fold) {
  QPainterPath path(r.topLeft());
  path.lineTo(r.right() - fold, r.top());
  path.lineTo(r.right(), r.top() + fold);
  path.lineTo(r.bottomRight());
  path.lineTo(r.bottomLeft());
  path.closeSubpath();
  return path;
}

void DrawSheet(QPainter& p, const QRectF& r, bool lines, const QColor& lineColor) {
  const qreal fold = std::min(r.width(), r.height()) * 0.32;
  Shape(p, Sheet(r, fold), Palette::Paper);
  QPainterPath corner(QPointF(r.right() - fold, r.top()));
  corner.lineTo(r.right() - fold, r.top() + fold);
  corner.lineTo(r.right(), r.top() + fold);
  corner.closeSubpath();
  p.save();
  p.setPen(QPen(Palette::Paper.line, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Palette::Paper.dark);
  p.drawPath(corner);
  if (lines) {
    p.setPen(QPen(lineColor.isValid() ? lineColor : QColor(0x8d, 0x9b, 0xad), 1.0));
    const qreal x0 = r.left() + 2.0, x1 = r.right() - 2.0;
    for (qreal y = r.top() + fold + 1.5; y < r.bottom() - 1.0; y += 2.0)
      p.drawLine(QPointF(x0, y), QPointF(y == r.top() + fold + 1.5 ? x1 - 1.5 : x1, y));
  }
  p.restore();
}

void DrawRibbon(QPainter& p, const QRectF& r, const Ramp& ramp) {
  QPainterPath path(r.topLeft());
  path.lineTo(r.topRight());
  path.lineTo(r.bottomRight());
  path.lineTo(r.center().x(), r.bottom() - r.width() * 0.45);
  path.lineTo(r.bottomLeft());
  path.closeSubpath();
  Shape(p, path, ramp);
  Gloss(p, path, 0.35);
}

void DrawMagnifier(QPainter& p, QPointF c, qreal radius, qreal handle) {
  p.save();
  const QPointF dir(0.7071, 0.7071);
  const QPointF h0 = c + dir * (radius + 0.4), h1 = c + dir * (radius + handle);
  p.setPen(QPen(Palette::Wood.line, radius * 0.62, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(h0, h1);
  p.setPen(QPen(Palette::Wood.body, radius * 0.38, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(h0 + dir * 0.3, h1 - dir * 0.2);
  QRadialGradient glass(c - QPointF(radius, radius) * 0.35, radius * 1.4);
  glass.setColorAt(0.0, QColor(255, 255, 255, 235));
  glass.setColorAt(0.5, QColor(0xcf, 0xe6, 0xff, 210));
  glass.setColorAt(1.0, QColor(0x86, 0xb6, 0xe8, 220));
  p.setBrush(glass);
  p.setPen(QPen(Palette::Metal.line, radius * 0.28));
  p.drawEllipse(c, radius, radius);
  p.setPen(QPen(Palette::Metal.light, radius * 0.09));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(c.x() - radius * 0.62, c.y() - radius * 0.62, radius * 1.24, radius * 1.24),
            100 * 16, 70 * 16);
  p.restore();
}

void DrawPrinter(QPainter& p, const QRectF& r) {
  // Paper in, body, paper out with a line of print.
  const qreal w = r.width(), h = r.height();
  DrawSheet(p, QRectF(r.left() + w * 0.22, r.top(), w * 0.56, h * 0.45), false);
  QPainterPath body = RoundRect(QRectF(r.left(), r.top() + h * 0.32, w, h * 0.42), w * 0.08);
  Shape(p, body, Palette::Metal);
  Gloss(p, body);
  QPainterPath tray(QPointF(r.left() + w * 0.18, r.top() + h * 0.62));
  tray.lineTo(r.left() + w * 0.82, r.top() + h * 0.62);
  tray.lineTo(r.left() + w * 0.88, r.bottom());
  tray.lineTo(r.left() + w * 0.12, r.bottom());
  tray.closeSubpath();
  Shape(p, tray, Palette::Paper);
  p.save();
  p.setPen(QPen(Palette::Blue.body, std::max<qreal>(0.8, h * 0.06)));
  p.drawLine(QPointF(r.left() + w * 0.3, r.top() + h * 0.84),
             QPointF(r.left() + w * 0.7, r.top() + h * 0.84));
  p.setPen(Qt::NoPen);
  p.setBrush(Palette::Green.body);
  p.drawEllipse(QPointF(r.left() + w * 0.84, r.top() + h * 0.45), w * 0.05, w * 0.05);
  p.restore();
}

void DrawFolder(QPainter& p, const QRectF& r, bool open) {
  const qreal w = r.width(), h = r.height();
  QPainterPath back(QPointF(r.left(), r.top() + h * 0.12));
  back.lineTo(r.left() + w * 0.38, r.top() + h * 0.12);
  back.lineTo(r.left() + w * 0.46, r.top() + h * 0.26);
  const qreal backRight = open ? r.right() - w * 0.1 : r.right();
  back.lineTo(backRight, r.top() + h * 0.26);
  back.lineTo(backRight, r.bottom());
  back.lineTo(r.left(), r.bottom());
  back.closeSubpath();
  Shape(p, back, Palette::Amber);
  if (open) {
    DrawSheet(p, QRectF(r.left() + w * 0.16, r.top() + h * 0.18, w * 0.62, h * 0.5), false);
    QPainterPath front(QPointF(r.left() + w * 0.2, r.top() + h * 0.44));
    front.lineTo(r.right(), r.top() + h * 0.44);
    front.lineTo(r.right() - w * 0.12, r.bottom());
    front.lineTo(r.left(), r.bottom());
    front.closeSubpath();
    Shape(p, front, Palette::Amber);
    Gloss(p, front, 0.5);
  } else {
    QPainterPath front = RoundRect(QRectF(r.left(), r.top() + h * 0.36, w, h * 0.64), w * 0.04);
    Shape(p, front, Palette::Amber);
    Gloss(p, front, 0.5);
  }
}

void DrawClipboard(QPainter& p, const QRectF& r) {
  const qreal w = r.width(), h = r.height();
  QPainterPath board = RoundRect(QRectF(r.left(), r.top() + h * 0.08, w, h * 0.92), w * 0.12);
  Shape(p, board, Palette::Wood);
  QPainterPath clip = RoundRect(QRectF(r.left() + w * 0.3, r.top(), w * 0.4, h * 0.2), w * 0.06);
  Shape(p, clip, Palette::Metal);
}

void DrawBadge(QPainter& p, QPointF c, qreal radius, const Ramp& ramp) {
  QPainterPath circle;
  circle.addEllipse(c, radius, radius);
  Shape(p, circle, ramp);
  Gloss(p, circle, 0.55);
}

void DrawCross(QPainter& p, QPointF c, qreal half, const QColor& colour, qreal width) {
  p.save();
  p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(c + QPointF(-half, -half), c + QPointF(half, half));
  p.drawLine(c + QPointF(-half, half), c + QPointF(half, -half));
  p.restore();
}

void DrawGear(QPainter& p, QPointF c, qreal outer, qreal inner, int teeth, const Ramp& ramp) {
  QPainterPath gear;
  const int steps = teeth * 4;
  for (int i = 0; i <= steps; ++i) {
    const qreal a = 2 * M_PI * i / steps - M_PI / 2;
    const qreal rad = (i % 4 == 1 || i % 4 == 2) ? outer : inner;
    const QPointF pt = c + QPointF(std::cos(a), std::sin(a)) * rad;
    if (i == 0)
      gear.moveTo(pt);
    else
      gear.lineTo(pt);
  }
  gear.closeSubpath();
  QPainterPath hole;
  hole.addEllipse(c, inner * 0.42, inner * 0.42);
  Shape(p, gear.subtracted(hole), ramp);
}

void DrawScissors(QPainter& p, const QRectF& r) {
  const qreal w = r.width(), h = r.height();
  p.save();
  // Blades cross in the upper part, rings below.
  const QPointF pivot(r.left() + w * 0.5, r.top() + h * 0.5);
  p.setPen(QPen(Palette::Metal.line, w * 0.14, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(r.left() + w * 0.22, r.top()), QPointF(r.left() + w * 0.62, r.top() + h * 0.66));
  p.drawLine(QPointF(r.right() - w * 0.22, r.top()), QPointF(r.left() + w * 0.38, r.top() + h * 0.66));
  p.setPen(QPen(Palette::Metal.light, w * 0.06, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(r.left() + w * 0.24, r.top() + h * 0.04), pivot);
  p.drawLine(QPointF(r.right() - w * 0.24, r.top() + h * 0.04), pivot);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(Palette::Red.line, w * 0.17));
  p.drawEllipse(QPointF(r.left() + w * 0.26, r.bottom() - h * 0.17), w * 0.17, h * 0.15);
  p.drawEllipse(QPointF(r.right() - w * 0.26, r.bottom() - h * 0.17), w * 0.17, h * 0.15);
  p.setPen(QPen(Palette::Red.body, w * 0.09));
  p.drawEllipse(QPointF(r.left() + w * 0.26, r.bottom() - h * 0.17), w * 0.17, h * 0.15);
  p.drawEllipse(QPointF(r.right() - w * 0.26, r.bottom() - h * 0.17), w * 0.17, h * 0.15);
  p.setPen(Qt::NoPen);
  p.setBrush(Palette::Ink.body);
  p.drawEllipse(pivot + QPointF(0, h * 0.06), w * 0.05, w * 0.05);
  p.restore();
}

void DrawText(QPainter& p, const QRectF& r, const QString& text, const QFont& font,
              const QColor& colour, int flags) {
  p.save();
  p.setFont(font);
  p.setPen(colour);
  p.drawText(r, flags, text);
  p.restore();
}

}  // namespace ArtKit
