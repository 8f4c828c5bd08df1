#pragma once
// Notes made of many pieces, each cheap for the note window on its own, for the benchmarks,
// the fuzzers' seeds and the tests: rows of cells, paragraphs of tab stops and tabs, long
// words, pictures in cells, and random mixes of them with nested tables and pictures in
// headers; plain prose to measure them against.

#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include <algorithm>
#include <random>

namespace NoteFamilies {

inline const QByteArray kHead = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ";

// The second note's text after the first's.
inline QByteArray Join(const QByteArray& first, const QByteArray& second) {
  return first.left(first.size() - 1) + second.mid(kHead.size());
}

// A word of this many letters.
inline QByteArray Letters(qsizetype letters) {
  QByteArray word(letters, 'x');
  for (qsizetype i = 0; i < letters; ++i) word[i] = char('a' + i % 26);
  return word;
}

// Plain words in paragraphs of about 400 characters, this many characters in all.
inline QByteArray PlainText(qsizetype characters) {
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

inline QByteArray Paragraphs(qsizetype characters) {
  return PlainText(characters).replace("\r\n", "\\par\r\n") + "\\par\r\n";
}

// The same words as a note of about this many bytes.
inline QByteArray Prose(qsizetype bytes) { return kHead + Paragraphs(bytes - kHead.size() - 9) + '}'; }

// A picture of one colour as an office suite keeps it: PNG bytes in hexadecimal.
inline QByteArray PngGroup(int width, int height, const QByteArray& goals = {}) {
  QImage picture(width, height, QImage::Format_RGB32);
  picture.fill(qRgb(40, 90, 160));
  QBuffer png;
  png.open(QIODevice::WriteOnly);
  picture.save(&png, "PNG");
  return "{\\pict\\pngblip\\picw" + QByteArray::number(width) + "\\pich" + QByteArray::number(height) + goals + ' ' +
         png.data().toHex() + '}';
}

inline const QByteArray& SmallPicture() {
  static const QByteArray group = PngGroup(4, 4, "\\picwgoal60\\pichgoal60");
  return group;
}

// One picture of one colour, which its PNG keeps in a few bytes.
inline QByteArray SolidPicture(int width, int height) { return kHead + PngGroup(width, height) + '}'; }

inline QByteArray Boundaries(int count) {
  QByteArray row = "\\trowd\\trgaph108";
  for (int c = 1; c <= count; ++c) row += "\\cellx" + QByteArray::number(c * 1000);
  return row + "\r\n";
}

// Each row declares its first 64 boundaries, as the reader keeps them.
inline QByteArray Row(int cells, const QByteArray& cell) {
  QByteArray row = Boundaries(std::min(cells, 64)) + "\\pard\\intbl ";
  for (int c = 0; c < cells; ++c) row += cell + "\\cell ";
  return row + "\\row\r\n";
}

inline QByteArray TabbedParagraph(int stops, int tabs, const QByteArray& between = {}) {
  QByteArray paragraph = "\\pard";
  for (int s = 1; s <= stops; ++s) paragraph += "\\tx" + QByteArray::number(s * 400);
  paragraph += ' ';
  const QByteArray tab = between.isEmpty() ? QByteArray("\\tab") : "\\tab " + between;
  for (int t = 0; t < tabs; ++t) paragraph += tab;
  return paragraph + "\\par\r\n";
}

// Rows of cells, each holding the given RTF.
inline QByteArray Rows(int rows, int cells, const QByteArray& cell = {}) {
  QByteArray rtf = kHead;
  for (int r = 0; r < rows; ++r) rtf += Row(cells, cell);
  return rtf + "\\pard}";
}

inline QByteArray PicturesInCells(int rows, int cells) { return Rows(rows, cells, SmallPicture()); }

// Paragraphs of this many tab stops and tabs, each tab followed by the given text.
inline QByteArray TabbedParagraphs(int paragraphs, int stops, int tabs, const QByteArray& between = {}) {
  QByteArray rtf = kHead;
  for (int p = 0; p < paragraphs; ++p) rtf += TabbedParagraph(stops, tabs, between);
  return rtf + "\\pard}";
}

// Words of exactly this many letters, ten to a paragraph.
inline QByteArray Words(int count, int letters) {
  QByteArray rtf = kHead;
  for (int w = 0; w < count; ++w) rtf += Letters(letters) + (w % 10 == 9 ? "\\par\r\n" : " ");
  return rtf + "}";
}

// A note of about this many bytes of random pieces of every family; the same seed makes the
// same note.
inline QByteArray Mix(unsigned seed, qsizetype bytes) {
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

}  // namespace NoteFamilies
