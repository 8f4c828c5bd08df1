// The main window's 29-pixel tool images, the print preview's 24-pixel buttons and the
// loading window's stage icons (each with its greyed idle twin).

#include "ArtKit.h"
#include "Drawings.h"
#include "ToolShapes.h"

#include <QPainterPathStroker>

using namespace ArtKit;

namespace {

void Tool(int size, const QString& name, const Drawing& draw) {
  Save(Icon(size, 24, draw), QString("images/%1/%2.png").arg(size).arg(name));
}

// The idle twin of a stage icon: grey, lighter and a little transparent.
QImage Idle(const QImage& active) {
  QImage idle = active.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < idle.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(idle.scanLine(y));
    for (int x = 0; x < idle.width(); ++x) {
      const QRgb c = row[x];
      const int grey = qGray(c);
      const int v = 110 + grey * 55 / 100;
      row[x] = qRgba(v, v, v + 6 > 255 ? 255 : v + 6, qAlpha(c) * 70 / 100);
    }
  }
  return idle;
}

void Stage(const QString& name, const Drawing& draw) {
  const QImage active = Icon(24, 24, draw);
  Save(active, "images/24/" + name + ".png");
  Save(Idle(active), "images/24/" + name + "-idle.png");
}

void DropMark(QPainter& p) {
  QPainterPath t(QPointF(17.5, 19.5));
  t.lineTo(23.5, 19.5);
  t.lineTo(20.5, 23);
  t.closeSubpath();
  Shape(p, t, Palette::Ink, 0.8);
}

void Door(QPainter& p) {
  QPainterPath frame = RoundRect(QRectF(3.5, 1.5, 12, 21), 1);
  Shape(p, frame, Palette::Ink);
  QPainterPath door(QPointF(5.5, 3.5));
  door.lineTo(12.5, 2.5);
  door.lineTo(12.5, 22.5);
  door.lineTo(5.5, 21.5);
  door.closeSubpath();
  Shape(p, door, Palette::Wood);
  p.save();
  p.setPen(Qt::NoPen);
  p.setBrush(Palette::Amber.body);
  p.drawEllipse(QPointF(11, 12.5), 0.9, 0.9);
  p.restore();
  Shape(p, Arrow(QPointF(23, 12.5), 1, 0, 10, 9), Palette::Green);
}

void OpenPuzzle(QPainter& p) {
  DrawFolder(p, QRectF(1, 5, 22, 17), false);
  QPainterPath piece = Piece(QRectF(7, 1.5, 10, 10), 1, 1, 0, -1);
  Shape(p, piece, Palette::Piece);
  Gloss(p, piece);
  QPainterPath front(QPointF(1, 12));
  front.lineTo(23, 12);
  front.lineTo(21.5, 22);
  front.lineTo(2.5, 22);
  front.closeSubpath();
  Shape(p, front, Palette::Amber);
  Gloss(p, front, 0.5);
}

void MainTools() {
  Tool(29, "open", OpenPuzzle);
  Tool(29, "play", [](QPainter& p) {
    DrawBadge(p, QPointF(12, 12), 10.5, Palette::Green);
    ToolShapes::Triangle(p, QPointF(18, 12), 1, 9, 11, Palette::Paper);
  });
  Tool(29, "pause", [](QPainter& p) {
    DrawBadge(p, QPointF(12, 12), 10.5, Palette::Blue);
    Shape(p, RoundRect(QRectF(7.5, 6.5, 3.2, 11), 0.8), Palette::Paper);
    Shape(p, RoundRect(QRectF(13.3, 6.5, 3.2, 11), 0.8), Palette::Paper);
  });
  Tool(29, "options", [](QPainter& p) {
    DrawGear(p, QPointF(10.5, 10.5), 9.5, 7, 9, Palette::Metal);
    DropMark(p);
  });
  Tool(29, "help", [](QPainter& p) {
    ToolShapes::SymbolBadge(p, QPointF(10.5, 10.5), 9.5, Palette::Blue, "?");
    DropMark(p);
  });
  Tool(29, "exit", Door);
}

