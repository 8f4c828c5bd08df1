#include "RtfReader.h"

#include "NoteText.h"
#include "RtfParser.h"

bool RtfReader::IsRtf(const QByteArray& bytes) { return bytes.startsWith("{\\rtf"); }

RtfReader::Result RtfReader::Read(const QByteArray& rtf, bool whole, qint64 maxPositions) {
  Result result;
  if (!IsRtf(rtf)) {
    const QString text = NoteText::DecodePlain(rtf);
    if (text.size() > maxPositions) {
      result.error = STREAM_E_TOO_LARGE;
      return result;
    }
    result.builder.AddControlText(text, QTextCharFormat(), QTextBlockFormat());
    return result;
  }
  RtfParser parser(rtf, maxPositions);
  result.error = parser.Run(whole);
  if (result.error != STREAM_E_TOO_LARGE) result.builder = parser.Sink().TakeBuilder();
  return result;
}
