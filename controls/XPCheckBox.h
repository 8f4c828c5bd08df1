#pragma once
// A check box that paints its own XP-style box and caption.

#include <QCheckBox>

class XPCheckBox : public QCheckBox {
  Q_OBJECT
public:
  explicit XPCheckBox(const QString& caption = QString(), QWidget* parent = nullptr);

  bool Checked() const { return isChecked(); }
  void SetChecked(bool on) { setChecked(on); }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

protected:
  void paintEvent(QPaintEvent* event) override;
  bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};
