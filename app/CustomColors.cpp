#include "CustomColors.h"

#include <QColorDialog>
#include <QRegularExpression>

namespace CustomColors {
namespace {
QChar SlotLetter(int index) { return QChar(u'A' + index); }
}  // namespace

Slots Parse(const QStringList& lines) {
  static const QRegularExpression line(QStringLiteral("^Color([A-P])=([0-9A-Fa-f]{6})$"));
  Slots colours;
  for (const QString& text : lines) {
    const QRegularExpressionMatch match = line.match(text.trimmed());
    if (!match.hasMatch()) continue;
    const uint bgr = match.captured(2).toUInt(nullptr, 16);
    const int index = match.captured(1).at(0).unicode() - u'A';
    colours[index] = QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
  }
  return colours;
}

QStringList Format(const Slots& colours) {
  QStringList lines;
  for (int i = 0; i < Count; ++i) {
    const QColor colour = colours[i].value_or(QColor(Qt::white));
    const uint bgr = uint(colour.red()) | uint(colour.green()) << 8 | uint(colour.blue()) << 16;
    lines << QStringLiteral("Color%1=%2").arg(SlotLetter(i)).arg(QString::number(bgr, 16).toUpper(), 6, QLatin1Char('0'));
  }
  return lines;
}

void LoadIntoDialog(const QStringList& lines) {
  const Slots colours = Parse(lines);
  for (int i = 0; i < Count && i < QColorDialog::customCount(); ++i)
    if (colours[i]) QColorDialog::setCustomColor(i, *colours[i]);
}

QStringList SaveFromDialog() {
  Slots colours;
  for (int i = 0; i < Count && i < QColorDialog::customCount(); ++i)
    colours[i] = QColorDialog::customColor(i);
  return Format(colours);
}
}  // namespace CustomColors
