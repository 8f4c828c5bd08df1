// The about box's five small pictures of what the game offers (48 × 48) and the F11
// reminder's key (48 × 48).

#include "ArtKit.h"
#include "Drawings.h"
#include "ToolShapes.h"

#include <QFont>

using namespace ArtKit;
using namespace ToolShapes;

namespace {

void Pieces(QPainter& p) {
  const QPainterPath a = Piece(QRectF(6, 8, 16, 16), 0, 1, -1, 0);
  const QPainterPath b = Piece(QRectF(25, 8, 16, 16), 0, 0, 1, -1);
  const QPainterPath c = Piece(QRectF(10, 28, 16, 14), 1, -1, 0, 0);
  Shape(p, a, Palette::Piece, 1.2);
  Gloss(p, a);
  Shape(p, b, Palette::Blue, 1.2);
  Gloss(p, b);
  Shape(p, c, Palette::Green, 1.2);
  Gloss(p, c);
}

void Minis(QPainter& p) {
  const Ramp* ramps[] = {&Palette::Wood, &Palette::Teal, &Palette::Violet, &Palette::Amber};
  for (int i = 0; i < 4; ++i) {
    const QRectF r(4 + (i % 2) * 21, 6 + (i / 2) * 20, 18, 16);
    const QPainterPath table = RoundRect(r, 2.5);
    Shape(p, table, *ramps[i], 1.0);
    Shape(p, Piece(QRectF(r.x() + 5, r.y() + 4, 8, 8), 0, 1, 0, 0), Palette::Piece, 0.8);
  }
}

void Magnify(QPainter& p) {
  Shape(p, Piece(QRectF(8, 10, 20, 20), 0, 1, 1, 0), Palette::Piece, 1.2);
  DrawMagnifier(p, QPointF(26, 22), 11, 12);
}

void BoxCover(QPainter& p) {
  const QPainterPath lid = RoundRect(QRectF(5, 9, 38, 30), 2);
  Shape(p, lid, Palette::Paper, 1.2);
  Landscape(p, QRectF(9, 13, 30, 22));
  Gloss(p, lid, 0.3);
}

// The puzzle's note: a written sheet with a piece pinned to it.
void Note(QPainter& p) {
  DrawSheet(p, QRectF(9, 5, 28, 36), true, Palette::Blue.line);
  Shape(p, Piece(QRectF(26, 28, 14, 14), 0, 0, 0, 1), Palette::Piece, 1.0);
}

void F11Key(QPainter& p) {
  const QPainterPath cap = RoundRect(QRectF(4, 8, 40, 34), 6);
  Shape(p, cap, Palette::Metal, 1.4);
  const QPainterPath top = RoundRect(QRectF(9, 11, 30, 24), 4);
  Shape(p, top, Palette::Paper, 1.0);
  Gloss(p, top, 0.5);
  QFont font("DejaVu Sans");
  font.setPixelSize(13);
  font.setBold(true);
  DrawText(p, QRectF(9, 11, 30, 24), "F11", font, Palette::Blue.line);
}

}  // namespace

void DrawAboutArt() {
  const std::pair<const char*, Drawing> pictures[] = {
      {"pieces", Pieces}, {"minis", Minis}, {"magnifier", Magnify}, {"boxcover", BoxCover}, {"note", Note}};
  for (const auto& [name, draw] : pictures)
    Save(Icon(48, 48, draw), QStringLiteral("images/about/%1.png").arg(QLatin1String(name)));
  Save(Icon(48, 48, F11Key), "images/48/f11.png");
}
