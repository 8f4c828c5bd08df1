#pragma once
// A numeric edit whose value never leaves Min..Max: a typed number outside the limits
// becomes the nearer limit.

#include <QSpinBox>

class NumberBox : public QSpinBox {
  Q_OBJECT
public:
  explicit NumberBox(QWidget* parent = nullptr);

  int Min() const { return minimum(); }
  int Max() const { return maximum(); }
  void SetMin(int value);
  void SetMax(int value);
  // The number in the box as typed so far, brought within the limits.
  int Value() const;
  void SetValue(int value) { setValue(value); }

protected:
  QValidator::State validate(QString& text, int& pos) const override;
  void fixup(QString& text) const override;

private:
  bool Parse(const QString& text, int& number) const;
};
