#pragma once
// Drawing a raster picture into a widget. Qt paints only in paint events: inside one the
// picture is drawn at once; outside, the presenter (attached to the widget) holds the
// picture for a synchronous repaint and draws it over what the widget paints itself.
// Into a plain 32-bit window buffer at scale 1 the rows are copied straight, in reverse
// order: one pass, about a memcpy. Anywhere else the painter turns the picture upright.

#include "RasterLibrary.h"

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QRegion>

class QPainter;
class QWidget;

class BufferPresenter : public QObject {
  Q_OBJECT
public:
  // Shows part of the picture (picture coordinates, rows from the top; empty for the whole)
  // at its own place, the picture's top-left corner lying at x, y of the widget.
  static void Present(const RasterImage& image, QWidget* control, int x, int y, const QRect& part = {});
  // The same for several parts at once, in one repaint.
  static void PresentRegion(const RasterImage& image, QWidget* control, int x, int y, const QRegion& parts);
  // Draws the picture upright into target (scaled when the sizes differ); pixels the
  // painter leaves transparent on a device with alpha are made opaque.
  static void DrawUpright(QPainter& painter, const RasterImage& image, const QRectF& target);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  explicit BufferPresenter(QWidget* control);
  static void DrawPart(QPainter& painter, const RasterImage& image, QPoint at, const QRect& part);

  RasterImage pending;
  QPoint place;
  QRect pendingPart;
};
