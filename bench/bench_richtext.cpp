// Opening and saving a note: RTF bytes to a displayable document, and the document back to
// RTF, for the largest note a player will meet (about 20,000 words with formats, lists,
// links, page breaks and four photos as the editor stores pasted pictures: about 19 MB)
// and a typical one of 2 KB. Load is measured against building the same document straight
// from the runs, formats and kept groups the reader produced, with their pictures decoded
// (what any reader must pay: no parsing but the pictures' own data); save against a walk
// over the document's fragments copying their text and kept groups into one buffer.

#include "bench/NoteSamples.h"
#include "bench/RatioReporter.h"
#include "richtext/KeptGroup.h"
#include "richtext/NoteBuilder.h"
#include "richtext/NotePicture.h"
#include "richtext/RichEdit20.h"
#include "richtext/RichIO.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QApplication>
#include <QTextBlock>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

QByteArray TypicalNote() {
  QByteArray rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\r\n"
      "\\viewkind4\\uc1\\pard\\f0\\fs20 ";
  for (int paragraph = 0; paragraph < 5; ++paragraph) {
    rtf += "\\b Harbour\\b0  at evening. ";
    for (int w = 0; w < 60; ++w) rtf += NoteSamples::kWords[(paragraph * 7 + w) % 18], rtf += ' ';
    rtf += "\\par\r\n";
  }
  return rtf + "}\r\n";
}

struct Note {
  QByteArray rtf;
  NoteBuilder builder;
  std::unique_ptr<QTextDocument> document;
  std::vector<QByteArray> groups;  // its kept groups, whose pictures any reader decodes
};

Note MakeNote(const QByteArray& rtf) {
  Note note;
  note.rtf = rtf;
  note.builder = RtfReader::Read(note.rtf, true).builder;
  note.document = note.builder.Build();
  for (QTextBlock block = note.document->begin(); block.isValid(); block = block.next())
    for (auto it = block.begin(); !it.atEnd(); ++it)
      if (KeptGroup::IsKept(it.fragment().charFormat())) note.groups.push_back(KeptGroup::Bytes(it.fragment().charFormat()));
  return note;
}

Note& Largest() {
  static Note note = MakeNote(NoteSamples::LargestNote());
  return note;
}

Note& Typical() {
  static Note note = MakeNote(TypicalNote());
  return note;
}

void BM_NoteLoad(benchmark::State& state, Note& (*note)()) {
  const QByteArray& rtf = note().rtf;
  for (auto _ : state) {
    std::unique_ptr<QTextDocument> document = RtfReader::Read(rtf, true).builder.Build();
    benchmark::DoNotOptimize(document.get());
    state.PauseTiming();
    document.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * rtf.size());
}

void BM_NoteLoadFloor(benchmark::State& state, Note& (*note)()) {
  const NoteBuilder& builder = note().builder;
  for (auto _ : state) {
    qint64 budget = NotePicture::MaxDocumentBytes;
    for (const QByteArray& group : note().groups) benchmark::DoNotOptimize(NotePicture::Decode(group, budget).constBits());
    std::unique_ptr<QTextDocument> document = builder.Build();
    benchmark::DoNotOptimize(document.get());
    state.PauseTiming();
    document.reset();
    state.ResumeTiming();
  }
}

void BM_NoteSave(benchmark::State& state, Note& (*note)()) {
  const QTextDocument& document = *note().document;
  for (auto _ : state) {
    QByteArray rtf = RtfWriter::Write(document);
    benchmark::DoNotOptimize(rtf.data());
  }
}

void BM_NoteSaveFloor(benchmark::State& state, Note& (*note)()) {
  const QTextDocument& document = *note().document;
  for (auto _ : state) {
    QByteArray buffer;
    qsizetype size = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
      for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextCharFormat format = it.fragment().charFormat();
        size += KeptGroup::IsKept(format) ? KeptGroup::Bytes(format).size() : it.fragment().length() * 2;
      }
    buffer.reserve(size);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
      for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QTextCharFormat format = fragment.charFormat();
        if (KeptGroup::IsKept(format)) {
          buffer.append(KeptGroup::Bytes(format));
        } else {
          const QString text = fragment.text();
          buffer.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        }
      }
    }
    benchmark::DoNotOptimize(buffer.data());
  }
}

// The note window's path: the note into an editor through SetContent, and out again
// through GetContent, with the stream callbacks that let the application in per chunk.
void BM_SetContent(benchmark::State& state, Note& (*note)()) {
  const QByteArray& rtf = note().rtf;
  RichEdit20 editor;
  for (auto _ : state) {
    benchmark::DoNotOptimize(editor.GetIO()->SetContent(&rtf));
    state.PauseTiming();
    editor.Note().Install(nullptr);  // the note's teardown is not part of loading it
    state.ResumeTiming();
  }
}

void BM_GetContent(benchmark::State& state, Note& (*note)()) {
  RichEdit20 editor;
  editor.GetIO()->SetContent(&note().rtf);
  for (auto _ : state) {
    QByteArray out;
    benchmark::DoNotOptimize(editor.GetIO()->GetContent(&out));
  }
}

BENCHMARK_CAPTURE(BM_NoteLoad, largest, Largest)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_NoteLoadFloor, largest, Largest)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_NoteSave, largest, Largest)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_NoteSaveFloor, largest, Largest)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SetContent, largest, Largest)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_GetContent, largest, Largest)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_NoteLoad, typical, Typical)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_NoteSave, typical, Typical)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  std::printf("largest note: %lld bytes of RTF, %d positions; typical: %lld bytes\n",
              static_cast<long long>(Largest().rtf.size()), Largest().document->characterCount() - 1,
              static_cast<long long>(Typical().rtf.size()));
  RatioReporter reporter;
  RunInterleaved(argc, argv, reporter);
  reporter.PrintRatio("largest note load / its floor", "BM_NoteLoad/largest", "BM_NoteLoadFloor/largest", 1.3);
  reporter.PrintRatio("largest note save / its floor", "BM_NoteSave/largest", "BM_NoteSaveFloor/largest", 2.0);
  reporter.PrintRatio("largest note SetContent / note load", "BM_SetContent/largest", "BM_NoteLoad/largest", 1.2);
  reporter.PrintRatio("largest note GetContent / note save", "BM_GetContent/largest", "BM_NoteSave/largest", 1.2);
  return 0;
}
