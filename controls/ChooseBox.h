#pragma once
// A drop-down list whose items carry whole numbers (a piece count's piece size), with a
// drop-down that may be wider than the box, and a control that takes the focus once the
// player has chosen an item.

#include <QComboBox>
#include <QPointer>

class ChooseBox : public QComboBox {
  Q_OBJECT
public:
  explicit ChooseBox(QWidget* parent = nullptr);

  void AddItem(const QString& text, int object);
  // The number of an item; 0 (and a log line) for an index that names no item.
  int ItemObject(int index) const;
  // The drop-down list's width in pixels; 0 keeps the box's own width.
  int DropDownWidth() const { return dropDownWidth; }
  void SetDropDownWidth(int width) { dropDownWidth = width; }
  void PassFocusTo(QWidget* control) { focusTarget = control; }

  void showPopup() override;
  void hidePopup() override;

protected:
  void keyPressEvent(QKeyEvent* event) override;

private:
  void PassFocus();

  int dropDownWidth = 0;
  bool listOpen = false;
  QPointer<QWidget> focusTarget;
};
