// JPEG streams into and out of buffers: every kind people's files hold, round trips,
// wrong sizes, corrupt and truncated streams.

#include "ImagingFixtures.h"
#include "JpegFixtureWriter.h"
#include "Yelk/TMsgLog.h"
#include "imaging/VirtualBuffer.h"

#include <QBuffer>
#include <gtest/gtest.h>
#include <cstdlib>

using namespace ImagingFixtures;
using JpegFixtureWriter::Kind;

namespace {

// Six solid blocks side by side, each 16 × 16: colours a decoder could mix up.
const QRgb blockColours[] = {qRgb(220, 30, 30), qRgb(30, 200, 40), qRgb(20, 40, 210),
                             qRgb(250, 250, 250), qRgb(128, 128, 128), qRgb(0, 0, 0)};

QImage Blocks() {
  QImage image(96, 16, QImage::Format_RGB32);
  for (int i = 0; i < 6; ++i)
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) image.setPixel(16 * i + x, y, blockColours[i]);
  return image;
}

int ChannelDistance(std::uint32_t a, QRgb b) {
  return std::max({std::abs(int(a >> 16 & 0xFF) - qRed(b)), std::abs(int(a >> 8 & 0xFF) - qGreen(b)),
                   std::abs(int(a & 0xFF) - qBlue(b))});
}

bool ReadJpeg(const QByteArray& bytes, VirtualBuffer& buffer) {
  QByteArray copy = bytes;
  QBuffer stream(&copy);
  stream.open(QIODevice::ReadOnly);
  return buffer.Read(stream, VirtualBuffer::JpegMode);
}

bool LastLogLineContains(const QString& text) {
  const QStringList lines = TMsgLog::Lines();
  return !lines.isEmpty() && lines.last().contains(text);
}

struct KindCase {
  const char* name;
  JpegFixtureWriter::Options options;
  bool grey;
};

}  // namespace

TEST(JpegRead, EveryKindDecodesToTheRightColours) {
  const KindCase cases[] = {
      {"baseline 4:2:0", {Kind::YCbCr, false, 2, 2}, false},
      {"baseline 4:2:2", {Kind::YCbCr, false, 2, 1}, false},
      {"baseline 4:4:4", {Kind::YCbCr, false, 1, 1}, false},
      {"baseline 4:1:1", {Kind::YCbCr, false, 4, 1}, false},
      {"progressive", {Kind::YCbCr, true, 2, 2}, false},
      {"RGB", {Kind::Rgb, false, 1, 1}, false},
      {"grey", {Kind::Grey, false, 1, 1}, true},
      {"grey progressive", {Kind::Grey, true, 1, 1}, true},
      {"CMYK", {Kind::Cmyk, false, 1, 1}, false},
      {"CMYK Adobe inverted", {Kind::CmykAdobeInverted, false, 1, 1}, false},
      {"YCCK", {Kind::Ycck, false, 1, 1}, false},
      {"YCCK progressive", {Kind::Ycck, true, 1, 1}, false},
  };
  for (const KindCase& c : cases) {
    VirtualBuffer buffer(96, 16, c.name);
    ASSERT_TRUE(ReadJpeg(JpegFixtureWriter::Write(Blocks(), c.options), buffer)) << c.name;
    for (int i = 0; i < 6; ++i) {
      const QRgb want = c.grey ? qRgb(qGray(blockColours[i]), qGray(blockColours[i]), qGray(blockColours[i]))
                               : blockColours[i];
      // The middle of each block, away from chroma bleeding at its edges.
      EXPECT_LE(ChannelDistance(PixelAt(buffer, 16 * i + 8, 8), want), 6) << c.name << " block " << i;
    }
    for (std::uint32_t v : Pixels(buffer)) ASSERT_NE(v & 0xFFFFFF, 0u) << c.name << ": black must be stored as 1";
    for (std::uint32_t v : Pixels(buffer)) ASSERT_EQ(v >> 24, 0u) << c.name;
  }
}

TEST(JpegRead, OddSizesDecodeUpright) {
  // 37 × 23 is no multiple of any block size; a red top row tells up from down.
  QImage image(37, 23, QImage::Format_RGB32);
  image.fill(qRgb(20, 60, 200));
  for (int x = 0; x < 37; ++x) image.setPixel(x, 0, qRgb(250, 0, 0));
  VirtualBuffer buffer(37, 23, "odd");
  ASSERT_TRUE(ReadJpeg(JpegFixtureWriter::Write(image, {Kind::YCbCr, false, 1, 1}), buffer));
  EXPECT_LE(ChannelDistance(PixelAt(buffer, 18, 0), qRgb(250, 0, 0)), 12);
  EXPECT_LE(ChannelDistance(PixelAt(buffer, 36, 22), qRgb(20, 60, 200)), 12);
}

