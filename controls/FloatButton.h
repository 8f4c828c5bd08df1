#pragma once
// A skinned flat button for wallpapered toolbars: only its picture shows until the mouse
// comes over it; a toggleable one stays pressed while it is toggled on.

#include <QToolButton>

class FloatButton : public QToolButton {
  Q_OBJECT
public:
  explicit FloatButton(QWidget* parent = nullptr);

  void SetToggleable(bool on) { setCheckable(on); }
  bool Toggleable() const { return isCheckable(); }
  bool IsToggled() const { return isCheckable() && isChecked(); }
  void SetToggled(bool on) { setChecked(on); }

  QSize sizeHint() const override { return {34, 34}; }

protected:
  void paintEvent(QPaintEvent* event) override;
};