void PageArrows(QPainter& p, int direction, bool toEnd) {
  // direction -1 backwards, +1 forwards; toEnd adds the bar of first/last.
  const qreal tipX = direction > 0 ? (toEnd ? 17.5 : 19) : (toEnd ? 6.5 : 5);
  ToolShapes::Triangle(p, QPointF(tipX, 12), direction, 11, 16, Palette::Blue);
  if (toEnd) {
    const qreal barX = direction > 0 ? 18.5 : 2.5;
    Shape(p, RoundRect(QRectF(barX, 4, 3, 16), 0.8), Palette::Blue);
  }
}

void TwoPages(QPainter& p) {
  DrawSheet(p, QRectF(1.5, 3.5, 10, 17), true);
  DrawSheet(p, QRectF(12.5, 3.5, 10, 17), true);
}

void PreviewTools() {
  Tool(24, "first", [](QPainter& p) { PageArrows(p, -1, true); });
  Tool(24, "prev", [](QPainter& p) { PageArrows(p, -1, false); });
  Tool(24, "next", [](QPainter& p) { PageArrows(p, 1, false); });
  Tool(24, "last", [](QPainter& p) { PageArrows(p, 1, true); });
  Tool(24, "zoomin", [](QPainter& p) {
    DrawMagnifier(p, QPointF(9.5, 9.5), 7.5, 11.5);
    ToolShapes::PlusMinus(p, QPointF(9.5, 9.5), 3.8, true, Palette::Blue.dark);
  });
  Tool(24, "zoomout", [](QPainter& p) {
    DrawMagnifier(p, QPointF(9.5, 9.5), 7.5, 11.5);
    ToolShapes::PlusMinus(p, QPointF(9.5, 9.5), 3.8, false, Palette::Blue.dark);
  });
  Tool(24, "layout", TwoPages);
  Tool(24, "print", [](QPainter& p) { DrawPrinter(p, QRectF(1, 1.5, 22, 21)); });
  Tool(24, "close", Door);
}

// A cutting die: a board with the outline of four pieces pressed into it.
void CuttingDie(QPainter& p) {
  QPainterPath board = RoundRect(QRectF(1.5, 1.5, 21, 21), 2);
  Shape(p, board, Palette::Wood);
  Gloss(p, board, 0.3);
  p.save();
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(Palette::Ink.dark, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(Piece(QRectF(4, 4, 8, 8), 0, 1, -1, 0));
  p.drawPath(Piece(QRectF(12, 4, 8, 8), 0, 0, 1, 0));
  p.drawPath(Piece(QRectF(4, 12, 8, 8), 0, -1, 0, 0));
  p.drawPath(Piece(QRectF(12, 12, 8, 8), 0, 0, 0, 0));
  p.restore();
}

void CutPiece(QPainter& p) {
  QPainterPath piece = Piece(QRectF(2, 8, 12, 12), 1, 1, 0, -1);
  Shape(p, piece, Palette::Piece);
  Gloss(p, piece);
  DrawScissors(p, QRectF(11, 0.5, 12, 16));
}

void PositionPieces(QPainter& p) {
  const QRectF boxes[] = {{2, 2, 8, 8}, {14, 3, 8, 8}, {3, 14, 8, 8}};
  const int knobs[][4] = {{0, 1, 1, 0}, {0, 0, -1, 1}, {1, -1, 0, 0}};
  for (int i = 0; i < 3; ++i) {
    QPainterPath piece = Piece(boxes[i], knobs[i][0], knobs[i][1], knobs[i][2], knobs[i][3]);
    Shape(p, piece, Palette::Piece);
    Gloss(p, piece);
  }
  Shape(p, Arrow(QPointF(22.5, 22.5), 1, 0, 9, 8), Palette::Green);
}

void LoadVideo(QPainter& p) { ToolShapes::FilmStrip(p, QRectF(1.5, 2.5, 21, 19), false); }

void StageIcons() {
  Stage("die", CuttingDie);
  Stage("cut", CutPiece);
  Stage("position", PositionPieces);
  Stage("load", LoadVideo);
}

}  // namespace

void DrawLargeTools() {
  MainTools();
  PreviewTools();
  StageIcons();
}
