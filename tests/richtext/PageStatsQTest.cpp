// The idle page statistics of a focused note: an idle pass reports the page count and the
// caret's page; waiting input holds the report back; counts cut short resume and agree with
// an uninterrupted count; typing, caret moves and focus set what is pending.

#include "PdfPrinterFixture.h"
#include "QtTestMain.h"
#include "richtext/Printerfuncs.h"
#include "richtext/RichEdit20.h"
#include "richtext/RichPrinter.h"
#include "Yelk/IdlerClient.h"
#include "Yelk/IdlerServer.h"

#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QVBoxLayout>

namespace {

struct Report {
  int count = 0, page = 0;
};

}  // namespace

class PageStatsQTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  QWidget window_;
  RichEdit20* editor_ = nullptr;
  QLineEdit* other_ = nullptr;
  RichPrinter* printer_ = nullptr;
  QList<Report> reports_;
  qint64 now_ = 100000;

  void Clear() {
    printer_->needPageCount = printer_->needCurrentPage = false;
    reports_.clear();
  }

private slots:
  void initTestCase() {
    InstallPdfPrinter(dir_.filePath(QStringLiteral("stats.pdf")), QPageSize::A6);
    auto* layout = new QVBoxLayout(&window_);
    editor_ = new RichEdit20(&window_);
    editor_->setObjectName(QStringLiteral("NoteEdit"));
    other_ = new QLineEdit(&window_);
    layout->addWidget(editor_);
    layout->addWidget(other_);
    // Many short paragraphs and two hard breaks: a count of many pages.
    QTextCursor cursor(editor_->Note().Document());
    for (int p = 0; p < 120; ++p) {
      if (p > 0) cursor.insertBlock();
      if (p == 30 || p == 31) cursor.insertText(QStringLiteral("\f"));
      cursor.insertText(QStringLiteral("Paragraph %1 of the note, long enough to wrap once or twice on a small page.").arg(p));
    }
    window_.show();
    window_.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window_));
    editor_->setFocus();
    QTRY_VERIFY(editor_->hasFocus());
    printer_ = editor_->GetPrinter();
    QVERIFY(printer_);
    printer_->SetOnPageStats([this](QObject* sender, int count, int page) {
      QCOMPARE(sender, static_cast<QObject*>(editor_));
      reports_.append({count, page});
    });
    IdlerServer::IS().SetClock([this] { return now_; });
  }

  void cleanupTestCase() { IdlerServer::IS().SetClock({}); }

  void anIdlePassReportsTheCountAndTheCaretsPage() {
    editor_->SetSelection(0, 0);
    printer_->SetPageCountingEnabled(true);
    IdlerClient* client = printer_->GetIdleClient();
    QVERIFY(client);
    QCOMPARE(client->Name(), QStringLiteral("NoteEdit Printer"));
    QCOMPARE(client->Priority, IdlerClient::Low);
    QCOMPARE(client->MinInterval, 500);
    QVERIFY(printer_->needPageCount && printer_->needCurrentPage);

    printer_->SetInputCheck([] { return true; });
    printer_->OnIdle();
    QVERIFY(reports_.isEmpty());  // input waits: nothing reported, still pending
    QVERIFY(printer_->needPageCount && printer_->needCurrentPage);

    printer_->SetInputCheck([] { return false; });
    printer_->OnIdle();
    QCOMPARE(reports_.size(), 1);
    QVERIFY(!printer_->needPageCount && !printer_->needCurrentPage);
    const Report report = reports_.front();
    const int uninterrupted = printer_->GetPageCount();
    QVERIFY(uninterrupted > 6);
    QCOMPARE(report.count, uninterrupted);
    QCOMPARE(report.page, 1);

    // The caret on page 5: a selection change reports the same count and page 5.
    Clear();
    editor_->SetSelection(printer_->Pages()[5].start + 2, printer_->Pages()[5].start + 2);
    QVERIFY(printer_->needCurrentPage && !printer_->needPageCount);
    printer_->OnIdle();
    QCOMPARE(reports_.size(), 1);
    QCOMPARE(reports_.front().count, uninterrupted);
    QCOMPARE(reports_.front().page, 5);
  }

  // Input that keeps arriving cuts every pass short; each pass goes on from the last.
  void countsCutShortResumeAndAgree() {
    const int uninterrupted = printer_->GetPageCount();
    for (int every : {3, 4, 7}) {
      Clear();
      printer_->UpdatePageStats(true, true);
      int checks = 0;
      printer_->SetInputCheck([&checks, every] { return ++checks % every == 0; });
      int passes = 0;
      while (reports_.isEmpty() && passes < 4 * uninterrupted) {
        printer_->OnIdle();
        ++passes;
      }
      QCOMPARE(reports_.size(), 1);
      QCOMPARE(reports_.front().count, uninterrupted);
      QVERIFY2(passes >= 3, qPrintable(QString::number(passes)));
      // Resumed, not started over: about one check per page and per pass.
      QVERIFY2(checks <= 2 * (uninterrupted + passes), qPrintable(QStringLiteral("%1 checks").arg(checks)));
    }
    // Cut three times at fixed points, then left alone.
    Clear();
    printer_->UpdatePageStats(true, false);
    int checks = 0;
    printer_->SetInputCheck([&checks] { ++checks; return checks == 1 || checks == 4 || checks == 6; });
    for (int pass = 0; pass < 3; ++pass) {
      printer_->OnIdle();
      QVERIFY(reports_.isEmpty());
    }
    printer_->OnIdle();
    QCOMPARE(reports_.size(), 1);
    QCOMPARE(reports_.front().count, uninterrupted);

    // An edit after a cut drops the kept pages: the count is of the new text.
    Clear();
    printer_->UpdatePageStats(true, true);
    checks = 0;
    printer_->SetInputCheck([&checks] { return ++checks == 4; });
    printer_->OnIdle();
    QVERIFY(reports_.isEmpty());
    QTextCursor cursor(editor_->Note().Document());
    cursor.movePosition(QTextCursor::End);
    for (int p = 0; p < 40; ++p) {
      cursor.insertBlock();
      cursor.insertText(QStringLiteral("More text at the end of the note, paragraph %1.").arg(p));
    }
    printer_->OnIdle();
    QCOMPARE(reports_.size(), 1);
    printer_->SetInputCheck([] { return false; });
    QCOMPARE(reports_.front().count, printer_->GetPageCount());
    QVERIFY(reports_.front().count > uninterrupted);
  }

  void editsSelectionsAndFocusSetWhatIsPending() {
    printer_->SetInputCheck([] { return false; });
    Clear();
    editor_->setFocus();
    QTest::keyClicks(editor_, QStringLiteral("x"));
    QVERIFY(printer_->needPageCount && printer_->needCurrentPage);
    // The idle client waits its interval from the keystroke.
    IdlerServer::IS().RunPass();
    QVERIFY(reports_.isEmpty());
    now_ += 600;
    IdlerServer::IS().RunPass();
    QCOMPARE(reports_.size(), 1);

    Clear();
    QTest::keyClick(editor_, Qt::Key_Home);
    QVERIFY(printer_->needCurrentPage && !printer_->needPageCount);

    // Focus coming back applies the note's paper to the printer and asks for a count.
    Clear();
    other_->setFocus();
    QTRY_VERIFY(other_->hasFocus());
    const short paper = printer_->GetDevMode().paperSize;
    Printerfuncs::SetPaperSize(paper == 9 ? 1 : 9);
    editor_->setFocus();
    QTRY_VERIFY(editor_->hasFocus());
    QCOMPARE(Printerfuncs::GetPaperSize(), paper);
    QVERIFY(printer_->needPageCount && printer_->needCurrentPage);

    // Counting off: the idle client goes and nothing is pending any more.
    printer_->SetPageCountingEnabled(false);
    QVERIFY(!printer_->GetIdleClient());
    QVERIFY(!printer_->needPageCount && !printer_->needCurrentPage);
    QTest::keyClicks(editor_, QStringLiteral("y"));
    QVERIFY(!printer_->needPageCount);
    // An unfocused editor reports nothing even with counting on.
    printer_->SetPageCountingEnabled(true);
    other_->setFocus();
    QTRY_VERIFY(other_->hasFocus());
    Clear();
    printer_->UpdatePageStats(true, true);
    printer_->OnIdle();
    QVERIFY(reports_.isEmpty());
    printer_->SetPageCountingEnabled(false);
  }
};

TV_QTEST_MAIN(PageStatsQTest)
#include "PageStatsQTest.moc"
