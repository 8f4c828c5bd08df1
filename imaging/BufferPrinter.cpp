#include "BufferPrinter.h"

#include "BufferPresenter.h"
#include "Yelk/OverWindow.h"
#include "Yelk/TMsgLog.h"
#include "platform/CurrentPrinter.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

void BufferPrinter::PaintPage(QPainter& painter, const RasterImage& image, const QRect& page) {
  if (!image.pixels || page.isEmpty()) return;
  const QSizeF size = QSizeF(image.width, image.height).scaled(page.size(), Qt::KeepAspectRatio);
  const QRectF target(page.left() + (page.width() - size.width()) / 2,
                      page.top() + (page.height() - size.height()) / 2, size.width(), size.height());
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  BufferPresenter::DrawUpright(painter, image, target);
}

bool BufferPrinter::Print(const RasterImage& image, const QString& title, QWidget* owner) {
  if (!image.pixels) return false;
  // The printer the player chose for the note prints the picture too.
  QPrinter& printer = CurrentPrinter::Get();
  printer.setDocName(title);
  // Over its owner, so that it opens above a window that stays on top; but not owned by
  // it: the owner may be deleted while the dialog is open.
  QPrintDialog dialog(&printer);
  OverWindow::Place(&dialog, owner);
  if (dialog.exec() != QDialog::Accepted) return false;
  QPainter painter;
  if (!painter.begin(&printer)) {
    TMsgLog::Add(QStringLiteral("VirtualBuffer::Print - the printer could not start %1").arg(title));
    return false;
  }
  PaintPage(painter, image, painter.viewport());
  return painter.end();
}
