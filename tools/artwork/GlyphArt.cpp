// The named menu glyphs of the editor's menus and the marks of its bookmark gutter.

#include "ArtKit.h"
#include "Drawings.h"

#include <QFont>
#include <QPainterPathStroker>

using namespace ArtKit;

namespace {

void Glyph(const QString& name, const Drawing& draw) {
  Save(Icon(16, 16, draw), "glyphs/" + name + ".png");
}

void BookmarkArrow(QPainter& p, int dy, bool bar) {
  DrawRibbon(p, QRectF(1.5, 1.5, 6, 12), Palette::Blue);
  const qreal x = 11.5;
  if (dy < 0) {
    const qreal tip = bar ? 4.5 : 1.5;
    Shape(p, Arrow(QPointF(x, tip), 0, -1, 14.5 - tip, 7), Palette::Green);
    if (bar) Shape(p, RoundRect(QRectF(8.0, 1.0, 7.0, 2.2), 0.6), Palette::Green);
  } else {
    const qreal tip = bar ? 11.5 : 14.5;
    Shape(p, Arrow(QPointF(x, tip), 0, 1, tip - 1.5, 7), Palette::Green);
    if (bar) Shape(p, RoundRect(QRectF(8.0, 12.8, 7.0, 2.2), 0.6), Palette::Green);
  }
}

void Badge(QPainter& p, const Ramp& ramp, bool plus) {
  const QPointF c(11.5, 11.5);
  DrawBadge(p, c, 4.0, ramp);
  p.save();
  p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
  if (plus) {
    p.drawLine(c + QPointF(-2, 0), c + QPointF(2, 0));
    p.drawLine(c + QPointF(0, -2), c + QPointF(0, 2));
  } else {
    p.drawLine(c + QPointF(-1.6, -1.6), c + QPointF(1.6, 1.6));
    p.drawLine(c + QPointF(-1.6, 1.6), c + QPointF(1.6, -1.6));
  }
  p.restore();
}

QPainterPath CurvedArrow() {
  QPainterPath arc;
  const QRectF circle(4.0, 4.5, 9.0, 9.0);
  arc.arcMoveTo(circle, -40);
  arc.arcTo(circle, -40, 215);
  QPainterPathStroker stroker;
  stroker.setWidth(2.6);
  stroker.setCapStyle(Qt::FlatCap);
  QPainterPath body = stroker.createStroke(arc);
  QPainterPath head(QPointF(0.8, 8.0));
  head.lineTo(7.2, 8.0);
  head.lineTo(4.0, 12.6);
  head.closeSubpath();
  return body.united(head).simplified();
}

void Palette16(QPainter& p) {
  QPainterPath board;
  board.addEllipse(QRectF(0.8, 2.5, 14.4, 11.5));
  QPainterPath thumb;
  thumb.addEllipse(QPointF(10.8, 10.3), 1.7, 1.5);
  QPainterPath notch;
  notch.addEllipse(QPointF(13.4, 12.6), 2.6, 2.2);
  Shape(p, board.subtracted(thumb).subtracted(notch), Palette::Wood);
  const std::pair<QPointF, Ramp> dots[] = {{{4.3, 6.8}, Palette::Red},
                                           {{7.4, 5.0}, Palette::Amber},
                                           {{10.8, 5.6}, Palette::Green},
                                           {{4.6, 10.4}, Palette::Blue}};
  for (const auto& [c, ramp] : dots) {
    QPainterPath dot;
    dot.addEllipse(c, 1.55, 1.55);
    Shape(p, dot, ramp, 0.6);
  }
}

void Highlight(QPainter& p, const QRectF& sheet) {
  p.save();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x3f, 0x85, 0xdd, 150));
  const qreal fold = std::min(sheet.width(), sheet.height()) * 0.32;
  for (qreal y = sheet.top() + fold + 0.6; y < sheet.bottom() - 1.5; y += 2.0)
    p.drawRect(QRectF(sheet.left() + 1.3, y, sheet.width() - 2.6, 1.8));
  p.restore();
}

