#include "PictureFixtures.h"

#include "richtext/PictureDecoder.h"

#include <QBuffer>
#include <QtEndian>

namespace {

void PutWord(QByteArray& out, int value) {
  out.append(char(value & 0xFF));
  out.append(char((value >> 8) & 0xFF));
}
void PutLong(QByteArray& out, std::uint32_t value) {
  PutWord(out, int(value & 0xFFFF));
  PutWord(out, int(value >> 16));
}

QByteArray Saved(const QImage& image, const char* format, int quality = -1) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format, quality);
  return buffer.data();
}

std::uint32_t Crc32(const QByteArray& bytes) {
  std::uint32_t crc = 0xFFFFFFFF;
  for (const char c : bytes) {
    crc ^= static_cast<unsigned char>(c);
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

// Parameter bytes before the DIB of each bitmap record.
int ParameterBytes(std::uint16_t function) {
  switch (function) {
    case PictureFixtures::StretchDib: return 4 + 2 + 16;
    case PictureFixtures::DibStretchBlt: return 4 + 16;
    case PictureFixtures::DibBitBlt: return 4 + 12;
    default: return 18;
  }
}

}  // namespace

namespace PictureFixtures {

QImage Reference(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb(40 + x * 30 % 200, 20 + y * 50 % 220, 200 - x * 20 % 180));
  return image;
}

QByteArray Dib(const QImage& image) { return PictureDecoder::EncodeDib(image); }
QByteArray Png(const QImage& image) { return Saved(image, "png"); }
QByteArray Jpeg(const QImage& image) { return Saved(image, "jpeg", 100); }

QByteArray Wmf(std::uint16_t function, const QByteArray& dib) {
  QByteArray out;
  PutWord(out, 1), PutWord(out, 9), PutWord(out, 0x0300), PutLong(out, 0), PutWord(out, 0), PutLong(out, 0),
      PutWord(out, 0);
  PutLong(out, 5), PutWord(out, 0x020C), PutWord(out, 4), PutWord(out, 6);  // a record before: SETWINDOWEXT
  const int params = ParameterBytes(function);
  PutLong(out, std::uint32_t(3 + params / 2 + (dib.size() + 1) / 2)), PutWord(out, function);
  out.append(QByteArray(params, '\0')).append(dib);
  if (dib.size() % 2) out.append('\0');
  PutLong(out, 3), PutWord(out, 0);
  return out;
}

QByteArray DeviceBitmap24(const QImage& image) {
  QByteArray rows;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb pixel = image.pixel(x, y);
      rows.append(char(qBlue(pixel))).append(char(qGreen(pixel))).append(char(qRed(pixel)));
    }
  return rows;
}

QByteArray Pict(const QByteArray& words, const QByteArray& data, QSize shown) {
  return "{\\pict" + words + "\\picwgoal" + QByteArray::number(shown.width() * 15) + "\\pichgoal" +
         QByteArray::number(shown.height() * 15) + "\r\n" + data.toHex() + "}";
}

QByteArray Note(const QByteArray& body) {
  return "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss Arial;}}\\viewkind4\\uc1\\pard x" +
         body + "y\\par\r\n}";
}

QByteArray PngHeaderOnly(int width, int height) {
  QByteArray png = Png(Reference(1, 1));
  QByteArray ihdr = png.mid(12, 17);  // "IHDR" and its 13 bytes
  qToBigEndian<std::uint32_t>(std::uint32_t(width), ihdr.data() + 4);
  qToBigEndian<std::uint32_t>(std::uint32_t(height), ihdr.data() + 8);
  png.replace(12, 17, ihdr);
  qToBigEndian<std::uint32_t>(Crc32(ihdr), png.data() + 29);
  return png;
}

}  // namespace PictureFixtures
