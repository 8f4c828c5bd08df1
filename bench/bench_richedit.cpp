// Typing into the largest note: one key press through the note editor's key path, with its
// display lines kept current and the idle gutter check's questions answered (line count,
// first visible line, the point of that line's start), against the same key press into a
// bare QTextEdit holding the same document.
// "bench_richedit --write-largest FILE" writes the largest note's RTF and ends.

#include "bench/NoteSamples.h"
#include "bench/RatioReporter.h"
#include "richtext/KeptGroup.h"
#include "richtext/RichEdit20.h"
#include "richtext/RtfReader.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTextDocument>
#include <QTextEdit>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>

namespace {

const QSize kWindow(640, 520);

const QByteArray& LargestRtf() {
  static const QByteArray rtf = NoteSamples::LargestNote();
  return rtf;
}

struct Source {
  const QByteArray* bytes;
  qsizetype at = 0;
};

DWORD ReadChunk(DWORD_PTR cookie, BYTE* buffer, LONG cb, LONG* pcb) {
  auto* source = reinterpret_cast<Source*>(cookie);
  const LONG n = static_cast<LONG>(qMin<qsizetype>(cb, source->bytes->size() - source->at));
  std::memcpy(buffer, source->bytes->constData() + source->at, static_cast<size_t>(n));
  source->at += n;
  *pcb = n;
  return 0;
}

// Both editors type in the middle of the note, with that part in view.
void Prepare(QTextEdit& editor) {
  editor.resize(kWindow);
  editor.show();
  QTextCursor cursor = editor.textCursor();
  cursor.setPosition(editor.document()->characterCount() / 2);
  editor.setTextCursor(cursor);
  editor.ensureCursorVisible();
  QApplication::processEvents();
}

RichEdit20& Editor() {
  static RichEdit20* editor = [] {
    auto* made = new RichEdit20;
    Source source{&LargestRtf()};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, &ReadChunk};
    made->EmStreamIn(SF_RTF, stream);
    Prepare(*made);
    return made;
  }();
  return *editor;
}

QTextEdit& Bare() {
  static QTextEdit* bare = [] {
    auto* made = new QTextEdit;
    QTextDocument* document = RtfReader::Read(LargestRtf(), true).builder.Build().release();
    KeptGroup::Install(document);
    document->setDocumentMargin(0);
    document->setParent(made);
    made->setDocument(document);
    Prepare(*made);
    return made;
  }();
  return *bare;
}

void Type(QWidget& target, int count) {
  const bool blank = count % 6 == 5;
  QKeyEvent press(QEvent::KeyPress, blank ? Qt::Key_Space : Qt::Key_A, Qt::NoModifier, blank ? " " : "a");
  QApplication::sendEvent(&target, &press);
}

void BM_Keystroke(benchmark::State& state) {
  RichEdit20& editor = Editor();
  int count = 0;
  for (auto _ : state) {
    Type(editor, count++);
    // What the idle gutter check asks after each change.
    benchmark::DoNotOptimize(editor.GetLineCount());
    const LONG first = editor.GetFirstVisibleLine();
    benchmark::DoNotOptimize(editor.PointFromCharPos(editor.GetLinePos(first)));
  }
}

void BM_KeystrokeBare(benchmark::State& state) {
  QTextEdit& bare = Bare();
  int count = 0;
  for (auto _ : state) Type(bare, count++);
}

BENCHMARK(BM_Keystroke)->Name("BM_Keystroke/largest")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeystrokeBare)->Name("BM_KeystrokeBare/largest")->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc == 3 && std::strcmp(argv[1], "--write-largest") == 0) {
    QFile file(QString::fromLocal8Bit(argv[2]));
    return file.open(QIODevice::WriteOnly) && file.write(LargestRtf()) == LargestRtf().size() ? 0 : 1;
  }
  RatioReporter reporter;
  RunInterleaved(argc, argv, reporter);
  reporter.PrintRatio("keystroke in the largest note / bare", "BM_Keystroke/largest", "BM_KeystrokeBare/largest", 1.5);
  return 0;
}
