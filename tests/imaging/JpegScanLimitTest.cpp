// Long JPEG decodes: progressive pictures of more scans than encoders write, or whose scans
// take in more than a budget of pixels, are refused as damaged, and a decode stops when the
// cancel check of its thread asks it to.

#include "ImagingFixtures.h"
#include "JpegFixtureWriter.h"
#include "imaging/DecodeCancel.h"
#include "imaging/DecodeRefusal.h"
#include "imaging/JpegReader.h"
#include "Yelk/TMsgLog.h"

#include <QBuffer>
#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

using namespace ImagingFixtures;
using JpegFixtureWriter::Kind;

namespace {

bool LastLogLineContains(const char* text) { return TMsgLog::Lines().last().contains(QLatin1String(text)); }

std::string LastLogLine() {
  const QStringList lines = TMsgLog::Lines();
  return lines.isEmpty() ? std::string() : lines.last().toStdString();
}

// The channel distance of the worst pixel from the picture written.
int WorstPixel(const VirtualBuffer& buffer, const QImage& image, bool grey) {
  int worst = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb want = image.pixel(x, y);
      const std::uint32_t wanted = grey ? qGray(want) * 0x010101u : want & 0xFFFFFFu;
      worst = std::max(worst, Distance(PixelAt(buffer, x, y), wanted));
    }
  return worst;
}

// Smooth, so that every kind of picture survives quality 100 closely.
QImage Gradient(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb(40 + x * 2 % 180, 60 + y * 3 % 150, 200 - (x + y) % 120));
  return image;
}

bool Decode(const QByteArray& jpeg, VirtualBuffer& buffer) { return ReadBytes(jpeg, buffer, VirtualBuffer::JpegMode); }

// Counts how often the check is asked and answers true from the `stopAt`-th time on.
struct CountingCheck {
  int stopAt = INT_MAX;
  int asked = 0;
  bool operator()() { return ++asked >= stopAt; }
};

}  // namespace

// As many scans as encoders write decode to the picture (the scans are real steps of the
// progression); one more is a damaged file, for every kind of picture.
TEST(JpegScans, AsManyAsEncodersWriteDecodeAndOneMoreIsRefused) {
  const QImage image = Gradient(64, 48);
  for (Kind kind : {Kind::YCbCr, Kind::Grey, Kind::CmykAdobeInverted}) {
    const bool grey = kind == Kind::Grey;
    JpegFixtureWriter::Options options{kind, false, 1, 1};
    options.scans = JpegReader::MaxScans;
    VirtualBuffer buffer(64, 48, "scans");
    ASSERT_TRUE(Decode(JpegFixtureWriter::Write(image, options), buffer)) << int(kind) << ": " << LastLogLine();
    EXPECT_LE(WorstPixel(buffer, image, grey), 8) << int(kind);

    options.scans = JpegReader::MaxScans + 1;
    EXPECT_FALSE(Decode(JpegFixtureWriter::Write(image, options), buffer)) << int(kind);
    EXPECT_TRUE(LastLogLineContains("VirtualBuffer::Read scans - JPEG error: more than 64 scans")) << LastLogLine();
  }
}

// A valid picture of thousands of scans once took a minute to decode at 8192 x 8192: it is
// refused as soon as the scan over the limit starts, long before the rest of the stream.
TEST(JpegScans, ThousandsOfScansAreRefusedBeforeTheRestOfTheStreamIsRead) {
  for (Kind kind : {Kind::YCbCr, Kind::Grey}) {
    JpegFixtureWriter::Options options{kind, false, 1, 1};
    options.scans = JpegFixtureWriter::MostScans(kind == Kind::Grey ? 1 : 3);
    QByteArray jpeg = JpegFixtureWriter::Write(Gradient(512, 512), options);
    ASSERT_EQ(jpeg.count("\xFF\xDA"), options.scans);
    QBuffer stream(&jpeg);
    stream.open(QIODevice::ReadOnly);
    VirtualBuffer buffer(512, 512, "thousands");
    EXPECT_FALSE(buffer.Read(stream, VirtualBuffer::JpegMode));
    EXPECT_TRUE(LastLogLineContains("more than 64 scans")) << LastLogLine();
    // The decoder reads in chunks of 64 KB: the 65th scan starts in the first one.
    const qint64 scan65 = [&] {
      qint64 at = -1;
      for (int i = 0; i <= JpegReader::MaxScans; ++i) at = jpeg.indexOf("\xFF\xDA", at + 1);
      return at;
    }();
    ASSERT_LT(scan65, 64 * 1024);
    ASSERT_GT(jpeg.size(), 64 * 1024) << "the stream too short to show it";
    EXPECT_LE(stream.pos(), 64 * 1024);
  }
}

// The check is asked all through a decode, every so many rows, not only once: answering
// true the third time stops the decode there, as a failure that says so.
TEST(JpegDecodeCancel, TheCheckIsAskedThroughoutAndStopsTheDecode) {
  const QByteArray baseline = JpegFixtureWriter::Write(Gradient(512, 512), {});
  JpegFixtureWriter::Options progressive{Kind::YCbCr, true};
  const QByteArray scans = JpegFixtureWriter::Write(Gradient(512, 512), progressive);
  for (const QByteArray& jpeg : {baseline, scans}) {
    VirtualBuffer buffer(512, 512, "cancelled");
    CountingCheck never;
    {
      const DecodeCancel scope([&never] { return never(); });
      ASSERT_TRUE(Decode(jpeg, buffer)) << LastLogLine();
    }
    EXPECT_GE(never.asked, 4);
    CountingCheck third{3};
    const DecodeCancel scope([&third] { return third(); });
    EXPECT_FALSE(Decode(jpeg, buffer));
    EXPECT_EQ(third.asked, 3);
    EXPECT_TRUE(LastLogLineContains("VirtualBuffer::Read cancelled - JPEG decode cancelled")) << LastLogLine();
  }
}

