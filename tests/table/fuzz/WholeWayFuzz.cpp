// table_fuzz: saved games and still puzzles the whole way onto the table.
//   table_fuzz seeds <folder>      writes the seed corpus with the game's own writers: still
//                                  puzzles into <folder>/jig, and the games saved from them
//                                  after a little play into <folder>/saw; files that once
//                                  froze the game, both ways, into <folder>/damaged
//   table_fuzz notes <folder>      writes notes of about a megabyte, made of many rows, tabs,
//                                  long words and pictures in cells, as RTF into <folder>/rtf
//                                  and as the notes of still puzzles and saved games into
//                                  <folder>/jig and <folder>/saw: seeds for fuzzing to the cap
//   table_fuzz replay <folder>...  takes every ".saw" and ".jig" file of the folders the whole
//                                  way; fails unless each reached the table and everything it
//                                  holds (box cover, note, music) was shown or heard
// A crash ends the program as the crash would.

#include "WholeWayFuzzing.h"

#include "tests/puzzle/JigsawFileBuilder.h"
#include "tests/puzzle/MusicWriter.h"
#include "tests/puzzle/PuzzleFixtures.h"
#include "tools/NoteFamilies.h"
#include "tests/table/SurfaceFixtures.h"

#include "TestEnvironment.h"
#include "Yelk/Prompt.h"
#include "puzzle/ChipGroup.h"
#include "puzzle/JigsawFile.h"
#include "puzzle/PuzzleFileStatus.h"
#include "settings/ProgSettings.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QImage>

#include <cstdio>

using WholeWayFuzzing::Kind;

namespace {

// A small picture as a note holds it: PNG bytes in hexadecimal.
QByteArray PngHex() {
  QImage dot(8, 8, QImage::Format_RGB32);
  dot.fill(qRgb(40, 90, 160));
  QBuffer png;
  png.open(QIODevice::WriteOnly);
  dot.save(&png, "PNG");
  return png.data().toHex();
}

QByteArray Picture(const char* goals) {
  return QByteArray("{\\pict\\pngblip\\picw8\\pich8") + goals + ' ' + PngHex() + '}';
}

// A note with the parts a note window lays out: fonts, bold, a table and a picture.
QByteArray RichNote() {
  return QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20 {\\b The harbour} at dusk.\\par\n"
                    "\\trowd\\cellx1500\\cellx3000 Boats\\cell Gulls\\cell\\row\n") +
         Picture("\\picwgoal240\\pichgoal240") + "\\par}";
}

// Files that once froze or crashed the game. A tune whose header is damaged; a note of 260
// pictures, each far taller than any screen; one word of 10,000 letters beside a picture
// taller still; a WAVE track at 1 Hz; 20,000 notes at one tick.
QByteArray DamagedMidi() {
  QByteArray midi = JigsawFixtures::TinyMidi();
  midi[3] = 'X';
  return midi;
}

QByteArray TallPicturesNote() {
  QByteArray note("{\\rtf1 ");
  for (int i = 0; i < 260; ++i) note += Picture("\\picwgoal240\\pichgoal491505");
  return note + '}';
}

QByteArray LongWordNote() {
  return QByteArray("{\\rtf1 ") + QByteArray(10000, 'w') + Picture("\\picwgoal240\\pichgoal2147483648") + '}';
}

struct StillSeed {
  const char* name;
  const char* picture;  // its extension picks the format
  int width, height;
  QByteArray note, music;
  bool midi = true;
  bool cover = false;  // a box cover of its own
};

QList<StillSeed> StillSeeds() {
  return {
      {"plain", "plain.jpg", 160, 120, {}, {}},
      {"midi-note-cover", "harbour.bmp", 200, 150, "{\\rtf1 A short note.}", JigsawFixtures::TinyMidi(), true, true},
      {"wave-rich-note", "dusk.jpg", 240, 160, RichNote(), JigsawFixtures::TinyWave(1600), false, false},
      {"rich-note-cover", "boats.bmp", 120, 96, RichNote(), {}, true, true},
      // Tracks of the kinds the music fuzzing starts from.
      {"wave-ima-adpcm", "reeds.jpg", 160, 120, {}, MusicWriter::WaveImage({0x11, 2, 44100, 4, 4096, false}), false},
      {"wave-float-8ch-192khz", "sails.jpg", 160, 120, {}, MusicWriter::WaveImage({3, 8, 192000, 32, 2048, false}), false},
      {"wave-extensible-24bit", "mast.jpg", 160, 120, {}, MusicWriter::WaveImage({1, 6, 48000, 24, 2048, true}), false},
      {"midi-orchestral", "quay.jpg", 160, 120, {}, MusicWriter::Orchestral(4)},
  };
}

