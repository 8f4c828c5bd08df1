#include "ChooseBox.h"

#include "Yelk/TMsgLog.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QTimer>

ChooseBox::ChooseBox(QWidget* parent) : QComboBox(parent) {
  // The list closes before it reports the choice, so the open state outlives it briefly.
  connect(this, &QComboBox::activated, this, [this] {
    if (listOpen) PassFocus();
  });
}

void ChooseBox::AddItem(const QString& text, int object) { addItem(text, object); }

int ChooseBox::ItemObject(int index) const {
  if (index < 0 || index >= count()) {
    TMsgLog::Add(QString("ChooseBox::ItemObject - bad index %1 of %2 in %3").arg(index).arg(count()).arg(objectName()));
    return 0;
  }
  return itemData(index).toInt();
}

void ChooseBox::showPopup() {
  if (dropDownWidth > 0) view()->setMinimumWidth(dropDownWidth);
  listOpen = true;
  QComboBox::showPopup();
}

void ChooseBox::hidePopup() {
  QComboBox::hidePopup();
  QTimer::singleShot(0, this, [this] { listOpen = false; });
}

void ChooseBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    if (focusTarget) {
      PassFocus();
      event->accept();
      return;
    }
  }
  QComboBox::keyPressEvent(event);
}

void ChooseBox::PassFocus() {
  if (focusTarget && focusTarget->isEnabled() && focusTarget->isVisible()) focusTarget->setFocus(Qt::OtherFocusReason);
}
