// Counting the pages of the largest note on a PDF printer at 1200 dpi (the kept layout
// forgotten first, as after an edit), against one QTextLayout pass over the same text at
// the same resolution, widths and fonts without pagination; and drawing a middle page of
// it onto a screen-sized image after a count, as the print preview does.

#include "bench/NoteSamples.h"
#include "bench/RatioReporter.h"
#include "Yelk/SystemUtils.h"
#include "platform/CurrentPrinter.h"
#include "richtext/RichEdit20.h"
#include "richtext/RichIO.h"
#include "richtext/RichPrinter.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextLayout>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

namespace {

// The editor has a printer only when one is installed before it is made.
bool InstallPdfPrinter(const QTemporaryDir& dir) {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setOutputFormat(QPrinter::PdfFormat);
  printer->setResolution(1200);
  printer->setOutputFileName(dir.filePath(QStringLiteral("largest.pdf")));
  printer->setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
  CurrentPrinter::Install(std::move(printer));
  return true;
}

struct Setup {
  QTemporaryDir dir;
  bool installed = InstallPdfPrinter(dir);
  RichEdit20 editor;
  double width = 0;  // the text rectangle's width in printer dots

  Setup() {
    const QByteArray rtf = NoteSamples::LargestNote();
    editor.GetIO()->SetContent(&rtf);
    // As the printer computes it: a margin covers the unprintable strip beneath it.
    const RichPrinter& pages = *editor.GetPrinter();
    const QRect paper = CurrentPrinter::Get().pageLayout().fullRectPixels(1200);
    const QRect printable = CurrentPrinter::Get().pageLayout().paintRectPixels(1200);
    const double dots = IsMetricLocale() ? 1200 / 254.0 : 1200 / 100.0;
    width = printable.width() - std::max(0.0, pages.MarginLeft() * dots - printable.left()) -
            std::max(0.0, pages.MarginRight() * dots - (paper.width() - printable.right() - 1));
  }

};

// Made on first use, and let go before the application is.
std::unique_ptr<Setup>& SharedSlot() {
  static std::unique_ptr<Setup> setup;
  return setup;
}

Setup& Shared() {
  if (!SharedSlot()) SharedSlot() = std::make_unique<Setup>();
  return *SharedSlot();
}

void BM_PageCount(benchmark::State& state) {
  Setup& setup = Shared();
  int pages = 0;
  for (auto _ : state) {
    setup.editor.EmptyPrintLayout();
    pages = setup.editor.GetPrinter()->GetPageCount();
  }
  state.counters["pages"] = pages;
}

void BM_LayoutFloor(benchmark::State& state) {
  Setup& setup = Shared();
  const QTextDocument& document = *setup.editor.Note().Document();
  QPrinter& printer = CurrentPrinter::Get();
  for (auto _ : state) {
    double height = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
      QTextLayout layout(block.text(), block.charFormat().font(), &printer);
      layout.setFormats(block.textFormats());
      layout.beginLayout();
      for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(setup.width);
        line.setPosition(QPointF(0, height));
        height += line.height();
      }
      layout.endLayout();
    }
    benchmark::DoNotOptimize(height);
  }
}

void BM_PreviewPage(benchmark::State& state) {
  Setup& setup = Shared();
  RichPrinter& printer = *setup.editor.GetPrinter();
  const int middle = std::max(1, printer.GetPageCount() / 2);
  QImage image(816, 1056, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    printer.Render(&painter, middle);
  }
}

}  // namespace

BENCHMARK(BM_PageCount)->Name("BM_PageCount/largest")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayoutFloor)->Name("BM_LayoutFloor/largest")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewPage)->Name("BM_PreviewPage/largest")->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  RatioReporter reporter;
  RunInterleaved(argc, argv, reporter);
  SharedSlot().reset();
  reporter.PrintRatio("page count / one layout pass", "BM_PageCount/largest", "BM_LayoutFloor/largest", 1.5);
  reporter.PrintRatio("preview page / page count", "BM_PreviewPage/largest", "BM_PageCount/largest", 0.1);
  return 0;
}
