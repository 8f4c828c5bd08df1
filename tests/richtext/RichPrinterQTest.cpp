// Printing notes to PDF through the current printer: over many documents, paper sizes,
// margins and fonts every word is printed exactly once, in order, with each section on a
// new page, and the count agrees with the sheets and the PDF; page ranges, parity and
// reverse order put out the right sheets and never a blank one; settings and headers.

#include "QtTestMain.h"
#include "platform/CurrentPrinter.h"
#include "richtext/Printerfuncs.h"
#include "richtext/RichEdit20.h"
#include "richtext/RichPrinter.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <climits>

namespace {

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
  void everyWordOnceOverPapersMarginsAndFonts() {
    const Paper papers[] = {{QPageSize::A4, {5, 5, 5, 5}}, {QPageSize::Letter, {6.35, 4, 6.35, 12}},
                            {QPageSize::A6, {0, 0, 0, 0}}, {QPageSize::A5, {12, 20, 3, 8}}};
    const int margins[] = {0, 150, 400};
    const double fonts[] = {9, 14, 30};
    int run = 0;
    for (const Paper& paper : papers) {
      for (int margin : margins) {
        const double font = fonts[run % 3];
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
      }
    }
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

  void aLineTallerThanThePageStillProgressesAndMarginsMustLeaveRoom() {
    const QString file = File(QStringLiteral("tall.pdf"));
    InstallPdf(file, {QPageSize::A6, {5, 5, 5, 5}});
    RichEdit20 editor;
    RichPrinter& printer = *editor.GetPrinter();
    const int words = Build(editor, 3, {}, 3, 250);
    const int count = printer.GetPageCount();
    QVERIFY(count >= words / 2);
    printer.Print(1, INT_MAX);
    // Words wider than the line are broken inside: compare the text without the breaks.
    QCOMPARE(Words(Run(QStringLiteral("pdftotext"), {file, QStringLiteral("-")}).remove(QRegularExpression(QStringLiteral("\\s")))),
             Expected(words));

    printer.SetMarginLeft(3000);
    QCOMPARE(printer.MarginLeft(), 3000);
    QVERIFY_THROWS_EXCEPTION(EPrinter, printer.Print(1, INT_MAX));
    printer.SetMarginLeft(-1);
    QCOMPARE(printer.MarginLeft(), 3000);
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
    QCOMPARE(text.count(QStringLiteral("Note")), count);
  }
};

TV_QTEST_MAIN(RichPrinterQTest)
#include "RichPrinterQTest.moc"
