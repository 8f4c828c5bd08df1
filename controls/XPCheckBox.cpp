#include "XPCheckBox.h"

#include "XPStyle.h"

#include <QPainter>

XPCheckBox::XPCheckBox(const QString& caption, QWidget* parent) : QCheckBox(caption, parent) {
  setAttribute(Qt::WA_Hover);
}

QSize XPCheckBox::sizeHint() const { return XPStyle::ToggleSizeHint(*this); }

void XPCheckBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  XPStyle::PaintToggle(*this, p, false);
}