// The innermost check of the thread decides; once it is gone the outer one does again, and
// a decode outside every scope, or on another thread, runs to the end.
TEST(JpegDecodeCancel, OnlyTheInnermostCheckOfTheSameThreadCounts) {
  const QByteArray jpeg = JpegFixtureWriter::Write(Gradient(64, 48), {});
  VirtualBuffer buffer(64, 48, "scoped");
  EXPECT_FALSE(DecodeCancel::Requested());
  {
    const DecodeCancel stop([] { return true; });
    {
      const DecodeCancel goOn([] { return false; });
      EXPECT_TRUE(Decode(jpeg, buffer));
    }
    EXPECT_FALSE(Decode(jpeg, buffer));
    bool elsewhere = false;
    std::thread other([&] {
      // Plain memory: buffers belong to the main thread.
      std::vector<std::uint32_t> pixels(64 * 48);
      QByteArray bytes = jpeg;
      QBuffer stream(&bytes);
      stream.open(QIODevice::ReadOnly);
      elsewhere = JpegReader::Decode(stream, RasterImage{pixels.data(), 64, 48}, QStringLiteral("other thread"));
    });
    other.join();
    EXPECT_TRUE(elsewhere);
  }
  EXPECT_TRUE(Decode(jpeg, buffer));
  // A check that throws cannot unwind through the decoder: it stops the decode instead.
  const DecodeCancel throwing([]() -> bool { throw std::runtime_error("gone"); });
  EXPECT_FALSE(Decode(jpeg, buffer));
  EXPECT_TRUE(LastLogLineContains("JPEG decode cancelled")) << LastLogLine();
}

namespace {

// Decodes into uncleared memory, which a refused picture never touches.
bool DecodeLarge(const QByteArray& jpeg, int width, int height, JpegReader::Work& work) {
  QByteArray bytes = jpeg;
  QBuffer stream(&bytes);
  stream.open(QIODevice::ReadOnly);
  const VirtualBuffer picture(width, height, "budget", VirtualBuffer::Uncleared{});
  return JpegReader::DecodeCounted(stream, picture.Image(), QStringLiteral("budget"), work);
}

}  // namespace

// The pixels every scan carries count against one budget for the whole picture, whether the
// scans hold data or not: an arithmetic-coded scan without data costs a pass like any other.
// A picture may take six passes over its components and 64 over a picture of 512 x 512
// pixels more; the scan that would take it over is refused before its data is read. A
// missing restart marker is damage. Each row's reason goes to its own scope, and to the outer
// one again once that is gone.
TEST(JpegBudget, ThePicturesScansTakeInNoMoreThanItsBudget) {
  constexpr std::int64_t mega = 1024 * 1024, large = 8192 * 4096, small = 64 * 512 * 512;
  struct Case {
    const char* name;
    QByteArray jpeg;
    int width, height;
    int scans;              // started; the last one is refused when there is a reason
    std::int64_t takenIn;   // pixels the scans carried
    std::int64_t budget;
    const char* reason;     // empty: decoded
  };
  const Case cases[] = {
      {"64 empty grey scans of a megapixel", JpegFixtureWriter::Write({1024, 1024, 1, 64}), 1024, 1024, 23,
       22 * mega, 22 * mega, "JPEG error: scans take in more than 23 million pixels"},
      {"64 empty DC scans of YCbCr 4:2:0", JpegFixtureWriter::Write({1024, 1024, 3, 64, true}), 1024, 1024, 23,
       22 * mega * 3 / 2, 22 * mega * 3 / 2, "JPEG error: scans take in more than 34 million pixels"},
      {"64 empty grey scans of a large picture", JpegFixtureWriter::Write({8192, 4096, 1, 64}), 8192, 4096, 7,
       6 * large, 6 * large + small, "JPEG error: scans take in more than 218 million pixels"},
      {"empty scans without their restart markers", JpegFixtureWriter::Write({64, 64, 1, 3, false, 1}), 64, 64, 1,
       64 * 64, 6 * 64 * 64 + small, "instead of RST0"},
      {"64 empty grey scans of 512 x 512", JpegFixtureWriter::Write({512, 512, 1, 64}), 512, 512, 64,
       64 * 512 * 512, 6 * 512 * 512 + small, ""},
  };
  const DecodeRefusal outer;
  for (const Case& c : cases) {
    ASSERT_FALSE(c.jpeg.isEmpty()) << c.name;
    JpegReader::Work work;
    const DecodeRefusal refusal;
    const bool refused = *c.reason != '\0';
    EXPECT_EQ(DecodeLarge(c.jpeg, c.width, c.height, work), !refused) << c.name << ": " << LastLogLine();
    EXPECT_EQ(work.scans, c.scans) << c.name;
    EXPECT_EQ(work.pixels, c.takenIn) << c.name;
    EXPECT_EQ(work.budget, c.budget) << c.name;
    EXPECT_EQ(refusal.Reason().isEmpty(), !refused) << c.name;
    EXPECT_TRUE(refusal.Reason().contains(QLatin1String(c.reason))) << c.name << ": " << refusal.Reason().toStdString();
  }
  EXPECT_TRUE(outer.Reason().isEmpty());
  JpegReader::Work work;
  EXPECT_FALSE(DecodeLarge(cases[0].jpeg, cases[0].width, cases[0].height, work));
  EXPECT_EQ(outer.Reason().toStdString(), cases[0].reason);
}
