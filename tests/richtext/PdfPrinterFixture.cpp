#include "PdfPrinterFixture.h"

#include "platform/CurrentPrinter.h"

#include <QPrinter>

void InstallPdfPrinter(const QString& file, QPageSize::PageSizeId paper) {
  auto pdf = std::make_unique<QPrinter>(QPrinter::HighResolution);
  pdf->setOutputFormat(QPrinter::PdfFormat);
  pdf->setOutputFileName(file);
  pdf->setPageSize(QPageSize(paper));
  CurrentPrinter::Install(std::move(pdf));
}
