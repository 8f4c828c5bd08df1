#pragma once
// The rich-edit format records in terms of the note's format vocabulary.

#include "NoteFormat.h"
#include "RichEditDefs.h"

class FormatRecords {
public:
  // Every field the record can carry, with its mask.
  static CHARFORMAT2 ToRecord(const CharAttrs& attrs);
  static PARAFORMAT2 ToRecord(const ParaAttrs& attrs);
  // Only the fields whose mask bits are set change.
  static void Apply(const CHARFORMAT2& record, CharAttrs& attrs);
  static void Apply(const PARAFORMAT2& record, ParaAttrs& attrs);

  static COLORREF ToColorRef(QRgb rgb);
  static QRgb FromColorRef(COLORREF color);
};
