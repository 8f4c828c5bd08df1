#include "CurrentPrinter.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace {

std::unique_ptr<QPrinter>& Slot() {
  static std::unique_ptr<QPrinter> printer;
  return printer;
}

}  // namespace

namespace CurrentPrinter {

QPrinter& Get() {
  auto& printer = Slot();
  if (!printer) printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer;
}

void Install(std::unique_ptr<QPrinter> printer) { Slot() = std::move(printer); }

bool Available() { return (Slot() && Slot()->outputFormat() == QPrinter::PdfFormat) || !Names().isEmpty(); }

QStringList Names() { return QPrinterInfo::availablePrinterNames(); }

int Index() {
  if (!Slot() || Get().outputFormat() != QPrinter::NativeFormat) return -1;
  return static_cast<int>(Names().indexOf(Get().printerName()));
}

bool Select(int index) {
  const QStringList names = Names();
  const QString name = index >= 0 && index < names.size() ? names[index] : QPrinterInfo::defaultPrinterName();
  if (name.isEmpty() && names.isEmpty()) return false;
  Get().setOutputFormat(QPrinter::NativeFormat);
  Get().setPrinterName(name.isEmpty() ? names.first() : name);
  return true;
}

bool HasDeviceMode() {
  QPrinter& printer = Get();
  if (printer.outputFormat() == QPrinter::PdfFormat) return !printer.outputFileName().isEmpty();
  return printer.isValid();
}

}  // namespace CurrentPrinter