QList<StillSeed> DamagedSeeds() {
  return {
      {"damaged-tune-header", "tune.jpg", 160, 120, {}, DamagedMidi()},
      {"tall-pictures-note", "tall.jpg", 160, 120, TallPicturesNote(), {}},
      {"long-word-beside-a-tall-picture", "word.jpg", 160, 120, LongWordNote(), {}},
      {"wave-at-1-hz", "hertz.jpg", 160, 120, {}, MusicWriter::WaveImage({1, 1, 1, 8, 12174, false}), false},
      {"20000-notes-at-one-tick", "notes.jpg", 160, 120, {}, MusicWriter::ChordsAtOneTick(20000)},
  };
}

// Notes that each piece keeps under what one paragraph may cost, many times over, and the
// generator's mixes of them: kept under a megabyte with the puzzle around them.
QList<StillSeed> LargeNoteSeeds() {
  QList<StillSeed> seeds = {
      {"many-rows", "rows.jpg", 160, 120, NoteFamilies::Rows(130, 1000), {}},
      {"many-tabs", "tabs.jpg", 160, 120, NoteFamilies::TabbedParagraphs(200, 32, 1000), {}},
      {"long-words", "words.jpg", 160, 120, NoteFamilies::Words(900, 1000), {}},
      {"pictures-in-cells", "cells.jpg", 160, 120, NoteFamilies::PicturesInCells(11, 300), {}},
  };
  for (const auto& [name, mix] : {std::pair{"mix-1", 1u}, std::pair{"mix-2", 2u}})
    seeds.append({name, "mix.jpg", 160, 120, NoteFamilies::Mix(mix, 900000), {}});
  return seeds;
}

bool WriteStill(const QString& path, const StillSeed& seed) {
  StillPuzzleContent content;
  content.ReadPicture(PuzzleFixtures::WritePicture(QLatin1String(seed.picture), seed.width, seed.height));
  if (seed.cover) content.ReadCover(PuzzleFixtures::WritePicture(QStringLiteral("cover.jpg"), 48, 36));
  content.includeBoxCover = seed.cover;
  content.note = seed.note;
  content.music = seed.music;
  content.musicIsMidi = seed.midi;
  return JigsawFile::SaveStillPuzzle(path, content);
}

// Two neighbours joined and one loose piece turned, as a few moments of play leave a table.
bool PlayALittle(HeadlessTable& table) {
  ChipList& list = table.surface.GetChipList();
  PuzzleChip* a = nullptr;
  for (int i = 0; i < list.Count() && !a; ++i)
    if (PuzzleChip* right = list.At(i)->Neighbour(ChipSide::Right); right && list.Contains(right)) a = list.At(i);
  if (!a) return false;
  PuzzleChip* b = a->Neighbour(ChipSide::Right);
  a->Merge(b);
  const QRect box = QRect(a->TableX(), a->TableY(), a->Mask().TableWidth(), a->Mask().TableHeight())
                        .united(QRect(b->TableX(), b->TableY(), b->Mask().TableWidth(), b->Mask().TableHeight()));
  a->Group()->SetBounds(table.surface.GetWidth(), table.surface.GetHeight(), true, box.left(), box.top(),
                        box.right(), box.bottom());
  for (int i = 0; i < list.Count(); ++i)
    if (!list.At(i)->Group()) {
      list.At(i)->Place(90, false, true, true, 20, 20);
      return true;
    }
  return true;
}

bool SaveGameFrom(const QString& still, const QString& saved) {
  HeadlessTable table(WholeWayFuzzing::TableWidth, WholeWayFuzzing::TableHeight);
  table.host.area = QSize(WholeWayFuzzing::TableWidth, WholeWayFuzzing::TableHeight);
  auto puzzle = std::make_unique<Puzzle>(still);
  puzzle->SetPieceSize(40);
  const bool done = table.surface.LoadPuzzle(puzzle.get()) && PlayALittle(table) &&
                    JigsawFile::SaveFile(saved, *puzzle, SavedWindowState{QRect(0, 0, 800, 600), false, {}});
  table.surface.UnloadPuzzle();
  puzzle.reset();
  ChipGroup::DeleteAll();
  return done;
}

