#include "IniText.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace {

// The section's and the key's names, lower case, as one look-up key.
QString Joined(QStringView section, QStringView key) {
  QString joined;
  joined.reserve(section.size() + 1 + key.size());
  joined.append(section).append(QChar(0)).append(key);
  return std::move(joined).toLower();
}

}  // namespace

IniText::IniText(const QByteArray& text) {
  // A sponsor's file may hold hundreds of thousands of keys: room for them at once, at most
  // one a line.
  values.reserve(std::min(text.count('\n'), text.count('=')) + 1);
  QString section;
  QString all = QString::fromUtf8(text);
  // Editors on other systems may start the text with a byte-order mark.
  if (all.startsWith(QChar(0xFEFF))) all.remove(0, 1);
  const QStringView whole(all);
  for (qsizetype start = 0, end = 0; start <= whole.size(); start = end + 1) {
    end = whole.indexOf(QLatin1Char('\n'), start);
    if (end < 0) end = whole.size();
    const QStringView line = whole.sliced(start, end - start).trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char(';'))) continue;
    if (line.startsWith(QLatin1Char('['))) {
      const qsizetype close = line.indexOf(QLatin1Char(']'));
      section = (close < 0 ? line.mid(1) : line.mid(1, close - 1)).trimmed().toString();
      continue;
    }
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    const QStringView key = equals > 0 ? line.left(equals).trimmed() : QStringView();
    if (key.isEmpty()) continue;
    // One look-up: a new slot takes the value, one already there keeps the first.
    const qsizetype before = values.size();
    QString& value = values[Joined(section, key)];
    if (values.size() != before) value = line.mid(equals + 1).trimmed().toString();
  }
}

const QString* IniText::Find(const QString& section, const QString& key) const {
  const auto value = values.constFind(Joined(section, key));
  return value == values.cend() ? nullptr : &*value;
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
