#pragma once
// Lays a character range of a document into a page rectangle, whole lines at a time, with
// the target device (the printer) as the layout device, so that counting, printing and
// preview break lines and pages alike.

#include "RichEditDefs.h"

class QTextDocument;

class PageFormatter {
public:
  // Fits the lines of range.chrg into range.rc (twips, from range.rcPage's origin), drawing
  // them on range.hdc when draw. A non-empty range always gives one line. Answers the first
  // position not fitted and sets range.rc.bottom to the bottom used.
  static LONG Format(const QTextDocument& document, FORMATRANGE& range, bool draw);
};
