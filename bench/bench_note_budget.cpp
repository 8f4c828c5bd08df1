// Notes made of many pieces, each cheap on its own, against plain prose of the same size, the
// way the note window shows them and the way they print:
//   open     a read-only editor of the window's smallest size takes the note (SetContent);
//   widths   the shown note is laid out again at 1900, 120, 360 and 303 pixels;
//   print    every page is printed to a 1200 dpi PDF file, the kept layout forgotten first.
// The families are about a megabyte each: 150 rows of 1,000 empty cells, 236 paragraphs of
// 32 tab stops and 1,000 tabs, 999 words of 1,000 letters, rows of 300 cells each holding a
// small picture, two random mixes of them with nested tables and header pictures, and prose
// in one paragraph. The "edge" notes are prose with as many rows, long words, pictures in
// cells or decoded pictures as the note's budgets allow: the dearest notes shown as written.

#include "bench/RatioReporter.h"
#include "platform/CurrentPrinter.h"
#include "richtext/NoteBudget.h"
#include "richtext/RichEdit20.h"
#include "richtext/RichIO.h"
#include "richtext/RichPrinter.h"
#include "tools/NoteFamilies.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>

namespace {

using NoteFamilies::Join;

constexpr qsizetype kEdgeProse = 900000;

// Prose of about kEdgeProse positions and then as many copies of the piece as keep the
// work under 95 % of the budget.
QByteArray Edge(const QByteArray& piece, qint64 work, qint64 (*budget)(qint64)) {
  const qsizetype count = budget(kEdgeProse) * 95 / 100 / work;
  QByteArray note = NoteFamilies::Prose(kEdgeProse);
  for (qsizetype i = 0; i < count; ++i) note = Join(note, piece);
  return note;
}

QByteArray RowsEdge() {
  return Edge(NoteFamilies::Rows(1, 100), NoteBudget::TabWork(99, 0, 0), NoteBudget::TabBudget);
}

QByteArray WordsEdge() {
  return Edge(NoteFamilies::Words(1, 1000), 1000 * 1000, NoteBudget::WordBudget);
}

QByteArray PicturesEdge() {
  return Edge(NoteFamilies::PicturesInCells(1, 30), NoteBudget::TabWork(29, 0, 30), NoteBudget::TabBudget);
}

QByteArray DecodedEdge() {
  return Edge(NoteFamilies::SolidPicture(1024, 1024), 1024 * 1024 * 4, NoteBudget::PictureBytes);
}

QByteArray OneParagraph() { return NoteFamilies::Prose(1000000).replace("\\par\r\n", " "); }

struct Family {
  const char* name;
  QByteArray (*make)();
};

const Family kFamilies[] = {
    {"rows", [] { return NoteFamilies::Rows(150, 1000); }},
    {"tabs", [] { return NoteFamilies::TabbedParagraphs(236, 32, 1000); }},
    {"words", [] { return NoteFamilies::Words(999, 1000); }},
    {"pictures", [] { return NoteFamilies::PicturesInCells(13, 300); }},
    {"mix1", [] { return NoteFamilies::Mix(1, 800000); }},
    {"mix2", [] { return NoteFamilies::Mix(2, 800000); }},
    {"paragraph", OneParagraph},
    {"rows-edge", RowsEdge},
    {"words-edge", WordsEdge},
    {"pictures-edge", PicturesEdge},
    {"decoded-edge", DecodedEdge},
};

// Each family's note, and plain prose of its size ("<family>-prose"), made on first use.
const QByteArray& Note(const std::string& name) {
  static std::map<std::string, QByteArray> notes;
  auto it = notes.find(name);
  if (it != notes.end()) return it->second;
  for (const Family& family : kFamilies) {
    if (name == family.name) return notes[name] = family.make();
    if (name == std::string(family.name) + "-prose") return notes[name] = NoteFamilies::Prose(Note(family.name).size());
  }
  return notes[name];
}

void InstallPdfPrinter(const QTemporaryDir& dir) {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setOutputFormat(QPrinter::PdfFormat);
  printer->setResolution(1200);
  printer->setOutputFileName(dir.filePath(QStringLiteral("note.pdf")));
  CurrentPrinter::Install(std::move(printer));
}

constexpr QSize kSmallest(303, 218);

// As the note window holds a note.
std::unique_ptr<RichEdit20> Window(const QByteArray& note) {
  auto editor = std::make_unique<RichEdit20>();
  editor->SetReadOnly(true);
  editor->resize(kSmallest);
  editor->show();
  editor->GetIO()->SetContent(&note);
  editor->document()->documentLayout()->documentSize();
  return editor;
}

// One editor per note for the widths and the printing, made on first use and let go before
// the application is.
std::map<std::string, std::unique_ptr<RichEdit20>>& Shown() {
  static std::map<std::string, std::unique_ptr<RichEdit20>> shown;
  return shown;
}

RichEdit20& ShownNote(const std::string& name) {
  auto& slot = Shown()[name];
  if (!slot) slot = Window(Note(name));
  return *slot;
}

void BM_Open(benchmark::State& state, const std::string& name) {
  const QByteArray& note = Note(name);
  for (auto _ : state) {
    std::unique_ptr<RichEdit20> editor = Window(note);
    state.PauseTiming();
    editor.reset();
    state.ResumeTiming();
  }
}

void BM_Widths(benchmark::State& state, const std::string& name) {
  RichEdit20& editor = ShownNote(name);
  for (auto _ : state) {
    for (const int width : {1900, 120, 360, kSmallest.width()}) {
      editor.resize(width, kSmallest.height());
      benchmark::DoNotOptimize(editor.document()->documentLayout()->documentSize());
    }
  }
}

void BM_Print(benchmark::State& state, const std::string& name) {
  RichEdit20& editor = ShownNote(name);
  for (auto _ : state) {
    editor.EmptyPrintLayout();
    editor.GetPrinter()->Print(1, 2147483647);
  }
}

const char* const kWays[] = {"BM_Open/", "BM_Widths/", "BM_Print/"};

void Register() {
  for (const Family& family : kFamilies)
    for (const std::string& name : {std::string(family.name), std::string(family.name) + "-prose"})
      for (const std::string way : kWays) {
        auto* run = way == "BM_Open/" ? BM_Open : way == "BM_Widths/" ? BM_Widths : BM_Print;
        benchmark::RegisterBenchmark((way + name).c_str(), run, name)->Unit(benchmark::kMillisecond);
      }
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTemporaryDir dir;
  InstallPdfPrinter(dir);  // before any editor: an editor has a printer only when one is installed
  Register();
  RatioReporter reporter;
  RunInterleaved(argc, argv, reporter);
  Shown().clear();
  for (const Family& family : kFamilies) {
    const std::string name = family.name;
    for (const std::string way : kWays) {
      const std::string label = way.substr(3) + name + " / prose";
      reporter.PrintRatio(label.c_str(), (way + name).c_str(), (way + name + "-prose").c_str(), 3.0);
    }
  }
  return 0;
}
