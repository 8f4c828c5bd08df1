#pragma once
// The character and paragraph formats of a range of a note document in the rich-edit
// records: a get answers in its mask only what is the same over the whole range, a set
// changes only the masked attributes, in one undo step.

#include "RichEditDefs.h"

class QTextDocument;

class FormatRanges {
public:
  // [start, end) must not be empty; the paragraph marks inside count with their paragraphs.
  static CHARFORMAT2 GetChar(const QTextDocument& document, LONG start, LONG end);
  static void SetChar(QTextDocument& document, LONG start, LONG end, const CHARFORMAT2& record);
  // Every paragraph the range touches; an empty range the paragraph it is in.
  static PARAFORMAT2 GetPara(const QTextDocument& document, LONG start, LONG end);
  static void SetPara(QTextDocument& document, LONG start, LONG end, const PARAFORMAT2& record);

  // The mask bits whose attributes the two records hold alike.
  static DWORD SameChar(const CHARFORMAT2& a, const CHARFORMAT2& b);
  static DWORD SamePara(const PARAFORMAT2& a, const PARAFORMAT2& b);
};
