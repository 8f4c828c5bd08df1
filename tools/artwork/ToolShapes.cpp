#include "ToolShapes.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainterPathStroker>

using namespace ArtKit;

namespace ToolShapes {

void BoldCross(QPainter& p, const QRectF& r) {
  QPainterPath lines;
  lines.moveTo(r.topLeft());
  lines.lineTo(r.bottomRight());
  lines.moveTo(r.topRight());
  lines.lineTo(r.bottomLeft());
  QPainterPathStroker stroker;
  stroker.setWidth(r.width() * 0.3);
  stroker.setCapStyle(Qt::RoundCap);
  Shape(p, stroker.createStroke(lines).simplified(), Palette::Red);
}

void Pencil(QPainter& p, QPointF tip, QPointF end, qreal width) {
  p.save();
  const QPointF d = end - tip;
  const qreal len = std::hypot(d.x(), d.y());
  p.translate(tip);
  p.rotate(qRadiansToDegrees(std::atan2(d.y(), d.x())));
  const qreal cone = width * 1.3;
  QPainterPath wood(QPointF(0, 0));
  wood.lineTo(cone, -width / 2);
  wood.lineTo(cone, width / 2);
  wood.closeSubpath();
  Shape(p, wood, Palette::Wood, 0.6);
  Shape(p, RoundRect(QRectF(cone, -width / 2, len - cone, width), width * 0.2), Palette::Amber, 0.7);
  Shape(p, RoundRect(QRectF(len - width * 0.9, -width / 2, width * 0.9, width), width * 0.3),
        Palette::Pink, 0.7);
  p.setPen(Qt::NoPen);
  p.setBrush(Palette::Ink.dark);
  p.drawEllipse(QPointF(width * 0.25, 0), width * 0.22, width * 0.22);
  p.restore();
}

void SymbolBadge(QPainter& p, QPointF c, qreal radius, const Ramp& ramp, const QString& symbol) {
  DrawBadge(p, c, radius, ramp);
  QFont f("DejaVu Sans");
  f.setBold(true);
  f.setPixelSize(int(radius * 1.55 + 0.5));
  if (symbol == "i") f.setFamily("DejaVu Serif");
  DrawText(p, QRectF(c.x() - radius, c.y() - radius + radius * 0.04, radius * 2, radius * 2), symbol, f,
           Qt::white);
}

void StickyNote(QPainter& p, const QRectF& r) {
  const qreal fold = r.width() * 0.3;
  QPainterPath note(r.topLeft());
  note.lineTo(r.topRight());
  note.lineTo(r.right(), r.bottom() - fold);
  note.lineTo(r.right() - fold, r.bottom());
  note.lineTo(r.bottomLeft());
  note.closeSubpath();
  Shape(p, note, Palette::Amber);
  p.save();
  QPainterPath curl(QPointF(r.right(), r.bottom() - fold));
  curl.lineTo(r.right() - fold, r.bottom() - fold);
  curl.lineTo(r.right() - fold, r.bottom());
  curl.closeSubpath();
  p.setPen(QPen(Palette::Amber.line, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Palette::Amber.dark);
  p.drawPath(curl);
  p.setPen(QPen(Palette::Amber.line, std::max<qreal>(0.8, r.height() * 0.07)));
  const qreal step = r.height() * 0.2;
  for (int i = 1; i <= 3; ++i) {
    const qreal y = r.top() + step * i + 0.5;
    p.drawLine(QPointF(r.left() + r.width() * 0.18, y),
               QPointF(r.right() - r.width() * (i == 3 ? 0.45 : 0.18), y));
  }
  p.restore();
}

void PlusMinus(QPainter& p, QPointF c, qreal half, bool plus, const QColor& colour) {
  p.save();
  p.setPen(QPen(colour, half * 0.75, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(c - QPointF(half, 0), c + QPointF(half, 0));
  if (plus) p.drawLine(c - QPointF(0, half), c + QPointF(0, half));
  p.restore();
}

void Disk(QPainter& p, const QRectF& r) {
  const qreal w = r.width(), h = r.height();
  QPainterPath body(r.topLeft());
  body.lineTo(r.right() - w * 0.15, r.top());
  body.lineTo(r.right(), r.top() + h * 0.15);
  body.lineTo(r.bottomRight());
  body.lineTo(r.bottomLeft());
  body.closeSubpath();
  Shape(p, body, Palette::Blue);
  QPainterPath shutter = RoundRect(QRectF(r.left() + w * 0.25, r.top(), w * 0.5, h * 0.36), w * 0.04);
  Shape(p, shutter, Palette::Metal, std::max<qreal>(0.6, w * 0.05));
  p.save();
  p.setPen(Qt::NoPen);
  p.setBrush(Palette::Blue.dark);
  p.drawRect(QRectF(r.left() + w * 0.52, r.top() + h * 0.06, w * 0.12, h * 0.24));
  p.restore();
  QPainterPath label = RoundRect(QRectF(r.left() + w * 0.16, r.top() + h * 0.52, w * 0.68, h * 0.4), w * 0.05);
  Shape(p, label, Palette::Paper, std::max<qreal>(0.6, w * 0.05));
}

void FullScreen(QPainter& p, const QRectF& r) {
  const QRectF screen = r.adjusted(r.width() * 0.2, r.height() * 0.2, -r.width() * 0.2, -r.height() * 0.2);
  QPainterPath s = RoundRect(screen, r.width() * 0.05);
  Shape(p, s, Palette::Blue);
  Gloss(p, s, 0.6);
  const qreal len = r.width() * 0.4, wid = r.width() * 0.36;
  const QPointF corners[] = {r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()};
  const qreal angles[] = {-135, -45, 45, 135};
  for (int i = 0; i < 4; ++i) {
    p.save();
    p.translate(corners[i]);
    p.rotate(angles[i]);  // +x now points out of the corner
    Shape(p, Arrow(QPointF(0, 0), 1, 0, len, wid), Palette::Green, std::max<qreal>(0.6, r.width() * 0.05));
    p.restore();
  }
}

void Scatter(QPainter& p, const QRectF& r) {
  const qreal w = r.width();
  const qreal s = w * 0.36;
  const QRectF boxes[] = {{r.left(), r.top(), s, s}, {r.right() - s, r.top(), s, s},
                          {r.right() - s, r.bottom() - s, s, s}, {r.left(), r.bottom() - s, s, s}};
  const int knobs[][4] = {{0, 1, -1, 0}, {0, 0, 1, -1}, {1, 0, 0, -1}, {-1, 1, 0, 0}};
  for (int i = 0; i < 4; ++i) {
    QPainterPath piece = Piece(boxes[i].adjusted(w * 0.04, w * 0.04, -w * 0.04, -w * 0.04), knobs[i][0],
                               knobs[i][1], knobs[i][2], knobs[i][3]);
    Shape(p, piece, Palette::Piece, std::max<qreal>(0.6, w * 0.05));
  }
  p.save();
  p.setPen(QPen(Palette::Ink.body, w * 0.07, Qt::SolidLine, Qt::RoundCap));
  const QPointF c = r.center();
  for (int dx : {-1, 1})
    for (int dy : {-1, 1}) p.drawLine(c + QPointF(dx, dy) * w * 0.05, c + QPointF(dx, dy) * w * 0.15);
  p.setPen(Qt::NoPen);
  p.setBrush(Palette::Ink.body);
  p.drawEllipse(c, w * 0.06, w * 0.06);
  p.restore();
}

QPainterPath Pointer(const QRectF& r) {
  const qreal w = r.width(), h = r.height();
  QPainterPath arrow(r.topLeft());
  arrow.lineTo(r.left(), r.top() + h * 0.80);
  arrow.lineTo(r.left() + w * 0.22, r.top() + h * 0.62);
  arrow.lineTo(r.left() + w * 0.38, r.top() + h * 0.98);
  arrow.lineTo(r.left() + w * 0.52, r.top() + h * 0.92);
  arrow.lineTo(r.left() + w * 0.36, r.top() + h * 0.57);
  arrow.lineTo(r.left() + w * 0.64, r.top() + h * 0.57);
  arrow.closeSubpath();
  return arrow;
}

void WhatsThis(QPainter& p, const QRectF& r) {
  const qreal w = r.width();
  const QPainterPath arrow = Pointer(QRectF(r.left() + w * 0.08, r.top() + w * 0.06, w * 0.48, w * 0.76));
  p.save();
  p.setPen(QPen(Qt::black, std::max<qreal>(0.8, w * 0.06), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::white);
  p.drawPath(arrow);
  p.restore();
  SymbolBadge(p, QPointF(r.left() + w * 0.7, r.top() + w * 0.62), w * 0.3, Palette::Blue, "?");
}

void Bin(QPainter& p, const QRectF& r) {
  const qreal w = r.width(), h = r.height();
  QPainterPath can(QPointF(r.left() + w * 0.08, r.top() + h * 0.22));
  can.lineTo(r.right() - w * 0.08, r.top() + h * 0.22);
  can.lineTo(r.right() - w * 0.18, r.bottom());
  can.lineTo(r.left() + w * 0.18, r.bottom());
  can.closeSubpath();
  Shape(p, can, Palette::Metal);
  Gloss(p, can, 0.4);
  p.save();
  p.setPen(QPen(Palette::Metal.line, std::max<qreal>(0.7, w * 0.07)));
  for (qreal fx : {0.36, 0.5, 0.64})
    p.drawLine(QPointF(r.left() + w * fx, r.top() + h * 0.34), QPointF(r.left() + w * fx, r.bottom() - h * 0.1));
  p.restore();
  Shape(p, RoundRect(QRectF(r.left(), r.top() + h * 0.1, w, h * 0.13), w * 0.04), Palette::Metal);
  Shape(p, RoundRect(QRectF(r.left() + w * 0.36, r.top(), w * 0.28, h * 0.12), w * 0.04), Palette::Metal);
}

void FilmStrip(QPainter& p, const QRectF& r, bool withPicture) {
  const qreal w = r.width(), h = r.height();
  QPainterPath strip = RoundRect(r, w * 0.06);
  Shape(p, strip, Palette::Ink);
  p.save();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xf4, 0xf6, 0xfa));
  const qreal hole = h * 0.13;
  for (int i = 0; i < 4; ++i) {
    const qreal y = r.top() + h * (0.12 + i * 0.22);
    p.drawRect(QRectF(r.left() + w * 0.06, y, w * 0.1, hole));
    p.drawRect(QRectF(r.right() - w * 0.16, y, w * 0.1, hole));
  }
  p.restore();
  const QRectF frame(r.left() + w * 0.24, r.top() + h * 0.14, w * 0.52, h * 0.72);
  if (withPicture) {
    Landscape(p, frame);
  } else {
    QPainterPath play(QPointF(frame.left() + frame.width() * 0.25, frame.top() + frame.height() * 0.15));
    play.lineTo(frame.right() - frame.width() * 0.12, frame.center().y());
    play.lineTo(frame.left() + frame.width() * 0.25, frame.bottom() - frame.height() * 0.15);
    play.closeSubpath();
    Shape(p, play, Palette::Piece, std::max<qreal>(0.6, w * 0.04));
  }
}

void Notes(QPainter& p, const QRectF& r) {
  const qreal w = r.width(), h = r.height();
  p.save();
  p.setPen(QPen(Palette::Violet.line, w * 0.1, Qt::SolidLine, Qt::FlatCap));
  const qreal x1 = r.left() + w * 0.36, x2 = r.right() - w * 0.06;
  p.drawLine(QPointF(x1, r.bottom() - h * 0.2), QPointF(x1, r.top() + h * 0.12));
  p.drawLine(QPointF(x2, r.bottom() - h * 0.3), QPointF(x2, r.top() + h * 0.02));
  p.setPen(QPen(Palette::Violet.line, h * 0.16, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(QPointF(x1 - w * 0.05, r.top() + h * 0.14), QPointF(x2 + w * 0.05, r.top() + h * 0.04));
  p.restore();
  for (const QPointF& c : {QPointF(x1 - w * 0.17, r.bottom() - h * 0.19), QPointF(x2 - w * 0.17, r.bottom() - h * 0.29)}) {
    QPainterPath head;
    head.addEllipse(c, w * 0.2, h * 0.15);
    Shape(p, head, Palette::Violet, std::max<qreal>(0.6, w * 0.05));
  }
}

void Landscape(QPainter& p, const QRectF& r) {
  const qreal w = r.width(), h = r.height();
  p.save();
  QLinearGradient sky(r.topLeft(), r.bottomLeft());
  sky.setColorAt(0, QColor(0x6f, 0xb4, 0xf2));
  sky.setColorAt(1, QColor(0xd4, 0xec, 0xff));
  p.setPen(Qt::NoPen);
  p.setBrush(sky);
  p.drawRect(r);
  p.setBrush(QColor(0xff, 0xd8, 0x4a));
  p.drawEllipse(QPointF(r.left() + w * 0.72, r.top() + h * 0.3), w * 0.12, w * 0.12);
  QPainterPath hills(QPointF(r.left(), r.bottom()));
  hills.lineTo(r.left(), r.top() + h * 0.7);
  hills.quadTo(QPointF(r.left() + w * 0.3, r.top() + h * 0.35), QPointF(r.left() + w * 0.55, r.top() + h * 0.72));
  hills.quadTo(QPointF(r.left() + w * 0.75, r.top() + h * 0.5), QPointF(r.right(), r.top() + h * 0.68));
  hills.lineTo(r.bottomRight());
  hills.closeSubpath();
  Shape(p, hills, Palette::Green, 0);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(Palette::Ink.dark, std::max<qreal>(0.8, w * 0.06)));
  p.drawRect(r);
  p.restore();
}

void PushPin(QPainter& p, const QRectF& r) {
  const qreal w = r.width();
  p.save();
  p.translate(r.center());
  p.rotate(40);
  p.setPen(QPen(Palette::Metal.line, w * 0.09, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(0, w * 0.05), QPointF(0, w * 0.5));
  Shape(p, RoundRect(QRectF(-w * 0.34, -w * 0.02, w * 0.68, w * 0.14), w * 0.05), Palette::Red, 0.7);
  Shape(p, RoundRect(QRectF(-w * 0.18, -w * 0.4, w * 0.36, w * 0.4), w * 0.06), Palette::Red, 0.7);
  Shape(p, RoundRect(QRectF(-w * 0.28, -w * 0.52, w * 0.56, w * 0.14), w * 0.05), Palette::Red, 0.7);
  p.restore();
}

void Triangle(QPainter& p, QPointF tip, int dx, qreal length, qreal height, const Ramp& ramp) {
  QPainterPath t(tip);
  t.lineTo(tip.x() - dx * length, tip.y() - height / 2);
  t.lineTo(tip.x() - dx * length, tip.y() + height / 2);
  t.closeSubpath();
  Shape(p, t, ramp);
  Gloss(p, t, 0.4);
}

}  // namespace ToolShapes
