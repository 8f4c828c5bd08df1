// Printing notes to PDF through the current printer: over many documents, paper sizes,
// margins and fonts every word is printed exactly once, in order, with each section on a
// new page, and the count agrees with the sheets and the PDF; page ranges, parity and
// reverse order put out the right sheets and never a blank one; settings and headers.

#include "QtTestMain.h"
#include "ShownExceptions.h"
#include "Yelk/Prompt.h"
#include "Yelk/TMsgLog.h"
#include "platform/CurrentPrinter.h"
#include "platform/PrinterBackend.h"
#include "imaging/BufferPrinter.h"
#include "richtext/NoteFormat.h"
#include "richtext/PageFormatter.h"
#include "richtext/Printerfuncs.h"
#include "richtext/RichEdit20.h"
#include "richtext/RichPrinter.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <climits>
#include <functional>

namespace {

// A printer with settable names, capabilities and settings, counting its reloads.
struct FakePrinter : PrinterBackend {
  QStringList names{QStringLiteral("Laser"), QStringLiteral("Inkjet")};
  int index = 0, capabilities = CanCopy | CanTurn | CanCollate, copies = 1;
  bool settings = true, reloadGivesSettings = true, printing = false, collate = false, landscape = false;
  short paper = 9;

  QStringList Names() const override { return names; }
  int Index() const override { return index; }
  bool Select(int which) override {
    index = which;
    return true;
  }
  bool HasSettings() const override { return settings; }
  bool Printing() const override { return printing; }
  void Reload() override { settings = settings || reloadGivesSettings; }
  int Capabilities() const override { return capabilities; }
  int Copies() const override { return copies; }
  void SetCopies(int value) override { copies = value; }
  bool Collate() const override { return collate; }
  void SetCollate(bool value) override { collate = value; }
  bool Landscape() const override { return landscape; }
  void SetLandscape(bool value) override { landscape = value; }
  short PaperSize() const override { return paper; }
  bool SetPaperSize(short code) override {
    if (code <= 0) return false;
    paper = code;
    return true;
  }
};

struct Paper {
  QPageSize::PageSizeId size;
  QMarginsF strips;  // millimetres the printer cannot print on
};

QString Run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(60000) || process.exitCode() != 0) return QString();
  return QString::fromUtf8(process.readAllStandardOutput());
}

void InstallPdf(const QString& file, const Paper& paper) {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setOutputFormat(QPrinter::PdfFormat);
  printer->setOutputFileName(file);
  printer->setPageSize(QPageSize(paper.size));
  printer->setPageMargins(paper.strips, QPageLayout::Millimeter);
  CurrentPrinter::Install(std::move(printer));
}

// Paragraphs of numbered words ("w0 w1 ..."), some bold, larger or indented, a bulleted
// run, and hard page breaks (a paragraph mark then a form feed) where breaks lists them.
int Build(RichEdit20& editor, int paragraphs, const QSet<int>& breaks, int seed, double pointSize) {
  QRandomGenerator random(seed);
  QTextCursor cursor(editor.Note().Document());
  int word = 0;
  for (int p = 0; p < paragraphs; ++p) {
    if (p > 0) cursor.insertBlock();
    QTextBlockFormat block;
    if (p % 5 == 2) {
      block.setLeftMargin(30);
      block.setTextIndent(-15);
    }
    cursor.setBlockFormat(block);
    if (breaks.contains(p)) cursor.insertText(QStringLiteral("\f"));
    const int words = 1 + random.bounded(40);
    for (int w = 0; w < words; ++w) {
      QTextCharFormat format;
      format.setFontFamilies({QStringLiteral("DejaVu Sans")});
      format.setFontPointSize(p % 7 == 3 ? pointSize * 2 : pointSize);
      format.setFontWeight(random.bounded(5) == 0 ? QFont::Bold : QFont::Normal);
      cursor.insertText(QStringLiteral("w%1 ").arg(word++), format);
    }
  }
  return word;
}

QStringList Words(const QString& text) {
  QStringList words;
  for (const auto& match : QRegularExpression(QStringLiteral("w\\d+")).globalMatch(text)) words << match.captured();
  return words;
}

