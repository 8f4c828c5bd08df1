#include "Printerfuncs.h"

#include "Yelk/TMsgLog.h"
#include "platform/CurrentPrinter.h"

#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace {

bool printerOk = true;
int corrections = 0;
const char* const NotSupported = "Operation not supported on selected printer";

QPrinter& Printer(bool changing) {
  QPrinter& printer = CurrentPrinter::Get();
  if (changing && printer.printerState() == QPrinter::Active)
    throw EPrinter("Printing in progress");
  if (!CurrentPrinter::HasDeviceMode()) throw EPrinter(NotSupported);
  return printer;
}

// Qt states the capabilities of real printers only; all are taken as present.
bool HasCapability() { return true; }

}  // namespace

namespace Printerfuncs {

void CheckPrinter() {
  printerOk = true;
  if (CurrentPrinter::HasDeviceMode()) return;
  ResetPrinter();
  if (!CurrentPrinter::HasDeviceMode()) PrinterError(QStringLiteral("CheckPrinter"));
  if ((++corrections & 0xff) == 0)
    TMsgLog::Add(QStringLiteral("Printer device mode corrected.  cnt=%1").arg(corrections));
}

void PrinterError(const QString& procedure) {
  printerOk = false;
  TMsgLog::Add(QLatin1String(NotSupported) + QStringLiteral("  Proc:") + procedure);
  throw EPrinter(NotSupported);
}

bool PrinterIsOk() { return printerOk; }

void ResetPrinter() {
  QPrinter& printer = CurrentPrinter::Get();
  if (printer.outputFormat() == QPrinter::NativeFormat) printer.setPrinterName(printer.printerName());
}

bool GetCollate() { return HasCapability() && Printer(false).collateCopies(); }
void SetCollate(bool collate) {
  if (HasCapability()) Printer(true).setCollateCopies(collate);
}
int GetCopies() { return Printer(false).copyCount(); }
void SetCopies(int copies) { Printer(true).setCopyCount(copies); }
bool GetLandscape() { return HasCapability() && Printer(false).pageLayout().orientation() == QPageLayout::Landscape; }
void SetLandscape(bool landscape) {
  if (HasCapability()) Printer(true).setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

short GetPaperSize() { return static_cast<short>(Printer(false).pageLayout().pageSize().windowsId()); }

void SetPaperSize(short code) {
  QPrinter& printer = Printer(true);
  const QPageSize::PageSizeId id = QPageSize::id(code);
  if (id == QPageSize::Custom) {
    TMsgLog::Add(QStringLiteral("SetPaperSize - unknown paper size %1").arg(code));
    return;
  }
  printer.setPageSize(QPageSize(id));
}

void SetPrinterIndex(int index) {
  ResetPrinter();
  CurrentPrinter::Select(index);
  ResetPrinter();
}

void SetPrinterIndex(const QString& name) { SetPrinterIndex(static_cast<int>(CurrentPrinter::Names().indexOf(name))); }

int ShowPrinterProperties(QWidget* owner) {
  if (!CurrentPrinter::HasDeviceMode()) return IdCancel;
  QPageSetupDialog dialog(&CurrentPrinter::Get(), owner);
  return dialog.exec() == QDialog::Accepted ? IdOk : IdCancel;
}

bool ShowPrintSetup(QWidget* owner) {
  QPrintDialog dialog(&CurrentPrinter::Get(), owner);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace Printerfuncs
