#include "MiniSurfaceLed.h"

#include <QPainter>

#include <algorithm>
#include <vector>

namespace {

std::vector<MiniSurfaceLed*>& AllLeds() {
  static std::vector<MiniSurfaceLed*> leds;
  return leds;
}

}  // namespace

MiniSurfaceLed::MiniSurfaceLed(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  AllLeds().push_back(this);
}

MiniSurfaceLed::~MiniSurfaceLed() { std::erase(AllLeds(), this); }

void MiniSurfaceLed::Light() {
  if (lit_) return;
  for (MiniSurfaceLed* led : AllLeds()) {
    if (!led->lit_) continue;
    led->lit_ = false;
    led->update();
  }
  lit_ = true;
  update();
}

void MiniSurfaceLed::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().window());
  p.setPen(QColor(QRgb(lit_ ? 0x00EA00 : 0x008800)));
  p.drawLine(0, 0, width(), 0);
  p.setPen(QColor(QRgb(lit_ ? 0x00BF00 : 0x006C00)));
  p.drawLine(0, 1, width(), 1);
}
