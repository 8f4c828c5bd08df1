#pragma once
// Reads over a picture or object group of RTF, which is kept as bytes, and works out the
// size it is shown at.

#include "RtfTokenizer.h"

#include <QSize>

class KeptGroupReader {
public:
  struct Result {
    bool complete = false;  // the group's close was found
    QSize size;
  };
  // The tokenizer stands after the group's first word; `object` says it was \object.
  static Result Read(RtfTokenizer& tokenizer, bool object);
};
