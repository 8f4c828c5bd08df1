#include "WholeWayFuzzing.h"

#include "tests/table/SurfaceFixtures.h"

#include "Yelk/Prompt.h"
#include "imaging/VirtualBuffer.h"
#include "puzzle/ChipGroup.h"
#include "puzzle/JigsawFileReader.h"
#include "puzzle/PieceCounts.h"
#include "puzzle/Puzzle.h"
#include "puzzle/SoundTrack.h"
#include "richtext/RichEdit20.h"
#include "richtext/RichIO.h"
#include "settings/ProgSettings.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

WholeWayFuzzing::Reach totals;

// The note window's smallest width, one as wide as a large screen, and narrower ones, where
// long words and tabbed rows cost the most.
constexpr int NoteHeight = 218;
constexpr int NoteWidths[] = {303, 1900, 120, 360};

// The reader reads files: one folder of the process's own, removed at its end.
QString FuzzPath(WholeWayFuzzing::Kind kind) {
  static const QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/whole-way-fuzz-XXXXXX"));
  return folder.filePath(kind == WholeWayFuzzing::Kind::SavedGame ? QStringLiteral("game.saw")
                                                                   : QStringLiteral("puzzle.jig"));
}

// A still puzzle is cut into at most MaxPieces pieces; a saved game keeps the piece size it
// was cut with, and is left at that when it would give more.
bool CapPieces(Puzzle& puzzle) {
  const QSize size = puzzle.GetImageSize();
  const JigsawFileReader* file = puzzle.GetJigsawFile();
  if (file && file->IsSavedGame())
    return PieceCount(size.width(), size.height(), file->PieceSize()) <= WholeWayFuzzing::MaxPieces;
  const double area = double(std::max(size.width(), 0)) * std::max(size.height(), 0);
  int pieceSize = std::max(MinPieceSize(), int(std::sqrt(area / WholeWayFuzzing::MaxPieces)));
  while (PieceCount(size.width(), size.height(), pieceSize) > WholeWayFuzzing::MaxPieces) ++pieceSize;
  puzzle.SetPieceSize(pieceSize);
  return true;
}

// As the note window shows a note: read-only, laid out whole at each width.
bool LayOutNote(const QByteArray& note) {
  RichEdit20 editor;
  editor.SetReadOnly(true);
  editor.resize(NoteWidths[0], NoteHeight);
  editor.show();
  if (!editor.GetIO()->SetContent(&note)) return false;
  for (const int width : NoteWidths) {
    editor.resize(width, NoteHeight);
    editor.document()->documentLayout()->documentSize();
    editor.LineIsVisible(editor.GetLength());
  }
  return true;
}

// The dummy driver plays in real time: the track is heard while the main thread takes the
// calls it queues.
void Listen(int milliseconds) {
  const QDeadlineTimer deadline(milliseconds);
  while (!deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(2);
  }
}

void Play(HeadlessTable& table, Puzzle& puzzle, WholeWayFuzzing::Steps& steps) {
  if (SoundTrack* track = SoundTrack::Current(); track && track->IsPlaying()) {
    steps.music = true;
    Listen(WholeWayFuzzing::MusicMilliseconds);
  }
  if (auto cover = puzzle.GetBoxCover()) steps.cover = !cover->IsEmpty();
  if (const QByteArray* note = puzzle.GetNoteStream()) steps.note = LayOutNote(*note);
  // The window loses the focus (the music pauses), then the puzzle is closed.
  table.surface.Suspend(true);
  if (SoundTrack* track = SoundTrack::Current()) track->Stop();
  table.surface.UnloadPuzzle();
}

void Count(const WholeWayFuzzing::Steps& steps) {
  ++totals.inputs;
  totals.opened += steps.opened;
  totals.cut += steps.cut;
  totals.onTable += steps.onTable;
  totals.cover += steps.cover;
  totals.note += steps.note;
  totals.music += steps.music;
}

}  // namespace

void WholeWayFuzzing::Prepare() {
  ProgSettings& settings = *Settings();
  settings.ShowWelcome = false;
  settings.EnableBackgroundSound = true;
}

WholeWayFuzzing::Steps WholeWayFuzzing::Load(const QByteArray& bytes, Kind kind) {
  Steps steps;
  {
    // Every box is answered by its default button, as a player pressing Enter would.
    Prompt::Double prompts;
    const QString path = FuzzPath(kind);
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size()) return steps;
    out.close();
    HeadlessTable table(TableWidth, TableHeight);
    table.host.area = QSize(TableWidth, TableHeight);
    auto puzzle = std::make_unique<Puzzle>(path);
    steps.opened = puzzle->IsValid() && puzzle->GetJigsawFile();
    if (steps.opened && CapPieces(*puzzle)) {
      steps.onTable = table.surface.LoadPuzzle(puzzle.get());
      steps.cut = puzzle->IsStarted();
      if (steps.onTable) Play(table, *puzzle, steps);
    }
    puzzle.reset();
    ChipGroup::DeleteAll();
  }
  // What the windows and the music left to the event loop goes before the next input.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
  Count(steps);
  return steps;
}

const WholeWayFuzzing::Reach& WholeWayFuzzing::Totals() { return totals; }

QString WholeWayFuzzing::Describe(const Reach& reach) {
  return QStringLiteral("reach: inputs %1, opened %2, cut %3, table %4, cover %5, note %6, music %7")
      .arg(reach.inputs).arg(reach.opened).arg(reach.cut).arg(reach.onTable).arg(reach.cover)
      .arg(reach.note).arg(reach.music);
}
