#pragma once
// Printing an editor's document: what the editor asks of its printer.

#include "RichEditDefs.h"

class RichPrinter {
public:
  virtual ~RichPrinter() = default;

  // The first position of a page (from 1); with start false its last.
  virtual LONG GetPagePosition(int page, bool start) = 0;
};
