#include "NumberBox.h"

#include <algorithm>

NumberBox::NumberBox(QWidget* parent) : QSpinBox(parent) {
  setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
  setRange(0, 9999);
}

void NumberBox::SetMin(int value) { setMinimum(value); }

void NumberBox::SetMax(int value) { setMaximum(value); }

bool NumberBox::Parse(const QString& text, int& number) const {
  QString digits = text;
  if (!prefix().isEmpty() && digits.startsWith(prefix())) digits.remove(0, prefix().size());
  if (!suffix().isEmpty() && digits.endsWith(suffix())) digits.chop(suffix().size());
  bool ok = false;
  const qlonglong parsed = digits.trimmed().toLongLong(&ok);
  if (!ok) return false;
  number = int(std::clamp<qlonglong>(parsed, minimum(), maximum()));
  return true;
}

int NumberBox::Value() const {
  int number = 0;
  return Parse(text(), number) ? number : value();
}

QValidator::State NumberBox::validate(QString& text, int& pos) const {
  // Any whole number may be typed; one outside the limits is finished by fixup.
  int number = 0;
  if (Parse(text, number)) {
    const QValidator::State inside = QSpinBox::validate(text, pos);
    return inside == QValidator::Acceptable ? QValidator::Acceptable : QValidator::Intermediate;
  }
  return QSpinBox::validate(text, pos);
}

void NumberBox::fixup(QString& text) const {
  int number = 0;
  // An emptied or unreadable entry goes back to the number the box held, not to a limit.
  text = textFromValue(Parse(text, number) ? number : value());
}
