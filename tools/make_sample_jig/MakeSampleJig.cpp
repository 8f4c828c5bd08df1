// Makes the sample still puzzle of the "Puzzle Box": the picture, a box cover painted from it,
// a note, and a short tune as its music, written by the game's own still-puzzle writer.

#include "SampleTune.h"
#include "puzzle/JigsawFile.h"

#include <QDir>
#include <QFile>
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>

namespace {

const char* const Title = "Evening Lake";

// The picture in a dark frame with the title above it, as a box lid would show it.
QImage PaintCover(const QImage& picture) {
  const QImage scaled = picture.scaledToWidth(440, Qt::SmoothTransformation);
  QImage cover(scaled.width() + 40, scaled.height() + 90, QImage::Format_RGB32);
  cover.fill(QColor(0x22, 0x2B, 0x3A));
  QPainter painter(&cover);
  painter.drawImage(20, 70, scaled);
  painter.setPen(QColor(0xF0, 0xD8, 0x90));
  QFont font = painter.font();
  font.setPixelSize(30);
  font.setBold(true);
  painter.setFont(font);
  painter.drawText(QRect(0, 10, cover.width(), 50), Qt::AlignCenter, QString::fromLatin1(Title));
  return cover;
}

QByteArray Note() {
  return QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 {\\b ") + Title +
         "}\\par\\fs20 A sample still puzzle that comes with the game: the lake in the hills at "
         "sunset, with a box cover and a little tune.\\par\\par Drag the pieces together; turn "
         "them with the mouse wheel or the arrow keys.\\par}";
}

bool MakeMusic(const QString& folder, QByteArray& music) {
  const QString path = QDir(folder).filePath(QStringLiteral("sample-tune.wav"));
  if (!Synth::WriteWave(path.toStdString(), SampleTune::Make())) return false;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  music = file.readAll();
  return !music.isEmpty();
}

}  // namespace

int main(int argc, char** argv) {
  // Run by the build, where no display may exist. The puzzle writer shows its busy cursor
  // through the widgets' application.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc < 4) {
    std::fprintf(stderr, "usage: make_sample_jig <out.jig> <picture.jpg> <work folder>\n");
    return 2;
  }
  const QString out = QString::fromLocal8Bit(argv[1]), picturePath = QString::fromLocal8Bit(argv[2]);
  const QString work = QString::fromLocal8Bit(argv[3]);
  const QImage picture(picturePath);
  if (picture.isNull() || !QDir().mkpath(work)) {
    std::fprintf(stderr, "make_sample_jig: %s is no picture\n", argv[2]);
    return 1;
  }
  StillPuzzleContent content;
  const QString cover = QDir(work).filePath(QStringLiteral("sample-cover.jpg"));
  content.note = Note();
  content.musicIsMidi = false;
  if (!PaintCover(picture).save(cover, "JPG", 90) || !content.ReadPicture(picturePath) || !content.ReadCover(cover) ||
      !MakeMusic(work, content.music)) {
    std::fprintf(stderr, "make_sample_jig: cannot write into %s\n", argv[3]);
    return 1;
  }
  if (!JigsawFile::SaveStillPuzzle(out, content)) {
    std::fprintf(stderr, "make_sample_jig: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
