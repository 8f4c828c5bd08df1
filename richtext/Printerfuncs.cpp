#include "Printerfuncs.h"

#include "Yelk/TMsgLog.h"
#include "platform/CurrentPrinter.h"
#include "platform/PrinterBackend.h"

#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace {

bool printerOk = true;
int corrections = 0;
const char* const NotSupported = "Operation not supported on selected printer";

// The settings of the current printer, refused while it prints (when changing) and when it
// has none.
PrinterBackend& Settings(bool changing) {
  PrinterBackend& backend = CurrentPrinter::Backend();
  if (changing && backend.Printing()) throw EPrinter("Printing in progress");
  if (!backend.HasSettings()) throw EPrinter(NotSupported);
  return backend;
}

}  // namespace

namespace Printerfuncs {

void CheckPrinter() {
  printerOk = true;
  if (CurrentPrinter::Backend().HasSettings()) return;
  ResetPrinter();
  if (!CurrentPrinter::Backend().HasSettings()) PrinterError(QStringLiteral("CheckPrinter"));
  if ((++corrections & 0xff) == 0)
    TMsgLog::Add(QStringLiteral("Printer device mode corrected.  cnt=%1").arg(corrections));
}

void PrinterError(const QString& procedure) {
  printerOk = false;
  TMsgLog::Add(QLatin1String(NotSupported) + QStringLiteral("  Proc:") + procedure);
  throw EPrinter(NotSupported);
}

bool PrinterIsOk() { return printerOk; }

void ResetPrinter() { CurrentPrinter::Backend().Reload(); }

bool GetCollate() {
  PrinterBackend& settings = Settings(false);
  return (settings.Capabilities() & PrinterBackend::CanCollate) && settings.Collate();
}
void SetCollate(bool collate) {
  PrinterBackend& settings = Settings(true);
  if (settings.Capabilities() & PrinterBackend::CanCollate) settings.SetCollate(collate);
}
int GetCopies() { return Settings(false).Copies(); }
void SetCopies(int copies) { Settings(true).SetCopies(copies); }
bool GetLandscape() {
  PrinterBackend& settings = Settings(false);
  return (settings.Capabilities() & PrinterBackend::CanTurn) && settings.Landscape();
}
void SetLandscape(bool landscape) {
  PrinterBackend& settings = Settings(true);
  if (settings.Capabilities() & PrinterBackend::CanTurn) settings.SetLandscape(landscape);
}

short GetPaperSize() { return Settings(false).PaperSize(); }

void SetPaperSize(short code) {
  if (!Settings(true).SetPaperSize(code)) TMsgLog::Add(QStringLiteral("SetPaperSize - unknown paper size %1").arg(code));
}

void SetPrinterIndex(int index) {
  ResetPrinter();
  CurrentPrinter::Backend().Select(index);
  ResetPrinter();
}

void SetPrinterIndex(const QString& name) {
  SetPrinterIndex(static_cast<int>(CurrentPrinter::Backend().Names().indexOf(name)));
}

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
