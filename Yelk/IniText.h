#pragma once
// A small reader of INI text: "[section]" lines and "key=value" lines. Unlike QSettings it
// keeps every value verbatim (commas, "@" and "\" included) and gives "General" no special
// meaning. Section and key names compare without regard to case, blanks around names and
// values are trimmed, a line starting with ";" is a comment, and the first occurrence of a
// key in a section counts.

#include <QByteArray>
#include <QHash>
#include <QString>

class IniText {
public:
  IniText() = default;
  explicit IniText(const QByteArray& text);

  bool HasKey(const QString& section, const QString& key) const;
  QString ReadString(const QString& section, const QString& key,
                     const QString& fallback = QString()) const;
  // An optional sign and decimal digits, or hexadecimal digits after "0x" or "$"; anything
  // else, or a number outside the int range, gives the fallback.
  int ReadInteger(const QString& section, const QString& key, int fallback) const;
  // True for a non-zero integer.
  bool ReadBool(const QString& section, const QString& key, bool fallback) const;

  static bool ParseInteger(const QString& text, int& number);

private:
  const QString* Find(const QString& section, const QString& key) const;

  // The section's and the key's names (lower case, a NUL between) to the value: a
  // sponsor's file may hold tens of thousands of keys, and no line may search the others.
  QHash<QString, QString> values;
};
