#pragma once
// Compound pictures shared by the small and large tool images, drawn into a given box.

#include "ArtKit.h"

namespace ToolShapes {
void BoldCross(QPainter& p, const QRectF& r);
void Pencil(QPainter& p, QPointF tip, QPointF end, qreal width);
void SymbolBadge(QPainter& p, QPointF centre, qreal radius, const Ramp& ramp, const QString& symbol);
void StickyNote(QPainter& p, const QRectF& r);
void PlusMinus(QPainter& p, QPointF centre, qreal half, bool plus, const QColor& colour);
void Disk(QPainter& p, const QRectF& r);
void FullScreen(QPainter& p, const QRectF& r);
void Scatter(QPainter& p, const QRectF& r);
void WhatsThis(QPainter& p, const QRectF& r);
void Bin(QPainter& p, const QRectF& r);
void FilmStrip(QPainter& p, const QRectF& r, bool withPicture);
void Notes(QPainter& p, const QRectF& r);
void Landscape(QPainter& p, const QRectF& r);
void PushPin(QPainter& p, const QRectF& r);
// The mouse pointer arrow with its tip at the box's top-left corner.
QPainterPath Pointer(const QRectF& r);
void Triangle(QPainter& p, QPointF tip, int dx, qreal length, qreal height, const Ramp& ramp);
}  // namespace ToolShapes
