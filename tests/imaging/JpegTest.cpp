// JPEG streams into and out of buffers: every kind people's files hold, round trips,
// wrong sizes, corrupt and truncated streams.

#include "ImagingFixtures.h"
#include "imaging/ImageFileHeader.h"
#include "JpegFixtureWriter.h"
#include "Yelk/TMsgLog.h"

#include <QBuffer>
#include <gtest/gtest.h>

using namespace ImagingFixtures;
using JpegFixtureWriter::Kind;

namespace {

const QRgb blockColours[] = {qRgb(220, 30, 30), qRgb(30, 200, 40), qRgb(20, 40, 210),
                             qRgb(250, 250, 250), qRgb(128, 128, 128), qRgb(0, 0, 0)};

// Six solid 16 × 16 blocks across, the same in reverse order below: up differs from down.
QRgb BlockColour(int x, int y) { return blockColours[y < 16 ? x / 16 : 5 - x / 16]; }

QImage Blocks() {
  QImage image(96, 32, QImage::Format_RGB32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 96; ++x) image.setPixel(x, y, BlockColour(x, y));
  return image;
}

// Largest distance from the block colours in the middle of each block, away from the chroma
// bleeding at its edges.
int WorstBlock(const VirtualBuffer& buffer, bool grey = false) {
  int worst = 0;
  for (int y : {8, 24})
    for (int x = 8; x < 96; x += 16) {
      const QRgb want = BlockColour(x, y);
      worst = std::max(worst, Distance(PixelAt(buffer, x, y), grey ? qRgb(qGray(want), qGray(want), qGray(want)) : want));
    }
  return worst;
}

bool ReadJpeg(const QByteArray& bytes, VirtualBuffer& buffer) { return ReadBytes(bytes, buffer, VirtualBuffer::JpegMode); }

bool LastLogLineContains(const QString& text) { return TMsgLog::Lines().last().contains(text); }

}  // namespace

TEST(JpegRead, EveryKindDecodesUprightToTheRightColoursWithBlackAsOne) {
  const struct {
    const char* name;
    JpegFixtureWriter::Options options;
  } cases[] = {
      {"baseline 4:2:0", {Kind::YCbCr, false, 2, 2}}, {"baseline 4:2:2", {Kind::YCbCr, false, 2, 1}},
      {"baseline 4:4:4", {Kind::YCbCr, false, 1, 1}}, {"baseline 4:1:1", {Kind::YCbCr, false, 4, 1}},
      {"progressive", {Kind::YCbCr, true, 2, 2}},     {"RGB", {Kind::Rgb, false, 1, 1}},
      {"grey", {Kind::Grey, false, 1, 1}},            {"grey progressive", {Kind::Grey, true, 1, 1}},
      {"CMYK", {Kind::Cmyk, false, 1, 1}},            {"CMYK Adobe inverted", {Kind::CmykAdobeInverted, false, 1, 1}},
      {"YCCK", {Kind::Ycck, false, 1, 1}},            {"YCCK progressive", {Kind::Ycck, true, 1, 1}},
  };
  for (const auto& c : cases) {
    VirtualBuffer buffer(96, 32, c.name);
    ASSERT_TRUE(ReadJpeg(JpegFixtureWriter::Write(Blocks(), c.options), buffer)) << c.name;
    EXPECT_LE(WorstBlock(buffer, c.options.kind == Kind::Grey), 6) << c.name;
    for (std::uint32_t v : Pixels(buffer)) ASSERT_TRUE(v > 0 && v <= 0xFFFFFF) << c.name << ": " << v;
  }
}

