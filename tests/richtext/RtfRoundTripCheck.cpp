#include "RtfRoundTripCheck.h"

#include "NoteFixtures.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QTextDocument>

namespace {

// Field numbers only tell neighbouring fields apart. What a note keeps of a field is which
// characters show which instruction: a field with an empty result holds no character and
// is not written, and a field nested in another's result flattens, so the numbers are
// compared as runs of characters under one instruction.
void RenumberFields(NoteSnapshot& snapshot) {
  int number = 0;
  const CharAttrs* previous = nullptr;
  for (CharAttrs& attrs : snapshot.chars) {
    if (attrs.fieldId != 0) {
      const bool same = previous != nullptr && previous->fieldId != 0 && previous->fieldInstruction == attrs.fieldInstruction;
      attrs.fieldId = same ? number : ++number;
    }
    previous = &attrs;
  }
}

}  // namespace

namespace RtfRoundTripCheck {

std::string Check(const QByteArray& bytes) {
  const std::unique_ptr<QTextDocument> read = RtfReader::Read(bytes, true).builder.Build();
  const QByteArray written = RtfWriter::Write(*read);
  const RtfReader::Result again = RtfReader::Read(written, true);
  if (again.error != 0) return "our own RTF reads with error " + std::to_string(again.error);
  const std::unique_ptr<QTextDocument> back = again.builder.Build();
  NoteSnapshot first = Snapshot(*read);
  NoteSnapshot second = Snapshot(*back);
  RenumberFields(first);
  RenumberFields(second);
  // Text without a face (plain text, a document without a font table) is written in the
  // default face, which it then names.
  for (std::size_t i = 0; i < first.chars.size() && i < second.chars.size(); ++i)
    if (first.chars[i].face.isEmpty()) first.chars[i].face = second.chars[i].face;
  const std::string difference = Difference(first, second);
  return difference.empty() ? difference : difference + "\nwritten: " + written.left(2000).toStdString();
}

}  // namespace RtfRoundTripCheck
