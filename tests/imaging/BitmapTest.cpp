// BMP files into and out of buffers: every variant people's files hold, round trips,
// wrong sizes, corrupt and truncated files.

#include "BmpFixtureWriter.h"
#include "ImagingFixtures.h"
#include "Yelk/TMsgLog.h"

#include <QBuffer>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace ImagingFixtures;
using namespace BmpFixtureWriter;

namespace {

const QList<QRgb> fourColours = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(40, 80, 255)};

quint32 IndexAt(int x, int y) { return quint32(x + 2 * y) % 4; }
quint32 TwoTone(int x, int y) { return quint32(x + y) % 2; }
QRgb TrueColour(int x, int y) { return qRgb(x * 40 + 10, y * 70 + 20, 200 - x * 30); }
template <int GreenBits>
quint32 As16Bits(int x, int y) {
  const QRgb c = TrueColour(x, y);
  return quint32(qRed(c) >> 3) << (5 + GreenBits) | quint32(qGreen(c) >> (8 - GreenBits)) << 5 | quint32(qBlue(c) >> 3);
}

std::uint32_t Stored(QRgb c) {
  const std::uint32_t v = c & 0xFFFFFF;
  return v ? v : 1;
}

bool ReadBmp(const QByteArray& bytes, VirtualBuffer& buffer) { return ReadBytes(bytes, buffer, VirtualBuffer::BitmapMode); }

struct Variant {
  const char* name;
  BmpLayout layout;
  std::function<QRgb(int, int)> expected;
  int tolerance = 0;
};

std::vector<Variant> Variants() {
  const auto palette4 = [](int x, int y) { return fourColours[int(IndexAt(x, y))]; };
  const auto palette2 = [](int x, int y) { return fourColours[int(TwoTone(x, y)) * 3]; };
  const auto packed = [](int x, int y) { return quint32(TrueColour(x, y) & 0xFFFFFF); };
  const QList<QRgb> twoColours = {fourColours[0], fourColours[3]};
  return {
      {"core header, 8 bits", {12, 5, 3, 8, Rgb, false, fourColours, {}, IndexAt}, palette4},
      {"core header, 24 bits", {12, 5, 3, 24, Rgb, false, {}, {}, packed}, TrueColour},
      {"1 bit", {40, 5, 3, 1, Rgb, false, twoColours, {}, TwoTone}, palette2},
      {"4 bits", {40, 5, 3, 4, Rgb, false, fourColours, {}, IndexAt}, palette4},
      {"8 bits", {40, 5, 3, 8, Rgb, false, fourColours, {}, IndexAt}, palette4},
      {"8 bits top-down", {40, 5, 3, 8, Rgb, true, fourColours, {}, IndexAt}, palette4},
      {"RLE8", {40, 5, 3, 8, Rle8, false, fourColours, {}, IndexAt}, palette4},
      {"RLE4", {40, 5, 3, 4, Rle4, false, fourColours, {}, IndexAt}, palette4},
      {"16 bits 5-5-5", {40, 5, 3, 16, Rgb, false, {}, {}, As16Bits<5>}, TrueColour, 8},
      {"16 bits 5-6-5 bit fields", {40, 5, 3, 16, BitFields, false, {}, {0xF800, 0x07E0, 0x001F}, As16Bits<6>}, TrueColour, 8},
      {"24 bits", {40, 5, 3, 24, Rgb, false, {}, {}, packed}, TrueColour},
      {"24 bits top-down", {40, 5, 3, 24, Rgb, true, {}, {}, packed}, TrueColour},
      {"32 bits", {40, 5, 3, 32, Rgb, false, {}, {}, packed}, TrueColour},
      {"32 bits bit fields, version 4 header",
       {108, 5, 3, 32, BitFields, false, {}, {0xFF0000, 0xFF00, 0xFF}, packed}, TrueColour},
      {"24 bits, version 5 header", {124, 5, 3, 24, Rgb, false, {}, {}, packed}, TrueColour},
  };
}

}  // namespace

