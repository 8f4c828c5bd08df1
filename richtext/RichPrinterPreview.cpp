// RichPrinter as the print preview's page source.
#include "RichPrinter.h"

#include "PrintPreviewFrm.h"
#include "Printerfuncs.h"
#include "RichEdit20.h"
#include "TPreviewForm.h"

#include "platform/CurrentPrinter.h"

#include <algorithm>

// The caller prints the range when this answers true.
bool RichPrinter::Preview(int first, int last) {
  // The printer and the page layout are checked before the window opens: a failure is
  // shown once here, not on every paint of a page.
  try {
    Printerfuncs::CheckPrinter();
    printer_ = &CurrentPrinter::Get();
    ComputeRects();
  } catch (const std::exception&) {
    ShowFailure();
    return false;
  }
  PrintPreviewFrm preview(TPreviewForm::MainForm(), first, last);
  firstPage_ = lastPage_ = 1;
  preview.SetRenderer(this, true);
  mode_ = PreviewMode;
  preview.ShowModal();
  mode_ = Idle;
  return preview.ReadPrintRequest();
}

// A page's record ends where the next page starts, which after a hard break lies past the
// break's marks and the next section's first line: the preview stops where printing does.
// The record's own text is read, not searched, since this runs while a sheet paints.
LONG RichPrinter::PreviewEnd(int page) {
  const PageRecord& record = pages_[page];
  const qsizetype at = editor_.GetTextRange(CHARRANGE{record.start, record.end}).indexOf(QChar(u'\f'));
  if (at < 0) return record.end;
  const LONG pageBreak = record.start + static_cast<LONG>(at);
  return std::max(SectionEnd(pageBreak), record.start);
}
