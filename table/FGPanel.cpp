#include "FGPanel.h"

#include <QPainter>

FGPanel::FGPanel(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
}

void FGPanel::Paint() {
  if (PaintPanelFirst) QPainter(this).fillRect(rect(), palette().window());
  if (OnPaint) OnPaint();
}

void FGPanel::MouseEntered() {
  if (OnMouseEnter) OnMouseEnter();
}

void FGPanel::MouseLeft() {
  if (OnMouseLeave) OnMouseLeave();
}

void FGPanel::paintEvent(QPaintEvent*) { Paint(); }
void FGPanel::enterEvent(QEnterEvent*) { MouseEntered(); }
void FGPanel::leaveEvent(QEvent*) { MouseLeft(); }
