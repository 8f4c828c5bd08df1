#pragma once
// A small borderless pop-up window shown at the mouse without blocking its owner; a click
// outside closes it.

#include <QFrame>

class SimpleForm : public QFrame {
  Q_OBJECT
public:
  explicit SimpleForm(QWidget* owner = nullptr);

  // Shows the form at the mouse, kept inside the screen under the mouse.
  void Show();
  void ShowAt(QPoint globalPos);
  // Where a window of 'size' wanted at 'at' goes so that it lies inside 'available'.
  static QPoint PlaceInside(const QRect& available, QPoint at, QSize size);
};
