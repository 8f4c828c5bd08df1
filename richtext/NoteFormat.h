#pragma once
// The format vocabulary of a note: which properties of Qt's text formats carry which attribute
// of the rich-edit format records and of RTF. Lengths are kept in exact twips beside the
// pixel values Qt draws with, and the face name as it was written ("Arial" stays "Arial"
// though another face is drawn), so that RTF -> document -> RTF gives back the same numbers.

#include "RichEditDefs.h"

#include <QList>
#include <QRgb>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>

// Our properties inside QTextFormat.
namespace NoteProperty {
enum : int {
  Face = QTextFormat::UserProperty + 0x100,
  CharSet,
  PitchFamily,
  SizeTwips,
  OffsetTwips,
  UnderlineKind,
  Hidden,
  FieldInstruction,
  FieldId,
  KeptBytes,
  KeptSize,
  StartIndent = QTextFormat::UserProperty + 0x140,
  RightIndent,
  FirstIndent,
  SpaceBefore,
  SpaceAfter,
  LineSpacing,
  LineMultiple,
  TabStops,
  Numbering,
  NumberingStyle,
  NumberingStart,
  NumberingTab,
  PageBreakBefore,
  CellBoundaries,
};
}

// A character's attributes. Lengths in twips; colours unset mean "automatic".
struct CharAttrs {
  int charSet = ANSI_CHARSET;
  int pitchFamily = FF_DONTCARE;
  int sizeTwips = 240;
  bool bold = false;
  bool italic = false;
  bool strike = false;
  bool hidden = false;
  int underline = CFU_UNDERLINENONE;
  int script = 0;  // 0 none, 1 subscript, 2 superscript
  int offsetTwips = 0;
  bool hasColor = false;
  QRgb color = 0;
  bool hasBack = false;
  QRgb back = 0;
  int fieldId = 0;           // tells two adjacent fields apart
  // The strings come last: compared member by member, the numbers tell most looks apart.
  QString face;
  QString fieldInstruction;  // the field whose result this character belongs to

  bool operator==(const CharAttrs&) const = default;

  static CharAttrs Read(const QTextCharFormat& format);
  void ApplyTo(QTextCharFormat& format) const;
  QTextCharFormat ToFormat() const;
};

// A paragraph's attributes, as RTF states them: left indent, first-line offset from it.
struct ParaAttrs {
  int align = PFA_LEFT;
  int leftTwips = 0;
  int rightTwips = 0;
  int firstTwips = 0;
  int spaceBefore = 0;
  int spaceAfter = 0;
  int lineSpacing = 0;  // RTF \sl: positive at least, negative exactly, 0 single
  bool lineMultiple = false;
  QList<int> tabs;
  int numbering = 0;  // PFN_ value, 0 none
  int numberingStyle = PFNS_PERIOD;
  int numberingStart = 1;
  int numberingTab = 0;
  bool pageBreakBefore = false;
  QList<int> cells;  // a table row's right cell boundaries, empty when not a row

  // Qt 6.4 compares two empty lists with memcmp on a null pointer: done by hand.
  bool operator==(const ParaAttrs& other) const;

  static ParaAttrs Read(const QTextBlockFormat& format);
  void ApplyTo(QTextBlockFormat& format) const;
  QTextBlockFormat ToFormat() const;
};

class NoteFormat {
public:
  // Lengths as Qt lays them out.
  static qreal TwipsToPixels(int twips);
  // Code page of a font's character set; 0 for the symbol set, `ansi` for the default ones.
  static int CodePageOfCharSet(int charSet, int ansi);
};
