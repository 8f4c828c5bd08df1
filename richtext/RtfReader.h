#pragma once
// Reads RTF into a NoteBuilder. Notes come from puzzle files and the clipboard, so the input
// is untrusted: groups deeper than MaxDepth are skipped, tables are capped, a \bin block
// must lie inside the data, a kept group holds at most MaxKeptBytes, and a document over
// maxPositions is refused whole.

#include "NoteBuilder.h"
#include "RichEditDefs.h"

#include <QByteArray>

class RtfReader {
public:
  static constexpr int MaxDepth = 1000;
  static constexpr qint64 MaxPositions = 16 * 1024 * 1024;
  static constexpr qint64 MaxKeptBytes = 128 * 1024 * 1024;

  struct Result {
    NoteBuilder builder;
    DWORD error = 0;  // STREAM_E_TOO_LARGE (the builder is then empty), STREAM_E_CORRUPT
  };

  static bool IsRtf(const QByteArray& bytes);
  // whole: the last paragraph mark is the document's final one. Input that is not RTF is
  // read as plain text.
  static Result Read(const QByteArray& rtf, bool whole, qint64 maxPositions = MaxPositions);
};
