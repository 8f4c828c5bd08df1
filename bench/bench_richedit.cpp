// Typing into the largest note: one key press through the note editor's key path, with its
// display lines kept current and the idle gutter check's questions answered (line count,
// first visible line, the point of that line's start), against the same key press into a
// bare QTextEdit holding the same document.
// A replace-all of a word the note holds about 1,000 times by a longer one, against the same
// replacements through one QTextCursor in one edit block; a search for a word the note lacks,
// against one QString::indexOf over the whole plain text; and the word count.
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
#include <cstdlib>
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

RichEdit20* LoadedEditor() {
  auto* made = new RichEdit20;
  Source source{&LargestRtf()};
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, &ReadChunk};
  made->EmStreamIn(SF_RTF, stream);
  Prepare(*made);
  return made;
}

RichEdit20& Editor() {
  static RichEdit20* editor = LoadedEditor();
  return *editor;
}

// An editor of its own for the searches and replacements, which leave its text as it was.
RichEdit20& SearchEditor() {
  static RichEdit20* editor = LoadedEditor();
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

// The word of the note whose count, as a replace-all without case finds it, is nearest 1,000.
const QString& FrequentWord() {
  static const QString word = [] {
    const QString text = SearchEditor().Note().GetText(0, -1);
    QString best;
    qsizetype bestCount = 0;
    for (const char* candidate : NoteSamples::kWords) {
      const qsizetype count = text.count(QLatin1String(candidate), Qt::CaseInsensitive);
      if (best.isEmpty() || std::abs(count - 1000) < std::abs(bestCount - 1000)) best = candidate, bestCount = count;
    }
    std::printf("replaced word: \"%s\", %lld matches\n", qPrintable(best), static_cast<long long>(bestCount));
    return best;
  }();
  return word;
}

QString Longer() { return FrequentWord() + QStringLiteral("ful"); }

void BM_ReplaceAll(benchmark::State& state) {
  RichEdit20& editor = SearchEditor();
  const QString find = FrequentWord(), replace = Longer();
  for (auto _ : state) {
    benchmark::DoNotOptimize(editor.ReplaceAll(find, replace, 0, false, false, true, -1));
    state.PauseTiming();
    editor.Undo();
    state.ResumeTiming();
  }
}

void BM_ReplaceAllFloor(benchmark::State& state) {
  RichEdit20& editor = SearchEditor();
  QTextDocument* document = editor.Note().Document();
  const QString find = FrequentWord(), replace = Longer();
  for (auto _ : state) {
    const QString text = editor.Note().GetText(0, -1);
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    int shift = 0;
    for (qsizetype at = text.indexOf(find, 0, Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(find, at + find.size(), Qt::CaseInsensitive)) {
      cursor.setPosition(int(at) + shift);
      cursor.setPosition(int(at) + shift + int(find.size()), QTextCursor::KeepAnchor);
      cursor.insertText(replace);
      shift += int(replace.size() - find.size());
    }
    cursor.endEditBlock();
    state.PauseTiming();
    document->undo();
    state.ResumeTiming();
  }
}

void BM_FindText(benchmark::State& state) {
  RichEdit20& editor = SearchEditor();
  for (auto _ : state) benchmark::DoNotOptimize(editor.FindText(QStringLiteral("lighthouse"), 0, true, false, false, false, -1));
}

void BM_FindTextFloor(benchmark::State& state) {
  QTextDocument* document = SearchEditor().Note().Document();
  for (auto _ : state)
    benchmark::DoNotOptimize(document->toPlainText().indexOf(QStringLiteral("lighthouse"), 0, Qt::CaseInsensitive));
}

void BM_GetWordCount(benchmark::State& state) {
  RichEdit20& editor = SearchEditor();
  for (auto _ : state) benchmark::DoNotOptimize(editor.GetWordCount());
}

BENCHMARK(BM_ReplaceAll)->Name("BM_ReplaceAll/largest")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceAllFloor)->Name("BM_ReplaceAllFloor/largest")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindText)->Name("BM_FindText/largest")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindTextFloor)->Name("BM_FindTextFloor/largest")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetWordCount)->Name("BM_GetWordCount/largest")->Unit(benchmark::kMillisecond);
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
  reporter.PrintRatio("replace-all / one-cursor floor", "BM_ReplaceAll/largest", "BM_ReplaceAllFloor/largest", 2.0);
  reporter.PrintRatio("find / whole-text indexOf floor", "BM_FindText/largest", "BM_FindTextFloor/largest", 3.0);
  return 0;
}
