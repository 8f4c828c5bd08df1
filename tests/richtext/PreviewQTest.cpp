// The print preview window over a five-page note printed to PDF: shortcuts drive paging,
// zoom and layout; Print and Esc end it; the go-to-page dialog; a resize fits again; and a
// preview sheet shows exactly what the printer draws for that page.

#include "PdfPrinterFixture.h"
#include "QtTestMain.h"
#include "richtext/PreviewPage.h"
#include "richtext/RichEdit20.h"
#include "richtext/RichPrinter.h"
#include "richtext/TGoToPageFrm.h"
#include "richtext/TPreviewForm.h"
#include "controls/FloatButton.h"
#include "controls/LabelButton.h"
#include "controls/NumberBox.h"

#include <QAction>
#include <QFrame>
#include <QImage>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextCursor>

#include <climits>

namespace {

// Sections of numbered lines, each on a page of its own; or only one of them.
void Build(RichEdit20& editor, int sections, int only = -1) {
  QTextCursor cursor(editor.Note().Document());
  for (int s = 0; s < sections; ++s) {
    if (only >= 0 && s != only) continue;
    if (s > 0 && only < 0) {
      cursor.insertBlock();
      cursor.insertText(QStringLiteral("\f"));
    }
    for (int line = 0; line <= s; ++line) cursor.insertText(QStringLiteral("Section %1 line %2. ").arg(s + 1).arg(line));
  }
}

QImage Shot(QWidget& widget) { return widget.grab().toImage().convertToFormat(QImage::Format_RGB32); }

bool AllWhite(const QImage& image) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != qRgb(255, 255, 255)) return false;
  return true;
}

}  // namespace

class PreviewQTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  std::unique_ptr<RichEdit20> editor_;
  RichPrinter* printer_ = nullptr;

  std::unique_ptr<TPreviewForm> Open(bool navigation, QSize size = {900, 700}) {
    auto form = std::make_unique<TPreviewForm>(nullptr, 1, INT_MAX);
    form->SetRenderer(printer_, navigation);
    form->resize(size);
    form->show();
    form->activateWindow();
    if (!QTest::qWaitForWindowActive(form.get())) qWarning("preview window not active");
    return form;
  }

