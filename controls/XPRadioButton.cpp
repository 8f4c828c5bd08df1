#include "XPRadioButton.h"

#include "XPStyle.h"

#include <QPainter>

XPRadioButton::XPRadioButton(const QString& caption, QWidget* parent) : QRadioButton(caption, parent) {
  setAttribute(Qt::WA_Hover);
}

QSize XPRadioButton::sizeHint() const { return XPStyle::ToggleSizeHint(*this); }

void XPRadioButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  XPStyle::PaintToggle(*this, p, true);
}
