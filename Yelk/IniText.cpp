#include "IniText.h"

#include <limits>

IniText::IniText(const QByteArray& text) {
  QHash<QString, QString>* section = &sections[QString()];
  QString all = QString::fromUtf8(text);
  // Editors on other systems may start the text with a byte-order mark.
  if (all.startsWith(QChar(0xFEFF))) all.remove(0, 1);
  for (QStringView raw : QStringView(all).split(QLatin1Char('\n'))) {
    const QStringView line = raw.trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char(';'))) continue;
    if (line.startsWith(QLatin1Char('['))) {
      const qsizetype end = line.indexOf(QLatin1Char(']'));
      const QStringView name = end < 0 ? line.mid(1) : line.mid(1, end - 1);
      section = &sections[name.trimmed().toString().toLower()];
      continue;
    }
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals <= 0) continue;
    const QString key = line.left(equals).trimmed().toString().toLower();
    if (key.isEmpty() || section->contains(key)) continue;
    section->insert(key, line.mid(equals + 1).trimmed().toString());
  }
}

const QString* IniText::Find(const QString& section, const QString& key) const {
  const auto keys = sections.constFind(section.toLower());
  if (keys == sections.cend()) return nullptr;
  const auto value = keys->constFind(key.toLower());
  return value == keys->cend() ? nullptr : &*value;
}

bool IniText::HasKey(const QString& section, const QString& key) const {
  return Find(section, key) != nullptr;
}

QString IniText::ReadString(const QString& section, const QString& key,
                           const QString& fallback) const {
  const QString* value = Find(section, key);
  return value ? *value : fallback;
}

bool IniText::ParseInteger(const QString& text, int& number) {
  QStringView digits(text);
  bool negative = false;
  if (digits.startsWith(QLatin1Char('+')) || digits.startsWith(QLatin1Char('-'))) {
    negative = digits.front() == QLatin1Char('-');
    digits = digits.mid(1);
  }
  int base = 10;
  if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
    base = 16;
    digits = digits.mid(2);
  } else if (digits.startsWith(QLatin1Char('$'))) {
    base = 16;
    digits = digits.mid(1);
  }
  if (digits.isEmpty() || digits.size() > 10) return false;
  qint64 value = 0;
  for (QChar c : digits) {
    const int digit = base == 16 && c.isLetter() ? (c.toUpper().unicode() - 'A' + 10)
                      : c >= QLatin1Char('0') && c <= QLatin1Char('9') ? c.unicode() - '0'
                                                                         : -1;
    if (digit < 0 || digit >= base) return false;
    value = value * base + digit;
  }
  if (negative) value = -value;
  if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
    return false;
  number = int(value);
  return true;
}

int IniText::ReadInteger(const QString& section, const QString& key, int fallback) const {
  int number = 0;
  return ParseInteger(ReadString(section, key), number) ? number : fallback;
}

bool IniText::ReadBool(const QString& section, const QString& key, bool fallback) const {
  int number = 0;
  return ParseInteger(ReadString(section, key), number) ? number != 0 : fallback;
}
