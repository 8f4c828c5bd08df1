#include "LabelButton.h"

#include "Yelk/DesktopUtils.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

LabelButton::LabelButton(QWidget* parent)
    : QWidget(parent),
      normalFont([this] { LooksChanged(); }),
      overFont([this] { LooksChanged(); }),
      downFont([this] { LooksChanged(); }) {
  setCursor(Qt::PointingHandCursor);
  setAttribute(Qt::WA_Hover);
  QFont underlined = font();
  underlined.setUnderline(true);
  normalFont.SetFont(font());
  overFont.SetFont(underlined);
  downFont.SetFont(underlined);
  downFont.SetColor(QColor(0xb0, 0x28, 0x20));
}

void LabelButton::SetCaption(const QString& text) {
  caption = text;
  LooksChanged();
}

void LabelButton::SetLink(const QString& url) {
  link = url;
  setToolTip(url);
  update();
}

void LabelButton::LooksChanged() {
  updateGeometry();
  update();
}

const LabelFont& LabelButton::CurrentLook() const {
  if (down && over) return downFont;
  return over && isEnabled() ? overFont : normalFont;
}

QSize LabelButton::sizeHint() const {
  // Room for the widest look, so the label does not jump as the mouse moves over it.
  QSize size;
  for (const LabelFont* look : {&normalFont, &overFont, &downFont})
    size = size.expandedTo(QFontMetrics(look->Font()).size(Qt::TextShowMnemonic, caption));
  return size + QSize(2, 2);
}

void LabelButton::paintEvent(QPaintEvent*) {
  const LabelFont& look = CurrentLook();
  QColor colour = look.Color();
  if (!colour.isValid()) colour = palette().color(link.isEmpty() ? QPalette::WindowText : QPalette::Link);
  if (!isEnabled()) colour = palette().color(QPalette::Disabled, QPalette::WindowText);
  QPainter p(this);
  p.setFont(look.Font());
  p.setPen(colour);
  p.drawText(rect().adjusted(1, 1, -1, -1), Qt::AlignCenter | Qt::TextShowMnemonic, caption);
}

void LabelButton::enterEvent(QEnterEvent*) {
  over = true;
  update();
}

void LabelButton::leaveEvent(QEvent*) {
  over = false;
  update();
}

void LabelButton::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  down = true;
  update();
}

void LabelButton::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !down) return QWidget::mouseReleaseEvent(event);
  down = false;
  update();
  if (!rect().contains(event->position().toPoint())) return;
  emit clicked();
  if (!link.isEmpty()) OpenURL(link);
}
