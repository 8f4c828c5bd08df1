#include "OstrevPanel.h"

#include <QPainter>

OstrevPanel::OstrevPanel(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(1);
}

void OstrevPanel::SetCaption(const QString& text) {
  caption = text;
  update();
}

void OstrevPanel::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  if (caption.isEmpty()) return;
  QPainter p(this);
  p.setPen(palette().color(isEnabled() ? QPalette::Normal : QPalette::Disabled, QPalette::WindowText));
  p.drawText(contentsRect(), Qt::AlignCenter | Qt::TextWordWrap, caption);
}

void OstrevPanel::enterEvent(QEnterEvent* event) {
  QFrame::enterEvent(event);
  emit OnMouseEnter();
}

void OstrevPanel::leaveEvent(QEvent* event) {
  QFrame::leaveEvent(event);
  emit OnMouseExit();
}
