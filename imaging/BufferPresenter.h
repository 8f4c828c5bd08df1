#pragma once
// Drawing a raster picture into a widget. Qt paints only in paint events: inside one the
// picture is drawn at once; outside, the presenter (attached to the widget) holds the
// picture for a synchronous repaint and draws it over what the widget paints itself.
// The picture is shown straight from its memory, turned upright by the painter: no copy.

#include "RasterLibrary.h"

#include <QObject>
#include <QRectF>

class QPainter;
class QWidget;

class BufferPresenter : public QObject {
  Q_OBJECT
public:
  static void Present(const RasterImage& image, QWidget* control, int x, int y);
  // Draws the picture upright into target (scaled when the sizes differ); pixels the
  // painter leaves transparent on a device with alpha are made opaque.
  static void DrawUpright(QPainter& painter, const RasterImage& image, const QRectF& target);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  explicit BufferPresenter(QWidget* control);

  RasterImage pending;
  QRectF place;
};
