#pragma once
// Shared drawing kit of the artwork generator: one palette and a handful of shapes, so
// that every icon of the game shares the same light, outline and colours.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <functional>

// A colour ramp: highlight, body and shadow of one material, plus its outline.
struct Ramp {
  QColor light;
  QColor body;
  QColor dark;
  QColor line;
};

namespace Palette {
extern const Ramp Blue, Green, Red, Amber, Paper, Metal, Wood, Ink, Violet, Teal, Piece, Pink;
}

namespace ArtKit {
// Where the pictures go; set once by main.
void SetOutputRoot(const QString& root);
// Saves an image below the output root, making folders as needed; exits on failure.
void Save(const QImage& image, const QString& relativePath);

// A transparent canvas, and a painter on it whose unit square is size / units pixels
// (icons are designed on a small grid and drawn at any size).
QImage Canvas(int width, int height);
using Drawing = std::function<void(QPainter&)>;
QImage Icon(int size, qreal units, const Drawing& draw);

// Fills a path with a top-to-bottom gradient of the ramp and strokes its outline.
void Shape(QPainter& p, const QPainterPath& path, const Ramp& ramp, qreal lineWidth = 1.0);
// A thin white gloss along the upper half of a path, for a lit, finished look.
void Gloss(QPainter& p, const QPainterPath& path, qreal strength = 0.45);

QPainterPath RoundRect(const QRectF& r, qreal radius);
// A jigsaw piece inside r; each side is +1 (knob out), -1 (hole) or 0 (flat):
// top, right, bottom, left.
QPainterPath Piece(const QRectF& r, int top, int right, int bottom, int left);
// A block arrow pointing in direction (dx, dy) (one of the four unit directions) whose
// tip is at 'tip', 'length' long and 'width' wide at the head.
QPainterPath Arrow(QPointF tip, int dx, int dy, qreal length, qreal width);
// A sheet of paper with a folded corner.
QPainterPath Sheet(const QRectF& r, qreal fold);

// Ready-made parts used by several icons (coordinates in the icon's own grid).
void DrawSheet(QPainter& p, const QRectF& r, bool lines, const QColor& lineColor = QColor());
void DrawRibbon(QPainter& p, const QRectF& r, const Ramp& ramp);
void DrawMagnifier(QPainter& p, QPointF centre, qreal radius, qreal handle);
void DrawPrinter(QPainter& p, const QRectF& r);
void DrawFolder(QPainter& p, const QRectF& r, bool open);
void DrawClipboard(QPainter& p, const QRectF& r);
void DrawBadge(QPainter& p, QPointF centre, qreal radius, const Ramp& ramp);
void DrawCross(QPainter& p, QPointF centre, qreal half, const QColor& colour, qreal width);
void DrawGear(QPainter& p, QPointF centre, qreal outer, qreal inner, int teeth, const Ramp& ramp);
void DrawScissors(QPainter& p, const QRectF& r);
// Centred text in a given font, filled with a colour.
void DrawText(QPainter& p, const QRectF& r, const QString& text, const QFont& font,
              const QColor& colour, int flags = Qt::AlignCenter);
}  // namespace ArtKit
