// picture_dump <picture file> <out.ppm>
// Loads a BMP or JPEG file through the game's own loading path and writes what the game
// would show as a binary PPM (P6, top row first, the stored black of 1 written as 0). A
// picture the game refuses prints the log line that says why and exits with 1.

#include "imaging/VirtualBuffer.h"
#include "puzzle/PictureFile.h"
#include "Yelk/TMsgLog.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

#include <cstdio>
#include <vector>

namespace {

QByteArray Ppm(const VirtualBuffer& picture) {
  QByteArray bytes = QStringLiteral("P6\n%1 %2\n255\n").arg(picture.width).arg(picture.height).toLatin1();
  std::vector<char> row(std::size_t(picture.width) * 3);
  for (int y = 0; y < picture.height; ++y) {
    const std::uint32_t* from = picture.Row(y);
    for (int x = 0; x < picture.width; ++x) {
      const std::uint32_t v = from[x] == 1 ? 0 : from[x];
      row[3 * x] = char(v >> 16);
      row[3 * x + 1] = char(v >> 8);
      row[3 * x + 2] = char(v);
    }
    bytes.append(row.data(), qsizetype(row.size()));
  }
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: picture_dump <picture file> <out.ppm>\n");
    return 2;
  }
  const QString path = QString::fromLocal8Bit(argv[1]);
  const auto linesBefore = TMsgLog::Generation();
  const std::unique_ptr<VirtualBuffer> picture = PictureFile::Decode(path);
  if (!picture) {
    const QStringList lines = TMsgLog::Lines();
    const auto added = qsizetype(std::min<std::uint64_t>(TMsgLog::Generation() - linesBefore, lines.size()));
    for (const QString& line : lines.mid(lines.size() - added)) std::fprintf(stderr, "%s\n", qPrintable(line));
    if (added == 0) std::fprintf(stderr, "picture_dump: %s is not a BMP or JPEG file\n", argv[1]);
    return 1;
  }
  QSaveFile out(QString::fromLocal8Bit(argv[2]));
  if (!out.open(QIODevice::WriteOnly) || out.write(Ppm(*picture)) < 0 || !out.commit()) {
    std::fprintf(stderr, "picture_dump: could not write %s\n", argv[2]);
    return 1;
  }
  std::printf("%d x %d written to %s\n", picture->width, picture->height, argv[2]);
  return 0;
}
