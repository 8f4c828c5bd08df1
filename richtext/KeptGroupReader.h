#pragma once
// Reads over a picture or object group of RTF, which is kept as bytes, and works out the
// size it is shown at.

#include "RtfTokenizer.h"

#include <QByteArray>
#include <QSize>

class KeptGroupReader {
public:
  struct Result {
    bool complete = false;  // the group's close was found
    QSize size;
  };
  // The tokenizer stands after the group's first word; `object` says it was \object.
  static Result Read(RtfTokenizer& tokenizer, bool object);
  // The group's bytes without copying them: the result shares the source's buffer, which
  // stays alive as long as a kept group does.
  static QByteArray Share(const QByteArray& source, qsizetype from, qsizetype size);
};
