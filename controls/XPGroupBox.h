#pragma once
// A group box with an XP-style rounded frame and a blue caption set into its top edge.

#include <QGroupBox>

class XPGroupBox : public QGroupBox {
  Q_OBJECT
public:
  explicit XPGroupBox(const QString& caption = QString(), QWidget* parent = nullptr);

  bool Checked() const { return isChecked(); }
  void SetChecked(bool on) { setChecked(on); }

protected:
  void paintEvent(QPaintEvent* event) override;
};
