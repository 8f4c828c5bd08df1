#include "RichPrinter.h"

#include "Printerfuncs.h"
#include "RichEdit20.h"
#include "Yelk/GameApplication.h"
#include "Yelk/HourGlass.h"
#include "Yelk/TMsgLog.h"
#include "platform/CurrentPrinter.h"

#include <QPainter>
#include <QPrinter>

#include <climits>
#include <exception>
#include <memory>

namespace {

LONG ToTwips(double value, int dpi) { return static_cast<LONG>(value * 1440.0 / dpi); }
int ToDevice(qint64 twips, int dpi) {
  return static_cast<int>(std::clamp<qint64>(twips * dpi / 1440, INT_MIN, INT_MAX));
}

}  // namespace

// Passes whose callers want an answer, not an exception, show their failure this way.
void RichPrinter::ShowFailure() {
  const std::exception_ptr failure = std::current_exception();
  GameApplication::Guarded([&]() -> bool { std::rethrow_exception(failure); });
}

RichPrinter::~RichPrinter() = default;

void RichPrinter::Print(int first, int last) {
  // Every job checks the printer afresh, so that a job that failed stops none after it.
  Printerfuncs::CheckPrinter();
  ClearPagesInfo();
  sheets_.clear();
  if (reverseOrder) {
    // A count that failed has been shown; even a blank note has a page.
    if (GetPageCount() == 0) return;
    reversePass_ = true;
  }
  try {
    lastPage_ = AdjustEndPage(last);
    firstPage_ = std::min(first, lastPage_);
    // Without a page to put out (nothing counted, or parity leaves none) no job is begun.
    if (lastPage_ >= 1) {
      mode_ = PrintMode;
      Render(nullptr, 0);
    }
  } catch (...) {
    reversePass_ = false;
    throw;
  }
  reversePass_ = false;
}

int RichPrinter::GetPageCount() {
  countingPages_ = true;
  firstPage_ = 1;
  lastPage_ = INT_MAX;
  mode_ = CountMode;
  ClearPagesInfo();
  try {
    pageCount_ = Render(nullptr, 0);
  } catch (const std::exception& error) {
    TMsgLog::Add(QStringLiteral("RichPrinter::GetPageCount - %1").arg(QString::fromUtf8(error.what())));
    pageCount_ = 0;
    countingPages_ = false;
    ShowFailure();
  }
  countingPages_ = false;
  return pageCount_;
}

int RichPrinter::Render(QPainter* painter, int page) {
  if (page > 0) {
    firstPage_ = lastPage_ = page;
    mode_ = PreviewMode;
  }
  const bool busy = mode_ == PrintMode || mode_ == CountMode;
  if (busy) HourGlass::HG().Set();
  int produced = 0;
  try {
    Printerfuncs::CheckPrinter();
    produced = RunPass(painter, page);
  } catch (...) {
    EndPass();
    if (busy) HourGlass::HG().Reset();
    mode_ = Idle;
    throw;
  }
  EndPass();
  if (busy) HourGlass::HG().Reset();
  mode_ = Idle;
  return produced;
}

int RichPrinter::RunPass(QPainter* painter, int page) {
  if (mode_ == PreviewMode && !painter) return 0;
  printer_ = &CurrentPrinter::Get();
  canvas_ = painter;
  ComputeRects();
  pageNo_ = reversePass_ ? lastPage_ : 1;
  stopped_ = false;
  headerReported_ = false;
  if (mode_ == PreviewMode) {
    // The preview draws the page as printed, in printer units, shifted by the unprintable strips.
    const double scale = static_cast<double>(painter->device()->logicalDpiX()) / printer_->resolution();
    const QRect printable = printer_->pageLayout().paintRectPixels(printer_->resolution());
    painter->save();
    painter->scale(scale, scale);
    painter->translate(printable.topLeft());
    if (page < static_cast<int>(pages_.size())) {
      pageNo_ = page;
      PrintSection(pages_[page].start, PreviewEnd(page), false);
    } else {
      ApplyHeaderAndFooter();
    }
    painter->restore();
  } else if (reversePass_) {
    for (pageNo_ = lastPage_; pageNo_ >= firstPage_ && !stopped_;) {
      if (pageNo_ >= static_cast<int>(pages_.size())) {
        TMsgLog::Add(QStringLiteral("RichPrinter::Render - no record of page %1").arg(pageNo_));
        --pageNo_;
        continue;
      }
      if (!PrintSection(pages_[pageNo_].start, pages_[pageNo_].end, true)) break;
    }
  } else {
    RunSections();
  }
  return reversePass_ ? pageCount_ : pageNo_ - 1;
}

