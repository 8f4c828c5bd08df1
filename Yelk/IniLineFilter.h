#pragma once
// Sorts the lines of the settings store before the ini reader sees them: one line it
// cannot read would otherwise make it drop the whole store. A line is kept when it is
// empty, a ';' comment, a "[section]" header or "key=value" with a key, in valid UTF-8
// without control characters, and without an open quote or a trailing backslash (either
// would make the reader join it with the lines after it). A byte-order mark at the start
// reads as nothing, and a header without its ']' is closed, as the reader itself takes
// it, so that the keys below it stay in their section.

#include <QByteArray>
#include <QStringList>

class IniLineFilter {
public:
  explicit IniLineFilter(const QByteArray& text);

  QByteArray Text() const { return text_; }
  // One description a line that was dropped or mended ("line 3: ...").
  QStringList Notes() const { return notes_; }
  // The kept text differs from what was read.
  bool Changed() const { return changed_; }

private:
  enum class Verdict { Keep, Close, Drop };
  static Verdict Judge(const QByteArray& line);
  void Note(int number, const char* what, const QByteArray& line);

  QByteArray text_;
  QStringList notes_;
  bool changed_ = false;
};
