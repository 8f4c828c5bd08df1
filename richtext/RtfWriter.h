#pragma once
// Writes a note, or a range of it, as RTF in the dialect of the rich-edit control:
// "{\rtf1\ansi\ansicpg1252\deff0\deflang1033{\fonttbl...}", a colour table when colours are
// used, then "\viewkind4\uc1\pard" and runs that carry only the control words that change.
// Kept picture and object groups go out byte for byte, fields as they were read.

#include <QByteArray>

class QTextDocument;

class RtfWriter {
public:
  // end -1 is the end of the document. A whole document ends with the "\par" of its final
  // paragraph mark; a range holds the marks inside it only, and so does a copy of
  // everything (asRange), whose paste must not add a paragraph.
  static QByteArray Write(const QTextDocument& document, int start = 0, int end = -1, bool asRange = false);
};