TEST(BitmapRead, EveryVariantLoadsWithTheRightPixels) {
  for (const Variant& v : Variants()) {
    VirtualBuffer buffer(5, 3, v.name);
    ASSERT_TRUE(ReadBmp(Write(v.layout), buffer)) << v.name << ": " << TMsgLog::Lines().last().toStdString();
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x)
        EXPECT_LE(Distance(PixelAt(buffer, x, y), Stored(v.expected(x, y))), v.tolerance)
            << v.name << " at " << x << "," << y << ": " << std::hex << PixelAt(buffer, x, y);
    for (std::uint32_t p : Pixels(buffer)) EXPECT_NE(p, 0u) << v.name << ": black must be stored as 1";
  }
}

TEST(BitmapWrite, RoundTripWrites24BitsAndKeepsEveryPixel) {
  QImage image = ColourfulImage(7, 4);
  image.setPixel(2, 1, qRgb(0, 0, 0));
  VirtualBuffer picture(image, "round trip");
  QByteArray bytes;
  {
    QBuffer out(&bytes);
    out.open(QIODevice::WriteOnly);
    ASSERT_TRUE(picture.Write(out, VirtualBuffer::BitmapMode));
  }
  const auto* raw = reinterpret_cast<const uchar*>(bytes.constData());
  EXPECT_EQ(qFromLittleEndian<quint16>(raw + 28), 24);
  EXPECT_EQ(qFromLittleEndian<quint32>(raw + 2), quint32(bytes.size()));
  VirtualBuffer copy(7, 4, "copy");
  ASSERT_TRUE(ReadBmp(bytes, copy));
  EXPECT_EQ(Pixels(copy), Pixels(picture));
  EXPECT_EQ(PixelAt(copy, 2, 1), 1u);
}

TEST(BitmapRead, TheStreamIsLeftAfterTheFileAndAnotherSizeLeavesTheBufferUnchanged) {
  const QByteArray file = Write(Variants()[10].layout);
  QByteArray bytes = file + "TRAILER";
  QBuffer stream(&bytes);
  stream.open(QIODevice::ReadOnly);
  VirtualBuffer buffer(5, 3, "embedded");
  ASSERT_TRUE(buffer.Read(stream, VirtualBuffer::BitmapMode));
  EXPECT_EQ(stream.read(7), QByteArray("TRAILER"));
  QByteArray overstated = file;
  qToLittleEndian<quint32>(0x7FFFFFF0, overstated.data() + 2);  // recorded size past the end
  EXPECT_TRUE(ReadBmp(overstated, buffer));

  auto other = Patterned(6, 3);
  EXPECT_FALSE(ReadBmp(file, *other));
  EXPECT_EQ(Pixels(*other), Pixels(*Patterned(6, 3)));
}

TEST(BitmapRead, CorruptAndTruncatedFilesFailWithoutDecoding) {
  const QByteArray good = Write(Variants()[10].layout);
  QByteArray pixelsPastEnd = good;
  qToLittleEndian<quint32>(quint32(good.size() + 100), pixelsPastEnd.data() + 10);
  QByteArray pixelsInHeader = good;
  qToLittleEndian<quint32>(3, pixelsInHeader.data() + 10);
  QByteArray oddHeader = good;
  qToLittleEndian<quint32>(20, oddHeader.data() + 14);
  QByteArray wide = good;  // 40000 pixels wide: over the side limit
  qToLittleEndian<qint32>(40000, wide.data() + 18);
  QByteArray many = good;  // 30000 × 30000: over the pixel limit
  qToLittleEndian<qint32>(30000, many.data() + 18);
  qToLittleEndian<qint32>(30000, many.data() + 22);
  const QByteArray rle = Write(Variants()[6].layout);
  const QByteArray cases[] = {"", "BM", "PK not a bitmap at all", pixelsPastEnd, pixelsInHeader, oddHeader, wide, many,
                              good.left(20), good.left(60), good.left(good.size() - 5), rle.left(rle.size() - 5)};
  for (const QByteArray& bytes : cases) {
    VirtualBuffer buffer(5, 3, "corrupt");
    EXPECT_FALSE(ReadBmp(bytes, buffer)) << bytes.size();
  }
}

