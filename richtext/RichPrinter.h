#pragma once
// Paginates an editor's document and prints it, counts its pages or draws one page for the
// preview. Layout is the editor's (EmFormatRange); this class decides the rectangles, the
// sections between hard page breaks, which pages are drawn and where pages end.

#include "PreviewRenderer.h"
#include "RichEditDefs.h"

#include "Yelk/IdlerClient.h"

#include <QFont>
#include <QRect>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class IntArray;
class QObject;
class QPrinter;
class RichEdit20;

class RichPrinter : public PreviewRenderer {
public:
  struct PageRecord {
    LONG start = 0, end = 0;
  };
  // A sheet drawn by a print pass: its page number and the characters laid out on it.
  struct Sheet {
    int page = 0;
    LONG start = 0, end = 0;
  };
  struct DevMode {
    bool valid = false;
    short paperSize = 0;
    short collate = 0;
    short orientation = 1;
  };
  enum Mode { Idle = 0, PrintMode = 1, PreviewMode = 2, CountMode = 3 };
  // The editor, the page count and the caret's page.
  using PageStatsEvent = std::function<void(QObject* sender, int pageCount, int currentPage)>;

  explicit RichPrinter(RichEdit20& editor);
  ~RichPrinter() override;

  void Print(int first, int last);
  // Shows the pages in the print preview; true when the user asked to print them.
  bool Preview(int first, int last);
  int GetPageCount() override;
  int Render(QPainter* painter, int page) override;
  int GetCurrPage(bool recount);
  virtual LONG GetPagePosition(int page, bool recount);
  void SetSelection(LONG start, LONG end);
  void ClearPagesInfo();
  bool PageCountingInProgress() const { return countingPages_; }
  const std::vector<PageRecord>& Pages() const { return pages_; }
  // The sheets of the last print pass, in the order they were put out.
  const std::vector<Sheet>& Sheets() const { return sheets_; }

  // Settings.
  void ApplyMargins(const QRect& margins);
  void SetMarginTop(int value);
  void SetMarginLeft(int value);
  void SetMarginBottom(int value);
  void SetMarginRight(int value);
  int MarginTop() const { return marginTop_; }
  int MarginLeft() const { return marginLeft_; }
  int MarginBottom() const { return marginBottom_; }
  int MarginRight() const { return marginRight_; }
  void SetHeaderFont(const QFont& font) { headerFont_ = font; }
  const QFont& HeaderFont() const { return headerFont_; }
  // The rest of the header font as stored with the document: a colour (a system colour
  // when its top byte is 0x80) and a character set.
  int headerFontColor = int(0x80000008), headerFontCharset = 1;
  void SetDevModeData(int paperSize, int orientation);
  void ApplyDevModeData(bool updateStats);
  const DevMode& GetDevMode() const { return devMode_; }
  void UpdatePageStats(bool count, bool current);
  int AdjustEndPage(int page);

  // Idle page statistics.
  void SetPageCountingEnabled(bool on);
  bool PageCountingEnabled() const { return pageCountingEnabled_; }
  IdlerClient* GetIdleClient() const { return idleClient_.get(); }
  bool OnIdle();
  void SetOnPageStats(PageStatsEvent handler) { onPageStats_ = std::move(handler); }
  // Whether user input is waiting; tests put their own, an empty function restores it.
  void SetInputCheck(std::function<bool()> check) { inputCheck_ = std::move(check); }
  static QString PageNumChk(const QString& text, int page);
  // Strips an encoded prefix; false (text unchanged) when the prefix is invalid.
  static bool DecodeHeader(QString& text);

  int headerMargin = 0, footerMargin = 0;
  bool headerActive = false, footerActive = false;
  QString headerLeft, headerMiddle, headerRight, footerLeft, footerMiddle, footerRight;
  bool printHeader = false, printFooter = false, headerOnFirstPage = true, footerOnFirstPage = true;
  bool oddOnly = false, evenOnly = false, reverseOrder = false, equalMargins = false;
  bool needPageCount = false, needCurrentPage = false;

private:
  struct Geometry {
    LONG offX = 0, offY = 0, width = 0, height = 0, right = 0, bottom = 0;
  };
  struct DeviceLayout {
    int offX = 0, pageHeight = 0, textLeft = 0, textRight = 0, textHeight = 0, headerLine = 0, footerDistance = 0;
  };

  void InitDevMode();
  void SetMargin(int& margin, int value);
  qint64 Twips(int margin) const;
  Geometry PrinterGeometry() const;
  void ComputeRects();
  int RunPass(QPainter* painter, int page);
  void RunSections();
  bool PrintSection(LONG start, LONG end, bool eject);
  bool DecideDraw() const;
  void BeginSheet();
  LONG Measure(LONG start, LONG end);
  void FinishPage();
  void AddRecord(LONG start);
  void ApplyHeaderAndFooter();
  void DrawLine(int y, const QString& left, const QString& middle, const QString& right);
  void EndPass();
  static void ShowFailure();
  bool InputWaiting() const;
  bool ResumeCount();
  bool CountSections(const IntArray& breaks, LONG from);
  LONG PreviewEnd(int page);
  LONG SectionEnd(LONG pageBreak) const;
  bool CountSection(LONG start, LONG end);

  RichEdit20& editor_;
  QPrinter* printer_ = nullptr;
  QPainter* canvas_ = nullptr;
  QPainter* sheetPainter_ = nullptr;
  DeviceLayout device_;
  int pageNo_ = 0;
  bool stopped_ = false;
  int firstPage_ = 1, lastPage_ = 1;
  RECT pageRect_, textRect_;
  int mode_ = Idle;
  std::vector<PageRecord> pages_;
  std::vector<Sheet> sheets_;
  LONG selStart_ = 0, selEnd_ = -1;
  int pageCount_ = 0;
  bool reversePass_ = false, countingPages_ = false;
  bool headerReported_ = false;
  DevMode devMode_;
  QFont headerFont_;
  int marginTop_ = 0, marginLeft_ = 0, marginBottom_ = 0, marginRight_ = 0;
  bool pageCountingEnabled_ = false;
  std::unique_ptr<IdlerClient> idleClient_;
  PageStatsEvent onPageStats_;
  std::function<bool()> inputCheck_;
  bool countKept_ = false;  // an idle count was cut short; its page records are kept
};
