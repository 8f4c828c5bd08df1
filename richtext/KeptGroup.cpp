#include "KeptGroup.h"

#include "NoteFormat.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextDocument>

void KeptGroup::SetGroup(QTextCharFormat& format, const QByteArray& bytes, QSize size) {
  format.setObjectType(ObjectType);
  format.setProperty(NoteProperty::KeptBytes, bytes);
  format.setProperty(NoteProperty::KeptSize, QSize(qBound(1, size.width(), MaxSide), qBound(1, size.height(), MaxSide)));
}

bool KeptGroup::IsKept(const QTextCharFormat& format) { return format.objectType() == ObjectType; }

QByteArray KeptGroup::Bytes(const QTextCharFormat& format) {
  return format.property(NoteProperty::KeptBytes).toByteArray();
}

QSize KeptGroup::Size(const QTextCharFormat& format) { return format.property(NoteProperty::KeptSize).toSize(); }

void KeptGroup::Install(QTextDocument* document) {
  QAbstractTextDocumentLayout* layout = document->documentLayout();
  if (layout->handlerForObject(ObjectType) == nullptr) layout->registerHandler(ObjectType, new KeptGroup(layout));
}

QSizeF KeptGroup::intrinsicSize(QTextDocument*, int, const QTextFormat& format) {
  return format.property(NoteProperty::KeptSize).toSize();
}

void KeptGroup::drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int, const QTextFormat&) {
  painter->fillRect(rect, QColor(0xC0, 0xC0, 0xC0));
  painter->setPen(QColor(0x80, 0x80, 0x80));
  painter->drawRect(rect.adjusted(0, 0, -1, -1));
}
