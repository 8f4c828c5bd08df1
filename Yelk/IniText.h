#pragma once
// A small reader of INI text: "[section]" lines and "key=value" lines. Unlike QSettings it
// keeps every value verbatim (commas, "@" and "\" included) and gives "General" no special
// meaning. Section and key names compare without regard to case, blanks around names and
// values are trimmed, a line starting with ";" is a comment, and the first occurrence of a
// key in a section counts.

#include <QByteArray>
#include <QString>
#include <vector>

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
  struct Entry {
    QString section;  // lower case
    QString key;      // lower case
    QString value;
  };
  const Entry* Find(const QString& section, const QString& key) const;

  std::vector<Entry> entries;
};
