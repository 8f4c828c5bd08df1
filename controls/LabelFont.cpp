#include "LabelFont.h"

void LabelFont::SetName(const QString& name) {
  font.setFamily(name);
  if (changed) changed();
}

void LabelFont::SetFont(const QFont& value) {
  font = value;
  if (changed) changed();
}

void LabelFont::SetColor(const QColor& value) {
  color = value;
  if (changed) changed();
}