void RichPrinter::RunSections() {
  const std::unique_ptr<IntArray> breaks = editor_.GetPageBreakPositions();
  const LONG length = editor_.GetLength();
  const LONG rangeEnd = selEnd_ < 0 ? length : selEnd_;
  const bool ranged = !(selStart_ == 0 && selEnd_ == -1);
  LONG start = 0;
  for (int index = 0; index <= breaks->Size() && !stopped_; ++index) {
    const bool last = index == breaks->Size();
    const LONG at = last ? length : breaks->Get(index);
    const LONG end = last ? at : SectionEnd(at);
    bool carryOn = true;
    if (!ranged) {
      carryOn = PrintSection(start, end, !last);
    } else if (selStart_ < end && start < rangeEnd) {
      carryOn = PrintSection(std::max(start, selStart_), std::min(end, rangeEnd), !last && rangeEnd <= end);
    }
    if (!carryOn) break;
    start = at + 1;
  }
}

// The paragraph mark before a page break belongs to neither page.
LONG RichPrinter::SectionEnd(LONG pageBreak) const {
  return pageBreak > 0 && editor_.GetCharAt(pageBreak - 1) == QChar(u'\r') ? pageBreak - 1 : pageBreak;
}

bool RichPrinter::PrintSection(LONG start, LONG end, bool eject) {
  (void)eject;  // sheets are begun only before a drawn page
  if (end <= start) {
    if (DecideDraw()) {
      BeginSheet();
      ApplyHeaderAndFooter();
      sheets_.push_back({pageNo_, start, start});
    }
    if (mode_ == CountMode) AddRecord(start);
    FinishPage();
    return true;
  }
  for (;;) {
    const bool draw = DecideDraw();
    if (draw) {
      BeginSheet();
      ApplyHeaderAndFooter();
    }
    LONG fitted = end;
    if (mode_ == PrintMode || mode_ == CountMode) fitted = Measure(start, end);
    FORMATRANGE range{draw ? (canvas_ ? canvas_ : sheetPainter_) : nullptr, printer_, textRect_, pageRect_, {start, fitted}};
    LONG next = editor_.EmFormatRange(range, draw);
    if (mode_ != PreviewMode) next = fitted;
    if (draw && mode_ == PrintMode) sheets_.push_back({pageNo_, start, std::min(next, end)});
    if (mode_ == CountMode) AddRecord(start);
    if (reversePass_) {
      FinishPage();
      return true;
    }
    if (next >= end || next < 0 || next <= start) {
      FinishPage();
      return true;
    }
    FinishPage();
    if (mode_ == PreviewMode) TMsgLog::Add(QStringLiteral("Corrupted page desc found during print preview."));
    if (stopped_) return true;
    start = next;
  }
}

LONG RichPrinter::Measure(LONG start, LONG end) {
  FORMATRANGE range{nullptr, printer_, textRect_, pageRect_, {start, end}};
  LONG next = editor_.EmFormatRange(range, false);
  if (mode_ == CountMode && next == end && end < editor_.GetLength()) {
    FORMATRANGE longer{nullptr, printer_, textRect_, pageRect_, {start, end + 1}};
    next = std::min(next, editor_.EmFormatRange(longer, false));
  }
  // A layout that overshoots the bottom is asked again with a shorter page.
  for (int tries = 0; range.rc.bottom > textRect_.bottom && tries < 6; ++tries) {
    range.rc = textRect_;
    range.rc.bottom = textRect_.bottom - 160 * (tries + 1);
    next = editor_.EmFormatRange(range, false);
  }
  return next;
}

bool RichPrinter::DecideDraw() const {
  if ((oddOnly && pageNo_ % 2 == 0) || (evenOnly && pageNo_ % 2 == 1)) return false;
  if (mode_ == PrintMode) return reversePass_ ? pageNo_ <= lastPage_ : pageNo_ >= firstPage_;
  return mode_ == PreviewMode;
}

void RichPrinter::BeginSheet() {
  if (mode_ != PrintMode) return;
  if (sheetPainter_) {
    printer_->newPage();
    return;
  }
  sheetPainter_ = new QPainter;
  if (!sheetPainter_->begin(printer_)) {
    delete sheetPainter_;
    sheetPainter_ = nullptr;
    Printerfuncs::PrinterError(QStringLiteral("BeginDoc"));
  }
}

