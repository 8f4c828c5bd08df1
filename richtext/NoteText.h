#pragma once
// Text as the rich-edit control counts it: one position per UTF-16 code unit, "\r" for a
// paragraph mark, "\v" for a line break, "\f" for a page break, U+FFFC for a picture or
// object. Also the two byte forms of it: Windows-1252 one byte per position, and plain-text
// files.

#include <QByteArray>
#include <QString>

class NoteText {
public:
  static constexpr char16_t ObjectChar = 0xFFFC;
  static constexpr char16_t LineBreak = 0x2028;
  static constexpr char16_t ParagraphMark = 0x2029;
  static constexpr char ObjectByte = 0x01;  // a picture in a Windows-1252 text

  // A document's raw text in the control's characters (paragraph separators to "\r", line
  // separators to "\v").
  static QString FromDocument(QString text);
  // Characters from outside that must not pretend to be document structure (an object,
  // Qt's frame marks, non-characters, lone surrogates) become U+FFFD; other control
  // characters than tab, "\v", "\f" and (when kept) CR and LF are dropped.
  static QString Clean(const QString& text, bool keepLineEnds = true);

  // Windows-1252, one byte per character: '?' for what the page lacks, ObjectByte for U+FFFC.
  static QByteArray EncodeCp1252(const QString& text);
  static QString DecodeCp1252(const QByteArray& bytes);
  // The byte of a character in Windows-1252, or -1.
  static int Cp1252Byte(char16_t c);

  // A plain-text file: UTF-8 when it starts with a byte-order mark or is valid UTF-8 holding
  // a multi-byte sequence, else Windows-1252.
  static QString DecodePlain(const QByteArray& bytes);
  // Windows-1252 when every character maps, else UTF-8 with a byte-order mark. Line ends CRLF.
  static QByteArray EncodePlain(const QString& controlText);
  static QByteArray EncodeUtf8(const QString& controlText);
};
