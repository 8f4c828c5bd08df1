// picture_fuzz: the picture loader under damaged files.
//   picture_fuzz replay <folder>...                 loads every file of the folders
//   picture_fuzz mutate <corpus> <count> <seed> [--fork] [--keep <folder>]
//                                                   count damaged files per format from the
//                                                   corpus; --fork loads each in a child, so
//                                                   that crashes are counted and kept
//   picture_fuzz seeds <folder>                     writes the seed corpus
// A crash in a run without --fork ends the program as the crash would.

#include "PictureFuzzing.h"

#include "../BmpReferences.h"
#include "../JpegFixtureWriter.h"
#include "imaging/VirtualBuffer.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>

#include <cstdio>
#include <map>
#include <sys/wait.h>
#include <unistd.h>

using PictureFuzzing::Verdict;

namespace {

struct Counts {
  int loaded = 0, refused = 0, crashed = 0;
};

QString FormatName(int mode) { return mode == VirtualBuffer::BitmapMode ? QStringLiteral("bmp") : QStringLiteral("jpeg"); }

void Print(const std::map<QString, Counts>& counts, const char* what) {
  for (const auto& [format, c] : counts)
    std::printf("%s: %d %s: %d loaded, %d refused, %d crashed\n", qPrintable(format), c.loaded + c.refused + c.crashed,
                what, c.loaded, c.refused, c.crashed);
}

QList<QByteArray> FilesOf(const QString& folder, int mode) {
  QList<QByteArray> files;
  QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    QFile file(it.next());
    if (file.open(QIODevice::ReadOnly)) {
      const QByteArray bytes = file.readAll();
      if (PictureFuzzing::ModeOf(bytes) == mode) files.append(bytes);
    }
  }
  return files;
}

int Replay(const QStringList& folders) {
  std::map<QString, Counts> counts;
  for (const QString& folder : folders)
    for (int mode : {VirtualBuffer::BitmapMode, VirtualBuffer::JpegMode})
      for (const QByteArray& bytes : FilesOf(folder, mode)) {
        Counts& c = counts[FormatName(mode)];
        ++(PictureFuzzing::Load(bytes, mode) == Verdict::Loaded ? c.loaded : c.refused);
      }
  Print(counts, "corpus files");
  return counts.empty() ? 1 : 0;
}

// The verdict of a load in a child process; a crash (or a hang past the alarm) counts as one.
bool LoadInChild(const QByteArray& bytes, int mode, Counts& c) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    alarm(30);
    _exit(PictureFuzzing::Load(bytes, mode) == Verdict::Loaded ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  const bool exited = WIFEXITED(status) && (WEXITSTATUS(status) == 0 || WEXITSTATUS(status) == 1);
  if (!exited) ++c.crashed;
  else ++(WEXITSTATUS(status) == 0 ? c.loaded : c.refused);
  return exited;
}

int Mutate(const QString& corpus, int count, unsigned seed, bool inChildren, const QString& keep) {
  std::mt19937 random(seed);
  std::map<QString, Counts> counts;
  for (int mode : {VirtualBuffer::BitmapMode, VirtualBuffer::JpegMode}) {
    const QList<QByteArray> seeds = FilesOf(corpus, mode);
    if (seeds.isEmpty()) return 1;
    Counts& c = counts[FormatName(mode)];
    for (int i = 0; i < count; ++i) {
      const QByteArray bytes = PictureFuzzing::Mutate(seeds[int(random() % unsigned(seeds.size()))], random);
      if (!inChildren) {
        ++(PictureFuzzing::Load(bytes, mode) == Verdict::Loaded ? c.loaded : c.refused);
      } else if (!LoadInChild(bytes, mode, c) && !keep.isEmpty()) {
        QDir().mkpath(keep);
        QFile out(QStringLiteral("%1/crash-%2-%3.%4").arg(keep).arg(seed).arg(i).arg(FormatName(mode)));
        if (out.open(QIODevice::WriteOnly)) out.write(bytes);
      }
    }
  }
  Print(counts, "damaged files");
  for (const auto& entry : counts)
    if (entry.second.crashed) return 1;
  return 0;
}

QImage SeedPicture(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb(x * 10, y * 15, (x + y) % 2 ? 0 : 200));
  return image;
}

