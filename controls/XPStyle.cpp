#include "XPStyle.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>

namespace {

const QColor Frame(0x1c, 0x51, 0x80);
const QColor FrameDisabled(0xca, 0xc8, 0xbb);
const QColor Mark(0x21, 0xa1, 0x21);
const QColor HotRimOuter(0xf8, 0xb3, 0x30);
const QColor HotRimInner(0xfc, 0xe3, 0x8d);

struct ToggleState {
  bool enabled, checked, hot, pressed;
};

QLinearGradient Well(const QRectF& r, const ToggleState& s) {
  QLinearGradient g(r.topLeft(), r.bottomRight());
  if (!s.enabled) {
    g.setColorAt(0, Qt::white);
    g.setColorAt(1, Qt::white);
  } else if (s.pressed) {
    g.setColorAt(0, QColor(0xb0, 0xb0, 0xa7));
    g.setColorAt(1, QColor(0xf0, 0xf0, 0xea));
  } else {
    g.setColorAt(0, QColor(0xdc, 0xdc, 0xd7));
    g.setColorAt(1, Qt::white);
  }
  return g;
}

void PaintCheckIndicator(QPainter& p, const QRect& box, const ToggleState& s) {
  const QRectF r = QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5);
  p.setPen(s.enabled ? Frame : FrameDisabled);
  p.setBrush(Well(r, s));
  p.drawRect(r);
  if (s.hot && s.enabled && !s.pressed) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(HotRimOuter, 1));
    p.drawRect(r.adjusted(1, 1, -1, -1));
    p.setPen(QPen(HotRimInner, 1));
    p.drawRect(r.adjusted(2, 2, -2, -2));
  }
  if (!s.checked) return;
  QPainterPath tick;
  tick.moveTo(r.left() + 3, r.top() + 6);
  tick.lineTo(r.left() + 5.2, r.top() + 8.6);
  tick.lineTo(r.left() + 9.6, r.top() + 3.6);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(s.enabled ? Mark : FrameDisabled, 2.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.drawPath(tick);
}

void PaintRadioIndicator(QPainter& p, const QRect& box, const ToggleState& s) {
  const QRectF r = QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5);
  p.setPen(s.enabled ? Frame : FrameDisabled);
  p.setBrush(Well(r, s));
  p.drawEllipse(r);
  if (s.hot && s.enabled && !s.pressed) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(HotRimOuter, 1.2));
    p.drawEllipse(r.adjusted(1.2, 1.2, -1.2, -1.2));
  }
  if (!s.checked) return;
  QRadialGradient dot(r.center() - QPointF(0.8, 0.8), 3.2);
  dot.setColorAt(0, s.enabled ? QColor(0x5c, 0xe0, 0x5c) : FrameDisabled.lighter(110));
  dot.setColorAt(1, s.enabled ? Mark : FrameDisabled);
  p.setPen(Qt::NoPen);
  p.setBrush(dot);
  p.drawEllipse(r.center(), 2.8, 2.8);
}

}  // namespace

namespace XPStyle {

void PaintToggle(QAbstractButton& button, QPainter& p, bool radio) {
  const ToggleState s{button.isEnabled(), button.isChecked(), button.underMouse(), button.isDown()};
  const QRect r = button.rect();
  const QRect box(0, (r.height() - IndicatorSize) / 2, IndicatorSize, IndicatorSize);
  p.setRenderHint(QPainter::Antialiasing);
  if (radio)
    PaintRadioIndicator(p, box, s);
  else
    PaintCheckIndicator(p, box, s);
  p.setRenderHint(QPainter::Antialiasing, false);
  const QRect textRect = r.adjusted(IndicatorSize + CaptionGap, 0, 0, 0);
  const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic;
  button.style()->drawItemText(&p, textRect, flags, button.palette(), s.enabled, button.text(), QPalette::WindowText);
  if (button.hasFocus()) {
    QRect focus = button.fontMetrics().boundingRect(textRect, flags, button.text()).adjusted(-2, -1, 2, 1);
    focus &= r;
    p.setPen(QPen(button.palette().color(QPalette::WindowText), 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(focus.adjusted(0, 0, -1, -1));
  }
}

QSize ToggleSizeHint(const QAbstractButton& button) {
  const QSize text = button.fontMetrics().size(Qt::TextShowMnemonic, button.text());
  return {IndicatorSize + CaptionGap + text.width() + 4, qMax(IndicatorSize, text.height()) + 4};
}

void PaintFace(QPainter& p, const QRect& r, Face face) {
  if (face == Face::Flat) return;
  const QColor border(0x31, 0x6a, 0xc5);
  const QColor fill = face == Face::Hot ? QColor(0xc1, 0xd2, 0xee)
                      : face == Face::Down ? QColor(0x98, 0xb5, 0xe2)
                                           : QColor(0xb4, 0xc8, 0xea);
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(border);
  p.setBrush(fill);
  p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
  p.restore();
}

}  // namespace XPStyle
