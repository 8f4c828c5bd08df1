#include "HostileNotes.h"

namespace HostileNotes {

namespace {
// A small metafile's bytes: the picture stays a grey box, with the size its group gives.
constexpr const char* kPictureData = "010009000003";
const QByteArray kHead = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ";
}  // namespace

QByteArray Join(const QByteArray& first, const QByteArray& second) {
  return first.left(first.size() - 1) + second.mid(kHead.size());
}

QByteArray TallPictures(int count, qint64 pichgoal, int picwgoal) {
  QByteArray group = "{\\pict\\wmetafile8";
  if (picwgoal > 0) group += "\\picwgoal" + QByteArray::number(picwgoal);
  group += "\\pichgoal" + QByteArray::number(pichgoal) + " " + kPictureData + "}";
  QByteArray rtf = kHead;
  for (int i = 0; i < count; ++i) rtf += group + "\\par\r\n";
  return rtf + "}";
}

namespace {
QByteArray Letters(qsizetype letters) {
  QByteArray word(letters, 'x');
  for (qsizetype i = 0; i < letters; ++i) word[i] = char('a' + i % 26);
  return word;
}

}  // namespace

QByteArray OneWord(qsizetype letters) { return kHead + Letters(letters) + "}"; }

QByteArray LongWordBesidePicture(int letters, qint64 pichgoal) {
  return kHead + Letters(letters) + "{\\pict\\wmetafile8\\pichgoal" +
         QByteArray::number(pichgoal) + " " + kPictureData + "}}";
}

QByteArray Table(int rows, int columns) {
  QByteArray row = "\\trowd\\trgaph108";
  for (int c = 1; c <= columns; ++c) row += "\\cellx" + QByteArray::number(c * 1000);
  row += "\r\n";
  QByteArray rtf = kHead;
  for (int r = 0; r < rows; ++r) {
    rtf += row + "\\pard\\intbl ";
    for (int c = 0; c < columns; ++c) rtf += QByteArray::number(r * columns + c) + "\\cell ";
    rtf += "\\row\r\n";
  }
  return rtf + "\\pard}";
}

QByteArray PlainText(qsizetype characters) {
  static const char* const words[] = {"the ", "puzzle ", "picture ", "of ", "a ", "harbour ", "with ", "boats "};
  QByteArray text;
  text.reserve(characters + 16);
  qsizetype paragraph = 0;
  for (int i = 0; text.size() < characters; ++i) {
    text += words[i % 8];
    if (text.size() - paragraph >= 400) {
      text += "\r\n";
      paragraph = text.size();
    }
  }
  text.truncate(characters);
  return text;
}

}  // namespace HostileNotes
