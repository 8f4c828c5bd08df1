#include "NoteText.h"

#include <QStringDecoder>

namespace {

// Windows-1252 at 0x80..0x9F; the five holes decode as their C1 controls, as Windows does.
constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

QString NoteText::FromDocument(QString text) {
  for (QChar& c : text) {
    if (c.unicode() == ParagraphMark)
      c = u'\r';
    else if (c.unicode() == LineBreak)
      c = u'\v';
  }
  return text;
}

QString NoteText::Clean(const QString& text, bool keepLineEnds) {
  auto kept = [keepLineEnds](char16_t c) {
    return c == u'\t' || c == u'\v' || c == u'\f' || (keepLineEnds && (c == u'\r' || c == u'\n'));
  };
  // Most text has neither control characters nor anything from U+D800 up: one plain pass
  // (which the compiler widens) finds out.
  const char16_t* chars = reinterpret_cast<const char16_t*>(text.utf16());
  bool suspect = false;
  for (qsizetype i = 0; i < text.size(); ++i) suspect |= (chars[i] < 0x20) | (chars[i] >= 0xD800);
  if (!suspect) return text;
  bool clean = true;
  for (const QChar ch : text) {
    const char16_t c = ch.unicode();
    if ((c < 0x20 && !kept(c)) || c >= 0xD800) {
      clean = false;
      break;
    }
  }
  if (clean) return text;
  QString out;
  out.reserve(text.size());
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t c = text[i].unicode();
    if (c < 0x20) {
      if (kept(c)) out.append(QChar(c));
      continue;
    }
    if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode())) {
      out.append(QChar(c));
      out.append(text[++i]);
      continue;
    }
    const bool bad = c == ObjectChar || c == 0xFDD0 || c == 0xFDD1 || c == 0xFFFE || c == 0xFFFF ||
                     QChar::isSurrogate(c);
    out.append(bad ? QChar(0xFFFD) : QChar(c));
  }
  return out;
}

int NoteText::Cp1252Byte(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] == c) return 0x80 + i;
  return -1;
}

QByteArray NoteText::EncodeCp1252(const QString& text) {
  QByteArray out(text.size(), Qt::Uninitialized);
  char* p = out.data();
  for (const QChar ch : text) {
    const char16_t c = ch.unicode();
    const int b = c == ObjectChar ? ObjectByte : Cp1252Byte(c);
    *p++ = static_cast<char>(b < 0 ? '?' : b);
  }
  return out;
}

QString NoteText::DecodeCp1252(const QByteArray& bytes) {
  QString out(bytes.size(), Qt::Uninitialized);
  QChar* p = out.data();
  for (const char b : bytes) {
    const auto u = static_cast<unsigned char>(b);
    *p++ = QChar(u >= 0x80 && u < 0xA0 ? kHigh[u - 0x80] : char16_t(u));
  }
  return out;
}

QString NoteText::DecodePlain(const QByteArray& bytes) {
  if (bytes.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(bytes.mid(3));
  bool multiByte = false;
  for (const char b : bytes) {
    if (static_cast<unsigned char>(b) >= 0x80) {
      multiByte = true;
      break;
    }
  }
  if (multiByte) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError()) return text;
  }
  return DecodeCp1252(bytes);
}

QByteArray NoteText::EncodePlain(const QString& controlText) {
  bool fits = true;
  for (const QChar c : controlText) {
    if (Cp1252Byte(c.unicode()) < 0) {
      fits = false;
      break;
    }
  }
  if (!fits) return "\xEF\xBB\xBF" + EncodeUtf8(controlText);
  QString crlf = controlText;
  crlf.replace(QStringLiteral("\r"), QStringLiteral("\r\n"));
  return EncodeCp1252(crlf);
}

QByteArray NoteText::EncodeUtf8(const QString& controlText) {
  QString crlf = controlText;
  crlf.replace(QStringLiteral("\r"), QStringLiteral("\r\n"));
  return crlf.toUtf8();
}