TEST(JpegWrite, RoundTripsKeepThePictureAndEachStreamEndsWhereItShould) {
  VirtualBuffer picture(Blocks(), "blocks");
  QByteArray bytes;
  QBuffer out(&bytes);
  out.open(QIODevice::WriteOnly);
  ASSERT_TRUE(picture.Write(out, VirtualBuffer::JpegMode));
  ASSERT_TRUE(picture.Write(out, VirtualBuffer::JpegMode));  // two streams back to back
  out.close();
  QBuffer in(&bytes);
  in.open(QIODevice::ReadOnly);
  for (int round = 0; round < 2; ++round) {
    VirtualBuffer copy(96, 32, "copy");
    ASSERT_TRUE(copy.Read(in, VirtualBuffer::JpegMode)) << "stream " << round;
    EXPECT_LE(WorstBlock(copy), 8);
  }
  EXPECT_TRUE(in.atEnd());
}

TEST(JpegRead, AnotherSizeOrAHugeFrameIsRefusedBeforeDecoding) {
  auto buffer = Patterned(95, 32);
  const auto before = Pixels(*buffer);
  EXPECT_FALSE(ReadJpeg(JpegFixtureWriter::Write(Blocks(), {}), *buffer));
  EXPECT_TRUE(LastLogLineContains("does not fit"));
  EXPECT_EQ(Pixels(*buffer), before);

  // Over 2^28 pixels either way round, and each side alone over its cap.
  for (const char* size : {"\x7F\xFF\x20\x01", "\x20\x01\x7F\xFF", "\x9C\x40\x00\x10", "\x00\x10\x9C\x40"}) {
    QByteArray huge = JpegFixtureWriter::Write(Blocks(), {});
    huge.replace(huge.indexOf("\xFF\xC0") + 5, 4, QByteArray(size, 4));  // height, width
    EXPECT_FALSE(ReadJpeg(huge, *buffer));
    EXPECT_TRUE(LastLogLineContains("refused")) << TMsgLog::Lines().last().toStdString();
  }
}

TEST(JpegRead, CorruptStreamsFailWithTheirErrorCode) {
  const QByteArray good = JpegFixtureWriter::Write(Blocks(), {});
  QByteArray badTable = good;
  const int dht = int(badTable.indexOf("\xFF\xC4"));
  badTable.replace(dht + 2, 2, QByteArray("\x00\x03", 2));  // a table of 1 byte
  for (const QByteArray& bytes : {QByteArray("no picture at all"), badTable, good.left(2) + "\xFF\xD9", QByteArray()}) {
    VirtualBuffer buffer(96, 32, "corrupt");
    EXPECT_FALSE(ReadJpeg(bytes, buffer));
    EXPECT_TRUE(bytes.isEmpty() || LastLogLineContains("JPEG error #")) << TMsgLog::Lines().last().toStdString();
  }
}