private slots:
  void initTestCase() {
    InstallPdfPrinter(dir_.filePath(QStringLiteral("preview.pdf")), QPageSize::A5);
    editor_ = std::make_unique<RichEdit20>();
    Build(*editor_, 5);
    printer_ = editor_->GetPrinter();
    QVERIFY(printer_);
    QCOMPARE(printer_->GetPageCount(), 5);
  }

  void shortcutsPageZoomAndSwitchLayout() {
    auto form = Open(true);
    QCOMPARE(form->LastPage(), 5);
    const int fit = form->Magnification();
    QVERIFY(fit > 0 && fit < 100);
    const QList<std::pair<QKeySequence, int>> paging{
        {Qt::Key_End, 5}, {Qt::Key_Home, 1}, {Qt::Key_PageDown, 2}, {Qt::Key_PageDown, 3}, {Qt::Key_PageUp, 2}};
    for (const auto& [key, page] : paging) {
      QTest::keySequence(form.get(), key);
      QCOMPARE(form->CurrentPage(), page);
      QCOMPARE(form->FirstPanel()->CurrentPage(), page);
    }
    QCOMPARE(form->PageNumberLbl->Caption(), QStringLiteral("  Page 2  "));
    QTest::keySequence(form.get(), QKeySequence(Qt::CTRL | Qt::Key_L));
    QVERIFY(form->SecondPanel());
    QTest::keySequence(form.get(), Qt::Key_End);
    QCOMPARE(form->CurrentPage(), 4);
    QCOMPARE(form->SecondPanel()->CurrentPage(), 5);
    QCOMPARE(form->PageNumberLbl->Caption(), QStringLiteral("  Pages 4 && 5"));
    QVERIFY(!form->NextPageAtn->isEnabled());
    QCOMPARE(form->SecondPanel()->geometry().left(), form->FirstPanel()->geometry().right() + 11);

    const int doubleFit = form->Magnification();
    QTest::keySequence(form.get(), QKeySequence(Qt::CTRL | Qt::Key_I));
    QCOMPARE(form->Magnification(), doubleFit + (100 - doubleFit) / 2);
    QTest::keySequence(form.get(), QKeySequence(Qt::CTRL | Qt::Key_I));
    QCOMPARE(form->Magnification(), 100);
    QVERIFY(!form->MagnifyAtn->isEnabled());
    // At 100 % the two sheets need more than the box: it scrolls, and the arrows scroll it.
    QVERIFY(form->ScrollBox()->widget()->width() > form->ScrollBox()->width());
    QTest::keySequence(form.get(), Qt::Key_Right);
    QCOMPARE(form->ScrollBox()->horizontalScrollBar()->value(), form->ScrollBox()->horizontalScrollBar()->singleStep());
    QTest::keySequence(form.get(), QKeySequence(Qt::CTRL | Qt::Key_O));
    QCOMPARE(form->Magnification(), doubleFit + (100 - doubleFit) / 2);
    QTest::keySequence(form.get(), QKeySequence(Qt::CTRL | Qt::Key_O));
    QCOMPARE(form->Magnification(), doubleFit);
    QVERIFY(!form->DemagnifyAtn->isEnabled());
    QTest::keySequence(form.get(), QKeySequence(Qt::CTRL | Qt::Key_L));
    QVERIFY(!form->SecondPanel());
    QCOMPARE(form->CurrentPage(), 4);
    QCOMPARE(form->Magnification(), fit);
  }

  void printSetsTheRequestAndEscapeDoesNot() {
    auto form = Open(true);
    QTest::keySequence(form.get(), QKeySequence(Qt::CTRL | Qt::Key_P));
    QVERIFY(!form->isVisible());
    QVERIFY(form->PrintRequest());
    QCOMPARE(form->result(), int(QDialog::Accepted));
    auto other = Open(true);
    QTest::keyClick(other.get(), Qt::Key_Escape);
    QVERIFY(!other->isVisible());
    QVERIFY(!other->PrintRequest());
  }

  void withoutNavigationThePagingButtonsHide() {
    auto form = Open(false);
    for (QWidget* hidden : std::initializer_list<QWidget*>{form->FirstPageBtn, form->PrevPageBtn, form->NextPageBtn,
                                                          form->LastPageBtn, form->DoublePageBtn, form->PageNumberBvl})
      QVERIFY(hidden->isHidden());
    QCOMPARE(form->MagnifyBtn->x(), 8);
    QCOMPARE(form->DemagnifyBtn->x(), form->MagnifyBtn->width() + 16);
    QCOMPARE(form->ExitBtn->x(), form->width() - form->ExitBtn->width() - 8);
    QVERIFY(!form->PrintBtn->isHidden());
  }

  void goToPageThroughTheDialog() {
    auto form = Open(true);
    int asked = 0;
    int answer = 3;
    int result = QDialog::Accepted;
    form->RunGoToPage = [&](TGoToPageFrm& dialog) {
      ++asked;
      NumberBox& box = *dialog.NumberBox1;
      if (box.Min() != 1 || box.Max() != 5 || box.Value() != form->CurrentPage()) return int(QDialog::Rejected);
      // The box's own arrows step within the range.
      box.stepUp();
      if (box.Value() != std::min(form->CurrentPage() + 1, 5)) return int(QDialog::Rejected);
      box.SetValue(5);
      box.stepUp();
      if (box.Value() != 5) return int(QDialog::Rejected);
      box.SetValue(answer);
      return result;
    };
    QTest::mouseClick(form->PageNumberLbl, Qt::LeftButton);
    QCOMPARE(asked, 1);
    QCOMPARE(form->CurrentPage(), 3);
    result = QDialog::Rejected;
    answer = 5;
    QTest::mouseClick(form->PageNumberLbl, Qt::LeftButton);
    QCOMPARE(form->CurrentPage(), 3);
    result = QDialog::Accepted;
    QTest::keySequence(form.get(), QKeySequence(Qt::CTRL | Qt::Key_L));
    QTest::mouseClick(form->PageNumberLbl, Qt::LeftButton);
    QCOMPARE(asked, 3);
    QCOMPARE(form->CurrentPage(), 4);  // page 5 shows beside page 4
    QCOMPARE(form->SecondPanel()->CurrentPage(), 5);

    // One page only: the page number opens nothing.
    RichEdit20 single;
    single.SetText(QStringLiteral("One page."), false);
    TPreviewForm lone(nullptr, 1, INT_MAX);
    lone.SetRenderer(single.GetPrinter(), true);
    lone.RunGoToPage = [&](TGoToPageFrm&) { return ++asked, int(QDialog::Accepted); };
    lone.show();
    QTest::mouseClick(lone.PageNumberLbl, Qt::LeftButton);
    QCOMPARE(asked, 3);
    QVERIFY(!lone.LayoutAtn->isEnabled() && !lone.NextPageAtn->isEnabled() && !lone.LastAtn->isEnabled());
  }

  void aResizeFitsThePagesAgain() {
    auto form = Open(true);
    for (const QSize size : {QSize(1400, 500), QSize(640, 900), QSize(500, 700), QSize(700, 80)}) {
      form->resize(size);
      QTRY_COMPARE(form->size(), size);
      const QRect panel = form->FirstPanel()->geometry();
      const QSize box = form->ScrollBox()->size();
      QVERIFY(panel.left() >= 0 && panel.right() < box.width() && panel.top() >= 0 && panel.bottom() < box.height());
      // Fitted, or at 100 % when a fit would be larger.
      QCOMPARE(form->Magnification(), std::min(form->FitMagnification(), 100));
      if (form->FitMagnification() <= 100)
        QVERIFY(panel.top() == 10 || panel.left() == 10);
      else
        QCOMPARE(panel.left(), (box.width() - panel.width() - 20) / 2);
      QVERIFY(!form->FirstPanel()->IsBlank());
    }
    // No room at all: the panel keeps its place and paints a blank sheet.
    const QRect before = form->FirstPanel()->geometry();
    form->resize(700, 70);
    QTRY_VERIFY(form->FirstPanel()->IsBlank());
    QCOMPARE(form->FirstPanel()->geometry(), before);
    QVERIFY(AllWhite(Shot(*form->FirstPanel())));
  }

  // At 100 % a preview sheet is pixel for pixel what the page source draws for that page.
  void aSheetShowsWhatThePrinterDrawsForItsPage() {
    PreviewPage page;
    page.SetRenderer(printer_);
    const QSize dpi(page.logicalDpiX(), page.logicalDpiY());
    const QSize sheet = PreviewPage::SheetPixels(PreviewPage::PrinterSheet(), dpi);
    QVERIFY(!sheet.isEmpty());
    page.resize(sheet);
    QList<QImage> shots;
    for (int k = 1; k <= 6; ++k) {
      page.SetCurrentPage(k);
      const QImage shot = Shot(page);
      QImage drawn(sheet, QImage::Format_RGB32);
      drawn.setDotsPerMeterX(qRound(dpi.width() / 0.0254));
      drawn.setDotsPerMeterY(qRound(dpi.height() / 0.0254));
      drawn.fill(Qt::white);
      {
        QPainter painter(&drawn);
        printer_->Render(&painter, k);
      }
      QCOMPARE(shot, drawn);
      QCOMPARE(AllWhite(shot), k == 6);  // page 6 has no record: a blank sheet
      if (k <= 5) {
        // Printing puts section k alone on page k: the same as a note of that section only.
        RichEdit20 alone;
        Build(alone, 5, k - 1);
        QCOMPARE(alone.GetPrinter()->GetPageCount(), 1);
        PreviewPage reference;
        reference.SetRenderer(alone.GetPrinter());
        reference.resize(sheet);
        QCOMPARE(Shot(reference), shot);
      }
      for (const QImage& earlier : shots) QVERIFY(earlier != shot);
      shots << shot;
    }
  }
};

TV_QTEST_MAIN(PreviewQTest)
#include "PreviewQTest.moc"
