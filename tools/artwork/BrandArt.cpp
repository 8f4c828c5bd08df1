// The program's icon (two joined pieces) in the usual sizes, and the about box's banner.

#include "ArtKit.h"
#include "Drawings.h"

#include <QFont>
#include <QLinearGradient>
#include <QTransform>

using namespace ArtKit;

namespace {

void JoinedPieces(QPainter& p) {
  // Designed on a 48 grid: an orange piece whose knob locks into a blue one.
  QPainterPath blue = Piece(QRectF(24, 13, 19, 19), 1, 0, -1, -1);
  QPainterPath orange = Piece(QRectF(5, 13, 19, 19), -1, 1, 1, 0);
  p.save();
  p.translate(1.2, 1.6);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 60));
  p.drawPath(blue);
  p.drawPath(orange);
  p.restore();
  Shape(p, blue, Palette::Blue, 1.4);
  Gloss(p, blue, 0.5);
  Shape(p, orange, Palette::Piece, 1.4);
  Gloss(p, orange, 0.55);
}

void ProgramIcon() {
  for (int size : {16, 24, 32, 48, 64, 128, 256})
    Save(Icon(size, 48, JoinedPieces), QString("app/icon-%1.png").arg(size));
}

void Banner() {
  QImage image = Canvas(400, 110);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.save();
  p.translate(2, 4);
  p.scale(2.1, 2.1);
  JoinedPieces(p);
  p.restore();
  QFont title("DejaVu Serif");
  title.setPixelSize(40);
  title.setBold(true);
  QPainterPath text;
  text.addText(0, 0, title, "Tessavinelume");
  // Fitted between the pieces and the right edge.
  const qreal fit = std::min<qreal>(1.0, 280.0 / text.boundingRect().width());
  text = QTransform().translate(110, 58).scale(fit, fit).map(text);
  QLinearGradient fill(0, 22, 0, 60);
  fill.setColorAt(0, Palette::Blue.body.lighter(115));
  fill.setColorAt(1, Palette::Blue.line);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 45));
  p.drawPath(text.translated(1.5, 2));
  p.setBrush(fill);
  p.drawPath(text);
  QFont sub("DejaVu Sans");
  sub.setPixelSize(20);
  sub.setLetterSpacing(QFont::AbsoluteSpacing, 3);
  DrawText(p, QRectF(114, 66, 290, 30), "JIGSAW PUZZLES", sub, Palette::Piece.dark,
           Qt::AlignLeft | Qt::AlignVCenter);
  p.end();
  Save(image.convertToFormat(QImage::Format_ARGB32), "images/banner.png");
}

}  // namespace

void DrawBrand() {
  ProgramIcon();
  Banner();
}
