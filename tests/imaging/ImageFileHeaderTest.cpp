// Picture sizes read from file headers without decoding, and the baseline-JPEG test the
// open dialog uses to leave files out.

#include "BmpFixtureWriter.h"
#include "ImagingFixtures.h"
#include "JpegFixtureWriter.h"
#include "TestEnvironment.h"
#include "Yelk/TMsgLog.h"
#include "imaging/VirtualBuffer.h"

#include <QFile>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

QString SaveFile(const QString& name, const QByteArray& bytes) {
  const QString path = TestEnvironment::ScratchFolder() + "/" + name;
  QFile file(path);
  file.open(QIODevice::WriteOnly);
  file.write(bytes);
  return path;
}

QByteArray Jpeg(int w, int h, bool progressive = false) {
  JpegFixtureWriter::Options options;
  options.progressive = progressive;
  return JpegFixtureWriter::Write(ImagingFixtures::ColourfulImage(w, h), options);
}

// A JPEG whose frame header comes after a comment and an application segment.
QByteArray JpegWithSegmentsFirst(int w, int h) {
  const QByteArray plain = Jpeg(w, h);
  const QByteArray comment = QByteArray("\xFF\xFE\x00\x07hello", 9);
  const QByteArray app = QByteArray("\xFF\xE1\x00\x04\xAB\xCD", 6);
  return plain.left(2) + comment + app + "\xFF\xFF" + plain.mid(2);  // fill bytes too
}

bool SizeOf(const QString& path, int& w, int& h) {
  w = h = -7;
  return VirtualBuffer::GetImageFileSize(path, w, h);
}

}  // namespace

TEST(ImageFileSize, ReadsBmpAndJpegHeaders) {
  BmpFixtureWriter::Spec core{12, 300, 200, 24, BmpFixtureWriter::Rgb, false, {}, {}, [](int, int) { return 0u; }};
  BmpFixtureWriter::Spec topDown = core;
  topDown.headerSize = 40;
  topDown.topDown = true;
  topDown.width = 33;
  const struct {
    QString name;
    QByteArray bytes;
    int w, h;
  } files[] = {
      {"core.bmp", BmpFixtureWriter::Write(core), 300, 200},
      {"topdown.BMP", BmpFixtureWriter::Write(topDown), 33, 200},
      {"plain.jpg", Jpeg(64, 48), 64, 48},
      {"segments.JPEG", JpegWithSegmentsFirst(17, 9), 17, 9},
      {"progressive.jpeg", Jpeg(40, 30, true), 40, 30},
  };
  for (const auto& f : files) {
    int w, h;
    ASSERT_TRUE(SizeOf(SaveFile(f.name, f.bytes), w, h)) << f.name.toStdString();
    EXPECT_EQ(w, f.w) << f.name.toStdString();
    EXPECT_EQ(h, f.h) << f.name.toStdString();
  }
}

TEST(ImageFileSize, FillsNothingForOtherKindsAndBrokenHeaders) {
  QByteArray hugeJpeg = Jpeg(16, 16);
  const int sof = int(hugeJpeg.indexOf("\xFF\xC0"));
  qToBigEndian<quint16>(40000, hugeJpeg.data() + sof + 7);
  QByteArray badLength = Jpeg(16, 16);
  qToBigEndian<quint16>(1, badLength.data() + 4);  // the first segment's length below 2
  QByteArray hugeBmp = BmpFixtureWriter::Write({40, 5, 3, 24, 0, false, {}, {}, [](int, int) { return 0u; }});
  qToLittleEndian<qint32>(-40000, hugeBmp.data() + 22);
  const QString paths[] = {
      SaveFile("clip.avi", "RIFF....AVI LIST"),
      SaveFile("picture.png", "\x89PNG"),
      SaveFile("noext", Jpeg(8, 8)),
      SaveFile("text.jpg", "not a jpeg"),
      SaveFile("cut.jpg", Jpeg(16, 16).left(int(Jpeg(16, 16).indexOf("\xFF\xC0")) + 4)),
      SaveFile("scanfirst.jpg", QByteArray("\xFF\xD8\xFF\xDA\x00\x02", 6)),
      SaveFile("huge.jpg", hugeJpeg),
      SaveFile("badlength.jpg", badLength),
      SaveFile("huge.bmp", hugeBmp),
      SaveFile("short.bmp", "BM\x10"),
      TestEnvironment::ScratchFolder() + "/missing.jpg",
  };
  for (const QString& path : paths) {
    const int linesBefore = int(TMsgLog::Lines().size());
    int w, h;
    EXPECT_FALSE(SizeOf(path, w, h)) << path.toStdString();
    EXPECT_EQ(w, -7) << path.toStdString();
    EXPECT_EQ(h, -7);
    EXPECT_GT(TMsgLog::Lines().size(), linesBefore) << "no log line for " << path.toStdString();
  }
}

TEST(ImageFileSize, OnlyBaselineFramesAreValidJpegs) {
  EXPECT_TRUE(VirtualBuffer::IsValidJpeg(SaveFile("base.jpg", Jpeg(20, 20))));
  EXPECT_TRUE(VirtualBuffer::IsValidJpeg(SaveFile("segments.jpg", JpegWithSegmentsFirst(20, 20))));
  EXPECT_FALSE(VirtualBuffer::IsValidJpeg(SaveFile("prog.jpg", Jpeg(20, 20, true))));
  EXPECT_FALSE(VirtualBuffer::IsValidJpeg(SaveFile("text.jpg", "GIF89a")));
  EXPECT_FALSE(VirtualBuffer::IsValidJpeg(SaveFile("empty.jpg", "")));
  EXPECT_FALSE(VirtualBuffer::IsValidJpeg(TestEnvironment::ScratchFolder() + "/none.jpg"));
}
