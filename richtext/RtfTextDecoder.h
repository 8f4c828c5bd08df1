#pragma once
// Turns the 8-bit text of RTF (raw bytes and \'hh) into Unicode in the code page of the font
// in effect: bytes of one page are decoded together, so that double-byte pages work. Pages
// are decoded by Qt by name; a symbol-set font maps through SymbolFont.

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

#include <map>
#include <memory>

class RtfTextDecoder {
public:
  // codePage 0 means a symbol-set font; symbolFace says whether it is the Symbol face.
  void Append(const char* bytes, qsizetype size, int codePage, bool symbolFace);
  bool IsEmpty() const { return bytes_.isEmpty() && decoded_.isEmpty(); }
  // Decodes and empties what was appended.
  QString Take();

private:
  QStringDecoder* Decoder(int codePage);
  QString DecodeBytes();

  QByteArray bytes_;
  QString decoded_;
  int codePage_ = 1252;
  bool symbolFace_ = false;
  std::map<int, std::unique_ptr<QStringDecoder>> decoders_;
};