// Each still puzzle into <folder>/jig (or <folder> itself when `together`), its saved game
// into <folder>/saw (or beside it).
bool WriteSeeds(const QString& folder, const QList<StillSeed>& seeds, bool together) {
  const QString stills = together ? folder : folder + QStringLiteral("/jig");
  const QString games = together ? folder : folder + QStringLiteral("/saw");
  QDir().mkpath(stills);
  QDir().mkpath(games);
  for (const StillSeed& seed : seeds) {
    const QString name = QLatin1String(seed.name);
    const QString still = stills + QLatin1Char('/') + name + QStringLiteral(".jig");
    if (!WriteStill(still, seed) || !SaveGameFrom(still, games + QLatin1Char('/') + name + QStringLiteral(".saw"))) {
      std::fprintf(stderr, "table_fuzz: the seed %s could not be written\n", seed.name);
      return false;
    }
  }
  return true;
}

int Notes(const QString& folder) {
  Prompt::Double prompts;
  const QList<StillSeed> seeds = LargeNoteSeeds();
  QDir().mkpath(folder + QStringLiteral("/rtf"));
  for (const StillSeed& seed : seeds)
    if (!TestEnvironment::WriteFile(folder + QStringLiteral("/rtf/") + QLatin1String(seed.name) + QStringLiteral(".rtf"), seed.note))
      return 1;
  return WriteSeeds(folder, seeds, false) ? 0 : 1;
}

int Seeds(const QString& folder) {
  Prompt::Double prompts;
  // Saving a game loads it first; a damaged tune is not played while it is written.
  Settings()->EnableBackgroundSound = false;
  return WriteSeeds(folder, StillSeeds(), false) && WriteSeeds(folder + QStringLiteral("/damaged"), DamagedSeeds(), true) ? 0 : 1;
}

// What a file that the game wrote must reach: the table, and each part it holds.
QString Missed(const QString& path, const WholeWayFuzzing::Steps& steps) {
  const JigsawFile file(path);
  QStringList missed;
  if (!steps.onTable) missed << QStringLiteral("the table");
  if (file.Status() == pfsReady && file.BoxCoverFormat() != 0 && !steps.cover) missed << QStringLiteral("the box cover");
  if (file.Status() == pfsReady && file.GetNoteStream() && !steps.note) missed << QStringLiteral("the note");
  if (file.Status() == pfsReady && file.SoundSize() > 0 && !steps.music) missed << QStringLiteral("the music");
  return missed.join(QStringLiteral(", "));
}

int Replay(const QStringList& folders) {
  int failed = 0;
  for (const QString& folder : folders) {
    QDirIterator it(folder, {QStringLiteral("*.saw"), QStringLiteral("*.jig")}, QDir::Files);
    while (it.hasNext()) {
      const QString path = it.next();
      const Kind kind = path.endsWith(QLatin1String(".saw")) ? Kind::SavedGame : Kind::StillPuzzle;
      const QString missed = Missed(path, WholeWayFuzzing::Load(TestEnvironment::ReadFile(path), kind));
      if (missed.isEmpty()) continue;
      std::fprintf(stderr, "%s did not reach %s\n", qPrintable(path), qPrintable(missed));
      ++failed;
    }
  }
  std::printf("%s\n", qPrintable(WholeWayFuzzing::Describe(WholeWayFuzzing::Totals())));
  return failed == 0 && WholeWayFuzzing::Totals().inputs > 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  TestEnvironment::Prepare();
  QApplication app(argc, argv);
  WholeWayFuzzing::Prepare();
  const QStringList args = app.arguments().mid(1);
  if (args.size() == 2 && args[0] == "seeds") return Seeds(args[1]);
  if (args.size() == 2 && args[0] == "notes") return Notes(args[1]);
  if (args.size() >= 2 && args[0] == "replay") return Replay(args.mid(1));
  std::fprintf(stderr, "usage: table_fuzz seeds <folder> | notes <folder> | replay <folder>...\n");
  return 2;
}
