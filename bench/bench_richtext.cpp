// Opening and saving a note: RTF bytes to a displayable document, and the document back to
// RTF, for the largest note a player will meet (about 20,000 words with formats, lists,
// links, page breaks and four photos as the editor stores pasted pictures: about 19 MB)
// and a typical one of 2 KB. Load is measured against building the same document straight
// from the runs, formats and kept groups the reader produced, with their pictures decoded
// (what any reader must pay: no parsing but the pictures' own data); save against a walk
// over the document's fragments copying their text and kept groups into one buffer.

#include "bench/RatioReporter.h"
#include "richtext/KeptGroup.h"
#include "richtext/NoteBuilder.h"
#include "richtext/NotePicture.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QApplication>
#include <QTextBlock>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <random>

namespace {

const char* const kWords[] = {"the", "puzzle", "picture", "of", "a", "harbour", "with", "boats", "and",
                              "gulls", "under", "evening", "light", "painted", "in", "oils", "by", "hand"};

// A 1024x768 photo as the editor stores a pasted picture: a 24-bit DIB inside a metafile
// group, hex-coded in lines of 128 characters.
QByteArray Picture(int seed) {
  QImage photo(1024, 768, QImage::Format_RGB32);
  std::mt19937 rng(static_cast<unsigned>(seed));
  for (int y = 0; y < photo.height(); ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(photo.scanLine(y));
    for (int x = 0; x < photo.width(); ++x) row[x] = qRgb((x + (rng() & 7)) & 0xFF, (y + (rng() & 7)) & 0xFF, (x ^ y) & 0xFF);
  }
  return NotePicture::GroupFor(photo);
}

QByteArray LargestNote() {
  QByteArray rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
      "{\\f1\\froman\\fprq2\\fcharset0 Times New Roman;}{\\f2\\fnil\\fcharset2 Symbol;}}\r\n"
      "{\\colortbl ;\\red0\\green0\\blue255;\\red255\\green0\\blue0;}\r\n\\viewkind4\\uc1\\pard\\f0\\fs20 ";
  std::mt19937 rng(1);
  int word = 0;
  for (int paragraph = 0; paragraph < 1000; ++paragraph) {
    if (paragraph % 10 == 5)
      rtf += "\\pard{\\pntext\\f2\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf2\\pnindent0{\\pntxtb\\'b7}}\\fi-360\\li360 ";
    if (paragraph % 100 == 50) rtf += "\\page ";
    if (paragraph % 250 == 100) rtf += paragraph == 600 ? "{\\object\\objemb{\\*\\objclass Paint.Picture}"
                                                          "\\objw15360\\objh11520{\\*\\objdata 01050000020000000b000000}"
                                                          "{\\result" + Picture(paragraph) + "}}"
                                                        : Picture(paragraph);
    for (int w = 0; w < 22; ++w, ++word) {
      if (word % 10 == 0) rtf += (word / 10) % 3 == 0 ? "\\b " : (word / 10) % 3 == 1 ? "\\b0\\i " : "\\i0 ";
      if (word % 1000 == 500)
        rtf += "{\\field{\\*\\fldinst{HYPERLINK \"http://example.org/\"}}{\\fldrslt{\\ul\\cf1 link}}} ";
      rtf += kWords[rng() % (sizeof kWords / sizeof *kWords)];
      rtf += ' ';
    }
    rtf += "\\par\r\n";
    if (paragraph % 10 == 5) rtf += "\\pard ";
  }
  return rtf + "}\r\n";
}

QByteArray TypicalNote() {
  QByteArray rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\r\n"
      "\\viewkind4\\uc1\\pard\\f0\\fs20 ";
  for (int paragraph = 0; paragraph < 5; ++paragraph) {
    rtf += "\\b Harbour\\b0  at evening. ";
    for (int w = 0; w < 60; ++w) rtf += kWords[(paragraph * 7 + w) % 18], rtf += ' ';
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
  static Note note = MakeNote(LargestNote());
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

BENCHMARK_CAPTURE(BM_NoteLoad, largest, Largest)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_NoteLoadFloor, largest, Largest)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_NoteSave, largest, Largest)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_NoteSaveFloor, largest, Largest)->Unit(benchmark::kMillisecond);
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
  return 0;
}
