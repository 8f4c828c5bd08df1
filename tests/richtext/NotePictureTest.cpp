// Pictures of notes: each kind a note may store shows at its goal size with the pixels it
// holds (or as a box, for the kinds that have no bitmap), counts one position, and is
// written back byte for byte; damaged pictures show as boxes with one log line and are
// still written back unchanged.

#include "NoteFixtures.h"
#include "PictureFixtures.h"

#include "Yelk/TMsgLog.h"
#include "richtext/KeptGroup.h"
#include "richtext/NotePicture.h"
#include "richtext/PictureFit.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QTextDocument>
#include <QTextCursor>
#include <QUrl>

#include <gtest/gtest.h>

#include <random>

namespace {

using namespace PictureFixtures;

struct Sample {
  const char* name;
  QByteArray group;
  QSize shown;
  int tolerance;  // per channel; -1: drawn as a box
  QImage expected = Reference();
};

const QSize kShown(12, 8);  // twice the reference's size: the goal, not the bitmap, counts

std::vector<Sample> Samples() {
  const QImage picture = Reference();
  const QByteArray dib = Dib(picture);
  const QByteArray other = Dib(Reference(3, 3).mirrored(true, false));
  std::vector<Sample> samples = {
      {"DIB", Pict("\\dibitmap0\\picw6\\pich4", dib, kShown), kShown, 0},
      {"device bitmap", Pict("\\wbitmap0\\picw6\\pich4\\picbpp24\\picwbmwidthbytes18", DeviceBitmap24(picture), kShown),
       kShown, 0},
      {"PNG", Pict("\\pngblip\\picw6\\pich4", Png(picture), kShown), kShown, 0},
      {"JPEG", Pict("\\jpegblip\\picw6\\pich4", Jpeg(picture), kShown), kShown, 2,
       QImage::fromData(Jpeg(picture), "jpeg")},  // as Qt's own reader decodes it
      {"EMF", Pict("\\emfblip\\picw6\\pich4", QByteArray("\x01\0\0\0\x6c\0\0\0", 8), kShown), kShown, -1},
      {"PNG with its metafile twin",
       "{\\*\\shppict" + Pict("{\\*\\picprop{\\sp{\\sn x}{\\sv 1}}}\\pngblip", Png(picture), kShown) +
           "}{\\nonshppict" + Pict("\\wmetafile8", Wmf(StretchDib, other), kShown) + "}",
       kShown, 0},
      {"object", "{\\object\\objemb{\\*\\objclass Paint.Picture}\\objw180\\objh120{\\*\\objdata 0105000002}{\\result" +
                     Pict("\\wmetafile8", Wmf(DibBitBlt, dib), QSize(3, 3)) + "}}",
       kShown, 0},
  };
  for (const std::uint16_t function : {StretchDib, DibStretchBlt, DibBitBlt, SetDibToDev})
    samples.push_back({"metafile", Pict("\\wmetafile8\\picw159\\pich106", Wmf(function, dib), kShown), kShown, 0});
  return samples;
}

QTextCharFormat PictureFormat(const QTextDocument& document) {
  QTextCursor cursor(const_cast<QTextDocument*>(&document));
  cursor.setPosition(2);  // after x and the picture
  return cursor.charFormat();
}

QImage Shown(const QTextDocument& document, const QTextCharFormat& format) {
  return qvariant_cast<QImage>(document.resource(QTextDocument::ImageResource, QUrl(format.toImageFormat().name())));
}

int ChannelDifference(QRgb a, QRgb b) {
  return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

int LargestDifference(const QImage& shown, const QImage& expected) {
  if (shown.size() != expected.size()) return 256;
  int largest = 0;
  for (int y = 0; y < expected.height(); ++y)
    for (int x = 0; x < expected.width(); ++x) largest = std::max(largest, ChannelDifference(shown.pixel(x, y), expected.pixel(x, y)));
  return largest;
}

TEST(NotePictureTest, EachKindShowsAtItsGoalSizeWithItsPixelsAndIsWrittenBack) {
  for (const Sample& sample : Samples()) {
    SCOPED_TRACE(sample.name);
    const std::unique_ptr<QTextDocument> document = ReadRtf(Note(sample.group));
    EXPECT_EQ(document->toPlainText(), QStringLiteral("x\uFFFCy"));  // one position, twin or not
    const QTextCharFormat format = PictureFormat(*document);
    ASSERT_TRUE(KeptGroup::IsKept(format));
    EXPECT_EQ(QSize(qRound(format.toImageFormat().width()), qRound(format.toImageFormat().height())), sample.shown);
    const QImage shown = Shown(*document, format);
    if (sample.tolerance < 0)
      EXPECT_EQ(shown.size(), QSize(1, 1)) << "a box";
    else
      EXPECT_LE(LargestDifference(shown, sample.expected), sample.tolerance);
    EXPECT_TRUE(RtfWriter::Write(*document).contains(sample.group));
  }
}

TEST(NotePictureTest, APastedPictureIsWrittenAsAMetafileAndReadsBackEqual) {
  QImage pasted = Reference(37, 21);
  pasted.setPixel(0, 0, qRgb(0, 0, 0));
  const QByteArray group = NotePicture::GroupFor(pasted);
  ASSERT_TRUE(group.startsWith("{\\pict\\wmetafile8\\"));
  const std::unique_ptr<QTextDocument> document = ReadRtf(Note(group));
  const QTextCharFormat format = PictureFormat(*document);
  EXPECT_EQ(KeptGroup::Size(format), pasted.size());
  EXPECT_LE(LargestDifference(Shown(*document, format), pasted), 1);  // black is stored as 1
  EXPECT_TRUE(NotePicture::GroupFor(QImage(40000, 2, QImage::Format_RGB32)).isEmpty());
}

TEST(NotePictureTest, TwoPicturesInANoteShowTheirOwnPixels) {
  const QImage first = Reference();
  const QImage second = Reference().mirrored(true, true);
  const std::unique_ptr<QTextDocument> document =
      ReadRtf(Note(Pict("\\pngblip", Png(first), kShown) + Pict("\\pngblip", Png(second), kShown)));
  QTextCursor cursor(document.get());
  cursor.setPosition(2);
  const QTextCharFormat one = cursor.charFormat();
  cursor.setPosition(3);
  const QTextCharFormat two = cursor.charFormat();
  ASSERT_TRUE(KeptGroup::IsKept(one) && KeptGroup::IsKept(two));
  EXPECT_EQ(LargestDifference(Shown(*document, one), first), 0);
  EXPECT_EQ(LargestDifference(Shown(*document, two), second), 0);
}

// A picture taller than any window shows smaller, but keeps its own size, up to the largest
// side a note stores, and is written back as it came.
TEST(NotePictureTest, APictureTallerThanTheWindowKeepsItsOwnSize) {
  for (const QSize goal : {QSize(30, 3000), QSize(20, 10000), QSize(12000, 40)}) {
    SCOPED_TRACE(goal.height());
    const QByteArray group = Pict("\\pngblip", Png(Reference()), goal);
    const std::unique_ptr<QTextDocument> document = ReadRtf(Note(group));
    const QTextCharFormat format = PictureFormat(*document);
    EXPECT_EQ(KeptGroup::Size(format), goal);
    EXPECT_LE(format.toImageFormat().height(), PictureFit::MaxRoomHeight);
    EXPECT_TRUE(RtfWriter::Write(*document).contains(group));
  }
}

// Broken pictures of every kind: truncated, self-referencing and oversized metafile records,
// DIB headers with huge or negative sizes, PNG and JPEG that lie or end early, and every
// good sample cut short and with bytes changed.
std::vector<QByteArray> HostileGroups() {
  const QByteArray dib = Dib(Reference());
  auto withLong = [](QByteArray bytes, int at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = char(value >> (8 * i));
    return bytes;
  };
  const QByteArray wmf = Wmf(StretchDib, dib);
  std::vector<QByteArray> groups = {
      Pict("\\wmetafile8", wmf.left(wmf.size() / 2), kShown),
      Pict("\\wmetafile8", withLong(wmf, 18, 0), kShown),           // a record of no words
      Pict("\\wmetafile8", withLong(wmf, 18, 0x7FFFFFFF), kShown),  // past the data
      Pict("\\wmetafile8", withLong(wmf, 28, 3), kShown),           // a bitmap record without room
      Pict("\\dibitmap0", withLong(dib, 4, 30000), kShown),         // width past the data
      Pict("\\dibitmap0", withLong(withLong(dib, 4, 32767), 8, 32767), kShown),
      Pict("\\dibitmap0", withLong(dib, 8, 0x80000000u), kShown),   // the most negative height
      Pict("\\dibitmap0", withLong(dib, 4, std::uint32_t(-6)), kShown),
      Pict("\\dibitmap0", withLong(dib, 32, 0xFFFFFFFFu), kShown),  // palette of 4 G entries
      Pict("\\dibitmap0", withLong(dib, 0, 0xFFFFFFF0u), kShown),   // header size
      Pict("\\dibitmap0", withLong(dib, 16, 99), kShown),           // compression
      Pict("\\wbitmap0\\picw30000\\pich30000\\picbpp24", "abc", kShown),
      Pict("\\wbitmap0\\picw6\\pich4\\picbpp7", "abc", kShown),
      Pict("\\pngblip", PngHeaderOnly(32767, 32767), kShown),       // 2^30 pixels
      Pict("\\pngblip", PngHeaderOnly(16000, 16000), kShown),
      Pict("\\jpegblip", Jpeg(Reference(64, 64)).left(300), kShown),
  };
  return groups;
}

std::vector<QByteArray> DamagedSamples() {
  std::vector<QByteArray> groups;
  std::mt19937 random(7);
  for (const Sample& sample : Samples())
    for (int i = 0; i < 20; ++i) {
      QByteArray data = sample.group;
      const qsizetype cut = qsizetype(random() % unsigned(data.size()));
      if (i % 2) {
        data.truncate(cut);
        data.append('}');
      } else {
        data[cut] = "0123456789abcdef{}\\ "[random() % 20];
      }
      groups.push_back(data);
    }
  return groups;
}

// Every broken picture shows as a box with one log line; damaged samples may also still
// decode, or lose their group's close and become text, but never log more than once each.
void CheckDamaged(const QByteArray& group, bool broken) {
  const std::uint64_t before = TMsgLog::Generation();
  const std::unique_ptr<QTextDocument> document = ReadRtf(Note(group));
  const auto logged = TMsgLog::Generation() - before;
  if (broken) {
    EXPECT_EQ(logged, 1u) << group.left(80).constData();
    EXPECT_EQ(Shown(*document, PictureFormat(*document)).size(), QSize(1, 1)) << group.left(80).constData();
    EXPECT_TRUE(RtfWriter::Write(*document).contains(group));
  }
  EXPECT_LE(logged, 1u) << group.left(80).constData();
  QTextCursor cursor(document.get());
  for (int at = 1; at <= document->characterCount(); ++at) {
    cursor.setPosition(std::min(at, document->characterCount() - 1));
    const QTextCharFormat format = cursor.charFormat();
    if (!KeptGroup::IsKept(format)) continue;
    const QImage shown = Shown(*document, format);
    if (shown.size() == QSize(1, 1)) continue;  // the box
    EXPECT_TRUE(shown.width() <= 32767 && qint64(shown.width()) * shown.height() <= (qint64(1) << 28));
  }
  const std::unique_ptr<QTextDocument> again = ReadRtf(RtfWriter::Write(*document));
  EXPECT_EQ(Difference(Snapshot(*document), Snapshot(*again)), "") << group.left(80).constData();
}

TEST(NotePictureTest, DamagedPicturesShowAsBoxesWithOneLogLineAndAreKept) {
  for (const QByteArray& group : HostileGroups()) CheckDamaged(group, true);
  for (const QByteArray& group : DamagedSamples()) CheckDamaged(group, false);
}

TEST(NotePictureTest, ADocumentsPicturesStayWithinTheirBudget) {
  qint64 budget = 90;
  EXPECT_TRUE(NotePicture::Decode(Pict("\\dibitmap0", Dib(Reference()), kShown), budget).isNull());
  budget = 1000;
  EXPECT_FALSE(NotePicture::Decode(Pict("\\dibitmap0", Dib(Reference()), kShown), budget).isNull());
  EXPECT_EQ(budget, 1000 - 6 * 4 * 4);
}

}  // namespace
