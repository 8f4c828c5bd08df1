#include "XPGroupBox.h"

#include <QPainter>
#include <QStyle>

XPGroupBox::XPGroupBox(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {}

void XPGroupBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QFontMetrics fm = fontMetrics();
  const int captionHeight = fm.height();
  const QRectF frame = QRectF(rect()).adjusted(0.5, captionHeight / 2 + 0.5, -0.5, -0.5);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(isEnabled() ? QColor(0xd0, 0xd0, 0xbf) : QColor(0xe0, 0xe0, 0xd8));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(frame, 3, 3);
  if (title().isEmpty()) return;
  const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic;
  const QRect text = fm.boundingRect(QRect(9, 0, width() - 18, captionHeight), flags, title());
  p.setRenderHint(QPainter::Antialiasing, false);
  p.fillRect(text.adjusted(-2, 0, 2, 0), palette().color(backgroundRole()));
  p.setPen(isEnabled() ? QColor(0x00, 0x46, 0xd5) : palette().color(QPalette::Disabled, QPalette::WindowText));
  style()->drawItemText(&p, text, flags, palette(), true, title(), QPalette::NoRole);
}
