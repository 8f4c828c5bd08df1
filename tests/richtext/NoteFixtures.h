#pragma once
// Memory streams for the EDITSTREAM contract and a comparable picture of a note document.

#include "richtext/NoteFormat.h"
#include "richtext/RichEditDefs.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <string>
#include <vector>

class NoteDocument;
class QTextDocument;

// The cookie of both callbacks: bytes to hand out or taken in, the chunk sizes seen, and
// an optional stop after a number of calls.
struct MemoryStream {
  QByteArray data;
  qsizetype at = 0;
  std::vector<LONG> offered;  // cb of each call
  int stopAtCall = -1;        // this call (0-based) returns stopCode
  DWORD stopCode = 0;
  LONG takeAtMost = 4096;     // a writer that takes less than it is given

  EDITSTREAM In();
  EDITSTREAM Out();
};

QByteArray StreamOut(const NoteDocument& note, UINT format);
DWORD StreamIn(NoteDocument& note, const QByteArray& bytes, UINT format);
std::unique_ptr<QTextDocument> ReadRtf(const QByteArray& rtf);

// Every position's character attributes, every paragraph's attributes, the kept groups.
struct NoteSnapshot {
  QString text;
  std::vector<CharAttrs> chars;
  std::vector<ParaAttrs> paras;
  std::vector<QByteArray> kept;
};
NoteSnapshot Snapshot(const QTextDocument& document, int start = 0, int end = -1);
std::string Describe(const CharAttrs& attrs);
std::string Describe(const ParaAttrs& attrs);
// Empty when equal, else where and how they differ.
std::string Difference(const NoteSnapshot& a, const NoteSnapshot& b, bool paragraphs = true);
