#pragma once
// Makes a PDF file of the given paper the current printer, so that notes print without a
// printer installed.

#include <QPageSize>
#include <QString>

void InstallPdfPrinter(const QString& file, QPageSize::PageSizeId paper);
