// Picture sizes read from file headers without decoding, and the baseline-JPEG test the
// open dialog uses to leave files out.

#include "BmpFixtureWriter.h"
#include "ImagingFixtures.h"
#include "JpegFixtureWriter.h"
#include "TestEnvironment.h"
#include "Yelk/TMsgLog.h"

#include <QDir>
#include <QFile>
#include <QtEndian>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString SaveFile(const QString& name, const QByteArray& bytes) {
  const QString path = TestEnvironment::ScratchFolder() + "/" + name;
  TestEnvironment::WriteFile(path, bytes);
  return path;
}

QByteArray Jpeg(int w, int h, bool progressive = false) {
  return JpegFixtureWriter::Write(ImagingFixtures::ColourfulImage(w, h), {JpegFixtureWriter::Kind::YCbCr, progressive});
}

// The frame header after a comment, an application segment and fill bytes.
QByteArray JpegWithSegmentsFirst(int w, int h) {
  const QByteArray plain = Jpeg(w, h);
  return plain.left(2) + QByteArray("\xFF\xFE\x00\x07hello\xFF\xE1\x00\x04\xAB\xCD\xFF\xFF", 17) + plain.mid(2);
}

QByteArray Bmp(int headerSize, int w, int h, bool topDown) {
  return BmpFixtureWriter::Write({headerSize, w, h, 24, BmpFixtureWriter::Rgb, topDown, {}, {}, [](int, int) { return 0u; }});
}

}  // namespace

TEST(ImageFileSize, ReadsBmpAndJpegHeadersWhateverTheCaseOfTheExtension) {
  const struct {
    QString name;
    QByteArray bytes;
    QSize size;
  } files[] = {
      {"core.bmp", Bmp(12, 300, 200, false), {300, 200}},       {"topdown.BMP", Bmp(40, 33, 20, true), {33, 20}},
      {"plain.jpg", Jpeg(64, 48), {64, 48}},                    {"segments.JPEG", JpegWithSegmentsFirst(17, 9), {17, 9}},
      {"progressive.jpeg", Jpeg(40, 30, true), {40, 30}},
  };
  for (const auto& f : files) {
    int w = 0, h = 0;
    ASSERT_TRUE(VirtualBuffer::GetImageFileSize(SaveFile(f.name, f.bytes), w, h)) << f.name.toStdString();
    EXPECT_EQ(QSize(w, h), f.size) << f.name.toStdString();
  }
  EXPECT_TRUE(VirtualBuffer::IsValidJpeg(SaveFile("base.jpg", JpegWithSegmentsFirst(20, 20))));
  EXPECT_FALSE(VirtualBuffer::IsValidJpeg(SaveFile("prog.jpg", Jpeg(20, 20, true))));
}

TEST(ImageFileSize, FillsNothingAndLogsForOtherKindsAndBrokenHeaders) {
  QByteArray huge = Jpeg(16, 16), high = Jpeg(16, 16);
  qToBigEndian<quint16>(40000, huge.data() + huge.indexOf("\xFF\xC0") + 7);
  qToBigEndian<quint16>(40000, high.data() + high.indexOf("\xFF\xC0") + 5);
  QByteArray badLength = Jpeg(16, 16);
  qToBigEndian<quint16>(1, badLength.data() + 4);  // the first segment's length below 2
  QByteArray hugeBmp = Bmp(40, 5, 3, false), wideBmp = Bmp(40, 5, 3, false);
  qToLittleEndian<qint32>(-40000, hugeBmp.data() + 22);
  qToLittleEndian<qint32>(40000, wideBmp.data() + 18);
  const QString paths[] = {
      SaveFile("clip.avi", "RIFF....AVI LIST"),  SaveFile("picture.png", "\x89PNG"),
      SaveFile("noext", Jpeg(8, 8)),              SaveFile("text.jpg", "not a jpeg"),
      SaveFile("cut.jpg", huge.left(huge.indexOf("\xFF\xC0") + 4)),
      SaveFile("scanfirst.jpg", QByteArray("\xFF\xD8\xFF\xDA\x00\x02", 6)),
      SaveFile("huge.jpg", huge),                 SaveFile("badlength.jpg", badLength),
      SaveFile("high.jpg", high),                 SaveFile("wide.bmp", wideBmp),
      SaveFile("huge.bmp", hugeBmp),              SaveFile("short.bmp", "BM\x10"),
      SaveFile("cut.bmp", Bmp(40, 5, 3, false).chopped(1)),
      TestEnvironment::ScratchFolder() + "/missing.jpg",
  };
  for (const QString& path : paths) {
    const auto linesBefore = TMsgLog::Generation();
    int w = -7, h = -7;
    EXPECT_FALSE(VirtualBuffer::GetImageFileSize(path, w, h)) << path.toStdString();
    EXPECT_EQ(QSize(w, h), QSize(-7, -7)) << path.toStdString();
    EXPECT_GT(TMsgLog::Generation(), linesBefore) << "no log line for " << path.toStdString();
    if (path.endsWith(".jpg")) {
      EXPECT_FALSE(VirtualBuffer::IsValidJpeg(path)) << path.toStdString();
    }
  }
}

// Opening a FIFO would wait for a writer, and a device or a folder is no picture: each is
// refused at once with a log line (the alarm ends a test that blocks).
TEST(ImageFileSize, OnlyRegularFilesAreOpened) {
  const QString folder = TestEnvironment::ScratchFolder();
  const QString fifo = folder + "/pipe.jpg", device = folder + "/zero.bmp", directory = folder + "/folder.jpeg";
  ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  ASSERT_TRUE(QFile::link("/dev/zero", device));
  ASSERT_TRUE(QDir().mkpath(directory));
  alarm(20);
  for (const QString& path : {fifo, device, directory}) {
    int w = -7, h = -7;
    EXPECT_FALSE(VirtualBuffer::GetImageFileSize(path, w, h)) << path.toStdString();
    EXPECT_TRUE(TMsgLog::Lines().last().contains("not a regular file")) << path.toStdString();
    EXPECT_FALSE(VirtualBuffer::IsValidJpeg(path)) << path.toStdString();
    EXPECT_TRUE(TMsgLog::Lines().last().contains("not a regular file")) << path.toStdString();
  }
  alarm(0);
}
