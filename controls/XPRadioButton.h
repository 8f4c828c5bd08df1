#pragma once
// A radio button that paints its own XP-style circle and caption.

#include <QRadioButton>

class XPRadioButton : public QRadioButton {
  Q_OBJECT
public:
  explicit XPRadioButton(const QString& caption = QString(), QWidget* parent = nullptr);

  bool Checked() const { return isChecked(); }
  void SetChecked(bool on) { setChecked(on); }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

protected:
  void paintEvent(QPaintEvent* event) override;
  bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};
