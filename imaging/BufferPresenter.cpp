#include "BufferPresenter.h"

#include <QEvent>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QWidget>

BufferPresenter::BufferPresenter(QWidget* control) : QObject(control) {
  control->installEventFilter(this);
}

void BufferPresenter::Present(const RasterImage& image, QWidget* control, int x, int y) {
  if (!image.pixels || !control) return;
  const QRectF place(x, y, image.width, image.height);
  if (control->testAttribute(Qt::WA_WState_InPaintEvent)) {
    QPainter painter(control);
    DrawUpright(painter, image, place);
    return;
  }
  auto* presenter = control->findChild<BufferPresenter*>(QString(), Qt::FindDirectChildrenOnly);
  if (!presenter) presenter = new BufferPresenter(control);
  presenter->pending = image;
  presenter->place = place;
  control->repaint(place.toAlignedRect());
  presenter->pending = RasterImage{};  // the caller may free the picture from now on
}

bool BufferPresenter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Paint || !pending.pixels) return false;
  // The widget paints itself first (QObject::event is public; the call dispatches to the
  // widget's own handler), then the picture goes over it.
  static_cast<QObject*>(watched)->event(event);
  QPainter painter(static_cast<QWidget*>(watched));
  DrawUpright(painter, pending, place);
  return true;
}

void BufferPresenter::DrawUpright(QPainter& painter, const RasterImage& image, const QRectF& target) {
  if (!image.pixels || target.isEmpty()) return;
  // Rows lie bottom-up in memory: the view is the picture upside down.
  const QImage view(reinterpret_cast<const uchar*>(image.pixels), image.width, image.height,
                    image.width * 4, QImage::Format_RGB32);
  painter.save();
  painter.translate(target.left(), target.bottom());
  painter.scale(target.width() / image.width, -target.height() / image.height);
  painter.drawImage(QPointF(0, 0), view);
  painter.restore();
  // The top byte of our pixels is 0, which a device with alpha would take as transparent.
  const QPaintEngine* engine = painter.paintEngine();
  const QPaintDevice* device = engine ? engine->paintDevice() : nullptr;
  if (device && device->devType() == QInternal::Image && static_cast<const QImage*>(device)->hasAlphaChannel()) {
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_DestinationOver);
    painter.fillRect(target, Qt::black);
    painter.restore();
  }
}
