#include "PictureFit.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

PictureFit::PictureFit(QTextObjectInterface* qtHandler, QObject* parent) : QObject(parent), qtHandler_(qtHandler) {}

PictureFit* PictureFit::Of(QTextDocument* document) {
  return dynamic_cast<PictureFit*>(document->documentLayout()->handlerForObject(QTextFormat::ImageObject));
}

void PictureFit::Install(QTextDocument* document) {
  QAbstractTextDocumentLayout* layout = document->documentLayout();
  QTextObjectInterface* current = layout->handlerForObject(QTextFormat::ImageObject);
  if (current == nullptr || dynamic_cast<PictureFit*>(current) != nullptr) return;
  // Owned by the layout, as Qt's own handler is: both go when the layout goes.
  layout->registerHandler(QTextFormat::ImageObject, new PictureFit(current, layout));
}

void PictureFit::SetRoomHeight(QTextDocument* document, double height) {
  PictureFit* fit = Of(document);
  const double room = std::clamp(height, 1.0, MaxRoomHeight);
  if (fit == nullptr || fit->roomHeight_ == room) return;
  const bool changes = fit->tallest_ > std::min(fit->roomHeight_, room);
  fit->roomHeight_ = room;
  if (changes) document->markContentsDirty(0, document->characterCount());
}

QSizeF PictureFit::Fit(QSizeF natural, double roomWidth, double roomHeight) {
  double scale = 1;
  if (roomWidth > 0 && natural.width() > roomWidth) scale = roomWidth / natural.width();
  if (roomHeight > 0 && natural.height() * scale > roomHeight) scale = roomHeight / natural.height();
  return QSizeF(std::max(natural.width() * scale, 1.0), std::max(natural.height() * scale, 1.0));
}

QSizeF PictureFit::intrinsicSize(QTextDocument* document, int position, const QTextFormat& format) {
  const QSizeF natural = qtHandler_->intrinsicSize(document, position, format);
  tallest_ = std::max(tallest_, natural.height());
  double roomWidth = document->textWidth();
  if (roomWidth > 0) {
    const QTextBlockFormat block = document->findBlock(position).blockFormat();
    roomWidth -= 2 * document->documentMargin() + block.leftMargin() + block.rightMargin() +
                 std::max(block.textIndent(), 0.0);
    roomWidth = std::max(roomWidth, 1.0);
  }
  return Fit(natural, roomWidth, roomHeight_);
}

void PictureFit::drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int position,
                            const QTextFormat& format) {
  qtHandler_->drawObject(painter, rect, document, position, format);
}