TEST(JpegWrite, RoundTripKeepsThePictureAndTheStreamEndsWhereItShould) {
  auto picture = std::make_unique<VirtualBuffer>(Blocks(), "blocks");
  QByteArray bytes;
  {
    QBuffer out(&bytes);
    out.open(QIODevice::WriteOnly);
    ASSERT_TRUE(picture->Write(out, VirtualBuffer::JpegMode));
    ASSERT_TRUE(picture->Write(out, VirtualBuffer::JpegMode));  // two streams back to back
  }
  ASSERT_TRUE(bytes.startsWith("\xFF\xD8"));
  QBuffer in(&bytes);
  in.open(QIODevice::ReadOnly);
  for (int round = 0; round < 2; ++round) {
    VirtualBuffer copy(96, 16, "copy");
    ASSERT_TRUE(copy.Read(in, VirtualBuffer::JpegMode)) << "stream " << round;
    for (int i = 0; i < 6; ++i) EXPECT_LE(ChannelDistance(PixelAt(copy, 16 * i + 8, 8), blockColours[i]), 8);
  }
  EXPECT_TRUE(in.atEnd());
}

TEST(JpegRead, AnotherSizeLeavesTheBufferUnchangedAndIsLogged) {
  auto buffer = Patterned(95, 16);
  EXPECT_FALSE(ReadJpeg(JpegFixtureWriter::Write(Blocks(), {}), *buffer));
  EXPECT_TRUE(LastLogLineContains("does not fit"));
  EXPECT_EQ(Pixels(*buffer), Pixels(*Patterned(95, 16)));
}

TEST(JpegRead, CorruptStreamsFailWithTheirErrorCode) {
  const QByteArray good = JpegFixtureWriter::Write(Blocks(), {});
  QByteArray notJpeg = "this is no picture at all, just some text";
  QByteArray badTable = good;
  const int dht = int(badTable.indexOf("\xFF\xC4"));
  badTable[dht + 2] = 0;  // a marker length of 0..255: the table runs into what follows
  badTable[dht + 3] = 3;
  QByteArray noFrame = good.left(2) + "\xFF\xD9";
  for (const QByteArray& bytes : {notJpeg, badTable, noFrame, QByteArray()}) {
    VirtualBuffer buffer(96, 16, "corrupt");
    EXPECT_FALSE(ReadJpeg(bytes, buffer));
    EXPECT_TRUE(LastLogLineContains("JPEG error #") || bytes.isEmpty()) << TMsgLog::Lines().last().toStdString();
  }
}

TEST(JpegRead, AHugeFrameIsRefusedBeforeDecoding) {
  QByteArray bytes = JpegFixtureWriter::Write(Blocks(), {});
  const int sof = int(bytes.indexOf("\xFF\xC0"));
  bytes[sof + 5] = char(0x7F);  // height 0x7F10 = 32528
  bytes[sof + 6] = char(0x10);
  bytes[sof + 7] = char(0x7F);  // width 0x7F60 = 32608: over 2^28 pixels
  bytes[sof + 8] = char(0x60);
  VirtualBuffer buffer(96, 16, "huge");
  EXPECT_FALSE(ReadJpeg(bytes, buffer));
  EXPECT_TRUE(LastLogLineContains("refused"));
}

TEST(JpegRead, TruncatedStreamsDecodeWhatTheyHold) {
  for (bool progressive : {false, true}) {
    const QByteArray good = JpegFixtureWriter::Write(Blocks(), {Kind::YCbCr, progressive, 2, 2});
    // Cut inside the entropy-coded data of the last scan: what came before still shows.
    const int lastScan = int(good.lastIndexOf("\xFF\xDA"));
    const int scanData = lastScan + 2 + (uchar(good[lastScan + 2]) << 8 | uchar(good[lastScan + 3]));
    for (int cut : {(scanData + int(good.size())) / 2, int(good.size()) - 2}) {
      VirtualBuffer buffer(96, 16, "truncated");
      EXPECT_TRUE(ReadJpeg(good.left(cut), buffer)) << cut << (progressive ? " progressive" : "");
      EXPECT_LE(ChannelDistance(PixelAt(buffer, 8, 8), blockColours[0]), 16);
    }
    const int firstScan = int(good.indexOf("\xFF\xDA"));
    for (int cut : {1, 10, firstScan - 3}) {  // cut before the picture's tables are complete
      VirtualBuffer buffer(96, 16, "truncated header");
      EXPECT_FALSE(ReadJpeg(good.left(cut), buffer)) << cut;
    }
  }
}

TEST(JpegWrite, AnEmptyBufferWritesNothing) {
  VirtualBuffer empty(0, 5, "empty");
  QByteArray bytes;
  QBuffer out(&bytes);
  out.open(QIODevice::WriteOnly);
  EXPECT_FALSE(empty.Write(out, VirtualBuffer::JpegMode));
  EXPECT_TRUE(bytes.isEmpty());
}
