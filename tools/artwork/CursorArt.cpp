// The editor's mouse cursors. Each PNG carries its hot spot in the text keys
// "HotSpotX" and "HotSpotY".

#include "ArtKit.h"
#include "Drawings.h"
#include "ToolShapes.h"

using namespace ArtKit;

namespace {

void Cursor(const QString& name, QPoint hotSpot, const Drawing& draw) {
  QImage image = Icon(32, 32, draw);
  image.setText("HotSpotX", QString::number(hotSpot.x()));
  image.setText("HotSpotY", QString::number(hotSpot.y()));
  Save(image, "cursors/" + name + ".png");
}

// A text cursor whose middle is the hot spot (6, 15).
void IBeam(QPainter& p) {
  QPainterPath beam;
  beam.moveTo(2.5, 4.5);
  beam.lineTo(5.0, 4.5);
  beam.lineTo(6.0, 5.5);
  beam.lineTo(7.0, 4.5);
  beam.lineTo(9.5, 4.5);
  beam.moveTo(6.0, 5.5);
  beam.lineTo(6.0, 24.5);
  beam.moveTo(2.5, 25.5);
  beam.lineTo(5.0, 25.5);
  beam.lineTo(6.0, 24.5);
  beam.lineTo(7.0, 25.5);
  beam.lineTo(9.5, 25.5);
  p.save();
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(Qt::white, 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(beam);
  p.setPen(QPen(Qt::black, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(beam);
  p.restore();
}

void Highlighter(QPainter& p) {
  p.save();
  p.translate(21, 13);
  p.rotate(40);
  Shape(p, RoundRect(QRectF(-3.5, -9, 7, 13), 1.5), Palette::Amber);
  Gloss(p, RoundRect(QRectF(-3.5, -9, 7, 13), 1.5), 0.5);
  Shape(p, RoundRect(QRectF(-3.8, -12, 7.6, 4), 1.2), Palette::Ink);
  QPainterPath tip(QPointF(-2.5, 4));
  tip.lineTo(2.5, 4);
  tip.lineTo(1.5, 8.5);
  tip.lineTo(-1.5, 7.5);
  tip.closeSubpath();
  Shape(p, tip, Palette::Amber);
  p.restore();
}

void Brush(QPainter& p) {
  p.save();
  p.translate(21, 13);
  p.rotate(35);
  Shape(p, RoundRect(QRectF(-1.6, -12, 3.2, 10), 1.2), Palette::Wood);
  Shape(p, RoundRect(QRectF(-2.6, -3, 5.2, 4), 0.8), Palette::Metal);
  QPainterPath bristles(QPointF(-2.8, 1));
  bristles.lineTo(2.8, 1);
  bristles.cubicTo(QPointF(3.2, 5), QPointF(1.5, 8), QPointF(0, 9.5));
  bristles.cubicTo(QPointF(-1.5, 8), QPointF(-3.2, 5), QPointF(-2.8, 1));
  Shape(p, bristles, Palette::Blue);
  p.restore();
}

// The plain arrow the pointer cursors start from.
void Pointer(QPainter& p) {
  p.save();
  p.setPen(QPen(Qt::black, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::white);
  p.drawPath(ToolShapes::Pointer(QRectF(1, 1, 12, 19)));
  p.restore();
}

void PointerWithBookmark(QPainter& p, int dy) {
  Pointer(p);
  DrawRibbon(p, QRectF(14.5, 12.5, 7, 13), Palette::Blue);
  if (dy > 0)
    Shape(p, Arrow(QPointF(27, 30), 0, 1, 12, 8), Palette::Green);
  else
    Shape(p, Arrow(QPointF(27, 13), 0, -1, 12, 8), Palette::Green);
}

// The pointer carrying one piece, or a stack of pieces, as while pieces are captured.
void PointerWithPieces(QPainter& p, int count) {
  Pointer(p);
  for (int i = count - 1; i >= 0; --i) {
    const QPointF at(12.5 + 5 * i, 13.5 + 5 * i);
    QPainterPath piece;
    piece.addRect(QRectF(at, QSizeF(10, 10)));
    QPainterPath knob;
    knob.addEllipse(QRectF(at.x() + 8.5, at.y() + 2.5, 5, 5));
    Shape(p, piece.united(knob), Palette::Piece);
  }
}

}  // namespace

void DrawCursors() {
  Cursor("HILIGHT", {6, 15}, [](QPainter& p) {
    IBeam(p);
    Highlighter(p);
  });
  Cursor("PAINT", {6, 15}, [](QPainter& p) {
    IBeam(p);
    Brush(p);
  });
  Cursor("NEXTBOOKMARK", {1, 1}, [](QPainter& p) { PointerWithBookmark(p, 1); });
  Cursor("PREVBOOKMARK", {1, 1}, [](QPainter& p) { PointerWithBookmark(p, -1); });
  Cursor("DRAG", {1, 1}, [](QPainter& p) { PointerWithPieces(p, 1); });
  Cursor("MULTIDRAG", {1, 1}, [](QPainter& p) { PointerWithPieces(p, 2); });
}
