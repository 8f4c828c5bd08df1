#pragma once
// The settings a note carries beside its rich text (page set-up, header and footer, bookmark
// positions, a free note and the word wrap) as one text in the component text form:
//   object RichPersist
//     LMarg = 150
//     LHdr = 'Page &p'
//     HdrFont.Name = 'Arial'
//   end
// Properties at their defaults are not written; missing ones keep their defaults.

#include <QFont>
#include <QString>

#include <stdexcept>

// A text that is not a RichPersist in the component text form.
class EReadError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// The header and footer font as stored: a new font's values are the defaults.
struct PersistFont {
  static constexpr int Bold = 1, Italic = 2, Underline = 4, StrikeOut = 8;

  QString name = QStringLiteral("MS Sans Serif");
  int height = -11;  // negative: the character height in pixels at 96 dots per inch
  int style = 0;
  int color = int(0x80000008);  // the window text colour
  int charset = 1;              // the default character set

  static PersistFont From(const QFont& font);
  QFont ToFont() const;
  bool operator==(const PersistFont&) const = default;
};

class RichPersist {
public:
  int LMarg = -1, RMarg = -1, TMarg = -1, BMarg = -1;
  bool Equal = true;
  int Orient = 1, Size = 1;
  bool Rev = false, Even = false, Odd = false;
  QString LHdr, MHdr, RHdr, LFtr, MFtr, RFtr;
  bool PrtHdr = false, PrtFtr = false, No1stHdr = false, No1stFtr = false;
  int HdrMarg = -1, FtrMarg = -1;
  PersistFont HdrFont;
  QString Marks, Note;
  bool Wrap = true;

  QString ToText() const;
  // Raises EReadError with the reason for anything but a RichPersist's text.
  static RichPersist FromText(const QString& text);

  bool operator==(const RichPersist&) const = default;
};
