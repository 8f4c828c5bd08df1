#include "CurrentPrinter.h"

#include "PrinterBackend.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace {

std::unique_ptr<QPrinter>& Slot() {
  static std::unique_ptr<QPrinter> printer;
  return printer;
}

// The settings of the current QPrinter. Qt states the capabilities of real printers only;
// all are taken as present.
class QtBackend : public PrinterBackend {
public:
  QStringList Names() const override { return CurrentPrinter::Names(); }
  int Index() const override { return CurrentPrinter::Index(); }
  bool Select(int index) override { return CurrentPrinter::Select(index); }
  bool HasSettings() const override { return CurrentPrinter::HasDeviceMode(); }
  bool Printing() const override { return Printer().printerState() == QPrinter::Active; }
  void Reload() override {
    if (Printer().outputFormat() == QPrinter::NativeFormat) Printer().setPrinterName(Printer().printerName());
  }
  int Capabilities() const override { return CanCopy | CanTurn | CanCollate; }
  int Copies() const override { return Printer().copyCount(); }
  void SetCopies(int copies) override { Printer().setCopyCount(copies); }
  bool Collate() const override { return Printer().collateCopies(); }
  void SetCollate(bool collate) override { Printer().setCollateCopies(collate); }
  bool Landscape() const override { return Printer().pageLayout().orientation() == QPageLayout::Landscape; }
  void SetLandscape(bool landscape) override {
    Printer().setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  }
  short PaperSize() const override { return static_cast<short>(Printer().pageLayout().pageSize().windowsId()); }
  bool SetPaperSize(short code) override {
    const QPageSize::PageSizeId id = QPageSize::id(code);
    if (id == QPageSize::Custom) return false;
    return Printer().setPageSize(QPageSize(id));
  }

private:
  static QPrinter& Printer() { return CurrentPrinter::Get(); }
};

std::unique_ptr<PrinterBackend>& BackendSlot() {
  static std::unique_ptr<PrinterBackend> backend;
  return backend;
}

}  // namespace

namespace CurrentPrinter {

PrinterBackend& Backend() {
  auto& backend = BackendSlot();
  if (!backend) backend = std::make_unique<QtBackend>();
  return *backend;
}

void InstallBackend(std::unique_ptr<PrinterBackend> backend) { BackendSlot() = std::move(backend); }


QPrinter& Get() {
  auto& printer = Slot();
  if (!printer) printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer;
}

void Install(std::unique_ptr<QPrinter> printer) { Slot() = std::move(printer); }

bool Available() { return (Slot() && Slot()->outputFormat() == QPrinter::PdfFormat) || !Backend().Names().isEmpty(); }

QStringList Names() { return QPrinterInfo::availablePrinterNames(); }

int Index() {
  // The printer is made here if need be: the default printer has its index before any job.
  if (Get().outputFormat() != QPrinter::NativeFormat) return -1;
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
