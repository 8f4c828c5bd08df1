// richprint IN OUT.pdf [--pages A-B] [--odd|--even] [--reverse] [--margins T,L,B,R]
// Reads a note (RTF or text) as the note window does and prints it through the note's
// printer to a PDF, on a printer whose unprintable strips are 5 mm wide.
// richprint --write-sample OUT.rtf writes the sample note through the editor's own writer.

#include "Yelk/GameApplication.h"
#include "platform/CurrentPrinter.h"
#include "richtext/Printerfuncs.h"
#include "richtext/RichEdit20.h"
#include "richtext/RichIO.h"
#include "richtext/RichPrinter.h"

#include <QApplication>
#include <QBuffer>
#include <QCommandLineParser>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrinter>

#include <climits>
#include <cstdio>

namespace {

const char* const kProse =
    "A jigsaw puzzle is best started at its edge: sort the pieces with a straight side, "
    "join them into a frame, and then fill the middle by colour and by shape. Keep the box "
    "cover in sight, since most of the picture's regions are easier to find on it than on "
    "the table. ";

QByteArray Paragraph(int sentences) {
  QByteArray text;
  for (int s = 0; s < sentences; ++s) text += kProse;
  return "\\pard\\sa120\\fs22 " + text + "\\par\n";
}

QByteArray Picture() {
  QImage image(240, 120, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.fillRect(image.rect(), QColor(0xE8, 0xD8, 0xB0));
  painter.setBrush(QColor(0x30, 0x70, 0xB0));
  painter.drawEllipse(QRect(20, 15, 90, 90));
  painter.setBrush(QColor(0xC0, 0x40, 0x30));
  painter.drawRect(QRect(130, 30, 90, 60));
  painter.end();
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return "\\pard\\qc{\\pict\\pngblip\\picw240\\pich120\\picwgoal3600\\pichgoal1800 " + png.toHex() + "}\\par\n";
}

QByteArray List(bool numbered, const QList<QByteArray>& items) {
  const QByteArray marker = numbered ? "{\\*\\pn\\pnlvlbody\\pnf0\\pnindent360\\pnstart1\\pndec{\\pntxta.}}"
                                     : "{\\*\\pn\\pnlvlblt\\pnf1\\pnindent360{\\pntxtb\\'b7}}";
  QByteArray out;
  for (const QByteArray& item : items) out += "\\pard" + marker + "\\fi-360\\li720\\sa60\\fs22 " + item + "\\par\n";
  return out;
}

QByteArray Heading(const QByteArray& text) { return "\\pard\\sb240\\sa120\\b\\fs32 " + text + "\\b0\\par\n"; }

// Three pages or more: headings, prose with bold runs, bullets, a numbered list, a picture
// and a hard page break.
QByteArray SampleSource() {
  QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fnil\\fcharset2 Symbol;}}\n";
  rtf += Heading("About the Puzzle");
  rtf += "\\pard\\sa120\\fs22 This note goes with the puzzle. It holds the \\b rules of the house\\b0 , a few "
         "hints, and a list of what is still missing from the box.\\par\n";
  rtf += Paragraph(3);
  rtf += Heading("Before you start");
  rtf += List(false, {"Clear a table larger than the finished picture.", "Turn every piece face up.",
                      "Put the edge pieces apart from the others.", "Keep the lid near, and the lamp nearer."});
  rtf += Paragraph(4);
  rtf += Picture();
  rtf += Paragraph(5);
  rtf += Heading("Steps");
  rtf += List(true, {"Build the frame.", "Sort the rest by colour.", "Fill the sky last; it is the hardest part.",
                     "Check the count of pieces on the status bar."});
  rtf += Paragraph(6);
  rtf += "\\page";
  rtf += Heading("Missing pieces");
  rtf += "\\pard\\sa120\\fs22 Pieces found missing so far: \\b none\\b0 . Write them here when you notice one.\\par\n";
  rtf += Paragraph(8);
  rtf += "}";
  return rtf;
}

