#include "BufferPresenter.h"

#include <QEvent>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QWidget>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

// The part of the picture to show: all of it when part is empty.
QRect Shown(const RasterImage& image, const QRect& part) {
  const QRect whole(0, 0, image.width, image.height);
  return part.isEmpty() ? whole : part & whole;
}

// The image the painter's engine writes to, when our rows can go there unchanged: a 32-bit
// format reading 0xFFRRGGBB as opaque, no scaling, no clip but the paint event's own.
// offset receives where the painter's origin lies in that image.
QImage* PlainTarget(QPainter& painter, QPoint& offset) {
  QPaintEngine* engine = painter.paintEngine();
  QPaintDevice* device = engine ? engine->paintDevice() : nullptr;
  if (!device || device->devType() != QInternal::Image || painter.hasClipping()) return nullptr;
  auto* target = static_cast<QImage*>(device);
  const QImage::Format format = target->format();
  if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
      format != QImage::Format_ARGB32_Premultiplied)
    return nullptr;
  const QTransform transform = painter.deviceTransform();
  offset = QPoint(int(transform.dx()), int(transform.dy()));
  if (transform.type() > QTransform::TxTranslate || offset != QPointF(transform.dx(), transform.dy()))
    return nullptr;
  // The engine holds this memory; bits() on a shared image would move it away from the engine.
  return target->isDetached() ? target : nullptr;
}

// The top byte of our pixels may hold shadow levels; the window would read it as alpha.
void CopyOpaque(const std::uint32_t* from, std::uint32_t* into, int count) {
  int i = 0;
#ifdef __SSE2__
  const __m128i opaque = _mm_set1_epi32(int(0xFF000000u));
  for (; i + 4 <= count; i += 4) {
    const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(into + i), _mm_or_si128(four, opaque));
  }
#endif
  for (; i < count; ++i) into[i] = from[i] | 0xFF000000u;
}

// Copies the rectangle area of the picture upright into target, moved by offset.
void CopyUpright(const RasterImage& image, const QRect& area, QImage& target, QPoint offset) {
  uchar* bits = target.bits();
  const qsizetype stride = target.bytesPerLine();
  for (int y = area.top(); y <= area.bottom(); ++y) {
    auto* into = reinterpret_cast<std::uint32_t*>(bits + (y + offset.y()) * stride) + area.left() + offset.x();
    CopyOpaque(image.Row(y) + area.left(), into, area.width());
  }
}

}  // namespace

BufferPresenter::BufferPresenter(QWidget* control) : QObject(control) {
  control->installEventFilter(this);
}

void BufferPresenter::Present(const RasterImage& image, QWidget* control, int x, int y, const QRect& part) {
  const QRect shown = Shown(image, part);
  if (!image.pixels || !control || shown.isEmpty()) return;
  if (control->testAttribute(Qt::WA_WState_InPaintEvent)) {
    QPainter painter(control);
    DrawPart(painter, image, QPoint(x, y), shown);
    return;
  }
  auto* presenter = control->findChild<BufferPresenter*>(QString(), Qt::FindDirectChildrenOnly);
  if (!presenter) presenter = new BufferPresenter(control);
  presenter->pending = image;
  presenter->place = QPoint(x, y);
  presenter->pendingPart = shown;
  control->repaint(shown.translated(x, y));
  presenter->pending = RasterImage{};  // the caller may free the picture from now on
}

void BufferPresenter::PresentRegion(const RasterImage& image, QWidget* control, int x, int y, const QRegion& parts) {
  const QRegion shown = parts & QRect(0, 0, image.width, image.height);
  if (!image.pixels || !control || shown.isEmpty()) return;
  if (control->testAttribute(Qt::WA_WState_InPaintEvent)) {
    for (const QRect& part : shown) Present(image, control, x, y, part);
    return;
  }
  auto* presenter = control->findChild<BufferPresenter*>(QString(), Qt::FindDirectChildrenOnly);
  if (!presenter) presenter = new BufferPresenter(control);
  presenter->pending = image;
  presenter->place = QPoint(x, y);
  // The paint's clip is the region, so only its rectangles are copied.
  presenter->pendingPart = shown.boundingRect();
  control->repaint(shown.translated(x, y));
  presenter->pending = RasterImage{};
}

bool BufferPresenter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Paint || !pending.pixels) return false;
  // The widget paints itself first (QObject::event is public; the call dispatches to the
  // widget's own handler), then the picture goes over it.
  static_cast<QObject*>(watched)->event(event);
  QPainter painter(static_cast<QWidget*>(watched));
  DrawPart(painter, pending, place, pendingPart);
  return true;
}

// part lies within the picture.
void BufferPresenter::DrawPart(QPainter& painter, const RasterImage& image, QPoint at, const QRect& part) {
  QPoint origin;
  QImage* target = PlainTarget(painter, origin);
  if (!target) {
    painter.save();
    painter.setClipRect(part.translated(at), Qt::IntersectClip);
    DrawUpright(painter, image, QRectF(at, QSizeF(image.width, image.height)));
    painter.restore();
    return;
  }
  // Only where this paint may paint: the system clip, in the target's pixels.
  const QPoint offset = origin + at;
  const QRect area = part.translated(offset) & target->rect();
  const QRegion clip = painter.paintEngine()->systemClip();
  if (clip.isEmpty()) {
    CopyUpright(image, area.translated(-offset), *target, offset);
    return;
  }
  for (const QRect& rect : clip) {
    const QRect piece = rect & area;
    if (!piece.isEmpty()) CopyUpright(image, piece.translated(-offset), *target, offset);
  }
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
