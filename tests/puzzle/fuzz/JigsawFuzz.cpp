// jigsaw_fuzz: the puzzle file readers under damaged files.
//   jigsaw_fuzz replay <folder>...          reads every file of the folders (animated puzzles
//                                           by their signature, the others as puzzle files)
//   jigsaw_fuzz mutate <corpus> <count> <seed>
//                                           count damaged files from the corpus
//   jigsaw_fuzz seeds <folder>              writes the seed corpus with the game's own writers
// A crash ends the program as the crash would.

#include "JigsawFuzzing.h"
#include "QvpFuzzing.h"

#include "../DamagedMusic.h"
#include "../JigsawFileBuilder.h"
#include "../PuzzleFixtures.h"
#include "QvpWriter.h"
#include "TestEnvironment.h"
#include "tests/imaging/fuzz/PictureFuzzing.h"
#include "puzzle/JigsawFile.h"

#include <QApplication>
#include <QDirIterator>
#include <QtEndian>

#include <cstdio>
#include <random>

using JigsawFuzzing::Verdict;

namespace {

QList<QByteArray> FilesOf(const QStringList& folders) {
  QList<QByteArray> files;
  for (const QString& folder : folders) {
    QDirIterator it(folder, QDir::Files);
    while (it.hasNext()) files.append(JigsawFixtures::ReadAll(it.next()));
  }
  return files;
}

int Run(const QList<QByteArray>& files, const char* what) {
  int loaded = 0;
  for (const QByteArray& bytes : files)
    loaded += QvpFuzzing::IsAnimated(bytes) ? QvpFuzzing::Load(bytes) == QvpFuzzing::Verdict::Loaded
                                            : JigsawFuzzing::Load(bytes) == Verdict::Loaded;
  std::printf("%lld %s: %d loaded, %lld refused\n", qlonglong(files.size()), what, loaded, qlonglong(files.size()) - loaded);
  return 0;
}

int Mutate(const QString& corpus, int count, unsigned seed) {
  const QList<QByteArray> seeds = FilesOf({corpus});
  if (seeds.isEmpty()) return 1;
  std::mt19937 random(seed);
  QList<QByteArray> damaged;
  for (int i = 0; i < count; ++i)
    damaged.append(PictureFuzzing::Mutate(seeds[int(random() % unsigned(seeds.size()))], random));
  return Run(damaged, "damaged files");
}

// Animated puzzles: a small one with every part, and one whose flat frames decode to far
// more than the room the fuzzing gives them.
int QvpSeeds(const QString& folder) {
  QDir().mkpath(folder);
  QvpWriter small(24, 16);
  small.note = "{\\rtf1 seed}";
  small.AddClip(8, 6, 3, 0, 2, 3);
  small.AddClip(5, 3, 0);
  small.AddClip(5, 3, 2, 1, 19, 13);
  small.AddTrack(7, false, QByteArray(40, 'w'));
  QvpWriter flat(640, 480);
  flat.picture = QvpWriter::SolidJpeg(640, 480, 0x405060);
  flat.AddClip(640, 480, 40);
  QvpWriter music(24, 16);
  music.AddClip(8, 6, 2);
  music.AddTrack(1, true, DamagedMusic::DamagedMidi().front().bytes, true);
  return small.Write(folder + QStringLiteral("/small.qvp")) && flat.Write(folder + QStringLiteral("/flat-frames.qvp")) &&
                 music.Write(folder + QStringLiteral("/music-header-not-mthd.qvp"))
             ? 0
             : 1;
}

// Saved games, and a still puzzle, whose music froze the game once the audio library looped it.
bool MusicSeeds(const QString& folder, StillPuzzleContent content) {
  for (const DamagedMusic::Track& track : DamagedMusic::DamagedMidi())
    JigsawFixtures::WriteAll(folder + QStringLiteral("/music-%1.saw").arg(QLatin1String(track.name)),
                             JigsawFixtures::GameWithTrack(track.bytes, 1));
  JigsawFixtures::WriteAll(folder + QStringLiteral("/music-fails-in-the-library.saw"),
                           JigsawFixtures::GameWithTrack(DamagedMusic::FailsInTheLibrary(), 1));
  content.music = DamagedMusic::DamagedMidi().front().bytes;
  content.musicIsMidi = true;
  return JigsawFile::SaveStillPuzzle(folder + QStringLiteral("/music-header-not-mthd.jig"), content);
}

int Seeds(const QString& folder) {
  TestEnvironment::Prepare();
  QDir().mkpath(folder);
  JigsawFixtures::WriteAll(folder + QStringLiteral("/game.saw"), JigsawFixtures::Game().bytes);
  StillPuzzleContent content;
  content.ReadPicture(PuzzleFixtures::WritePicture(QStringLiteral("seed.jpg"), 24, 16));
  content.ReadCover(PuzzleFixtures::WritePicture(QStringLiteral("seed cover.bmp"), 8, 6));
  content.note = "{\\rtf1 seed}";
  content.music = JigsawFixtures::TinyMidi();
  if (!JigsawFile::SaveStillPuzzle(folder + QStringLiteral("/still.jig"), content)) return 1;
  JigsawFileBuilder bare(false);
  bare.Short(7, 1, 3).Raw(15, ChipRecord().Bytes().left(12)).Raw(26, "?");
  JigsawFixtures::WriteAll(folder + QStringLiteral("/bare.saw"), bare.Finish());
  // Saved games that once asked for gigabytes: a play size far beyond any table, and piece
  // counts no picture could give (the last one overflowed a sum).
  const JigsawFixtures::FullGame& game = JigsawFixtures::Game();
  const auto patched = [&](std::initializer_list<std::pair<int, std::int32_t>> values) {
    QByteArray bytes = game.bytes;
    for (const auto& [type, value] : values) qToLittleEndian(value, bytes.data() + game.valueAt.at(type));
    return bytes;
  };
  JigsawFixtures::WriteAll(folder + QStringLiteral("/play-size-beyond-a-table.saw"), patched({{23, 16384}, {24, 16384}}));
  JigsawFixtures::WriteAll(folder + QStringLiteral("/piece-count-beyond-the-grid.saw"), patched({{9, 1509949464}}));
  JigsawFixtures::WriteAll(folder + QStringLiteral("/piece-count-at-the-int-limit.saw"), patched({{9, 2147483647}}));
  return MusicSeeds(folder, content) ? QvpSeeds(folder + QStringLiteral("/qvp")) : 1;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  if (args.size() >= 2 && args[0] == "replay") return Run(FilesOf(args.mid(1)), "corpus files");
  if (args.size() == 2 && args[0] == "seeds") return Seeds(args[1]);
  if (args.size() == 4 && args[0] == "mutate") return Mutate(args[1], args[2].toInt(), args[3].toUInt());
  std::fprintf(stderr, "usage: jigsaw_fuzz replay <folder>... | mutate <corpus> <count> <seed> | seeds <folder>\n");
  return 2;
}
