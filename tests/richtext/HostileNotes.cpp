#include "HostileNotes.h"

#include <QBuffer>
#include <QImage>

#include <random>

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

QByteArray Letters(qsizetype letters) {
  QByteArray word(letters, 'x');
  for (qsizetype i = 0; i < letters; ++i) word[i] = char('a' + i % 26);
  return word;
}

namespace {

QByteArray Boundaries(int count) {
  QByteArray row = "\\trowd\\trgaph108";
  for (int c = 1; c <= count; ++c) row += "\\cellx" + QByteArray::number(c * 1000);
  return row + "\r\n";
}

}  // namespace

QByteArray OneWord(qsizetype letters) { return kHead + Letters(letters) + "}"; }

QByteArray LongWordBesidePicture(int letters, qint64 pichgoal) {
  return kHead + Letters(letters) + "{\\pict\\wmetafile8\\pichgoal" +
         QByteArray::number(pichgoal) + " " + kPictureData + "}}";
}

QByteArray Table(int rows, int columns) {
  const QByteArray row = Boundaries(columns);
  QByteArray rtf = kHead;
  for (int r = 0; r < rows; ++r) {
    rtf += row + "\\pard\\intbl ";
    for (int c = 0; c < columns; ++c) rtf += QByteArray::number(r * columns + c) + "\\cell ";
    rtf += "\\row\r\n";
  }
  return rtf + "\\pard}";
}

namespace {

// A picture of one colour as an office suite keeps it: PNG bytes in hexadecimal.
QByteArray PngGroup(int width, int height, const QByteArray& goals = {}) {
  QImage picture(width, height, QImage::Format_RGB32);
  picture.fill(qRgb(40, 90, 160));
  QBuffer png;
  png.open(QIODevice::WriteOnly);
  picture.save(&png, "PNG");
  return "{\\pict\\pngblip\\picw" + QByteArray::number(width) + "\\pich" + QByteArray::number(height) + goals + ' ' +
         png.data().toHex() + '}';
}

QByteArray Row(int cells, const QByteArray& cell) {
  QByteArray row = Boundaries(std::min(cells, 64)) + "\\pard\\intbl ";
  for (int c = 0; c < cells; ++c) row += cell + "\\cell ";
  return row + "\\row\r\n";
}

QByteArray TabbedParagraph(int stops, int tabs, const QByteArray& between = {}) {
  QByteArray paragraph = "\\pard";
  for (int s = 1; s <= stops; ++s) paragraph += "\\tx" + QByteArray::number(s * 400);
  paragraph += ' ';
  const QByteArray tab = between.isEmpty() ? QByteArray("\\tab") : "\\tab " + between;
  for (int t = 0; t < tabs; ++t) paragraph += tab;
  return paragraph + "\\par\r\n";
}

}  // namespace

const QByteArray& SmallPicture() {
  static const QByteArray group = PngGroup(4, 4, "\\picwgoal60\\pichgoal60");
  return group;
}

QByteArray Rows(int rows, int cells, const QByteArray& cell) {
  QByteArray rtf = kHead;
  for (int r = 0; r < rows; ++r) rtf += Row(cells, cell);
  return rtf + "\\pard}";
}

QByteArray TabbedParagraphs(int paragraphs, int stops, int tabs, const QByteArray& between) {
  QByteArray rtf = kHead;
  for (int p = 0; p < paragraphs; ++p) rtf += TabbedParagraph(stops, tabs, between);
  return rtf + "\\pard}";
}

QByteArray Words(int count, int letters) {
  QByteArray rtf = kHead;
  for (int w = 0; w < count; ++w) rtf += Letters(letters) + (w % 10 == 9 ? "\\par\r\n" : " ");
  return rtf + "}";
}

QByteArray PicturesInCells(int rows, int cells) { return Rows(rows, cells, SmallPicture()); }

namespace {
QByteArray Paragraphs(qsizetype characters) { return PlainText(characters).replace("\r\n", "\\par\r\n") + "\\par\r\n"; }
}  // namespace

QByteArray Prose(qsizetype bytes) { return kHead + Paragraphs(bytes - kHead.size() - 9) + '}'; }

QByteArray SolidPicture(int width, int height) { return kHead + PngGroup(width, height) + '}'; }

QByteArray Mix(unsigned seed, qsizetype bytes) {
  std::mt19937 random(seed);
  const auto upTo = [&](int most) { return int(random() % unsigned(most)) + 1; };
  QByteArray rtf = kHead;
  while (rtf.size() < bytes) {
    switch (random() % 6) {
      case 0: rtf += Row(upTo(400), random() % 2 ? SmallPicture() : QByteArray()); break;
      case 1: rtf += TabbedParagraph(upTo(32), upTo(1000)); break;
      case 2: rtf += Letters(upTo(1000)) + ' ' + Letters(upTo(1000)) + "\\par\r\n"; break;
      case 3: {  // a table inside a cell
        QByteArray inner = "\\pard\\intbl\\itap2 ";
        for (int c = upTo(200); c > 0; --c) inner += random() % 2 ? QByteArray("x\\nestcell ") : SmallPicture() + "\\nestcell ";
        rtf += Boundaries(2) + inner + "{\\*\\nesttableprops\\trowd\\cellx500\\nestrow}{\\nonesttables\\par}"
               "\\pard\\intbl\\cell\\row\r\n";
        break;
      }
      case 4: rtf += "{\\header\\pard " + SmallPicture() + "\\par}"; break;
      default: rtf += Paragraphs(upTo(2000)); break;
    }
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
