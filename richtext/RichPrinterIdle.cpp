// RichPrinter's idle page statistics: the page count and the caret's page, counted in idle
// passes that give way to the user and resume where they were cut short.
#include "RichPrinter.h"

#include "Printerfuncs.h"
#include "RichEdit20.h"
#include "Yelk/DesktopUtils.h"
#include "Yelk/HourGlass.h"
#include "Yelk/IdlerServer.h"
#include "Yelk/TMsgLog.h"
#include "platform/CurrentPrinter.h"

#include <climits>

void RichPrinter::SetPageCountingEnabled(bool on) {
  if (on == pageCountingEnabled_) return;
  pageCountingEnabled_ = on;
  needPageCount = needCurrentPage = on;
  countKept_ = false;
  if (!on) {
    idleClient_.reset();  // deregisters itself
    return;
  }
  idleClient_ = std::make_unique<IdlerClient>([this] { return OnIdle(); }, editor_.objectName() + QStringLiteral(" Printer"));
  idleClient_->Priority = IdlerClient::Low;
  idleClient_->MinInterval = 500;
  IdlerServer::IS().RegisterIdlerClient(idleClient_.get());
}

bool RichPrinter::InputWaiting() const { return inputCheck_ ? inputCheck_() : MessagesAreQueued(true); }

bool RichPrinter::OnIdle() {
  // Focus means the editor's window is the active one of an active application.
  if (!editor_.hasFocus() || !onPageStats_ || !(needPageCount || needCurrentPage))
    return true;
  if (needPageCount) {
    HourGlass::HG().Disable();
    const bool complete = ResumeCount();
    HourGlass::HG().Enable();
    if (!complete) return true;
    // The count stands until the next edit, also when input now keeps the report waiting.
    needPageCount = false;
  }
  if (InputWaiting()) return true;
  onPageStats_(&editor_, pageCount_, GetCurrPage(false));
  needPageCount = needCurrentPage = false;
  return true;
}

// One idle counting pass, from the last kept page when an earlier one was cut short. True
// when it reached the end of the text; only then does the page count change.
bool RichPrinter::ResumeCount() {
  countingPages_ = true;
  bool complete = false;
  try {
    Printerfuncs::CheckPrinter();
    printer_ = &CurrentPrinter::Get();
    ComputeRects();
    mode_ = CountMode;
    firstPage_ = 1;
    lastPage_ = INT_MAX;
    const std::unique_ptr<IntArray> breaks = editor_.GetPageBreakPositions();
    // A page-break search stopped by waiting input gave too few breaks.
    if (!InputWaiting()) {
      if (!countKept_) pages_.assign(1, PageRecord{});
      // The last kept page is where the pass was cut: it is measured now.
      const LONG from = pages_.size() > 1 ? pages_.back().start : 0;
      if (pages_.size() > 1) pages_.pop_back();
      countKept_ = true;
      complete = CountSections(*breaks, from);
    }
  } catch (const std::exception& error) {
    TMsgLog::Add(QStringLiteral("RichPrinter::OnIdle - %1").arg(QString::fromUtf8(error.what())));
    ClearPagesInfo();
    complete = true;
  }
  mode_ = Idle;
  countingPages_ = false;
  if (!complete) {
    TMsgLog::Add(QStringLiteral("RichPrinter::OnIdle - page count cut short after %1 pages").arg(pages_.size() - 1));
    return false;
  }
  countKept_ = false;
  pageCount_ = static_cast<int>(pages_.size()) - 1;
  return true;
}

// The sections as printing cuts them, from the section holding from.
bool RichPrinter::CountSections(const IntArray& breaks, LONG from) {
  const LONG length = editor_.GetLength();
  LONG start = 0;
  for (int index = 0; index <= breaks.Size(); ++index) {
    const bool last = index == breaks.Size();
    const LONG at = last ? length : breaks.Get(index);
    const LONG end = last ? at : SectionEnd(at);
    if (from == start || (from > start && from < end)) {
      if (!CountSection(from, end)) return false;
      from = -1;
    } else if (from < start) {
      if (!CountSection(start, end)) return false;
    }
    start = at + 1;
  }
  return true;
}

bool RichPrinter::CountSection(LONG start, LONG end) {
  if (end <= start) {
    AddRecord(start);
    return true;
  }
  for (;;) {
    if (InputWaiting()) {
      AddRecord(start);  // where the next pass goes on
      return false;
    }
    const LONG next = Measure(start, end);
    AddRecord(start);
    if (next >= end || next <= start) return true;
    start = next;
  }
}
