#pragma once
// Writes sponsor files the way a sponsor's maker would: INI text whose icon and logo are
// generated bitmaps as upper-case hex. Used by the tests and, through the sponsor test with
// TV_SPONSOR_SAMPLE set to a folder, to put a sample beside the game for a look by hand.

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QString>

namespace SponsorFiles {

// A 16 x 16 icon: a blue disc with magenta (to be transparent) round it.
inline QImage IconPicture() {
  QImage image(16, 16, QImage::Format_RGB32);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const int dx = x - 8, dy = y - 8;
      image.setPixel(x, y, dx * dx + dy * dy < 40 ? qRgb(30, 80, 200) : qRgb(255, 0, 255));
    }
  return image;
}

// A logo whose blue bytes run through every value, the 1, 2 and 15 markers among them.
inline QImage LogoPicture(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb(x * 7 & 255, y * 3 & 255, (x + y * width) & 255));
  return image;
}

inline QByteArray Bmp(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "BMP");
  return bytes;
}

inline QString Hex(const QByteArray& bytes) { return QString::fromLatin1(bytes.toHex()).toUpper(); }

struct Fields {
  QString general = QStringLiteral("Ver=3\nId=ACME-7\nName=A & B, Ltd\nURL=http://example.org/a,b@c\\d\nAff=$1F\n");
  QString iconData = Hex(Bmp(IconPicture()));
  QString logo = QStringLiteral("Display=1\nWidth=40\nHeight=24\nDilute=3\n");
  QString logoData = Hex(Bmp(LogoPicture(40, 24)));
};

inline QByteArray Text(const Fields& f) {
  QString text = QStringLiteral("[General]\n") + f.general;
  if (!f.iconData.isNull()) text += QStringLiteral("[Icon]\nData=") + f.iconData + QLatin1Char('\n');
  text += QStringLiteral("[Logo]\n") + f.logo;
  if (!f.logoData.isNull()) text += QStringLiteral("Data=") + f.logoData + QLatin1Char('\n');
  return text.toUtf8();
}

}  // namespace SponsorFiles