QStringList Expected(int count) {
  QStringList words;
  for (int w = 0; w < count; ++w) words << QStringLiteral("w%1").arg(w);
  return words;
}

// The box of a page's dark pixels; empty on a blank page.
QRect Ink(const QImage& page) {
  const QImage gray = page.convertToFormat(QImage::Format_Grayscale8);
  int left = gray.width(), top = gray.height(), right = -1, bottom = -1;
  for (int y = 0; y < gray.height(); ++y) {
    const uchar* row = gray.constScanLine(y);
    for (int x = 0; x < gray.width(); ++x) {
      if (row[x] >= 160) continue;
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
  }
  return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// The PDF's pages as images at 72 dpi, in order.
QList<QImage> PdfImages(const QString& file, const QString& prefix) {
  Run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-png"), file, prefix});
  const QFileInfo base(prefix);
  QStringList names = QDir(base.path()).entryList({base.fileName() + QStringLiteral("-*.png")});
  std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
    return a.section(u'-', -1).section(u'.', 0, 0).toInt() < b.section(u'-', -1).section(u'.', 0, 0).toInt();
  });
  QList<QImage> images;
  for (const QString& name : names) images << QImage(base.path() + u'/' + name);
  return images;
}

int PdfPages(const QString& file) {
  const QString info = Run(QStringLiteral("pdfinfo"), {file});
  const auto match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
  return match.hasMatch() ? match.captured(1).toInt() : -1;
}

}  // namespace

class RichPrinterQTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;

  QString File(const QString& name) const { return dir_.filePath(name); }

