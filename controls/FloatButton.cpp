#include "FloatButton.h"

#include <QPainter>
#include <QPainterPath>

FloatButton::FloatButton(QWidget* parent) : QToolButton(parent) {
  setAutoRaise(true);
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_Hover);
  setIconSize({24, 24});
  resize(sizeHint());
}

void FloatButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const bool hot = isEnabled() && underMouse();
  const bool pressed = isEnabled() && (isDown() || IsToggled());
  const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  if (pressed) {
    // Sunk into the wallpaper: a darker glass with its shadow along the top.
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(30, 60, 110, hot ? 95 : 80));
    g.setColorAt(1, QColor(30, 60, 110, hot ? 45 : 35));
    p.setPen(QColor(40, 70, 120, 150));
    p.setBrush(g);
    p.drawRoundedRect(r, 4, 4);
  } else if (hot) {
    // Raised: a bright glass pane.
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(255, 255, 255, 230));
    g.setColorAt(1, QColor(255, 255, 255, 110));
    p.setPen(QColor(90, 120, 170, 170));
    p.setBrush(g);
    p.drawRoundedRect(r, 4, 4);
  }
  const QIcon::Mode mode = !isEnabled() ? QIcon::Disabled : hot ? QIcon::Active : QIcon::Normal;
  QRect target(QPoint(0, 0), iconSize().boundedTo(size() - QSize(4, 4)));
  target.moveCenter(rect().center() + (pressed ? QPoint(1, 1) : QPoint(0, 0)));
  icon().paint(&p, target, Qt::AlignCenter, mode);
}
