// preview_demo FILE [--double] [--zoom fit|half|100] [--screenshot out.png]
// Reads a note (RTF or text) into the note editor, gives it a PDF printer writing FILE.pdf,
// and opens the print preview; choosing Print prints the note to that file.

#include "platform/CurrentPrinter.h"
#include "richtext/RichEdit20.h"
#include "richtext/RichIO.h"
#include "richtext/RichPrinter.h"
#include "richtext/TPreviewForm.h"

#include <QAction>
#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QPrinter>
#include <QTimer>

#include <climits>
#include <cstdio>

namespace {

// Sets the layout and zoom asked for on the preview once it shows, and takes the picture.
void Arrange(const QCommandLineParser& options) {
  auto* form = qobject_cast<TPreviewForm*>(QApplication::activeModalWidget());
  if (!form) {
    QTimer::singleShot(50, [&options] { Arrange(options); });
    return;
  }
  if (options.isSet("double")) form->LayoutAtn->trigger();
  const QString zoom = options.value("zoom");
  if (zoom == QLatin1String("half") || zoom == QLatin1String("100")) form->MagnifyAtn->trigger();
  if (zoom == QLatin1String("100") && form->Magnification() < 100) form->MagnifyAtn->trigger();
  if (!options.isSet("screenshot")) return;
  QTimer::singleShot(300, form, [form, &options] {
    form->grab().save(options.value("screenshot"));
    form->reject();
  });
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName("Tessavinelume Jigsaw Puzzles");
  QCommandLineParser options;
  options.addHelpOption();
  options.addOption({"double", "Shows two pages side by side."});
  options.addOption({"zoom", "fit, half or 100.", "zoom", "fit"});
  options.addOption({"screenshot", "Saves the preview window to <file> and ends.", "file"});
  options.addPositionalArgument("file", "The note to preview (RTF or text).");
  options.process(app);
  if (options.positionalArguments().size() != 1) options.showHelp(2);

  const QString path = options.positionalArguments().first();
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "preview_demo: cannot open %s\n", qPrintable(path));
    return 1;
  }
  auto pdf = std::make_unique<QPrinter>(QPrinter::HighResolution);
  pdf->setOutputFormat(QPrinter::PdfFormat);
  pdf->setOutputFileName(path + ".pdf");
  pdf->setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
  CurrentPrinter::Install(std::move(pdf));

  RichEdit20 editor;
  const QByteArray bytes = file.readAll();
  if (!editor.GetIO()->SetContent(&bytes)) {
    std::fprintf(stderr, "preview_demo: %s could not be read\n", qPrintable(path));
    return 1;
  }
  RichPrinter* printer = editor.GetPrinter();
  if (!printer) {
    std::fprintf(stderr, "preview_demo: no printer\n");
    return 1;
  }
  int status = 0;
  QTimer::singleShot(0, [&] {
    Arrange(options);
    if (printer->Preview(1, INT_MAX)) {
      printer->Print(1, INT_MAX);
      std::printf("preview_demo: printed %d pages to %s.pdf\n", printer->GetPageCount(), qPrintable(path));
    }
    app.quit();
  });
  status = app.exec();
  return status;
}
