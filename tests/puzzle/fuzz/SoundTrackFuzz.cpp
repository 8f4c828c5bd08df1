// sound_track_fuzz: sound tracks checked and played the way the game plays them.
//   sound_track_fuzz seeds <folder>       writes the seed corpus with our own music writer
//   sound_track_fuzz replay <folder>...   every file must pass the check and play
//   sound_track_fuzz measure <folder>...  plays what passes and tells the longest call
//   sound_track_fuzz mutate <folder> <count> <seed>
//                                         plays count changed copies of the folder's files
// Each ends with the totals and the longest call a play, pause, resume, halt or free took.

#include "MusicMutator.h"
#include "SoundTrackFuzzing.h"

#include "../MusicWriter.h"
#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <cstdio>

namespace {

QList<QByteArray> FilesOf(const QStringList& folders) {
  QList<QByteArray> files;
  for (const QString& folder : folders) {
    QDirIterator it(folder, QDir::Files);
    while (it.hasNext()) files.append(TestEnvironment::ReadFile(it.next()));
  }
  return files;
}

int Seeds(const QString& folder) {
  QDir().mkpath(folder);
  for (const MusicWriter::Named& seed : MusicWriter::Seeds())
    if (!TestEnvironment::WriteFile(folder + QLatin1Char('/') + seed.name, seed.bytes)) return 1;
  return 0;
}

int Mutate(const QString& folder, int count, unsigned seed) {
  const QList<QByteArray> files = FilesOf({folder});
  if (files.isEmpty()) return 1;
  std::mt19937 random(seed);
  for (int i = 0; i < count; ++i) SoundTrackFuzzing::Run(MusicMutator::Mutate(files[int(random() % unsigned(files.size()))], random));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  TestEnvironment::Prepare();
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  if (args.size() == 2 && args[0] == "seeds") return Seeds(args[1]);
  int failed = 0;
  if (args.size() >= 2 && (args[0] == "replay" || args[0] == "measure")) {
    for (const QByteArray& bytes : FilesOf(args.mid(1))) failed += !SoundTrackFuzzing::Run(bytes);
    if (args[0] == "measure") failed = 0;
  } else if (args.size() == 4 && args[0] == "mutate") {
    failed = Mutate(args[1], args[2].toInt(), args[3].toUInt());
  } else {
    std::fprintf(stderr, "usage: sound_track_fuzz seeds <folder> | replay|measure <folder>... | mutate <folder> <count> <seed>\n");
    return 2;
  }
  std::printf("%s\n", qPrintable(SoundTrackFuzzing::Describe()));
  return failed == 0 && SoundTrackFuzzing::Tally().inputs > 0 ? 0 : 1;
}
