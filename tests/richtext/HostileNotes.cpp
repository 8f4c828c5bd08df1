#include "HostileNotes.h"

#include "tools/NoteFamilies.h"

namespace HostileNotes {

namespace {
// A small metafile's bytes: the picture stays a grey box, with the size its group gives.
constexpr const char* kPictureData = "010009000003";
using NoteFamilies::kHead;
using NoteFamilies::Letters;
}  // namespace

QByteArray Join(const QByteArray& first, const QByteArray& second) { return NoteFamilies::Join(first, second); }

QByteArray TallPictures(int count, qint64 pichgoal, int picwgoal) {
  QByteArray group = "{\\pict\\wmetafile8";
  if (picwgoal > 0) group += "\\picwgoal" + QByteArray::number(picwgoal);
  group += "\\pichgoal" + QByteArray::number(pichgoal) + " " + kPictureData + "}";
  QByteArray rtf = kHead;
  for (int i = 0; i < count; ++i) rtf += group + "\\par\r\n";
  return rtf + "}";
}

QByteArray OneWord(qsizetype letters) { return kHead + Letters(letters) + "}"; }

QByteArray LongWordBesidePicture(int letters, qint64 pichgoal) {
  return kHead + Letters(letters) + "{\\pict\\wmetafile8\\pichgoal" +
         QByteArray::number(pichgoal) + " " + kPictureData + "}}";
}

QByteArray Table(int rows, int columns) {
  const QByteArray row = NoteFamilies::Boundaries(columns);
  QByteArray rtf = kHead;
  for (int r = 0; r < rows; ++r) {
    rtf += row + "\\pard\\intbl ";
    for (int c = 0; c < columns; ++c) rtf += QByteArray::number(r * columns + c) + "\\cell ";
    rtf += "\\row\r\n";
  }
  return rtf + "\\pard}";
}

QByteArray PlainText(qsizetype characters) { return NoteFamilies::PlainText(characters); }

}  // namespace HostileNotes