private slots:
  // First, while no printer check has run yet in this process.
  void helpersOverAFakePrinter() {
    auto owned = std::make_unique<FakePrinter>();
    FakePrinter& fake = *owned;
    CurrentPrinter::InstallBackend(std::move(owned));
    const auto corrected = [] {
      return TMsgLog::Lines().filter(QStringLiteral("Printer device mode corrected.")).size();
    };
    for (int check = 1; check <= 256; ++check) {
      fake.settings = false;
      Printerfuncs::CheckPrinter();
      QCOMPARE(corrected(), check < 256 ? 0 : 1);
    }
    QVERIFY(TMsgLog::Lines().last().endsWith(QStringLiteral("cnt=256")));
    fake.settings = fake.reloadGivesSettings = false;
    QVERIFY_THROWS_EXCEPTION(EPrinter, Printerfuncs::CheckPrinter());
    QVERIFY(!Printerfuncs::PrinterIsOk());

    // Without settings every accessor refuses; while printing every setter does.
    const std::function<void()> setters[] = {[] { Printerfuncs::SetCollate(true); }, [] { Printerfuncs::SetCopies(3); },
                                             [] { Printerfuncs::SetLandscape(true); },
                                             [] { Printerfuncs::SetPaperSize(1); }};
    const std::function<void()> getters[] = {[] { Printerfuncs::GetCollate(); }, [] { Printerfuncs::GetCopies(); },
                                             [] { Printerfuncs::GetLandscape(); },
                                             [] { Printerfuncs::GetPaperSize(); }};
    for (const auto& call : setters) QVERIFY_THROWS_EXCEPTION(EPrinter, call());
    for (const auto& call : getters) QVERIFY_THROWS_EXCEPTION(EPrinter, call());
    fake.settings = fake.printing = true;
    for (const auto& call : setters) QVERIFY_THROWS_EXCEPTION(EPrinter, call());
    for (const auto& call : getters) call();
    QCOMPARE(fake.copies, 1);
    QCOMPARE(fake.paper, short(9));

    // Orientation and collation need their capabilities, reading and writing.
    fake.printing = false;
    fake.capabilities = PrinterBackend::CanCopy;
    Printerfuncs::SetLandscape(true);
    Printerfuncs::SetCollate(true);
    QVERIFY(!fake.landscape && !fake.collate);
    fake.landscape = fake.collate = true;
    QVERIFY(!Printerfuncs::GetLandscape() && !Printerfuncs::GetCollate());
    fake.capabilities |= PrinterBackend::CanTurn | PrinterBackend::CanCollate;
    QVERIFY(Printerfuncs::GetLandscape() && Printerfuncs::GetCollate());

    // A name not installed selects the default printer.
    Printerfuncs::SetPrinterIndex(QStringLiteral("Inkjet"));
    QCOMPARE(fake.index, 1);
    Printerfuncs::SetPrinterIndex(QStringLiteral("Plotter"));
    QCOMPARE(fake.index, -1);
    Printerfuncs::CheckPrinter();

    // The first editor's printer settings are applied again by later editors on the same
    // printer; on another printer the default one is chosen. Without settings an editor
    // is still made.
    fake.index = 0;
    fake.paper = 1;
    fake.landscape = fake.collate = true;
    RichEdit20 first;
    QVERIFY(first.GetPrinter());
    fake.paper = 9;
    fake.landscape = fake.collate = false;
    RichEdit20 second;
    QCOMPARE(fake.paper, short(1));
    QVERIFY(fake.landscape && fake.collate);
    fake.index = 1;
    RichEdit20 third;
    QCOMPARE(fake.index, -1);
    fake.settings = false;
    fake.index = 0;
    RichEdit20 fourth;
    QVERIFY(fourth.GetPrinter());
    fake.settings = true;
    CurrentPrinter::InstallBackend(nullptr);
  }

  void everyWordOnceOverPapersMarginsAndFonts() {
    const Paper papers[] = {{QPageSize::A4, {5, 5, 5, 5}}, {QPageSize::Letter, {6.35, 4, 6.35, 12}},
                            {QPageSize::A6, {0, 0, 0, 0}}, {QPageSize::A5, {12, 20, 3, 8}}};
    const int margins[] = {0, 150, 400};
    const double fonts[] = {9, 14, 30};
    const QLocale locale;
    int run = 0;
    for (const Paper& paper : papers) {
      for (int metricMargin : margins) {
        // Margins are hundredths of a centimetre in a metric locale, of an inch elsewhere.
        const bool metric = run % 2 == 0;
        QLocale::setDefault(metric ? QLocale(QLocale::German, QLocale::Germany)
                                   : QLocale(QLocale::English, QLocale::UnitedStates));
        const int margin = metric ? metricMargin : metricMargin * 100 / 254;
        // A word of the doubled font (about 3.4 em) must fit an indented line, or it is broken.
        const double line = QPageSize(paper.size).size(QPageSize::Millimeter).width() - 8 -
                            std::max(metricMargin / 10.0, paper.strips.left()) -
                            std::max(metricMargin / 10.0, paper.strips.right());
        const double font = std::min(fonts[run % 3], line / 6.8 * 72 / 25.4);
        const QString file = File(QStringLiteral("sweep%1.pdf").arg(run));
        InstallPdf(file, paper);
        RichEdit20 editor;
        RichPrinter* printer = editor.GetPrinter();
        QVERIFY(printer);
        printer->ApplyMargins(QRect(QPoint(margin, margin), QPoint(margin, margin)));
        const QSet<int> breaks{4 + run % 3, 9, 10};
        const int words = Build(editor, 14 + run, breaks, run, font);
        const int count = printer->GetPageCount();
        const auto records = printer->Pages();
        printer->Print(1, INT_MAX);
        ++run;

        const auto& sheets = printer->Sheets();
        QCOMPARE(int(sheets.size()), count);
        QCOMPARE(PdfPages(file), count);
        // Sheets follow one another with nothing between them but a page break's marks.
        QCOMPARE(sheets.front().start, 0);
        QCOMPARE(sheets.back().end, editor.GetLength());
        for (size_t s = 0; s < sheets.size(); ++s) {
          QCOMPARE(sheets[s].page, int(s) + 1);
          QCOMPARE(sheets[s].start, records[s + 1].start);
          if (s == 0) continue;
          const LONG gap = sheets[s].start - sheets[s - 1].end;
          QVERIFY2(gap == 0 || (gap == 2 && editor.GetCharAt(sheets[s].start - 1) == QChar(u'\f')),
                   qPrintable(QStringLiteral("run %1 sheet %2 gap %3").arg(run).arg(s).arg(gap)));
        }
        // What is on paper: every word once, in order; each section begins a page.
        const QString text = Run(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
        QCOMPARE(Words(text), Expected(words));
        const QStringList pages = text.split(QChar(u'\f'));
        for (const QTextBlock& block : {editor.Note().Document()->findBlockByNumber(9), editor.Note().Document()->findBlockByNumber(4 + (run - 1) % 3)}) {
          const QString first = Words(block.text()).value(0);
          if (first.isEmpty()) continue;
          bool starts = false;
          for (const QString& page : pages) starts = starts || Words(page).value(0) == first;
          QVERIFY2(starts, qPrintable(first));
        }
        // No ink outside the text rectangle (a margin or the strip beneath it), and the
        // preview draws each page where the paper has it.
        const QPageLayout layout = CurrentPrinter::Get().pageLayout();
        const QSizeF size = layout.fullRect(QPageLayout::Millimeter).size();
        const QMarginsF strips = layout.margins(QPageLayout::Millimeter);
        const double millimetres = metric ? margin / 10.0 : margin * 0.254, dots = 72 / 25.4;
        const QRectF textArea(QPointF(std::max(millimetres, strips.left()), std::max(millimetres, strips.top())),
                          QPointF(size.width() - std::max(millimetres, strips.right()),
                                  size.height() - std::max(millimetres, strips.bottom())));
        const QRect allowed = QRectF(textArea.topLeft() * dots, textArea.bottomRight() * dots).toRect().adjusted(-2, -2, 2, 2);
        const QList<QImage> images = PdfImages(file, File(QStringLiteral("sweep%1").arg(run - 1)));
        QCOMPARE(images.size(), count);
        QCOMPARE(printer->GetPageCount(), count);
        for (int page = 1; page <= count; ++page) {
          const QRect paperInk = Ink(images[page - 1]);
          QVERIFY2(allowed.contains(paperInk), qPrintable(QStringLiteral("run %1 page %2").arg(run - 1).arg(page)));
          QImage preview(images[page - 1].size(), QImage::Format_RGB32);
          preview.setDotsPerMeterX(qRound(72 / 0.0254));
          preview.setDotsPerMeterY(qRound(72 / 0.0254));
          preview.fill(Qt::white);
          QPainter painter(&preview);
          printer->Render(&painter, page);
          painter.end();
          const QRect previewInk = Ink(preview);
          QVERIFY2((previewInk.topLeft() - paperInk.topLeft()).manhattanLength() <= 3 &&
                       (previewInk.bottomRight() - paperInk.bottomRight()).manhattanLength() <= 3,
                   qPrintable(QStringLiteral("run %1 page %2 preview").arg(run - 1).arg(page)));
        }
      }
    }
    QLocale::setDefault(locale);
  }

  // Pages are slices of the text laid out whole: each begins where a line of the whole
  // layout begins (an indented paragraph keeps its breaks across pages), together they hold
  // every character once, and drawing a page fits the same lines as measuring it.
  void formatRangeSlicesTheWholeLayout() {
    QImage device(8, 8, QImage::Format_RGB32);
    device.setDotsPerMeterX(qRound(600 / 0.0254));
    device.setDotsPerMeterY(qRound(600 / 0.0254));
    // Indents are screen pixels; the reference has them in the device's already.
    const auto build = [](QTextDocument& document, double scale) {
      QTextCursor cursor(&document);
      for (int p = 0; p < 12; ++p) {
        if (p > 0) cursor.insertBlock();
        QTextBlockFormat block;
        block.setLeftMargin(p % 3 * 20 * scale);
        block.setTextIndent((p % 2 ? 40 : -10) * scale);
        block.setBottomMargin(p % 4 * 3);
        cursor.setBlockFormat(block);
        QTextCharFormat format;
        format.setFontPointSize(p % 5 == 1 ? 22 : 10);
        format.setFontWeight(p % 3 == 0 ? QFont::Bold : QFont::Normal);
        for (int w = 0; w < 15 + p * 9; ++w) cursor.insertText(QStringLiteral("word%1 ").arg(w), format);
      }
    };
    QTextDocument document;
    build(document, 1);
    const LONG length = document.characterCount() - 1;
    PageFormatter formatter;
    for (const LONG width : {1500, 4000, 9000}) {
      auto whole = std::make_unique<QTextDocument>();
      build(*whole, 600 / NoteFormat::TwipsToPixels(1440));
      whole->setDocumentMargin(0);
      whole->documentLayout()->setPaintDevice(&device);
      whole->setTextWidth(width * 600 / 1440.0);
      whole->documentLayout()->documentSize();  // lays the rest out now
      QSet<LONG> lineStarts{length};
      for (QTextBlock block = whole->begin(); block.isValid(); block = block.next())
        for (int line = 0; line < block.layout()->lineCount(); ++line)
          lineStarts << block.position() + block.layout()->lineAt(line).textStart();
      for (const LONG height : {200, 1500, 7000}) {
        QImage sheet(width * 600 / 1440 + 1, height * 600 / 1440 + 1, QImage::Format_RGB32);
        QPainter painter(&sheet);
        for (LONG start = 0; start < length;) {
          const RECT page{0, 0, width, height};
          FORMATRANGE measured{nullptr, &device, page, page, {start, length}};
          const LONG next = formatter.Format(document, measured, false);
          QVERIFY(next > start);
          QVERIFY2(lineStarts.contains(next), qPrintable(QStringLiteral("%1x%2 at %3").arg(width).arg(height).arg(next)));
          FORMATRANGE drawn{&painter, &device, page, page, {start, length}};
          QCOMPARE(formatter.Format(document, drawn, true), next);
          QCOMPARE(drawn.rc.bottom, measured.rc.bottom);
          start = next;
        }
      }
    }
    // The layout is kept until the text changes.
    QVERIFY(formatter.HasLayout());
    QTextCursor(&document).insertText(QStringLiteral("x"));
    QVERIFY(!formatter.HasLayout());
  }

  void rangesParityAndReverseNeverPutOutABlankSheet() {
    InstallPdf(File(QStringLiteral("five.pdf")), {QPageSize::A5, {5, 5, 5, 5}});
    RichEdit20 editor;
    RichPrinter& printer = *editor.GetPrinter();
    // Five one-page sections, the second of them empty.
    Build(editor, 6, {1, 2, 3, 5}, 7, 10);
    const QTextBlock second = editor.Note().Document()->findBlockByNumber(1);
    QTextCursor cursor(second);
    cursor.setPosition(second.position() + 1);
    cursor.setPosition(second.position() + second.length() - 1, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    QCOMPARE(printer.GetPageCount(), 5);

    auto pagesOf = [&printer] {
      QList<int> pages;
      for (const auto& sheet : printer.Sheets()) pages << sheet.page;
      return pages;
    };
    printer.Print(3, 2);
    QCOMPARE(pagesOf(), QList<int>({2}));
    printer.Print(1, 3);
    QCOMPARE(pagesOf(), QList<int>({1, 2, 3}));
    QCOMPARE(PdfPages(File(QStringLiteral("five.pdf"))), 3);
    printer.oddOnly = true;
    printer.reverseOrder = true;
    printer.Print(1, INT_MAX);
    QCOMPARE(pagesOf(), QList<int>({5, 3, 1}));
    QCOMPARE(PdfPages(File(QStringLiteral("five.pdf"))), 3);
    printer.oddOnly = printer.reverseOrder = false;
    printer.evenOnly = true;
    printer.Print(1, INT_MAX);
    QCOMPARE(pagesOf(), QList<int>({2, 4}));
    printer.evenOnly = false;
    printer.SetSelection(0, -1);
    printer.Print(1, INT_MAX);
    QCOMPARE(pagesOf(), QList<int>({1, 2, 3, 4, 5}));
    QCOMPARE(printer.GetPagePosition(3, true), printer.Pages()[3].start);

    // One page, even pages only: no job at all, so no file.
    const QString lone = File(QStringLiteral("lone.pdf"));
    InstallPdf(lone, {QPageSize::A4, {5, 5, 5, 5}});
    RichEdit20 single;
    single.GetPrinter()->evenOnly = true;
    single.GetPrinter()->Print(1, INT_MAX);
    QVERIFY(single.GetPrinter()->Sheets().empty());
    QVERIFY(!QFile::exists(lone));
    // An empty document is one page.
    single.GetPrinter()->evenOnly = false;
    QCOMPARE(single.GetPrinter()->GetPageCount(), 1);
    QCOMPARE(single.GetPrinter()->Pages().size(), size_t(2));
  }

  // The note window prints the whole note, and the box picture goes to the same printer.
  void theNoteAndThePictureGoToTheCurrentPrinter() {
    const QString note = File(QStringLiteral("note.pdf"));
    InstallPdf(note, {QPageSize::A4, {5, 5, 5, 5}});
    RichEdit20 editor;
    Build(editor, 9, {3, 6}, 11, 11);
    // Markers as the editor draws them, and a picture, reach the paper.
    QTextDocument& document = *editor.Note().Document();
    for (const int number : {1, 2, 7}) {
      ParaAttrs para;
      para.numbering = number == 7 ? PFN_BULLET : PFN_ARABIC;
      QTextCursor(document.findBlockByNumber(number)).setBlockFormat(para.ToFormat());
    }
    QImage photo(60, 40, QImage::Format_RGB32);
    photo.fill(QColor(0x20, 0x60, 0xA0));
    document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("photo")), photo);
    QTextImageFormat inlined;
    inlined.setName(QStringLiteral("photo"));
    QTextCursor(document.findBlockByNumber(4)).insertImage(inlined);
    editor.GetPrinter()->Print(1, 2147483647);
    QCOMPARE(PdfPages(note), 3);
    const QString text = Run(QStringLiteral("pdftotext"), {note, QStringLiteral("-")});
    QVERIFY(text.contains(QStringLiteral("1.")) && text.contains(QStringLiteral("2.")));
    QCOMPARE(text.count(QChar(0x2022)), 1);
    QCOMPARE(Run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), note}).trimmed().split(u'\n').size(), 3);

    const QString picture = File(QStringLiteral("picture.pdf"));
    InstallPdf(picture, {QPageSize::A4, {5, 5, 5, 5}});
    std::vector<std::uint32_t> pixels(40 * 30, 0xFF203040);
    const RasterImage image{pixels.data(), 40, 30};
    QTimer accept;
    QObject::connect(&accept, &QTimer::timeout, [] {
      if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->accept();
    });
    accept.start(20);
    QVERIFY(BufferPrinter::Print(image, QStringLiteral("Box cover")));
    QCOMPARE(PdfPages(picture), 1);
    const QList<QImage> pages = PdfImages(picture, File(QStringLiteral("picture")));
    QCOMPARE(pages.size(), 1);
    QVERIFY(!Ink(pages[0]).isEmpty());
  }

  void aLineTallerThanThePageStillProgressesAndMarginsMustLeaveRoom() {
    const QString file = File(QStringLiteral("tall.pdf"));
    InstallPdf(file, {QPageSize::A6, {5, 5, 5, 5}});
    const QLocale locale;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    RichEdit20 editor;
    RichPrinter& printer = *editor.GetPrinter();
    // Lines of 70 points (about 29 mm) on 28 mm of page.
    printer.ApplyMargins(QRect(QPoint(100, 600), QPoint(100, 600)));
    const int words = Build(editor, 3, {}, 3, 70);
    const int count = printer.GetPageCount();
    QVERIFY(count >= words / 2);
    printer.Print(1, INT_MAX);
    QCOMPARE(Words(Run(QStringLiteral("pdftotext"), {file, QStringLiteral("-")})), Expected(words));

    printer.SetMarginLeft(3000);
    QCOMPARE(printer.MarginLeft(), 3000);
    QVERIFY_THROWS_EXCEPTION(EPrinter, printer.Print(1, INT_MAX));
    printer.SetMarginLeft(-1);
    QCOMPARE(printer.MarginLeft(), 3000);
    // In reverse order the count comes first; when it fails there is no page to print, and
    // the failure is shown once.
    QFile::remove(file);
    printer.reverseOrder = true;
    ShownExceptions exceptions;
    printer.Print(1, INT_MAX);
    QVERIFY(printer.Sheets().empty());
    QVERIFY(!QFile::exists(file));
    QCOMPARE(exceptions.shown, QStringList{QStringLiteral("The page margins leave no room for text.")});
    QLocale::setDefault(locale);
  }

  void settingsHeadersAndAPrinterWithoutSettings() {
    struct Case {
      QString in, out;
      bool valid;
    };
    const Case cases[] = {{"", "", true},
                          {"plain", "plain", true},
                          {QString(QChar(1)) + "3abc", "bc", true},
                          {QString(QChar(1)) + "1abc", QString(QChar(1)) + "1abc", false},
                          {QString(QChar(1)) + "9ab", QString(QChar(1)) + "9ab", false},
                          {QString(QChar(1)) + "x", QString(QChar(1)) + "x", false},
                          {QString(QChar(1)) + "2", QString(), true}};
    for (const Case& c : cases) {
      QString text = c.in;
      QCOMPARE(RichPrinter::DecodeHeader(text), c.valid);
      QCOMPARE(text, c.out);
    }
    QCOMPARE(RichPrinter::PageNumChk("Page &p of &p", 3), QStringLiteral("Page 3 of &p"));

    // A PDF output without a file stands for a printer without settings: the editor is
    // still made, and settings calls are only logged.
    CurrentPrinter::Install(std::make_unique<QPrinter>());
    CurrentPrinter::Get().setOutputFormat(QPrinter::PdfFormat);
    RichEdit20 editor;
    RichPrinter& printer = *editor.GetPrinter();
    printer.SetDevModeData(9, 2);
    printer.ApplyDevModeData(true);
    QVERIFY(printer.needPageCount && printer.needCurrentPage);
    QVERIFY_THROWS_EXCEPTION(EPrinter, Printerfuncs::GetCopies());
    printer.equalMargins = true;
    printer.SetMarginLeft(150);
    QCOMPARE(printer.MarginTop(), 150);
    QCOMPARE(printer.MarginRight(), 150);
    QCOMPARE(printer.AdjustEndPage(0), 1);
    // Margins in hundredths of a centimetre or of an inch: the same paper either way.
    const QLocale locale;
    for (const bool metric : {true, false}) {
      QLocale::setDefault(metric ? QLocale(QLocale::German, QLocale::Germany)
                                 : QLocale(QLocale::English, QLocale::UnitedStates));
      RichEdit20 local;
      QCOMPARE(local.GetPrinter()->MarginLeft(), metric ? 200 : 100);
      QCOMPARE(local.GetPrinter()->headerMargin, metric ? 100 : 50);
    }
    QLocale::setDefault(locale);

    InstallPdf(File(QStringLiteral("codes.pdf")), {QPageSize::A4, {5, 5, 5, 5}});
    Printerfuncs::SetPaperSize(1);
    QCOMPARE(Printerfuncs::GetPaperSize(), short(1));
    Printerfuncs::SetPaperSize(9);
    QCOMPARE(Printerfuncs::GetPaperSize(), short(9));
    Printerfuncs::SetPaperSize(-7);
    QCOMPARE(Printerfuncs::GetPaperSize(), short(9));

    // Headers and footers take their room and draw the page number on every page.
    RichEdit20 headed;
    RichPrinter& withHeaders = *headed.GetPrinter();
    withHeaders.headerActive = withHeaders.footerActive = true;
    withHeaders.headerMiddle = QStringLiteral("Note");
    withHeaders.footerRight = QStringLiteral("Page &p");
    const int words = Build(headed, 30, {12}, 5, 12);
    const int count = withHeaders.GetPageCount();
    withHeaders.Print(1, INT_MAX);
    const QString text = Run(QStringLiteral("pdftotext"), {File(QStringLiteral("codes.pdf")), QStringLiteral("-")});
    QCOMPARE(Words(text), Expected(words));
    for (int page = 1; page <= count; ++page) QVERIFY(text.contains(QStringLiteral("Page %1").arg(page)));
    withHeaders.evenOnly = true;
    QCOMPARE(withHeaders.AdjustEndPage(count + 4), count % 2 ? count - 1 : count);
    withHeaders.evenOnly = false;
    QCOMPARE(text.count(QStringLiteral("Note")), count);

    // A header text that cannot be decoded is reported once a pass, and drawn as it is.
    QVERIFY(count >= 2);
    Prompt::Double prompts;
    withHeaders.headerLeft = QString(QChar(1)) + QStringLiteral("1Top");
    withHeaders.Print(1, INT_MAX);
    QCOMPARE(prompts.Shown().size(), 1);
    QCOMPARE(TMsgLog::Lines().filter(QStringLiteral("Invalid header encoding size")).size() >= count, true);
    withHeaders.Print(1, INT_MAX);
    QCOMPARE(prompts.Shown().size(), 2);
  }

  // A job that cannot start fails with its message and stops no later job: the next one,
  // into a folder that can be written, prints every page. Margins past any page, also
  // those whose twips pass 32 bits, are refused by a job, a count and the preview, each
  // failure shown once and no preview opened.
  void aFailedJobStopsNoLaterOneAndFailuresAreShown() {
    const QString notAFolder = File(QStringLiteral("plain-file"));
    QFile blocker(notAFolder);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    InstallPdf(notAFolder + QStringLiteral("/job.pdf"), {QPageSize::A5, {5, 5, 5, 5}});
    const QLocale locale;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    RichEdit20 editor;
    RichPrinter& printer = *editor.GetPrinter();
    const int words = Build(editor, 16, {7}, 21, 12);
    const int count = printer.GetPageCount();
    QVERIFY(count >= 3);
    for (int attempt = 0; attempt < 2; ++attempt) {
      QString message;
      try {
        printer.Print(1, INT_MAX);
      } catch (const EPrinter& error) {
        message = QString::fromUtf8(error.what());
      }
      QCOMPARE(message, QStringLiteral("Operation not supported on selected printer"));
    }
    const QString good = File(QStringLiteral("after-failure.pdf"));
    CurrentPrinter::Get().setOutputFileName(good);
    printer.Print(1, INT_MAX);
    QCOMPARE(int(printer.Sheets().size()), count);
    QCOMPARE(PdfPages(good), count);
    QCOMPARE(Words(Run(QStringLiteral("pdftotext"), {good, QStringLiteral("-")})), Expected(words));

    // 1,500,000 hundredths of an inch: in 32 bits its twips wrap round to a small margin.
    ShownExceptions exceptions;
    int previews = 0;
    QTimer close;
    QObject::connect(&close, &QTimer::timeout, [&] {
      if (QWidget* modal = QApplication::activeModalWidget()) ++previews, modal->close();
    });
    close.start(20);
    const QString noRoom = QStringLiteral("The page margins leave no room for text.");
    for (const int margin : {1000000, 1500000, INT_MAX}) {
      exceptions.shown.clear();
      printer.SetMarginTop(margin);
      QVERIFY_THROWS_EXCEPTION(EPrinter, printer.Print(1, INT_MAX));
      QCOMPARE(printer.GetPageCount(), 0);
      QVERIFY(!printer.Preview(1, INT_MAX));
      QCOMPARE(exceptions.shown, QStringList({noRoom, noRoom}));
    }
    QCOMPARE(previews, 0);
    printer.SetMarginTop(100);
    QCOMPARE(printer.GetPageCount(), count);
    QLocale::setDefault(locale);

    // The header font travels with the note whole, its colour and character set too.
    printer.headerFontColor = 0x0000FF;
    printer.headerFontCharset = 238;
    RichEdit20 reopened;
    reopened.SetPersistentData(editor.ReadPersistentData());
    QCOMPARE(reopened.GetPrinter()->headerFontColor, 0x0000FF);
    QCOMPARE(reopened.GetPrinter()->headerFontCharset, 238);
  }
};

TV_QTEST_MAIN(RichPrinterQTest)
#include "RichPrinterQTest.moc"
