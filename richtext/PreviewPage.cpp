#include "PreviewPage.h"

#include "PreviewRenderer.h"
#include "Yelk/MulDiv.h"
#include "Yelk/TMsgLog.h"
#include "platform/CurrentPrinter.h"

#include <QPainter>
#include <QPrinter>

PreviewPage::PreviewPage(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void PreviewPage::SetCurrentPage(int page) {
  page_ = page;
  update();
}

void PreviewPage::SetBlank(bool blank) {
  if (blank == blank_) return;
  blank_ = blank;
  update();
}

PreviewNumbers::Sheet PreviewPage::PrinterSheet() {
  if (!CurrentPrinter::Available()) return {};
  QPrinter& printer = CurrentPrinter::Get();
  const int dpi = printer.resolution();
  const QRect paper = printer.pageLayout().fullRectPixels(dpi);
  return {paper.width(), paper.height(), dpi, dpi};
}

QSize PreviewPage::SheetPixels(const PreviewNumbers::Sheet& sheet, QSize screenDpi) {
  if (sheet.dpiX <= 0 || sheet.dpiY <= 0) return {};
  // Through twips, as the page source measures.
  const int width = MulDiv(MulDiv(sheet.width, 1440, sheet.dpiX), screenDpi.width(), 1440);
  const int height = MulDiv(MulDiv(sheet.height, 1440, sheet.dpiY), screenDpi.height(), 1440);
  if (width <= 0 || height <= 0) return {};
  return {width, height};
}

void PreviewPage::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (blank_ || !renderer_) return;
  const QSize sheet = SheetPixels(PrinterSheet(), QSize(logicalDpiX(), logicalDpiY()));
  if (sheet.isEmpty()) return;
  painter.setWindow(QRect(QPoint(0, 0), sheet));
  painter.setViewport(rect());
  try {
    renderer_->Render(&painter, page_);
  } catch (const std::exception& error) {
    // No exception may cross the event loop: the page stays blank.
    TMsgLog::Add(QStringLiteral("PreviewPage::PaintWindow - %1").arg(QString::fromUtf8(error.what())));
  }
}
