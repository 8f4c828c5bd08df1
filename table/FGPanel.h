#pragma once
// An opaque panel that paints itself: no background is erased under it, so a picture drawn
// into it straight from a buffer does not flicker. The table top, the mini tables and the
// magnifier's picture stand on it.

#include <QWidget>

#include <functional>

class FGPanel : public QWidget {
  Q_OBJECT
public:
  explicit FGPanel(QWidget* parent = nullptr);

  std::function<void()> OnPaint;
  std::function<void()> OnMouseEnter;
  std::function<void()> OnMouseLeave;
  // The panel's own face is painted before OnPaint.
  bool PaintPanelFirst = false;

protected:
  // The face when asked for, then OnPaint.
  virtual void Paint();
  virtual void MouseEntered();
  virtual void MouseLeft();

  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
};
