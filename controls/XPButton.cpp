#include "XPButton.h"

#include "XPStyle.h"

#include <QAction>
#include <QPainter>

XPButton::XPButton(QWidget* parent) : QToolButton(parent) {
  setAutoRaise(true);
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_Hover);
  resize(sizeHint());
  connect(this, &QToolButton::clicked, this, [this] {
    if (action) action->trigger();
  });
}

void XPButton::SetAction(QAction* newAction) {
  if (action) disconnect(action, nullptr, this, nullptr);
  action = newAction;
  if (!action) return;
  connect(action, &QAction::changed, this, &XPButton::TakeFromAction);
  TakeFromAction();
}

void XPButton::TakeFromAction() {
  if (!action) return;
  if (!action->icon().isNull()) setIcon(action->icon());
  setToolTip(action->toolTip());
  setEnabled(action->isEnabled());
  setVisible(action->isVisible());
}

void XPButton::SetImages(const QIcon& images) { setIcon(images); }

void XPButton::SetDown(bool on) {
  down = on;
  update();
}

void XPButton::SetBringToTop(bool on) {
  bringToTop = on;
  if (on) raise();
}

void XPButton::showEvent(QShowEvent* event) {
  QToolButton::showEvent(event);
  if (bringToTop) raise();
}

void XPButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const bool hot = isEnabled() && underMouse();
  const bool shownDown = isEnabled() && (down || isDown());
  const XPStyle::Face face = shownDown ? (hot ? XPStyle::Face::HotDown : XPStyle::Face::Down)
                             : hot ? XPStyle::Face::Hot
                                   : XPStyle::Face::Flat;
  XPStyle::PaintFace(p, rect(), face);
  const QIcon::Mode mode = !isEnabled() ? QIcon::Disabled : hot ? QIcon::Active : QIcon::Normal;
  const QSize size = iconSize().boundedTo(this->size() - QSize(4, 4));
  QRect target(QPoint(0, 0), size);
  target.moveCenter(rect().center() + (isDown() ? QPoint(1, 1) : QPoint(0, 0)));
  icon().paint(&p, target, Qt::AlignCenter, mode);
}
