#pragma once
// Stream transfer between a note and its callers with the EDITSTREAM contract of the
// rich-edit control: stream-in pulls at most ChunkSize bytes per callback until it reports
// 0 bytes or returns non-zero (what was read is kept, the callback's code lands in dwError);
// stream-out pushes chunks of at most ChunkSize bytes and stops when the callback returns
// non-zero, or takes less than it was given (STREAM_E_CORRUPT). Formats SF_RTF and SF_TEXT, with SFF_SELECTION, and SF_USECODEPAGE with 65001
// in the high word for UTF-8 text.

#include "RichEditDefs.h"

#include <QByteArray>

#include <memory>

class NoteBuilder;
class NoteDocument;
class QTextDocument;

// What a stream-in accepts before it refuses the whole document.
struct NoteStreamLimits {
  qint64 maxStreamBytes = qint64(512) * 1024 * 1024;
  qint64 maxPositions = 16 * 1024 * 1024;
};

class NoteStream {
public:
  static constexpr LONG ChunkSize = 4096;

  using Limits = NoteStreamLimits;

  // A whole document is built aside and put in place at the end (unmodified, nothing to
  // undo, caret at 0); with SFF_SELECTION the selection is replaced in one undo step.
  // Over the caps nothing is inserted (a whole document is left empty). Answers the
  // number of positions read.
  static LONG In(NoteDocument& note, UINT format, EDITSTREAM& stream, const Limits& limits = Limits());
  // A whole document that is not shown yet; the caller installs it when it wants it.
  static std::unique_ptr<QTextDocument> InDetached(UINT format, EDITSTREAM& stream, const Limits& limits = Limits());

  // The whole document, or with SFF_SELECTION the note's selection. Answers the bytes
  // handed over.
  static LONG Out(const NoteDocument& note, UINT format, EDITSTREAM& stream);
  static LONG Out(const QTextDocument& document, CHARRANGE range, UINT format, EDITSTREAM& stream);

  // The bytes of a range in a stream format.
  static QByteArray Encode(const QTextDocument& document, CHARRANGE range, UINT format);

private:
  static QByteArray Pull(EDITSTREAM& stream, const Limits& limits);
  static bool Parse(const QByteArray& bytes, UINT format, bool whole, const Limits& limits, EDITSTREAM& stream,
                    NoteBuilder& builder);
};
