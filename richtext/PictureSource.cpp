#include "PictureSource.h"

#include "RtfTokenizer.h"

#include <array>
#include <string_view>

namespace {

using Kind = PictureSource::Kind;
using Token = RtfTokenizer::Token;

constexpr std::array<signed char, 256> kHex = [] {
  std::array<signed char, 256> table{};
  table.fill(-1);
  for (int c = '0'; c <= '9'; ++c) table[c] = static_cast<signed char>(c - '0');
  for (int c = 'a'; c <= 'f'; ++c) table[c] = static_cast<signed char>(c - 'a' + 10);
  for (int c = 'A'; c <= 'F'; ++c) table[c] = static_cast<signed char>(c - 'A' + 10);
  return table;
}();

Kind KindOf(std::string_view word) {
  if (word == "dibitmap") return Kind::Dib;
  if (word == "wbitmap") return Kind::DeviceBitmap;
  if (word == "wmetafile") return Kind::Wmf;
  if (word == "emfblip") return Kind::Emf;
  if (word == "pngblip") return Kind::Png;
  if (word == "jpegblip") return Kind::Jpeg;
  if (word == "macpict" || word == "pmmetafile") return Kind::Other;
  return Kind::None;
}

void TakeWord(const Token& token, PictureSource& source) {
  const Kind kind = KindOf(token.word);
  if (kind != Kind::None) source.kind = kind;
  if (!token.hasParam) return;
  if (token.word == "picw") source.width = token.param;
  else if (token.word == "pich") source.height = token.param;
  else if (token.word == "picbpp") source.bitsPerPixel = token.param;
  else if (token.word == "picwbmwidthbytes") source.widthBytes = token.param;
  else if (token.word == "picwbmplanes") source.planes = token.param;
}

// Inside a \pict group, after its first word: its words and data up to its close.
PictureSource ReadPict(RtfTokenizer& tokenizer, std::size_t groupSize) {
  PictureSource source;
  source.kind = Kind::Other;  // a \pict without a known kind is still a picture
  source.data.reserve(static_cast<qsizetype>(groupSize / 2));
  int pending = -1;
  for (;;) {
    const Token token = tokenizer.Next();
    switch (token.kind) {
      case RtfTokenizer::Kind::End:
      case RtfTokenizer::Kind::GroupClose: return source;
      case RtfTokenizer::Kind::GroupOpen: tokenizer.SkipGroup(); break;  // \*\picprop, \*\blipuid
      case RtfTokenizer::Kind::Word: TakeWord(token, source); break;
      case RtfTokenizer::Kind::Text:
        PictureSource::AppendHex(token.word.data(), token.word.size(), source.data, pending);
        break;
      case RtfTokenizer::Kind::Binary:
        source.data.append(token.word.data(), static_cast<qsizetype>(token.word.size()));
        break;
      default: break;
    }
  }
}

}  // namespace

void PictureSource::AppendHex(const char* text, std::size_t size, QByteArray& out, int& pending) {
  const qsizetype start = out.size();
  out.resize(start + static_cast<qsizetype>(size / 2) + 1);
  char* to = out.data() + start;
  for (std::size_t i = 0; i < size; ++i) {
    const int value = kHex[static_cast<unsigned char>(text[i])];
    if (value < 0) continue;
    if (pending < 0) {
      pending = value;
    } else {
      *to++ = static_cast<char>(pending << 4 | value);
      pending = -1;
    }
  }
  out.resize(to - out.constData());
}

PictureSource PictureSource::Find(const QByteArray& group) {
  RtfTokenizer tokenizer(group.constData(), static_cast<std::size_t>(group.size()));
  bool atGroupStart = false, starred = false;
  for (;;) {
    const Token token = tokenizer.Next();
    if (token.kind == RtfTokenizer::Kind::End) return {};
    if (token.kind == RtfTokenizer::Kind::GroupOpen) {
      atGroupStart = true;
      starred = false;
      continue;
    }
    if (atGroupStart && token.kind == RtfTokenizer::Kind::Symbol && token.symbol == '*') {
      starred = true;
      continue;
    }
    if (atGroupStart && token.kind == RtfTokenizer::Kind::Word) {
      atGroupStart = false;
      if (token.word == "pict") return ReadPict(tokenizer, static_cast<std::size_t>(group.size()));
      // The twin for older readers, an object's own data and class, other destinations.
      const bool shown = token.word == "shppict" || token.word == "result" || token.word == "object";
      if (token.word == "nonshppict" || (starred && !shown)) tokenizer.SkipGroup();
      continue;
    }
    atGroupStart = false;
  }
}