int WriteSample(const QString& path) {
  RichEdit20 editor;
  const QByteArray source = SampleSource();
  QByteArray written;
  if (!editor.GetIO()->SetContent(&source) || !editor.GetIO()->GetContent(&written)) {
    std::fprintf(stderr, "richprint: the sample could not be written\n");
    return 1;
  }
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(written) != written.size()) {
    std::fprintf(stderr, "richprint: cannot write %s\n", qPrintable(path));
    return 1;
  }
  return 0;
}

void InstallPdfPrinter(const QString& path) {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setOutputFormat(QPrinter::PdfFormat);
  printer->setOutputFileName(path);
  printer->setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
  CurrentPrinter::Install(std::move(printer));
}

bool ApplyOptions(const QCommandLineParser& options, RichPrinter& printer, int& first, int& last) {
  printer.oddOnly = options.isSet("odd");
  printer.evenOnly = options.isSet("even");
  printer.reverseOrder = options.isSet("reverse");
  if (options.isSet("pages")) {
    const QStringList range = options.value("pages").split(u'-');
    bool okFirst = false, okLast = false;
    first = range.value(0).toInt(&okFirst);
    last = range.size() == 2 ? range.value(1).toInt(&okLast) : first;
    if (!okFirst || (range.size() == 2 && !okLast) || range.size() > 2) return false;
  }
  if (options.isSet("margins")) {
    const QStringList values = options.value("margins").split(u',');
    if (values.size() != 4) return false;
    int margin[4];
    for (int index = 0; index < 4; ++index) {
      bool ok = false;
      margin[index] = values[index].toInt(&ok);
      if (!ok) return false;
    }
    printer.ApplyMargins(QRect(QPoint(margin[1], margin[0]), QPoint(margin[3], margin[2])));
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // Failures the printer shows the player go to the terminal here.
  GameApplication::SetExceptionHandler(
      [](const QString& message, const QStringList&) { std::fprintf(stderr, "richprint: %s\n", qPrintable(message)); });
  QCommandLineParser options;
  options.addHelpOption();
  options.addOption({"pages", "Prints pages A to B only.", "A-B"});
  options.addOption({"odd", "Prints odd pages only."});
  options.addOption({"even", "Prints even pages only."});
  options.addOption({"reverse", "Prints the last page first."});
  options.addOption({"margins", "Margins top, left, bottom, right in hundredths of a centimetre "
                                "(of an inch outside metric locales).", "T,L,B,R"});
  options.addOption({"write-sample", "Writes the sample note to <file> and ends.", "file"});
  options.addPositionalArgument("in", "The note to print, RTF or text.");
  options.addPositionalArgument("out", "The PDF to write.");
  options.process(app);
  if (options.isSet("write-sample")) return WriteSample(options.value("write-sample"));
  if (options.positionalArguments().size() != 2) options.showHelp(2);

  QFile file(options.positionalArguments()[0]);
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "richprint: cannot open %s\n", qPrintable(file.fileName()));
    return 1;
  }
  const QByteArray note = file.readAll();
  InstallPdfPrinter(options.positionalArguments()[1]);
  RichEdit20 editor;
  if (!editor.GetIO()->SetContent(&note)) {
    std::fprintf(stderr, "richprint: %s could not be read\n", qPrintable(file.fileName()));
    return 1;
  }
  RichPrinter& printer = *editor.GetPrinter();
  int first = 1, last = INT_MAX;
  if (!ApplyOptions(options, printer, first, last)) options.showHelp(2);
  try {
    std::printf("%d pages\n", printer.GetPageCount());
    printer.Print(first, last);
  } catch (const EPrinter& error) {
    std::fprintf(stderr, "richprint: %s\n", error.what());
    return 1;
  }
  std::printf("%d sheets printed\n", static_cast<int>(printer.Sheets().size()));
  return 0;
}
