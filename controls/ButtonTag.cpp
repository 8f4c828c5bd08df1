#include "ButtonTag.h"

#include <QAbstractButton>
#include <QEvent>
#include <QList>

bool ButtonTag::showAll = true;

namespace {
QList<ButtonTag*>& Tags() {
  static QList<ButtonTag*> tags;
  return tags;
}
}  // namespace

ButtonTag::ButtonTag(const QString& caption, QWidget* parent) : QLabel(caption, parent) {
  setAlignment(Qt::AlignCenter);
  QFont small = font();
  small.setPointSizeF(small.pointSizeF() * 0.85);
  setFont(small);
  QPalette ink = palette();
  ink.setColor(QPalette::WindowText, QColor(0x23, 0x33, 0x4a));
  setPalette(ink);
  Tags().append(this);
}

ButtonTag::~ButtonTag() { Tags().removeOne(this); }

void ButtonTag::SetButton(QAbstractButton* newButton) {
  if (button) button->removeEventFilter(this);
  button = newButton;
  if (button) button->installEventFilter(this);
  Apply(false);
}

void ButtonTag::Refresh() {
  for (ButtonTag* tag : Tags()) tag->Apply(tag->button && tag->button->underMouse());
}

void ButtonTag::Apply(bool buttonHot) {
  // A tag goes with its button: hidden with it, and shown with all tags or while hot.
  if (!button) return setVisible(true);
  setVisible(!button->isHidden() && (showAll || buttonHot));
}

bool ButtonTag::eventFilter(QObject* watched, QEvent* event) {
  // A button being destroyed still sends events from its QWidget part, when it is no
  // longer a button: reading the guarded pointer then would be an invalid downcast.
  auto* hot = qobject_cast<QAbstractButton*>(watched);
  if (hot != nullptr && hot == button) {
    switch (event->type()) {
      case QEvent::Enter: Apply(true); break;
      case QEvent::Leave:
      case QEvent::Show:
      case QEvent::Hide: Apply(button->underMouse()); break;
      default: break;
    }
  }
  return QLabel::eventFilter(watched, event);
}