bool Save(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Arithmetic-coded pictures, whose scans may hold next to no data: sequential and
// progressive, a restart marker every block, 64 scans; and scans holding no data at all, of a
// picture large enough for the decode budget to end them, with and without their restart
// markers.
bool ArithmeticSeeds(const QString& folder) {
  using JpegFixtureWriter::Kind;
  const auto write = [&](const char* name, JpegFixtureWriter::Options options) {
    options.arithmetic = true;
    return Save(folder + name, JpegFixtureWriter::Write(SeedPicture(24, 16), options));
  };
  JpegFixtureWriter::Options restarts{Kind::Grey, true, 1, 1};
  restarts.restartInterval = 1;
  JpegFixtureWriter::Options scans{Kind::YCbCr, false, 2, 2};
  scans.scans = 64;
  return write("arithmetic-sequential.jpg", {Kind::YCbCr, false, 2, 2}) &&
         write("arithmetic-progressive.jpg", {Kind::CmykAdobeInverted, true, 1, 1}) &&
         write("arithmetic-restart-every-block.jpg", restarts) && write("arithmetic-64-scans.jpg", scans) &&
         Save(folder + "empty-scans-over-the-budget.jpg", JpegFixtureWriter::Write({1024, 1024, 1, 64})) &&
         Save(folder + "empty-colour-scans-over-the-budget.jpg", JpegFixtureWriter::Write({1024, 1024, 3, 64, true})) &&
         Save(folder + "empty-scans-without-restarts.jpg", JpegFixtureWriter::Write({64, 64, 1, 64, false, 1}));
}

int Seeds(const QString& folder) {
  QDir().mkpath(folder + "/bmp");
  QDir().mkpath(folder + "/jpeg");
  int n = 0;
  for (const BmpReferences::Kind& kind : BmpReferences::kinds)
    for (bool topDown : {false, true})
      if (!topDown || kind.topDownToo)
        if (!Save(QStringLiteral("%1/bmp/%2.bmp").arg(folder).arg(n++, 2, 10, QLatin1Char('0')),
                  BmpReferences::MakeReference(kind, 7, 5, topDown).file))
          return 1;
  // Run-length files with ends of line, deltas and an early end of the bitmap.
  const QList<QRgb> colours = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 255)};
  const QByteArray codes[] = {QByteArray("\x02\x00\x00\x00\x00\x03\x00\x01\x02\x00\x00\x02\x01\x01\x02\x01\x00\x00\x01\x03\x00\x01", 22),
                              QByteArray("\x02\x00\x00\x00\x00\x03\x01\x20\x00\x02\x01\x01\x02\x11\x00\x00\x01\x30\x00\x02\x03\x00\x00\x01", 24)};
  for (int bits : {8, 4})
    if (!Save(QStringLiteral("%1/bmp/%2.bmp").arg(folder).arg(n++, 2, 10, QLatin1Char('0')),
              BmpFixtureWriter::Write({40, 6, 4, bits, bits == 8 ? BmpFixtureWriter::Rle8 : BmpFixtureWriter::Rle4, false,
                                       colours, {}, {}, codes[bits == 8 ? 0 : 1]})))
      return 1;
  // Odd-width run-length files that code the row's pad pixel, as common encoders do.
  for (const BmpReferences::Kind* kind : {&BmpReferences::kinds[7], &BmpReferences::kinds[8]})
    if (!Save(QStringLiteral("%1/bmp/pad-pixel-coded-%2.bmp").arg(folder).arg(kind->bitCount),
              BmpReferences::MakeReference(*kind, 9, 4, false, true).file))
      return 1;
  using JpegFixtureWriter::Kind;
  const JpegFixtureWriter::Options kinds[] = {
      {Kind::YCbCr, false, 2, 2}, {Kind::YCbCr, false, 2, 1, 75}, {Kind::YCbCr, false, 1, 1}, {Kind::YCbCr, true, 2, 2},
      {Kind::Grey, false, 1, 1},  {Kind::Grey, true, 1, 1},       {Kind::Rgb, false, 1, 1},   {Kind::Cmyk, false, 1, 1},
      {Kind::CmykAdobeInverted, false, 1, 1}, {Kind::Ycck, true, 1, 1},
  };
  n = 0;
  for (const auto& options : kinds)
    if (!Save(QStringLiteral("%1/jpeg/%2.jpg").arg(folder).arg(n++, 2, 10, QLatin1Char('0')),
              JpegFixtureWriter::Write(SeedPicture(24, 16), options)))
      return 1;
  // Scan data cut short but closed with an end marker; and so cut, a frame header claiming
  // 16384 x 16384, which once decoded to a gigabyte of grey.
  const QByteArray whole = JpegFixtureWriter::Write(SeedPicture(24, 16), kinds[0]);
  const qsizetype scan = whole.indexOf("\xFF\xDA");
  const QByteArray cut = whole.left(scan + 2 + (uchar(whole[scan + 2]) << 8 | uchar(whole[scan + 3])) + 8) + "\xFF\xD9";
  QByteArray huge = cut;
  huge.replace(huge.indexOf("\xFF\xC0") + 5, 4, QByteArray("\x40\x00\x40\x00", 4));
  // A valid progressive picture of hundreds of scans, each a pass over the whole picture:
  // thousands of them once took a minute at 8192 x 8192.
  JpegFixtureWriter::Options manyScans{Kind::Grey, false, 1, 1};
  manyScans.scans = JpegFixtureWriter::MostScans(1);
  return Save(folder + "/jpeg/scan-cut-short-then-ended.jpg", cut) && Save(folder + "/jpeg/huge-frame-cut-short.jpg", huge) &&
                 Save(folder + "/jpeg/more-scans-than-encoders-write.jpg",
                      JpegFixtureWriter::Write(SeedPicture(8, 8), manyScans)) &&
                 ArithmeticSeeds(folder + "/jpeg/")
             ? 0
             : 1;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  if (args.size() >= 2 && args[0] == "replay") return Replay(args.mid(1));
  if (args.size() == 2 && args[0] == "seeds") return Seeds(args[1]);
  if (args.size() >= 4 && args[0] == "mutate") {
    const int keepAt = int(args.indexOf("--keep"));
    return Mutate(args[1], args[2].toInt(), args[3].toUInt(), args.contains("--fork"),
                  keepAt > 0 && keepAt + 1 < args.size() ? args[keepAt + 1] : QString());
  }
  std::fprintf(stderr, "usage: picture_fuzz replay <folder>... | mutate <corpus> <count> <seed> [--fork] [--keep <folder>] | seeds <folder>\n");
  return 2;
}