void RichPrinter::FinishPage() {
  if (reversePass_) {
    if (--pageNo_ < firstPage_ && mode_ == PrintMode) stopped_ = true;
  } else if (++pageNo_ > lastPage_ && mode_ == PrintMode) {
    stopped_ = true;
  }
}

void RichPrinter::AddRecord(LONG start) {
  pages_.back().end = start;
  pages_.push_back({start, editor_.GetLength()});
}

void RichPrinter::EndPass() {
  if (sheetPainter_) {
    sheetPainter_->end();
    delete sheetPainter_;
    sheetPainter_ = nullptr;
  }
  canvas_ = nullptr;
}

void RichPrinter::ClearPagesInfo() {
  pages_.assign(1, PageRecord{});
  pageCount_ = 0;
  countKept_ = false;
}

int RichPrinter::GetCurrPage(bool recount) {
  if (recount) {
    firstPage_ = 1;
    lastPage_ = INT_MAX;
    mode_ = CountMode;
    ClearPagesInfo();
    Render(nullptr, 0);
  }
  const LONG caret = editor_.GetCaretPos();
  for (int page = static_cast<int>(pages_.size()) - 1; page >= 1; --page)
    if (pages_[page].start <= caret) return page;
  TMsgLog::Add(QStringLiteral("RichPrinter::GetCurrPage - No page num.  updPageCnt=%1, caretPos=%2, PageCnt=%3")
                   .arg(recount ? u'T' : u'F').arg(caret).arg(pages_.size()));
  return 1;
}

LONG RichPrinter::GetPagePosition(int page, bool recount) {
  if (page < 1) return 0;
  if (recount) {
    firstPage_ = 1;
    lastPage_ = page;
    mode_ = CountMode;
    ClearPagesInfo();
    Render(nullptr, 0);
  }
  if (page < static_cast<int>(pages_.size())) return pages_[page].start;
  return pages_.back().end;
}

void RichPrinter::SetSelection(LONG start, LONG end) {
  const LONG length = editor_.GetLength();
  start = std::clamp<LONG>(start, 0, length);
  if (end < 0 || end > length) end = length;
  selStart_ = start;
  selEnd_ = std::max(end, start);
}

void RichPrinter::ComputeRects() {
  const Geometry page = PrinterGeometry();
  pageRect_ = RECT{0, 0, page.width, page.height};
  const int dpi = printer_->resolution();
  const LONG text = ToTwips(QFontMetricsF(headerFont_, printer_).height(), dpi);
  // In 64 bits: a stored margin may be any 32-bit value, and its twips are larger.
  const qint64 header = std::max<qint64>(0, Twips(headerMargin) - page.offY);
  const qint64 footer = std::max<qint64>(0, Twips(footerMargin) - page.bottom);
  const qint64 headerSpace = headerActive ? text + header + 90 : 0;
  const qint64 footerSpace = footerActive ? text + footer + 90 : 0;
  const qint64 top = std::max(Twips(marginTop_) - page.offY, headerSpace);
  const qint64 left = std::max<qint64>(0, Twips(marginLeft_) - page.offX);
  const qint64 bottom = page.height - std::max(Twips(marginBottom_) - page.bottom, footerSpace);
  const qint64 right = page.width - std::max<qint64>(0, Twips(marginRight_) - page.right);
  if (right <= left || bottom <= top) throw EPrinter("The page margins leave no room for text.");
  // Now within the page, and so within 32 bits.
  textRect_ = RECT{static_cast<LONG>(left), static_cast<LONG>(top), static_cast<LONG>(right), static_cast<LONG>(bottom)};
  device_ = DeviceLayout{ToDevice(page.offX, dpi), ToDevice(page.height, dpi), ToDevice(left, dpi),
                         ToDevice(right, dpi),     ToDevice(text, dpi),        ToDevice(header, dpi),
                         ToDevice(footer, dpi)};
}

RichPrinter::Geometry RichPrinter::PrinterGeometry() const {
  const int dpi = printer_->resolution();
  const QRect paper = printer_->pageLayout().fullRectPixels(dpi);
  const QRect printable = printer_->pageLayout().paintRectPixels(dpi);
  Geometry page;
  page.offX = ToTwips(printable.left(), dpi);
  page.offY = ToTwips(printable.top(), dpi);
  page.width = ToTwips(printable.width(), dpi);
  page.height = ToTwips(printable.height(), dpi);
  page.right = ToTwips(paper.width(), dpi) - page.offX - page.width;
  page.bottom = ToTwips(paper.height(), dpi) - page.offY - page.height;
  return page;
}
