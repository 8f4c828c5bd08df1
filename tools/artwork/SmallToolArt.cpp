// The 16-pixel tool images (toolbars, lists, the hint window's arrows) and the
// 12-pixel buttons of the tip bar.

#include "ArtKit.h"
#include "Drawings.h"
#include "ToolShapes.h"

#include <QFont>
#include <QPainterPathStroker>

using namespace ArtKit;

namespace {

void Tool16(const QString& name, const Drawing& draw) {
  Save(Icon(16, 16, draw), "images/16/" + name + ".png");
}

void Tool12(const QString& name, const Drawing& draw) {
  Save(Icon(12, 12, draw), "images/12/" + name + ".png");
}

void HintArrows() {
  Tool16("arrow-up", [](QPainter& p) { Shape(p, Arrow({8, 1}, 0, -1, 13.5, 13), Palette::Blue); });
  Tool16("arrow-down", [](QPainter& p) { Shape(p, Arrow({8, 15}, 0, 1, 13.5, 13), Palette::Blue); });
  Tool16("arrow-left", [](QPainter& p) { Shape(p, Arrow({1, 8}, -1, 0, 13.5, 13), Palette::Blue); });
  Tool16("arrow-right", [](QPainter& p) { Shape(p, Arrow({15, 8}, 1, 0, 13.5, 13), Palette::Blue); });
}

void DocumentTools() {
  Tool16("print", [](QPainter& p) { DrawPrinter(p, QRectF(0.5, 0.5, 15, 15)); });
  Tool16("close", [](QPainter& p) { ToolShapes::BoldCross(p, QRectF(2, 2, 12, 12)); });
  Tool16("wordprocessor", [](QPainter& p) {
    DrawSheet(p, QRectF(0.5, 0.5, 11, 15), true);
    ToolShapes::Pencil(p, QPointF(7, 13), QPointF(15, 3), 2.6);
  });
  Tool16("options", [](QPainter& p) { DrawGear(p, QPointF(8, 8), 7.3, 5.4, 8, Palette::Metal); });
  Tool16("help", [](QPainter& p) { ToolShapes::SymbolBadge(p, QPointF(8, 8), 7, Palette::Blue, "?"); });
  Tool16("info", [](QPainter& p) { ToolShapes::SymbolBadge(p, QPointF(8, 8), 7, Palette::Blue, "i"); });
  Tool16("note", [](QPainter& p) { ToolShapes::StickyNote(p, QRectF(1.5, 1.5, 13, 13)); });
  Tool16("zoom", [](QPainter& p) {
    DrawMagnifier(p, QPointF(6.3, 6.3), 4.8, 7.5);
    ToolShapes::PlusMinus(p, QPointF(6.3, 6.3), 2.4, true, Palette::Blue.dark);
  });
  Tool16("save", [](QPainter& p) { ToolShapes::Disk(p, QRectF(1.5, 1.5, 13, 13)); });
}

void TableTools() {
  Tool16("magnifier", [](QPainter& p) { DrawMagnifier(p, QPointF(6.3, 6.3), 4.8, 7.5); });
  Tool16("fullscreen", [](QPainter& p) { ToolShapes::FullScreen(p, QRectF(0.5, 0.5, 15, 15)); });
  Tool16("scatter", [](QPainter& p) { ToolShapes::Scatter(p, QRectF(0.5, 0.5, 15, 15)); });
  Tool16("whatsthis", [](QPainter& p) { ToolShapes::WhatsThis(p, QRectF(0, 0, 16, 16)); });
}

void OpenDialogTools() {
  Tool16("browse", [](QPainter& p) { DrawFolder(p, QRectF(0.5, 1.5, 15, 13), true); });
  Tool16("delete", [](QPainter& p) { ToolShapes::Bin(p, QRectF(2.5, 0.5, 11, 15)); });
  Tool16("animatedonly", [](QPainter& p) { ToolShapes::FilmStrip(p, QRectF(0.5, 1.5, 15, 13), false); });
  Tool16("music", [](QPainter& p) { ToolShapes::Notes(p, QRectF(1, 1, 14, 14)); });
  Tool16("picture", [](QPainter& p) { ToolShapes::Landscape(p, QRectF(0.5, 1.5, 15, 13)); });
  Tool16("animated", [](QPainter& p) { ToolShapes::FilmStrip(p, QRectF(0.5, 1.5, 15, 13), true); });
  Tool16("savedgame", [](QPainter& p) {
    Shape(p, Piece(QRectF(1.5, 3.5, 9, 9), 1, 1, 0, 0), Palette::Piece);
    Gloss(p, Piece(QRectF(1.5, 3.5, 9, 9), 1, 1, 0, 0));
    ToolShapes::Disk(p, QRectF(8.5, 8.5, 7, 7));
  });
}

void TipBar() {
  const Ramp& ink = Palette::Ink;
  Tool12("back", [&](QPainter& p) {
    QPainterPath t(QPointF(2.5, 6));
    t.lineTo(9, 1.8);
    t.lineTo(9, 10.2);
    t.closeSubpath();
    Shape(p, t, Palette::Blue);
  });
  Tool12("forward", [&](QPainter& p) {
    QPainterPath t(QPointF(9.5, 6));
    t.lineTo(3, 1.8);
    t.lineTo(3, 10.2);
    t.closeSubpath();
    Shape(p, t, Palette::Blue);
  });
  Tool12("stay", [](QPainter& p) { ToolShapes::PushPin(p, QRectF(0.5, 0.5, 11, 11)); });
  Tool12("details", [](QPainter& p) { ToolShapes::SymbolBadge(p, QPointF(6, 6), 5.3, Palette::Blue, "?"); });
  Tool12("close", [&](QPainter& p) { DrawCross(p, QPointF(6, 6), 3.2, ink.body, 2.0); });
}

}  // namespace

void DrawSmallTools() {
  HintArrows();
  DocumentTools();
  TableTools();
  OpenDialogTools();
  TipBar();
}
