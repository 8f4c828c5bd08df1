#pragma once
// What the XP-style check box and radio button share: they paint their own indicator and
// caption, and the whole control, caption included, answers a click.

#include "XPStyle.h"

#include <QPainter>

template <typename Base, bool Radio>
class XPToggle : public Base {
public:
  explicit XPToggle(const QString& caption = QString(), QWidget* parent = nullptr) : Base(caption, parent) {
    this->setAttribute(Qt::WA_Hover);
  }

  bool Checked() const { return this->isChecked(); }
  void SetChecked(bool on) { this->setChecked(on); }

  QSize sizeHint() const override { return XPStyle::ToggleSizeHint(*this); }
  QSize minimumSizeHint() const override { return sizeHint(); }

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    XPStyle::PaintToggle(*this, p, Radio);
  }
  bool hitButton(const QPoint& pos) const override { return this->rect().contains(pos); }
};
