// RichPrinter as the print preview's page source.
#include "RichPrinter.h"

#include "PrintPreviewFrm.h"
#include "Printerfuncs.h"
#include "TPreviewForm.h"

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
