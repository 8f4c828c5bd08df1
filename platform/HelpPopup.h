#pragma once
// One help topic in a small pale pop-up; any click or key closes it.

#include <QFrame>

class HelpPopup : public QFrame {
  Q_OBJECT
public:
  explicit HelpPopup(const QString& html, QWidget* parent = nullptr);
  // Shows the pop-up just below a screen point, inside the screen.
  void ShowNear(QPoint globalPos);

protected:
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
};
