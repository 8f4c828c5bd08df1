#pragma once
// Reads the settings store so that one line can cost only itself. Each line is read on its
// own, as the ini reader of QSettings reads a file of that line alone (its escapes, quotes,
// comments and lists), so that no line can run on into the next or make the reader give
// up on the whole file. A line it cannot read is dropped with a note; so are the keys below
// a section header it cannot name (they must not land in another section). A header
// without its ']' is closed, as the reader itself takes it. Only values the store keeps
// (text, text lists, bytes) count; a key given twice keeps its later value.

#include <QByteArray>
#include <QByteArrayView>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

class IniStoreReader {
public:
  struct Line {
    enum Kind { Nothing, Section, Value, Unreadable, UnreadableSection };
    Kind kind = Nothing;
    QString name;     // the section's path ("" for General), or the key's
    QVariant value;   // a value's QString, QStringList or QByteArray
    QString problem;  // why the line is dropped, or how a header was mended
  };
  // One line, without its line end, as the ini reader reads it alone.
  static Line Read(QByteArrayView line);

  explicit IniStoreReader(QByteArrayView text);

  // Full key path ("Section/key", or "key" in General) to its value.
  const QMap<QString, QVariant>& Values() const { return values_; }
  // One description a line that was dropped or mended ("line 3: ...").
  const QStringList& Notes() const { return notes_; }
  // Something of the text was dropped or mended: the text is not what the values write.
  bool Changed() const { return !notes_.isEmpty(); }

private:
  void Note(int number, const QString& what, QByteArrayView line);

  QMap<QString, QVariant> values_;
  QStringList notes_;
};
