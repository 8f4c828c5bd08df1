#pragma once
// One small picture of an image list, with its twin from a second list that is drawn
// while the list box showing it is disabled.

#include <QList>
#include <QPixmap>

class QPainter;

class Glyph {
public:
  using ImageList = QList<QPixmap>;

  // An index outside the first list gives an empty glyph (and a log line); a missing twin
  // falls back to the first list's picture.
  Glyph(const ImageList& images, const ImageList& alternates, int index);

  bool IsEmpty() const { return image.isNull(); }
  QSize Size() const { return image.size() / image.devicePixelRatio(); }
  const QPixmap& Image() const { return image; }
  const QPixmap& AlternateImage() const { return alternate; }
  void Draw(QPainter& painter, QPoint topLeft, bool enabled) const;

private:
  QPixmap image;
  QPixmap alternate;
};