void Eraser16(QPainter& p) {
  p.save();
  p.translate(8, 8);
  p.rotate(-35);
  QPainterPath rubber = RoundRect(QRectF(-7, -3.2, 7.5, 6.4), 1.2);
  QPainterPath sleeve = RoundRect(QRectF(0.0, -3.2, 6.5, 6.4), 1.2);
  Shape(p, rubber, Palette::Pink);
  Shape(p, sleeve, Palette::Blue);
  Gloss(p, sleeve);
  p.restore();
  p.save();
  p.setPen(QPen(QColor(0x8d, 0x9b, 0xad), 1.0, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(1.5, 14.5), QPointF(9.5, 14.5));
  p.drawLine(QPointF(3.5, 12.8), QPointF(6.5, 12.8));
  p.restore();
}

void MenuGlyphs() {
  Glyph("FIRSTBOOKMARK", [](QPainter& p) { BookmarkArrow(p, -1, true); });
  Glyph("PREVBOOKMARK", [](QPainter& p) { BookmarkArrow(p, -1, false); });
  Glyph("NEXTBOOKMARK", [](QPainter& p) { BookmarkArrow(p, 1, false); });
  Glyph("LASTBOOKMARK", [](QPainter& p) { BookmarkArrow(p, 1, true); });
  Glyph("SETBOOKMARK", [](QPainter& p) {
    DrawRibbon(p, QRectF(2.5, 0.5, 7, 13), Palette::Blue);
    Badge(p, Palette::Green, true);
  });
  Glyph("DELETEBOOKMARK", [](QPainter& p) {
    DrawRibbon(p, QRectF(2.5, 0.5, 7, 13), Palette::Blue);
    Badge(p, Palette::Red, false);
  });
  Glyph("PALETTE", Palette16);
  Glyph("CLOSEDOC2", [](QPainter& p) {
    DrawSheet(p, QRectF(1.5, 0.5, 10, 14), true);
    Badge(p, Palette::Red, false);
  });
  Glyph("UNDO", [](QPainter& p) { Shape(p, CurvedArrow(), Palette::Blue); });
  Glyph("REDO", [](QPainter& p) {
    p.translate(16, 0);
    p.scale(-1, 1);
    Shape(p, CurvedArrow(), Palette::Blue);
  });
  Glyph("CUT", [](QPainter& p) { DrawScissors(p, QRectF(2, 0.5, 12, 15)); });
  Glyph("COPY", [](QPainter& p) {
    DrawSheet(p, QRectF(0.5, 0.5, 9, 11), true);
    DrawSheet(p, QRectF(6.5, 4.5, 9, 11), true);
  });
  Glyph("PASTE", [](QPainter& p) {
    DrawClipboard(p, QRectF(0.5, 1.0, 11, 14));
    DrawSheet(p, QRectF(6.5, 5.5, 9, 10), true, Palette::Blue.body);
  });
  Glyph("PASTEPLAIN", [](QPainter& p) {
    DrawClipboard(p, QRectF(0.5, 1.0, 11, 14));
    DrawSheet(p, QRectF(6.5, 5.5, 9, 10), false);
    QFont f("DejaVu Serif");
    f.setPixelSize(8);
    f.setBold(true);
    DrawText(p, QRectF(6.5, 7.4, 8.4, 8), "A", f, Palette::Ink.dark);
  });
  Glyph("SELECTALL", [](QPainter& p) {
    const QRectF sheet(2.5, 0.5, 11, 15);
    DrawSheet(p, sheet, true);
    Highlight(p, sheet);
  });
  Glyph("COPYALL", [](QPainter& p) {
    DrawSheet(p, QRectF(0.5, 0.5, 9, 11), true);
    const QRectF front(6.5, 4.5, 9, 11);
    DrawSheet(p, front, true);
    Highlight(p, front);
  });
  Glyph("CLEAR", Eraser16);
}

// The gutter's marks are 10 pixels wide: the gutter spreads them across its width.
void GutterMarks() {
  auto mark = [](const QString& name, const Drawing& draw) {
    QImage image = Canvas(10, 12);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    p.end();
    Save(image.convertToFormat(QImage::Format_ARGB32), "bitmaps/" + name + ".png");
  };
  mark("BOOKMARK2", [](QPainter& p) { DrawRibbon(p, QRectF(1.5, 0.5, 7, 11), Palette::Blue); });
  mark("BOOKMARKMULTIPLE", [](QPainter& p) {
    DrawRibbon(p, QRectF(0.5, 0.5, 6, 10), Palette::Violet);
    DrawRibbon(p, QRectF(3.5, 1.5, 6, 10), Palette::Blue);
  });
  mark("NEWPAGE5", [](QPainter& p) {
    DrawSheet(p, QRectF(1.5, 0.5, 7, 8), false);
    p.setPen(QPen(Palette::Red.body, 1.2, Qt::DashLine, Qt::FlatCap));
    p.drawLine(QPointF(0, 10.5), QPointF(10, 10.5));
  });
}

}  // namespace

void DrawMenuGlyphs() {
  MenuGlyphs();
  GutterMarks();
}
