#pragma once
// The largest note a player will meet, as RTF: about 20,000 words with formats, lists,
// links, page breaks and four photos as the editor stores pasted pictures (about 19 MB).

#include <QByteArray>

#include <random>

namespace NoteSamples {

inline const char* const kWords[] = {"the", "puzzle", "picture", "of", "a", "harbour", "with", "boats", "and",
                              "gulls", "under", "evening", "light", "painted", "in", "oils", "by", "hand"};

// A 24-bit DIB of 1024x768 inside a placeable-metafile-like group, hex-coded in lines of 128
// characters, as the editor stores a pasted photo.
inline QByteArray PhotoHex(int seed) {
  const int width = 1024, height = 768, stride = width * 3;
  QByteArray dib(40 + stride * height, Qt::Uninitialized);
  std::mt19937 rng(static_cast<unsigned>(seed));
  for (qsizetype i = 0; i < dib.size(); ++i) dib[i] = static_cast<char>((i / 3 + i % 3 * 40 + (rng() & 7)) & 0xFF);
  const QByteArray hex = dib.toHex();
  QByteArray lines;
  lines.reserve(hex.size() + hex.size() / 64);
  for (qsizetype i = 0; i < hex.size(); i += 128) lines.append(hex.mid(i, 128)).append("\r\n");
  return lines;
}

inline QByteArray Picture(int seed) {
  return "{\\pict\\wmetafile8\\picw27093\\pich20320\\picwgoal15360\\pichgoal11520 \r\n" + PhotoHex(seed) + "}";
}

inline QByteArray LargestNote() {
  QByteArray rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
      "{\\f1\\froman\\fprq2\\fcharset0 Times New Roman;}{\\f2\\fnil\\fcharset2 Symbol;}}\r\n"
      "{\\colortbl ;\\red0\\green0\\blue255;\\red255\\green0\\blue0;}\r\n\\viewkind4\\uc1\\pard\\f0\\fs20 ";
  std::mt19937 rng(1);
  int word = 0;
  for (int paragraph = 0; paragraph < 1000; ++paragraph) {
    if (paragraph % 10 == 5)
      rtf += "\\pard{\\pntext\\f2\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf2\\pnindent0{\\pntxtb\\'b7}}\\fi-360\\li360 ";
    if (paragraph % 100 == 50) rtf += "\\page ";
    if (paragraph % 250 == 100) rtf += paragraph == 600 ? "{\\object\\objemb{\\*\\objclass Paint.Picture}"
                                                          "\\objw15360\\objh11520{\\*\\objdata 01050000020000000b000000}"
                                                          "{\\result" + Picture(paragraph) + "}}"
                                                        : Picture(paragraph);
    for (int w = 0; w < 22; ++w, ++word) {
      if (word % 10 == 0) rtf += (word / 10) % 3 == 0 ? "\\b " : (word / 10) % 3 == 1 ? "\\b0\\i " : "\\i0 ";
      if (word % 1000 == 500)
        rtf += "{\\field{\\*\\fldinst{HYPERLINK \"http://example.org/\"}}{\\fldrslt{\\ul\\cf1 link}}} ";
      rtf += kWords[rng() % (sizeof kWords / sizeof *kWords)];
      rtf += ' ';
    }
    rtf += "\\par\r\n";
    if (paragraph % 10 == 5) rtf += "\\pard ";
  }
  return rtf + "}\r\n";
}

}  // namespace NoteSamples
