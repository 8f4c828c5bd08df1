#include "Glyph.h"

#include "Yelk/TMsgLog.h"

#include <QPainter>

Glyph::Glyph(const ImageList& images, const ImageList& alternates, int index) {
  if (index < 0 || index >= images.size()) {
    TMsgLog::Add(QString("Glyph - bad image index %1 of %2").arg(index).arg(images.size()));
    return;
  }
  image = images[index];
  alternate = index < alternates.size() ? alternates[index] : image;
}

void Glyph::Draw(QPainter& painter, QPoint topLeft, bool enabled) const {
  const QPixmap& picture = enabled ? image : alternate;
  if (!picture.isNull()) painter.drawPixmap(topLeft, picture);
}
