#include "RtfTextDecoder.h"

#include "NoteText.h"
#include "SymbolFont.h"

void RtfTextDecoder::Append(const char* bytes, qsizetype size, int codePage, bool symbolFace) {
  if (!bytes_.isEmpty() && (codePage != codePage_ || symbolFace != symbolFace_)) decoded_ += DecodeBytes();
  codePage_ = codePage;
  symbolFace_ = symbolFace;
  bytes_.append(bytes, size);
}

QStringDecoder* RtfTextDecoder::Decoder(int codePage) {
  auto& slot = decoders_[codePage];
  if (!slot) {
    QByteArray name;
    switch (codePage) {
      case 437: name = "IBM437"; break;
      case 850: name = "IBM850"; break;
      case 10000: name = "macintosh"; break;
      case 1361: name = "johab"; break;
      default: name = "windows-" + QByteArray::number(codePage); break;
    }
    slot = std::make_unique<QStringDecoder>(name.constData(), QStringDecoder::Flag::Stateless);
  }
  return slot->isValid() ? slot.get() : nullptr;
}

QString RtfTextDecoder::Take() {
  QString text = decoded_ + DecodeBytes();
  decoded_.clear();
  return text;
}

QString RtfTextDecoder::DecodeBytes() {
  QString text;
  if (bytes_.isEmpty()) return text;
  if (codePage_ == 0) {
    text.resize(bytes_.size());
    for (qsizetype i = 0; i < bytes_.size(); ++i)
      text[i] = QChar(SymbolFont::ToUnicode(symbolFace_, static_cast<unsigned char>(bytes_[i])));
  } else {
    bool ascii = true;
    for (const char b : bytes_) ascii &= static_cast<unsigned char>(b) < 0x80;
    if (ascii) {
      text = QString::fromLatin1(bytes_);
    } else if (codePage_ == 1252) {
      text = NoteText::DecodeCp1252(bytes_);
    } else if (QStringDecoder* decoder = Decoder(codePage_)) {
      text = decoder->decode(bytes_);
    } else {
      text = NoteText::DecodeCp1252(bytes_);
    }
  }
  bytes_.truncate(0);  // keeps its buffer for the next text
  return text;
}
