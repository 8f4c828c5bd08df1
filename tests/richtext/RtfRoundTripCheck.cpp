#include "RtfRoundTripCheck.h"

#include "NoteFixtures.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QTextDocument>

namespace RtfRoundTripCheck {

std::string Check(const QByteArray& bytes) {
  const std::unique_ptr<QTextDocument> read = RtfReader::Read(bytes, true).builder.Build();
  const QByteArray written = RtfWriter::Write(*read);
  const RtfReader::Result again = RtfReader::Read(written, true);
  if (again.error != 0) return "our own RTF reads with error " + std::to_string(again.error);
  const std::unique_ptr<QTextDocument> back = again.builder.Build();
  NoteSnapshot first = Snapshot(*read);
  const NoteSnapshot second = Snapshot(*back);
  // Text without a face (plain text, a document without a font table) is written in the
  // default face, which it then names.
  for (std::size_t i = 0; i < first.chars.size() && i < second.chars.size(); ++i)
    if (first.chars[i].face.isEmpty()) first.chars[i].face = second.chars[i].face;
  const std::string difference = Difference(first, second);
  return difference.empty() ? difference : difference + "\nwritten: " + written.left(2000).toStdString();
}

}  // namespace RtfRoundTripCheck
