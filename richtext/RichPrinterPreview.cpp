// RichPrinter as the print preview's page source.
#include "RichPrinter.h"

#include "PrintPreviewFrm.h"
#include "Printerfuncs.h"
#include "RichEdit20.h"
#include "TPreviewForm.h"

#include <algorithm>

// The caller prints the range when this answers true.
bool RichPrinter::Preview(int first, int last) {
  if (!Printerfuncs::PrinterIsOk()) return false;
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
LONG RichPrinter::PreviewEnd(int page) {
  const PageRecord& record = pages_[page];
  const std::unique_ptr<IntArray> breaks = editor_.GetPageBreakPositions();
  for (int index = 0; index < breaks->Size(); ++index) {
    const LONG at = breaks->Get(index);
    if (at < record.start) continue;
    const LONG end = at > 0 && editor_.GetCharAt(at - 1) == QChar(u'\r') ? at - 1 : at;
    return std::min(record.end, std::max(end, record.start));
  }
  return record.end;
}
