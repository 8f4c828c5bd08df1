#include "NoteStream.h"

#include "ChunkedBytes.h"
#include "NoteBuilder.h"
#include "NoteDocument.h"
#include "NoteText.h"
#include "RtfReader.h"
#include "RtfWriter.h"
#include "Yelk/TMsgLog.h"

#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace {

bool Utf8CodePage(UINT format) { return (format & SF_USECODEPAGE) && (format >> 16) == CP_UTF8; }

}  // namespace

QByteArray NoteStream::Pull(EDITSTREAM& stream, const Limits& limits) {
  ChunkedBytes bytes;
  stream.dwError = 0;
  if (stream.pfnCallback == nullptr) return {};
  BYTE buffer[ChunkSize];
  for (;;) {
    LONG got = 0;
    const DWORD code = stream.pfnCallback(stream.dwCookie, buffer, ChunkSize, &got);
    got = std::clamp<LONG>(got, 0, ChunkSize);  // a callback's count is not trusted either
    if (bytes.Size() + got > limits.maxStreamBytes) {
      stream.dwError = STREAM_E_TOO_LARGE;
      return {};
    }
    bytes.Append(reinterpret_cast<const char*>(buffer), got);
    if (code != 0) {
      stream.dwError = code;
      break;
    }
    if (got == 0) break;
  }
  return bytes.Take();  // exactly sized: kept groups share this buffer, no slack to hold on to
}

bool NoteStream::Parse(const QByteArray& bytes, UINT format, bool whole, const Limits& limits, EDITSTREAM& stream,
                       NoteBuilder& builder) {
  if (stream.dwError == STREAM_E_TOO_LARGE) return false;
  DWORD error = 0;
  if ((format & 0xF) == SF_RTF) {
    RtfReader::Result result = RtfReader::Read(bytes, whole, limits.maxPositions);
    builder = std::move(result.builder);
    error = result.error;
  } else {
    QString text;
    if (Utf8CodePage(format))
      text = QString::fromUtf8(bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes);
    else
      text = NoteText::DecodePlain(bytes);
    if (text.size() > limits.maxPositions) {
      error = STREAM_E_TOO_LARGE;
    } else {
      builder.AddControlText(text, QTextCharFormat(), QTextBlockFormat());
    }
  }
  if (error == STREAM_E_TOO_LARGE) {
    TMsgLog::Add("NoteStream - the document is over the size cap and was not read.");
    builder = NoteBuilder();
  }
  if (stream.dwError == 0) stream.dwError = error;
  return error != STREAM_E_TOO_LARGE;
}

std::unique_ptr<QTextDocument> NoteStream::InDetached(UINT format, EDITSTREAM& stream, const Limits& limits) {
  const QByteArray bytes = Pull(stream, limits);
  NoteBuilder builder;
  Parse(bytes, format, true, limits, stream, builder);
  return builder.Build();
}

LONG NoteStream::In(NoteDocument& note, UINT format, EDITSTREAM& stream, const Limits& limits) {
  if (!(format & SFF_SELECTION)) {
    note.Install(InDetached(format, stream, limits));
    return note.GetLength();
  }
  const QByteArray bytes = Pull(stream, limits);
  NoteBuilder builder;
  if (!Parse(bytes, format, false, limits, stream, builder)) return 0;
  const CHARRANGE range = note.GetSelection();
  QTextCursor cursor(note.Document());
  cursor.setPosition(std::min(range.cpMin, note.GetLength()));
  cursor.setPosition(std::min(range.cpMax, note.GetLength()), QTextCursor::KeepAnchor);
  cursor.beginEditBlock();
  cursor.removeSelectedText();
  const LONG at = cursor.position();
  builder.InsertAt(cursor);
  cursor.endEditBlock();
  const LONG inserted = static_cast<LONG>(builder.Length());
  note.SetSelection(at + inserted, at + inserted);
  return inserted;
}

QByteArray NoteStream::Encode(const QTextDocument& document, CHARRANGE range, UINT format) {
  if ((format & 0xF) == SF_RTF) return RtfWriter::Write(document, range.cpMin, range.cpMax);
  QTextCursor cursor(const_cast<QTextDocument*>(&document));
  const int length = document.characterCount() - 1;
  const int end = range.cpMax < 0 ? length : std::min<int>(range.cpMax, length);
  cursor.setPosition(std::clamp<int>(range.cpMin, 0, end));
  cursor.setPosition(end, QTextCursor::KeepAnchor);
  QString text = NoteText::FromDocument(cursor.selectedText());
  text.remove(QChar(NoteText::ObjectChar));  // a picture has no plain text
  return Utf8CodePage(format) ? NoteText::EncodeUtf8(text) : NoteText::EncodePlain(text);
}

LONG NoteStream::Out(const QTextDocument& document, CHARRANGE range, UINT format, EDITSTREAM& stream) {
  stream.dwError = 0;
  if (stream.pfnCallback == nullptr) return 0;
  QByteArray bytes = Encode(document, range, format);
  LONG sent = 0;
  for (qsizetype at = 0; at < bytes.size();) {
    LONG chunk = static_cast<LONG>(std::min<qsizetype>(ChunkSize, bytes.size() - at));
    LONG taken = 0;
    const DWORD code = stream.pfnCallback(stream.dwCookie, reinterpret_cast<BYTE*>(bytes.data() + at), chunk, &taken);
    if (code != 0) {
      stream.dwError = code;
      break;
    }
    if (taken != chunk) {  // a short write would lose the rest quietly
      stream.dwError = STREAM_E_CORRUPT;
      sent += std::clamp<LONG>(taken, 0, chunk);
      break;
    }
    at += chunk;
    sent += chunk;
  }
  return sent;
}

LONG NoteStream::Out(const NoteDocument& note, UINT format, EDITSTREAM& stream) {
  const CHARRANGE range = (format & SFF_SELECTION) ? note.GetSelection() : CHARRANGE{0, -1};
  return Out(*note.Document(), range, format, stream);
}
