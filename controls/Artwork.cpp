#include "Artwork.h"

#include "Yelk/TMsgLog.h"

#include <QImage>

QString Artwork::Path(const QString& name) { return ":/" + name; }

QString Artwork::BitmapPath(int id) { return QString(":/bitmaps/%1").arg(id); }

QString Artwork::SoundPath(int id) { return QString(":/sounds/%1").arg(id); }

QPixmap Artwork::Pixmap(const QString& name) {
  QPixmap pixmap(Path(name));
  if (pixmap.isNull()) TMsgLog::Add("Artwork - no picture named " + name);
  return pixmap;
}

QIcon Artwork::Icon(const QString& name) { return IconFrom(Pixmap(name)); }

QIcon Artwork::IconFrom(const QPixmap& normal) {
  QIcon icon;
  if (normal.isNull()) return icon;
  icon.addPixmap(normal, QIcon::Normal);
  icon.addPixmap(normal, QIcon::Selected);
  icon.addPixmap(HotLook(normal), QIcon::Active);
  icon.addPixmap(DisabledLook(normal), QIcon::Disabled);
  return icon;
}

QCursor Artwork::Cursor(const QString& name) {
  const QImage image(Path(name));
  if (image.isNull()) {
    TMsgLog::Add("Artwork - no cursor named " + name);
    return QCursor(Qt::ArrowCursor);
  }
  const int x = image.text("HotSpotX").toInt(), y = image.text("HotSpotY").toInt();
  return QCursor(QPixmap::fromImage(image), x, y);
}

namespace {
// Applies a per-pixel change to the colour of a picture, keeping its alpha.
template <typename Change>
QPixmap Recolour(const QPixmap& source, Change change) {
  QImage image = source.toImage().convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) row[x] = change(row[x]);
  }
  return QPixmap::fromImage(image);
}
}  // namespace

QPixmap Artwork::HotLook(const QPixmap& normal) {
  // A touch lighter, as if lit from the front.
  return Recolour(normal, [](QRgb c) {
    auto up = [](int v) { return v + (255 - v) * 18 / 100; };
    return qRgba(up(qRed(c)), up(qGreen(c)), up(qBlue(c)), qAlpha(c));
  });
}

QPixmap Artwork::DisabledLook(const QPixmap& normal) {
  // Grey, pale and half transparent.
  return Recolour(normal, [](QRgb c) {
    const int v = 120 + qGray(c) * 50 / 100;
    return qRgba(v, v, v, qAlpha(c) * 55 / 100);
  });
}
