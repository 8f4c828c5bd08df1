#pragma once
// The largest note a player will meet, as RTF: about 20,000 words with formats, lists,
// links, page breaks and four photos as the editor stores pasted pictures (about 19 MB).

#include "richtext/NotePicture.h"

#include <QByteArray>
#include <QImage>

#include <random>

namespace NoteSamples {

inline const char* const kWords[] = {"the", "puzzle", "picture", "of", "a", "harbour", "with", "boats", "and",
                              "gulls", "under", "evening", "light", "painted", "in", "oils", "by", "hand"};

// A 1024x768 photo as the editor stores a pasted picture: a 24-bit DIB inside a metafile
// group, hex-coded in lines of 128 characters.
inline QByteArray Picture(int seed) {
  QImage photo(1024, 768, QImage::Format_RGB32);
  std::mt19937 rng(static_cast<unsigned>(seed));
  for (int y = 0; y < photo.height(); ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(photo.scanLine(y));
    for (int x = 0; x < photo.width(); ++x) row[x] = qRgb((x + (rng() & 7)) & 0xFF, (y + (rng() & 7)) & 0xFF, (x ^ y) & 0xFF);
  }
  return NotePicture::GroupFor(photo);
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