// A picture half grey is no picture: a stream cut anywhere, even just before its end
// marker, is refused with libjpeg's own words for it.
TEST(JpegRead, StreamsThatEndEarlyAreRefused) {
  for (bool progressive : {false, true}) {
    const QByteArray good = JpegFixtureWriter::Write(Blocks(), {Kind::YCbCr, progressive, 2, 2});
    // Just before the end marker, inside the last scan's data, inside the first scan's data,
    // inside the first scan's header.
    const auto dataOf = [&](int scan) { return scan + 2 + (uchar(good[scan + 2]) << 8 | uchar(good[scan + 3])); };
    const int firstScan = int(good.indexOf("\xFF\xDA")), lastScan = int(good.lastIndexOf("\xFF\xDA"));
    for (int cut : {int(good.size()) - 2, (dataOf(lastScan) + int(good.size())) / 2, dataOf(firstScan) + 10, firstScan + 4}) {
      VirtualBuffer buffer(96, 32, "cut");
      EXPECT_FALSE(ReadJpeg(good.left(cut), buffer)) << progressive << " cut at " << cut;
      EXPECT_TRUE(LastLogLineContains("Premature end of JPEG file")) << TMsgLog::Lines().last().toStdString();
    }
    // Cut inside a scan's data but closed with an end marker: libjpeg warns of the data
    // segment's premature end and would fill the rest grey. (A progressive file's last
    // refinement scan may end early without a warning.)
    for (int cut : {progressive ? dataOf(firstScan) + 20 : (dataOf(lastScan) + int(good.size())) / 2, dataOf(firstScan) + 10}) {
      VirtualBuffer buffer(96, 32, "cut and closed");
      EXPECT_FALSE(ReadJpeg(good.left(cut) + "\xFF\xD9", buffer)) << progressive << " closed at " << cut;
      EXPECT_TRUE(LastLogLineContains("premature end of data segment")) << TMsgLog::Lines().last().toStdString();
    }
    // So cut, a frame header claiming 4096 x 4096 decodes no further than its data: it
    // once filled 64 MB with grey.
    QByteArray huge = good.left(dataOf(firstScan) + 20) + "\xFF\xD9";
    huge.replace(huge.indexOf(progressive ? "\xFF\xC2" : "\xFF\xC0") + 5, 4, QByteArray("\x10\x00\x10\x00", 4));
    VirtualBuffer large(4096, 4096, "huge", VirtualBuffer::Uncleared{});
    EXPECT_FALSE(ReadJpeg(huge, large)) << progressive;
    for (int cut : {1, 10, int(good.indexOf("\xFF\xDA")) - 3}) {  // before the tables are complete
      VirtualBuffer buffer(96, 32, "cut");
      EXPECT_FALSE(ReadJpeg(good.left(cut), buffer)) << cut;
    }
  }
}

namespace {

// The segments of a stream before its first scan, each from its marker on; the scan and
// what follows it as the last one.
QList<QByteArray> Segments(const QByteArray& jpeg) {
  QList<QByteArray> segments{jpeg.left(2)};
  int at = 2;
  while (uchar(jpeg[at + 1]) != 0xDA) {
    const int length = uchar(jpeg[at + 2]) << 8 | uchar(jpeg[at + 3]);
    segments.append(jpeg.mid(at, 2 + length));
    at += 2 + length;
  }
  segments.append(jpeg.mid(at));
  return segments;
}

}  // namespace

// libjpeg skips stray bytes before a marker and takes its tables in any order before the
// scan; the header walk that sizes the picture must read such files as it does.
TEST(JpegRead, StrayBytesBeforeMarkersAndTablesBeforeTheFrameLoad) {
  const QByteArray good = JpegFixtureWriter::Write(Blocks(), {});
  VirtualBuffer reference(96, 32, "reference");
  ASSERT_TRUE(ReadJpeg(good, reference));
  const QList<QByteArray> segments = Segments(good);
  QByteArray stray = segments[0];
  for (const QByteArray& segment : segments.mid(1)) stray += QByteArray("\x12\x34\xFF\x00\x56", 5) + segment;
  QByteArray tablesFirst = segments[0];
  for (bool tables : {true, false})
    for (const QByteArray& segment : segments.mid(1, segments.size() - 2))
      if ((uchar(segment[1]) == 0xC4) == tables) tablesFirst += segment;
  tablesFirst += segments.last();
  ASSERT_LT(tablesFirst.indexOf("\xFF\xC4"), tablesFirst.indexOf("\xFF\xC0"));
  for (const QByteArray& file : {stray, tablesFirst}) {
    QByteArray bytes = file;
    QBuffer stream(&bytes);
    stream.open(QIODevice::ReadOnly);
    int width = 0, height = 0;
    EXPECT_TRUE(ImageFileHeader::JpegSize(stream, width, height));
    EXPECT_EQ(QSize(width, height), QSize(96, 32));
    stream.seek(0);
    EXPECT_TRUE(ImageFileHeader::IsBaselineJpeg(stream));
    VirtualBuffer buffer(96, 32, "reordered");
    ASSERT_TRUE(ReadJpeg(file, buffer)) << TMsgLog::Lines().last().toStdString();
    EXPECT_EQ(Pixels(buffer), Pixels(reference));
  }
}
